// cadsim from the build folder, run headless for one test: started with a
// settings file of the test's own, waited for until it owns its bus name,
// and stopped (or killed) at the end.
#pragma once

#include <QProcess>

#include <string>
#include <vector>

namespace testbus {

// How long a started cadsim may take to own its bus name: generous, since a
// loaded machine starts programs slowly.
inline constexpr int kCadsimStartWaitMs = 30000;

// The build folder's cadsim.
std::string cadsimProgram();

// True once SldWorks.Application has an owner on the session bus.
bool cadsimOnBus();

class CadsimProcess {
public:
    // Starts `cadsim --headless --prefs preferencesFile drawings...` and waits
    // up to waitMs for the bus name, watching the bus. Throws std::runtime_error
    // with cadsim's own output when it ends or does not appear in time. A fileSizeLimit (bytes) makes
    // every larger write fail, as a full disk would.
    CadsimProcess(const std::string& preferencesFile, const std::vector<std::string>& drawings = {},
                  const std::vector<std::string>& extraArguments = {}, int waitMs = kCadsimStartWaitMs,
                  long long fileSizeLimit = 0);
    // Stops it (Quit over the bus, then kill) if still running.
    ~CadsimProcess();
    CadsimProcess(const CadsimProcess&) = delete;
    CadsimProcess& operator=(const CadsimProcess&) = delete;

    qint64 pid() const { return process_.processId(); }
    // Asks it to quit and waits; kills it when it does not end in time.
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

}  // namespace testbus
