#include "cad/size_tables.h"

namespace cad {

std::array<std::string, kPaperSizeCount> PaperSizeNames;
std::array<std::string, kTemplateSizeCount> TemplateSizeNames;
std::array<double, kPaperSizeCount> PaperSizeWidths;
std::array<double, kPaperSizeCount> PaperSizeHeights;

namespace {
struct PaperRow {
    const char* name;
    double width;
    double height;
};

// A to E are the inch formats (A = 11 x 8.5 in), A4 to A0 the metric ones;
// 12 is the user-defined size, kept as 100 x 100 mm.
constexpr PaperRow kPaperRows[kPaperSizeCount] = {
    {"A quer", 279.4, 215.9},
    {"A hoch", 215.9, 279.4},
    {"B", 431.8, 279.4},
    {"C", 558.8, 431.8},
    {"D", 863.6, 558.8},
    {"E", 1117.6, 863.6},
    {"A4 quer", 297, 210},
    {"A4 hoch", 210, 297},
    {"A3", 420, 297},
    {"A2", 594, 420},
    {"A1", 841, 594},
    {"A0", 1189, 841},
    {"benutzerdefiniert", 100, 100},
};

const std::string kUnknown = "unbekannt";
}  // namespace

void FillSizeTables()
{
    for (int32_t code = 0; code < kPaperSizeCount; ++code) {
        PaperSizeNames[code] = kPaperRows[code].name;
        TemplateSizeNames[code] = kPaperRows[code].name;
        PaperSizeWidths[code] = kPaperRows[code].width;
        PaperSizeHeights[code] = kPaperRows[code].height;
    }
    TemplateSizeNames[kNoTemplate] = "keine Vorlage";
}

std::string paperSizeNameOf(int32_t code)
{
    return code >= 0 && code < kPaperSizeCount ? PaperSizeNames[code] : kUnknown;
}

std::string templateSizeNameOf(int32_t code)
{
    return code >= 0 && code < kTemplateSizeCount ? TemplateSizeNames[code] : kUnknown;
}

}  // namespace cad
