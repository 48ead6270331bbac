// cadsim.exe from the build folder as a process of its own, as COM's local server: started,
// waited for until GetActiveObject finds it, steered through its SldWorks.Control object, ended.
// Its stdout and stderr are collected for the failure messages and the save reports.
#pragma once

#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace cadsim {

// build-windows/cadsim/cadsim.exe, beside the test programs' folder.
std::wstring cadsimExe();

class CadsimExe {
public:
    CadsimExe() = default;
    CadsimExe(const CadsimExe&) = delete;
    CadsimExe& operator=(const CadsimExe&) = delete;
    // Quits it through the control object, killed if it does not end.
    ~CadsimExe();

    // Starts cadsim.exe with these arguments (UTF-8) and waits up to 30 s for its application
    // object; false if it ended or did not appear, output() then says why.
    bool start(const std::vector<std::string>& args);
    // A call of the control object, string arguments by value: "" or the error's text.
    static std::string control(const char* member, const std::vector<std::string>& args = {});
    // Waits (up to 30 s) for the process to end; its exit code, or -1.
    int waitForEnd();
    void kill();
    int64_t pid() const { return pid_; }
    std::string output() const;
    // Until its output holds text (it comes through a pipe, after the call's answer), at most 30 s.
    bool waitForOutput(const std::string& text);

    // cadsim.exe run to its end with these arguments: the exit code and what it printed.
    static int run(const std::vector<std::string>& args, std::string& output);
    // /RegServer, under wine with the machine's links to the user's keys (wine_classes.h).
    static int registerServer(std::string& output);
    // Those links removed; the user's keys stay as /UnregServer left them.
    static void removeMachineLinks();

private:
    bool launch(const std::vector<std::string>& args);

    HANDLE process_ = nullptr;
    int64_t pid_ = 0;
    HANDLE readEnd_ = nullptr;
    std::thread reader_;
    mutable std::mutex mutex_;
    std::condition_variable grown_;
    std::string output_;
};

}  // namespace cadsim
