// How the cadsim tests reach cadsim on Windows: cadsim.exe, COM's local server,
// registered for the user and started by the test, through the tool's COM backend.
#pragma once

#include "cad/com/com_backend.h"
#include "cadsim/com/launch.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace cadsimtest {

using CadsimProcess = cadsim::CadsimExe;
using BackendOptions = cad::com::BackendOptions;

inline constexpr bool kCadsimCanBeBusy = true;

// What the tool's backend reports of an error cadsim was told to answer a member with.
inline std::string injectedError(const std::string& member)
{
    return member + ": eingespeister Fehler bei " + member;
}

// How what it reports of a call that cadsim ended during begins.
inline std::string lostDuringCall(const std::string& member)
{
    return member + ": Solidworks ist nicht mehr erreichbar (beendet?), 0x";
}

// How what it reports of a call that got no answer in time begins.
inline std::string unansweredCall(const std::string& member)
{
    return member + ": Solidworks antwortet nicht (nach ";
}

// Safe from any thread, unlike the process object itself.
inline void killProcess(int64_t pid)
{
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(pid))) {
        TerminateProcess(process, 1);
        CloseHandle(process);
    }
}

}  // namespace cadsimtest
