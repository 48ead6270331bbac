// How the cadsim tests reach cadsim on Linux: a process on the test program's
// private session bus, through the tool's D-Bus backend.
#pragma once

#include "cad/dbus/dbus_backend.h"
#include "tests/support/cadsim_process.h"

#include <csignal>
#include <cstdint>
#include <sys/types.h>

namespace bustest {

using CadsimProcess = testbus::CadsimProcess;
using BackendOptions = cad::dbus::BackendOptions;

// Only a COM server can turn calls away while it is busy.
inline constexpr bool kCadsimCanBeBusy = false;
// What the bus says of a call that got no answer in time.
inline constexpr const char* kNoAnswerText = "Did not receive a reply";

// Safe from any thread, unlike the process object itself.
inline void killProcess(int64_t pid)
{
    ::kill(static_cast<pid_t>(pid), SIGKILL);
}

}  // namespace bustest
