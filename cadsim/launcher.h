// cadsim as a program of its own, for the tests and the benchmarks, reached as the tool reaches
// the CAD system. On Linux it runs headless on a session bus of the calling process's own
// (launcher_bus.cpp); on Windows it is cadsim.exe, COM's local server, registered for the user
// (com/launcher_com.cpp). The build links the system's side, as it does file_io's.
#pragma once

#include "cad/automation.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cadsim {

// How the calls travel, for printouts.
extern const char* const kRoute;

// How long a started cadsim may take until it can be reached: generous, since a loaded machine
// starts programs slowly.
inline constexpr int kStartWaitMs = 30000;

// What has to stand before a cadsim can start, for as long as this lives: the process's own
// session bus on Linux (DBUS_SESSION_BUS_ADDRESS points at it, for the process and its
// children), cadsim.exe's registration on Windows. Throws std::runtime_error saying what did not
// come up.
class Environment {
public:
    Environment();
    ~Environment();
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

private:
    struct State;
    std::unique_ptr<State> state_;
};

class Cadsim {
public:
    // Starts `cadsim --headless --prefs preferences arguments... drawings...` (the first drawing
    // active) and waits until it can be reached, at most kStartWaitMs. Throws std::runtime_error
    // with what cadsim printed when it ends before or does not come in time. A fileSizeLimit
    // (bytes; Linux only) makes every larger write fail, as a full disk would.
    explicit Cadsim(const std::string& preferences, const std::vector<std::string>& drawings = {},
                    const std::vector<std::string>& arguments = {}, long long fileSizeLimit = 0);
    // Quits it through its control object; killed when it does not end in time.
    ~Cadsim();
    Cadsim(const Cadsim&) = delete;
    Cadsim& operator=(const Cadsim&) = delete;

    // A call of the running cadsim's control object, string arguments: "" or the error's text.
    static std::string control(const char* member, const std::vector<std::string>& arguments = {});
    // Whether a cadsim can be reached now.
    static bool reachable();
    // The build's cadsim program.
    static std::string program();
    // cadsim run to its end with these arguments alone: its exit code and what it printed; -1
    // when it did not end in time.
    static int run(const std::vector<std::string>& arguments, std::string& output);
    // The tool's backend of this system with its usual bounds, attaching to the running cadsim
    // and never starting one of its own.
    static cad::Backend attach();
    // Ends the process as a crash would; safe from any thread, unlike the object itself.
    static void kill(int64_t pid);

    int64_t pid() const;
    // Ends it as a crash would.
    void kill();
    // Waits for it to end by itself (bounded): its exit code, -1 when it crashed or still runs.
    int waitForEnd();
    // What it printed so far, stdout and stderr.
    std::string output() const;
    // Until what it printed holds text, at most kStartWaitMs: whether it came.
    bool waitForOutput(const std::string& text);

private:
    struct Process;
    std::unique_ptr<Process> process_;
};

}  // namespace cadsim
