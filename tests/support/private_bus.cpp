#include "tests/support/private_bus.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

namespace testbus {

namespace {
std::string trimmed(const char* line)
{
    std::string s(line);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.pop_back();
    return s;
}
}  // namespace

PrivateBus::PrivateBus()
{
    // --fork returns once the bus listens; its two lines are address and pid.
    FILE* out = ::popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
    if (!out)
        throw std::runtime_error("dbus-daemon nicht zu starten");
    char line[1024];
    std::string address, pid;
    if (std::fgets(line, sizeof line, out))
        address = trimmed(line);
    if (std::fgets(line, sizeof line, out))
        pid = trimmed(line);
    const int status = ::pclose(out);
    if (status != 0 || address.empty() || pid.empty())
        throw std::runtime_error(
            "dbus-daemon --session lieferte keine Adresse (ist dbus-daemon installiert?)");
    address_ = address;
    pid_ = static_cast<pid_t>(std::stol(pid));
    if (const char* previous = std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        hadPreviousAddress_ = true;
        previousAddress_ = previous;
    }
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
}

PrivateBus::~PrivateBus()
{
    if (pid_ > 0)
        ::kill(pid_, SIGTERM);
    if (hadPreviousAddress_)
        ::setenv("DBUS_SESSION_BUS_ADDRESS", previousAddress_.c_str(), 1);
    else
        ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

}  // namespace testbus
