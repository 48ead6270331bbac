#include "cad/size_tables.h"
#include "tests/support/test_data.h"

#include <gtest/gtest.h>

#include <charconv>

// The four tables code by code, in the reviewed file's form; a size as the shortest text that
// reads back as the same double, so that only the nearest double to the millimetres passes.
TEST(SizeTables, EveryCodeHasItsNamesAndItsPaperSizeInMillimetres)
{
    cad::FillSizeTables();
    const auto mm = [](double value) {
        char text[32];
        return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
    };
    std::vector<std::string> tables;
    for (int code = 0; code < cad::kTemplateSizeCount; ++code) {
        const bool paper = code < cad::kPaperSizeCount;
        tables.push_back(std::to_string(code) + " | " +
                         (paper ? '"' + cad::PaperSizeNames[code] + '"' : std::string("(none)")) + " | \"" +
                         cad::TemplateSizeNames[code] + "\" | " +
                         (paper ? mm(cad::PaperSizeWidths[code]) + " | " + mm(cad::PaperSizeHeights[code])
                                : std::string("(none) | (none)")));
    }
    EXPECT_EQ(tables, fake::dataLines("size_tables.txt"));
}
