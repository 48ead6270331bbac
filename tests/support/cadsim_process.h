// cadsim from the build folder, run headless for one test on the test
// program's own bus.
#pragma once

#include "cadsim/launch.h"

namespace testbus {

using cadsim::cadsimOnBus;
using cadsim::CadsimProcess;
using cadsim::cadsimProgram;
using cadsim::kCadsimStartWaitMs;
using cadsim::PrivateBus;
using cadsim::runCadsimToEnd;

}  // namespace testbus
