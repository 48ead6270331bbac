// A backend that forwards every call to another and keeps the time spent in
// the calls: all of them, and SaveAsSilent alone (the CAD system's saving).
#pragma once

#include "cad/automation.h"

#include <chrono>

namespace bench {

struct CallTimes {
    long calls = 0;
    std::chrono::steady_clock::duration inCalls{};
    long saves = 0;
    std::chrono::steady_clock::duration inSaves{};
};

cad::Backend timedBackend(cad::Backend inner, CallTimes& times);

}  // namespace bench
