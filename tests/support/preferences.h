// The nine TIFF preferences as the CAD holds them, read and written member by member through
// whatever cad::attach() reaches (the fake CAD or cadsim): what a test sees arrive, beside the
// transfer it checks.
#pragma once

#include "tiffoptions/swx_sldtools.h"

#include <ostream>
#include <string>
#include <vector>

namespace fake {

// Print capture, black and white, Group 4, 200 dpi, A3, 100 %, fit, 0.42 x 0.297 m.
inline const kup::TiffOptionSet kStandardPreferences{1, 0, 2, 200, 8, 100, true, 0.42, 0.297};

// The set whose writing transfer_journal.txt lists.
inline const kup::TiffOptionSet kColourSet{0, 1, 1, 300, 9, 150, false, 0.594, 0.42};
// The transfer's calls as that file lists them, "read" or "write".
std::vector<std::string> transferJournal(const std::string& part);

kup::TiffOptionSet heldPreferences();
// A write the CAD refuses fails the test.
void holdPreferences(const kup::TiffOptionSet& values);

}  // namespace fake

namespace kup {
// "capture image compression dpi paper scale fit width height" in failure messages.
void PrintTo(const TiffOptionSet& values, std::ostream* out);
}  // namespace kup
