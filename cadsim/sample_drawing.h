// The drawing cadsim opens when it is given none: a three-sheet flange
// drawing, written as a drawing file into a visible folder of the user's
// documents, so TIFFs saved "in the drawing's folder" are easy to find.
#pragma once

#include <string>

namespace cadsim {

// The sample as drawing-file text.
std::string sampleDrawingJson();

// Writes the sample into folder (created if needed) unless it is there
// already, and answers its path. Empty with error set when that fails.
std::string ensureSampleDrawing(const std::string& folder, std::string& error);

// ~/Documents/cadsim (or the home folder's "Documents" when none is configured).
std::string defaultSampleFolder();

}  // namespace cadsim
