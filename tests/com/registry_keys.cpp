#include "tests/com/registry_keys.h"

#include "cad/com/com_handles.h"
#include "tests/com/standin/standin_control.h"

#include <windows.h>

#include <cstdlib>
#include <stdexcept>

namespace testkeys {

bool inTestPrefix()
{
    const char* flag = std::getenv("KUP_TEST_PREFIX");
    return flag && std::string(flag) == "1";
}

unsigned long run(const std::wstring& commandLine)
{
    std::wstring line = commandLine;
    // Its own reports would only clutter the runner's output.
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process{};
    const BOOL started =
        CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    CloseHandle(nul);
    if (!started)
        throw std::runtime_error("nicht startbar: " + win::utf8FromWide(commandLine));
    WaitForSingleObject(process.hProcess, 60000);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

void reg(const std::string& arguments)
{
    if (run(L"reg.exe " + win::wideFromUtf8(arguments)) != 0)
        throw std::runtime_error("reg " + arguments + " schlug fehl");
}

ProgIdRemoved::ProgIdRemoved()
{
    reg("delete \"HKCR\\SldWorks.Application\" /f");
}

ProgIdRemoved::~ProgIdRemoved()
{
    try {
        reg("add \"HKCR\\SldWorks.Application\\CLSID\" /ve /d " KUP_STANDIN_CLSID_TEXT " /f");
    } catch (...) {
        // The cases after this one report the missing registration themselves.
    }
}

}  // namespace testkeys
