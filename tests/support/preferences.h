// The nine TIFF preferences as the CAD holds them, read and written member by member through
// whatever cad::attach() reaches (the fake CAD or cadsim): what a test sees arrive, beside the
// transfer it checks.
#pragma once

#include "tiffoptions/swx_sldtools.h"

#include <ostream>

namespace fake {

// Print capture, black and white, Group 4, 200 dpi, A3, 100 %, fit, 0.42 x 0.297 m.
inline const kup::TiffOptionSet kStandardPreferences{1, 0, 2, 200, 8, 100, true, 0.42, 0.297};

kup::TiffOptionSet heldPreferences();
// A write the CAD refuses fails the test.
void holdPreferences(const kup::TiffOptionSet& values);

}  // namespace fake

namespace kup {
// "capture image compression dpi paper scale fit width height" in failure messages.
void PrintTo(const TiffOptionSet& values, std::ostream* out);
}  // namespace kup
