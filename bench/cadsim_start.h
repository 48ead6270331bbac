// cadsim started for a benchmark with one drawing and a settings file, reached
// through the platform's backend, for as long as the object lives.
#pragma once

#include "cad/automation.h"

#include <memory>
#include <string>

namespace bench {

class RunningCadsim {
public:
    virtual ~RunningCadsim() = default;
    virtual cad::Backend backend() = 0;
};

// Throws std::runtime_error with cadsim's output when it does not come up.
std::unique_ptr<RunningCadsim> startCadsim(const std::string& preferences, const std::string& drawing);

// How the calls travel, for the printout.
extern const char* const kCadsimRoute;

}  // namespace bench
