// The CAD system's paper-size and template codes turned into names and standard
// paper dimensions (millimetres). Global for the whole run, rewritten in full by
// FillSizeTables.
#pragma once

#include "cad/tiff_preferences.h"

#include <array>
#include <cstdint>
#include <string>

namespace cad {

constexpr int32_t kPaperSizeCount = kPaperUserDefined + 1;  // codes 0 to 12
constexpr int32_t kNoTemplate = kPaperSizeCount;            // templates: the paper sizes and "none"
constexpr int32_t kTemplateSizeCount = kNoTemplate + 1;     // codes 0 to 13

extern std::array<std::string, kPaperSizeCount> PaperSizeNames;
extern std::array<std::string, kTemplateSizeCount> TemplateSizeNames;
extern std::array<double, kPaperSizeCount> PaperSizeWidths;
extern std::array<double, kPaperSizeCount> PaperSizeHeights;

void FillSizeTables();

// Table lookups that never read outside the tables: a code without an entry
// answers "unbekannt" so the caller can still show the code beside it.
std::string paperSizeNameOf(int32_t code);
std::string templateSizeNameOf(int32_t code);

}  // namespace cad
