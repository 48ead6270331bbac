// How the cadsim tests reach cadsim on Linux: a process on the test program's
// private session bus, through the tool's D-Bus backend.
#pragma once

#include "cad/dbus/dbus_backend.h"
#include "tests/support/cadsim_process.h"

#include <csignal>
#include <cstdint>
#include <string>
#include <sys/types.h>

namespace cadsimtest {

using CadsimProcess = testbus::CadsimProcess;
using BackendOptions = cad::dbus::BackendOptions;

// Only a COM server can turn calls away while it is busy.
inline constexpr bool kCadsimCanBeBusy = false;

// What the tool's backend reports of an error cadsim was told to answer a member with.
inline std::string injectedError(const std::string& member)
{
    return "Fehler beim CAD-Aufruf " + member + ": eingespeister Fehler bei " + member +
           " (SldWorks.Error.Injected)";
}

// How what it reports of a call that cadsim ended during begins.
inline std::string lostDuringCall(const std::string& member)
{
    return "Fehler beim CAD-Aufruf " + member +
           ": Message recipient disconnected from message bus without replying";
}

// How what it reports of a call that got no answer in time begins.
inline std::string unansweredCall(const std::string& member)
{
    return "Fehler beim CAD-Aufruf " + member + ": Did not receive a reply";
}

// Safe from any thread, unlike the process object itself.
inline void killProcess(int64_t pid)
{
    ::kill(static_cast<pid_t>(pid), SIGKILL);
}

}  // namespace cadsimtest
