// The Windows backend: the CAD system's automation server through COM,
// every member called by name with the variant types the server expects.
#pragma once

#include "cad/automation.h"

#include <string>

namespace cad::com {

// How long the tool waits for the CAD system; README: "Bounds on every call into the CAD" says
// why these.
struct BackendOptions {
    std::string progId = "SldWorks.Application";  // another for a stand-in server
    int callTimeoutMs = cad::kCallTimeoutMs;
    // Nothing tells a save at work from a hung one while the tool waits inside the call.
    int saveTimeoutMs = cad::kLongestSaveMs;
    // Starting the CAD system when none runs; COM also gives up a server that never registers.
    int startTimeoutMs = cad::kSaveTimeoutMs;
};

// Create-or-attach to the CAD system's application object.
cad::Backend makeBackend(BackendOptions options = {});

}  // namespace cad::com
