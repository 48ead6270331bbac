#include "cadsim/com/launch.h"

#include "cadsim/com/wine_classes.h"

#include "cad/automation.h"
#include "cad/com/dispatch.h"
#include "cad/members.h"
#include "platform/win_text.h"

#include <algorithm>
#include <chrono>

namespace cadsim {

namespace {

constexpr DWORD kBoundMs = 30000;

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

bool applicationRunning()
{
    CLSID classId{};
    if (FAILED(CLSIDFromProgID(L"SldWorks.Application", &classId)))
        return false;
    win::ComPtr<IUnknown> running;
    return SUCCEEDED(GetActiveObject(classId, nullptr, running.put())) && running;
}

}  // namespace

int CadsimExe::registerServer(std::string& output)
{
    const int code = run({"/RegServer"}, output);
    if (code != 0 || !wine::runsOnWine())
        return code;
    return wine::linkMachineClassesToUser(output) ? 0 : 1;
}

void CadsimExe::removeMachineLinks()
{
    wine::unlinkMachineClasses();
}

std::wstring cadsimExe()
{
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), DWORD(path.size())));
    return path.substr(0, path.find_last_of(L'\\') + 1) + L"cadsim\\cadsim.exe";
}

bool CadsimExe::launch(const std::vector<std::string>& args)
{
    std::wstring commandLine = quoted(cadsimExe());
    for (const std::string& a : args)
        commandLine += L" " + quoted(win::wideFromUtf8(a));
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&readEnd_, &writeEnd, &inherit, 0))
        return false;
    SetHandleInformation(readEnd_, HANDLE_FLAG_INHERIT, 0);
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
        output_ = "cadsim.exe nicht zu starten: " + win::utf8FromWide(commandLine);
        return false;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
    // The pipe does not end with the process under wine: the helpers wine starts for it (its
    // desktop, the RPC service) inherit the write end. So what is there is read until it ends.
    reader_ = std::thread([this] {
        char buffer[4096];
        for (bool ended = false;;) {
            DWORD available = 0, got = 0;
            if (!PeekNamedPipe(readEnd_, nullptr, 0, nullptr, &available, nullptr))
                return;
            if (available &&
                ReadFile(readEnd_, buffer, std::min<DWORD>(available, sizeof buffer), &got, nullptr)) {
                {
                    const std::lock_guard lock(mutex_);
                    for (DWORD i = 0; i < got; ++i)
                        if (buffer[i] != '\r')
                            output_ += buffer[i];
                }
                grown_.notify_all();
                continue;
            }
            if (ended)
                return;
            ended = WaitForSingleObject(process_, 10) == WAIT_OBJECT_0;
        }
    });
    return true;
}

bool CadsimExe::start(const std::vector<std::string>& args)
{
    if (!launch(args))
        return false;
    const cad::com::Apartment apartment;
    // Polled, but every pause is a wait for its end, which ends the wait at once.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kBoundMs);
    while (std::chrono::steady_clock::now() < deadline) {
        if (applicationRunning())
            return true;
        if (WaitForSingleObject(process_, 20) == WAIT_OBJECT_0)
            return false;
    }
    return false;
}

std::string CadsimExe::control(const char* member, const std::vector<std::string>& args)
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

int CadsimExe::waitForEnd()
{
    DWORD code = DWORD(-1);
    if (process_ && WaitForSingleObject(process_, kBoundMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process_, &code);
    if (reader_.joinable() && code != DWORD(-1))
        reader_.join();
    return int(code);
}

void CadsimExe::kill()
{
    if (process_)
        TerminateProcess(process_, 9);
}

bool CadsimExe::waitForOutput(const std::string& text)
{
    std::unique_lock lock(mutex_);
    return grown_.wait_for(lock, std::chrono::milliseconds(kBoundMs),
                           [&] { return output_.find(text) != std::string::npos; });
}

std::string CadsimExe::output() const
{
    const std::lock_guard lock(mutex_);
    return output_;
}

CadsimExe::~CadsimExe()
{
    if (process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        control(cad::members::nameOf(cad::members::Id::Quit));
        if (WaitForSingleObject(process_, kBoundMs) != WAIT_OBJECT_0)
            kill();
    }
    if (process_)
        WaitForSingleObject(process_, kBoundMs);
    if (reader_.joinable())
        reader_.join();
    if (readEnd_)
        CloseHandle(readEnd_);
    if (process_)
        CloseHandle(process_);
}

int CadsimExe::run(const std::vector<std::string>& args, std::string& output)
{
    CadsimExe exe;
    if (!exe.launch(args)) {
        output = exe.output();
        return -1;
    }
    const int code = exe.waitForEnd();
    output = exe.output();
    return code;
}

}  // namespace cadsim
