#include "cadsim/launcher.h"

#include "cadsim/com/wine_classes.h"

#include "cad/com/com_backend.h"
#include "cad/com/dispatch.h"
#include "cad/members.h"
#include "platform/win_text.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace cadsim {

const char* const kRoute = "COM über Prozessgrenzen, cadsim.exe als lokaler Server (unter wine)";

namespace {

constexpr DWORD kBoundMs = kStartWaitMs;

// Quoted as CommandLineToArgvW takes it apart again.
std::wstring quoted(const std::wstring& argument)
{
    std::wstring text = L"\"";
    size_t slashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++slashes;
            continue;
        }
        text.append(c == L'"' ? slashes * 2 + 1 : slashes, L'\\');
        slashes = 0;
        text += c;
    }
    return text + std::wstring(slashes * 2, L'\\') + L"\"";
}

}  // namespace

struct Environment::State {};

Environment::Environment()
{
    std::string output;
    if (Cadsim::run({"/RegServer"}, output) != 0 ||
        (wine::runsOnWine() && !wine::linkMachineClassesToUser(output)))
        throw std::runtime_error("cadsim.exe /RegServer: " + output);
}

Environment::~Environment()
{
    wine::unlinkMachineClasses();
}

namespace {

// build-windows/cadsim/cadsim.exe, beside the test programs' folder.
std::wstring cadsimExe()
{
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"cadsim\\cadsim.exe";
}

}  // namespace

struct Cadsim::Process {
    HANDLE process = nullptr;
    int64_t pid = 0;
    HANDLE readEnd = nullptr;
    std::thread reader;
    mutable std::mutex mutex;
    std::condition_variable grown;
    std::string output;

    bool launch(const std::vector<std::string>& args);
    int waitForEnd();
    ~Process();
};

bool Cadsim::Process::launch(const std::vector<std::string>& args)
{
    std::wstring commandLine = quoted(cadsimExe());
    for (const std::string& a : args)
        commandLine += L" " + quoted(win::wideFromUtf8(a));
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return false;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION info{};
    const BOOL created = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &info);
    CloseHandle(writeEnd);  // the pipe ends with the child's copy
    if (!created) {
        output = "cadsim.exe nicht zu starten: " + win::utf8FromWide(commandLine);
        return false;
    }
    CloseHandle(info.hThread);
    process = info.hProcess;
    pid = info.dwProcessId;
    // The pipe does not end with the process under wine: the helpers wine starts for it (its
    // desktop, the RPC service) inherit the write end. So what is there is read until it ends.
    reader = std::thread([this] {
        char buffer[4096];
        for (bool ended = false;;) {
            DWORD available = 0, got = 0;
            if (!PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr))
                return;
            if (available &&
                ReadFile(readEnd, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr)) {
                {
                    const std::lock_guard lock(mutex);
                    for (DWORD i = 0; i < got; ++i)
                        if (buffer[i] != '\r')
                            output += buffer[i];
                }
                grown.notify_all();
                continue;
            }
            if (ended)
                return;
            ended = WaitForSingleObject(process, 10) == WAIT_OBJECT_0;
        }
    });
    return true;
}

