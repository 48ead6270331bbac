// A session bus of the test's own: a dbus-daemon started for the test program
// and ended with it, so tests never meet the user's desktop or each other.
#pragma once

#include <string>
#include <sys/types.h>

namespace testbus {

class PrivateBus {
public:
    // Starts the daemon and points DBUS_SESSION_BUS_ADDRESS at it for this
    // process and its children. Throws std::runtime_error when it cannot.
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    const std::string& address() const { return address_; }
    pid_t pid() const { return pid_; }

private:
    std::string address_;
    std::string previousAddress_;
    bool hadPreviousAddress_ = false;
    pid_t pid_ = 0;
};

}  // namespace testbus
