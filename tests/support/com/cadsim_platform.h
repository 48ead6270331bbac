// How the cadsim tests reach cadsim on Windows: cadsim.exe, COM's local server,
// registered for the user and started by the test, through the tool's COM backend.
#pragma once

#include "cad/com/com_backend.h"
#include "cadsim/com/launch.h"

#include <windows.h>

#include <cstdint>

namespace bustest {

using CadsimProcess = cadsim::CadsimExe;
using BackendOptions = cad::com::BackendOptions;

inline constexpr bool kCadsimCanBeBusy = true;
// What the tool says of a call given up unanswered.
inline constexpr const char* kNoAnswerText = "Solidworks antwortet nicht";

// Safe from any thread, unlike the process object itself.
inline void killProcess(int64_t pid)
{
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(pid))) {
        TerminateProcess(process, 1);
        CloseHandle(process);
    }
}

}  // namespace bustest
