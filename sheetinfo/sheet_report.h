// The plain-text report over all sheets of the active drawing.
#pragma once

#include "screen/message_boxes.h"

#include <string>

namespace kup {

// Walks every sheet (activating each, so the last one stays active) and returns
// the report, every line ending in CR LF. Failed queries are shown in boxes as
// they happen; an automation error ends the walk with the report so far and a
// line naming the error. Empty when the sheet list cannot be had. Any other
// exception is not the CAD system's and is left to the caller.
std::string buildSheetReport(kup::MessageBoxes& boxes);

}  // namespace kup
