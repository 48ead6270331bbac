// The Windows backend: the CAD system's automation server through COM,
// every member called by name with the variant types the server expects.
#pragma once

#include "cad/automation.h"

#include <string>

namespace cad::com {

// Create-or-attach to SldWorks.Application.
cad::Backend makeBackend();
// The same for another ProgID (a stand-in server).
cad::Backend makeBackend(const std::string& progId);

}  // namespace cad::com
