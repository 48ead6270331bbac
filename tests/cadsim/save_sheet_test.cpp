// Saving the active sheet: every way a name can land or be refused, on each system's own file
// calls; the files read back with libtiff.
#include "cadsim/drawing.h"
#include "cadsim/file_io.h"
#include "cadsim/save_sheet.h"
#include "tests/support/folder_names.h"
#include "tests/support/tiff_readback.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

namespace {

namespace fs = std::filesystem;
using cadsim::file_io::pathFromUtf8;
using cadsim::file_io::utf8FromPath;

class SaveSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        // An umlaut in the drawing's own folder: every path below it goes through the conversion.
        fs::create_directories(root / u8"Zeichnungen für Maß");
        folder = utf8FromPath(root / u8"Zeichnungen für Maß");
        // An A4 portrait sheet with a frame along its border, and a sheet of its own size.
        std::ofstream(pathFromUtf8(folder + "/Zeichnung.json"))
            << R"({"type": "drawing", "title": "Flansch", "sheets": [
                   {"name": "Blatt1", "paperSize": 7, "template": 7, "templatePath": "", "scale": [1, 1], "firstAngle": true, "entities": [{"rect": [0, 0, 210, 297]}]},
                   {"name": "Blatt2", "paperSize": 12, "template": 12, "templatePath": "", "scale": [1, 1], "firstAngle": true, "width": 0.1, "height": 0.05,
                    "entities": [{"circle": [50, 25, 15]}]}]})";
        drawing = cadsim::loadDrawingFile(folder + "/Zeichnung.json");
    }
    int save(const std::string& name) { return cadsim::saveActiveSheet(drawing, name, preferences).result; }

    const QTemporaryDir temporary;  // the process's own
    const fs::path root = pathFromUtf8(temporary.path().toStdString());
    std::string folder;
    cadsim::Drawing drawing;
    cadsim::TiffPreferences preferences;
};

TEST_F(SaveSheet, FoldersAreFoundWithEitherSeparatorTheLongestNamesFitAndAnOldFileIsReplaced)
{
    fs::create_directories(pathFromUtf8(folder + "/aus/unter"));
    std::ofstream(pathFromUtf8(folder + "/aus/b.tif")) << "old";
    drawing.activeSheet = 1;
    EXPECT_EQ(save("aus\\unter\\Blatt2.TIF"), 0);  // relative: below the drawing's folder
    EXPECT_TRUE(cadsimtest::readTiff(folder + "/aus/unter/Blatt2.TIF").decoded);
    EXPECT_EQ(save(folder + "/aus\\b.tif"), 0);
    const cadsimtest::TiffFacts f = cadsimtest::readTiff(folder + "/aus/b.tif");
    EXPECT_TRUE(f.decoded);
    EXPECT_EQ(f.pageName, "Blatt2");
    EXPECT_EQ(f.documentName, "Flansch - Blatt2");
    EXPECT_EQ(save("aus/Übersicht Größe.tif"), 0);
    std::string longest;  // 254 bytes, the file system takes 255
    for (int i = 0; i < 125; ++i)
        longest += "ä";
    EXPECT_EQ(save(folder + "/aus/" + longest + ".tif"), 0);
    // No temporary file left behind.
    EXPECT_EQ(fake::namesIn(folder + "/aus"),
              (std::set<std::string>{"unter", "b.tif", "Übersicht Größe.tif", longest + ".tif"}));
}

TEST_F(SaveSheet, RefusedNamesAnswerTheirCodeAndLeaveAnExistingFileAlone)
{
    const std::string keep = folder + "/keep.tif";
    std::ofstream(pathFromUtf8(keep)) << "old";
    std::vector<std::pair<std::string, int>> refused = {
        {"Blatt1.tiff", 1}, {"Blatt1.png", 1}, {"", 1},         {folder + "/fehlt/Blatt1.tif", 2},
        {"a?b.tif", 4},     {"a:b.tif", 4},    {"a*b.tif", 4},  {"a|b.tif", 4},
        {"a<b.tif", 4},     {"a\"b.tif", 4},   {"a\tb.tif", 4}, {"ä/a:b.tif", 4}};
#ifndef _WIN32
    refused.push_back({"/sys/Blatt1.tif", 3});  // not writable, even for root; Windows has no such folder
#endif
    for (const auto& [name, code] : refused)
        EXPECT_EQ(save(name), code) << name;
    preferences.imageType = cad::kRgb;
    EXPECT_EQ(save(keep), 5);  // Group 4 is black and white only
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(std::ifstream(pathFromUtf8(keep)).rdbuf()), {}),
              "old");
    EXPECT_EQ(fake::namesIn(folder), (std::set<std::string>{"Zeichnung.json", "keep.tif"}));
    std::ofstream(pathFromUtf8(folder + "/Welle.json")) << R"({"type": "part"})";
    drawing = cadsim::loadDrawingFile(folder + "/Welle.json");
    EXPECT_EQ(save("Welle.tif"), 6);  // a part has no sheet
}

}  // namespace
