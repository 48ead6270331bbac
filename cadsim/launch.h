// cadsim started as a program of its own, headless, on a session bus of the
// caller's own: what the end-to-end tests and the benchmark need to reach the
// stand-in CAD without meeting the desktop's.
#pragma once

#include <QList>
#include <QProcess>
#include <QVariant>

#include <string>
#include <sys/types.h>
#include <vector>

namespace cadsim {

// A dbus-daemon of this process's own: DBUS_SESSION_BUS_ADDRESS points at it
// (for this process and its children) until it is destroyed.
class PrivateBus {
public:
    // Throws std::runtime_error when the daemon does not start.
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

// How long a started cadsim may take to own its bus name: generous, since a
// loaded machine starts programs slowly.
inline constexpr int kCadsimStartWaitMs = 30000;

// The cadsim beside the running program.
std::string cadsimProgram();

// A call on cadsim's control interface; the error text, empty on success.
std::string control(const char* member, const QList<QVariant>& arguments = {}, int timeoutMs = 5000);

// True once SldWorks.Application has an owner on the session bus.
bool cadsimOnBus();

class CadsimProcess {
public:
    // Starts `cadsim --headless --prefs preferencesFile extraArguments... drawings...`
    // and waits up to waitMs for the bus name, watching the bus. Throws
    // std::runtime_error with cadsim's own output when it ends or does not appear
    // in time. A fileSizeLimit (bytes) makes every larger write fail, as a full
    // disk would.
    CadsimProcess(const std::string& preferencesFile, const std::vector<std::string>& drawings = {},
                  const std::vector<std::string>& extraArguments = {}, int waitMs = kCadsimStartWaitMs,
                  long long fileSizeLimit = 0);
    // Stops it if still running.
    ~CadsimProcess();
    CadsimProcess(const CadsimProcess&) = delete;
    CadsimProcess& operator=(const CadsimProcess&) = delete;

    qint64 pid() const { return process_.processId(); }
    // Quit over the bus, then kill when it does not end in time; returns once
    // the bus has seen the name go.
    void stop();
    // SIGKILL, as a crash would end it.
    void kill();
    // Waits for it to end by itself: its exit code, -1 when it crashed or still runs.
    int waitForEnd(int waitMs = 10000);
    // What it printed so far (stdout and stderr).
    std::string output();

private:
    QProcess process_;
    std::string output_;
};

// Starts cadsim with these arguments and waits for it to end: exit code and output.
int runCadsimToEnd(const std::vector<std::string>& arguments, std::string& output, int waitMs = 10000);

}  // namespace cadsim
