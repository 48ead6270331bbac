// The tool's way to the CAD system where there is no COM: the session bus.
// The backend attaches to whoever owns SldWorks.Application, starting the
// cadsim that lies beside the running program when nobody does.
#pragma once

#include "cad/automation.h"

#include <string>
#include <vector>

namespace cad::dbus {

struct BackendOptions {
    // Empty: "cadsim" beside the running executable.
    std::string cadsimPath;
    std::vector<std::string> cadsimArguments;
    int startWaitMs = 8000;  // how long a started cadsim may take to own the name
    int callTimeoutMs = cad::kCallTimeoutMs;
    int saveTimeoutMs = cad::kSaveTimeoutMs;  // then waited for while cadsim is busy, to kLongestSaveMs
};

// A create-or-attach function for cad::setBackend().
cad::Backend makeBackend();
cad::Backend makeBackend(BackendOptions options);

// Where the backend looks for cadsim: beside the running executable.
std::string cadsimBesideExecutable();

}  // namespace cad::dbus
