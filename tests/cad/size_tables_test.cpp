#include "cad/size_tables.h"

#include <gtest/gtest.h>

using namespace cad;

TEST(SizeTables, HoldEveryCodeWithItsNameAndSize)
{
    FillSizeTables();
    const char* names[] = {"A quer",           "A hoch",  "B",  "C",  "D",  "E",
                           "A4 quer",          "A4 hoch", "A3", "A2", "A1", "A0",
                           "benutzerdefiniert"};
    const double widths[] = {279.4, 215.9, 431.8, 558.8, 863.6, 1117.6, 297, 210, 420, 594, 841, 1189, 100};
    const double heights[] = {215.9, 279.4, 279.4, 431.8, 558.8, 863.6, 210, 297, 297, 420, 594, 841, 100};
    for (int code = 0; code < kPaperSizeCount; ++code) {
        EXPECT_EQ(PaperSizeNames[code], names[code]);
        EXPECT_EQ(TemplateSizeNames[code], names[code]);
        EXPECT_EQ(PaperSizeWidths[code], widths[code]);
        EXPECT_EQ(PaperSizeHeights[code], heights[code]);
    }
    EXPECT_EQ(TemplateSizeNames[13], "keine Vorlage");
}

TEST(SizeTables, CodesOutsideTheTablesAreNamedUnknown)
{
    FillSizeTables();
    EXPECT_EQ(paperSizeNameOf(12), "benutzerdefiniert");
    EXPECT_EQ(paperSizeNameOf(13), "unbekannt");
    EXPECT_EQ(paperSizeNameOf(-1), "unbekannt");
    EXPECT_EQ(templateSizeNameOf(13), "keine Vorlage");
    EXPECT_EQ(templateSizeNameOf(14), "unbekannt");
    EXPECT_EQ(templateSizeNameOf(INT32_MIN), "unbekannt");
}