int Cadsim::Process::waitForEnd()
{
    DWORD code = DWORD(-1);
    if (process && WaitForSingleObject(process, kBoundMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process, &code);
    if (reader.joinable() && code != DWORD(-1))
        reader.join();
    return int(code);
}

Cadsim::Process::~Process()
{
    if (process && WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
        control(cad::members::nameOf(cad::members::Id::Quit));
        if (WaitForSingleObject(process, kBoundMs) != WAIT_OBJECT_0)
            TerminateProcess(process, 9);
    }
    if (process)
        WaitForSingleObject(process, kBoundMs);
    if (reader.joinable())
        reader.join();
    if (readEnd)
        CloseHandle(readEnd);
    if (process)
        CloseHandle(process);
}

Cadsim::Cadsim(const std::string& preferences, const std::vector<std::string>& drawings,
               const std::vector<std::string>& arguments, long long fileSizeLimit)
    : process_(std::make_unique<Process>())
{
    if (fileSizeLimit > 0)
        throw std::logic_error("Windows kennt keine Dateigrößengrenze, die ein Prozess setzen könnte");
    std::vector<std::string> all{"--headless", "--prefs", preferences};
    all.insert(all.end(), arguments.begin(), arguments.end());
    all.insert(all.end(), drawings.begin(), drawings.end());
    if (!process_->launch(all))
        throw std::runtime_error(output());
    const cad::com::Apartment apartment;
    // Polled, but every pause is a wait for its end, which ends the wait at once.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBoundMs);
    while (!reachable()) {
        if (WaitForSingleObject(process_->process, 20) == WAIT_OBJECT_0)
            throw std::runtime_error(
                "cadsim.exe endete, ohne sein Anwendungsobjekt anzumelden; es schrieb: " + output());
        if (std::chrono::steady_clock::now() >= deadline)
            throw std::runtime_error("cadsim.exe hatte sein Anwendungsobjekt nach " +
                                     std::to_string(kBoundMs / 1000) +
                                     " s nicht angemeldet; es schrieb: " + output());
    }
}

Cadsim::~Cadsim() = default;

std::string Cadsim::control(const char* member, const std::vector<std::string>& args)
{
    auto apartment = std::make_shared<cad::com::Apartment>();
    CLSID classId{};
    if (FAILED(CLSIDFromProgID(L"SldWorks.Control", &classId)))
        return "SldWorks.Control nicht eingetragen";
    // The running one first: wine may still hand out the class object of a cadsim that was killed.
    cad::com::ComPtr<IDispatch> object;
    cad::com::ComPtr<IUnknown> running;
    if (SUCCEEDED(GetActiveObject(classId, nullptr, running.put())) && running)
        running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.put()));
    const HRESULT created = object ? S_OK
                                   : CoCreateInstance(classId, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch,
                                                      reinterpret_cast<void**>(object.put()));
    if (FAILED(created))
        return cad::com::hresultText(created);
    cad::com::Dispatch control(apartment, std::move(object));
    std::vector<cad::com::Variant> values;
    for (const std::string& a : args)
        values.push_back(cad::com::Variant::string(a));
    try {
        switch (values.size()) {
        case 0:
            control.call(member);
            break;
        case 1:
            control.call(member, {&values[0]});
            break;
        default:
            control.call(member, {&values[0], &values[1], &values[2]});
            break;
        }
    } catch (const cad::AutomationError& e) {
        return e.what();
    }
    return "";
}

bool Cadsim::reachable()
{
    const cad::com::Apartment apartment;
    CLSID classId{};
    if (FAILED(CLSIDFromProgID(L"SldWorks.Application", &classId)))
        return false;
    win::ComPtr<IUnknown> running;
    return SUCCEEDED(GetActiveObject(classId, nullptr, running.put())) && running;
}

std::string Cadsim::program()
{
    return win::utf8FromWide(cadsimExe());
}

int Cadsim::run(const std::vector<std::string>& args, std::string& output)
{
    Process exe;
    if (!exe.launch(args)) {
        output = exe.output;
        return -1;
    }
    const int code = exe.waitForEnd();
    const std::lock_guard lock(exe.mutex);
    output = exe.output;
    return code;
}

cad::Backend Cadsim::attach()
{
    return cad::com::makeBackend();
}

void Cadsim::kill(int64_t pid)
{
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(pid))) {
        TerminateProcess(process, 1);
        CloseHandle(process);
    }
}

int64_t Cadsim::pid() const
{
    return process_->pid;
}

void Cadsim::kill()
{
    if (process_->process)
        TerminateProcess(process_->process, 9);
}

int Cadsim::waitForEnd()
{
    return process_->waitForEnd();
}

bool Cadsim::waitForOutput(const std::string& text)
{
    std::unique_lock lock(process_->mutex);
    return process_->grown.wait_for(lock, std::chrono::milliseconds(kBoundMs),
                                    [&] { return process_->output.find(text) != std::string::npos; });
}

std::string Cadsim::output() const
{
    const std::lock_guard lock(process_->mutex);
    return process_->output;
}

}  // namespace cadsim
