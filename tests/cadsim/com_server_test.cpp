// cadsim.exe as the tool meets it on Windows: registered for the user, started as a process of
// its own, reached through the tool's COM backend, steered through SldWorks.Control.
#include "cad/automation.h"
#include "cad/com/com_backend.h"
#include "cad/com/dispatch.h"
#include "cadsim/com/launch.h"
#include "platform/win_text.h"
#include "tests/support/tiff_readback.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using cadsim::CadsimExe;

struct SheetRow {
    std::string name;
    int paperSize;
    double width, height;  // metres
};
// A4 portrait, A3, a size of the user's own; one name that only survives as UTF-8 and BSTR.
const std::vector<SheetRow> kSheets = {
    {"Blatt1", 7, 0.210, 0.297},
    {"Maße", 8, 0.420, 0.297},
    {"Eigen", 12, 0.150, 0.100},
};

std::string folder()
{
    static const std::string path = [] {
        const auto dir = std::filesystem::temp_directory_path() / "kup_cadsim_com";
        std::filesystem::create_directories(dir);
        return dir.string();
    }();
    return path;
}

std::string writeFile(const std::string& name, const std::string& text)
{
    const std::string path = folder() + "\\" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::string drawingFile()
{
    std::string sheets;
    for (const SheetRow& s : kSheets)
        sheets += std::string(sheets.empty() ? "" : ", ") + "{\"name\": \"" + s.name +
                  "\", \"paperSize\": " + std::to_string(s.paperSize) +
                  ", \"template\": " + std::to_string(s.paperSize) +
                  R"(, "templatePath": "C:\\Vorlagen\\a.drt", "scale": [1, 2], )" +
                  "\"firstAngle\": true, \"width\": " + std::to_string(s.width) +
                  ", \"height\": " + std::to_string(s.height) +
                  ", \"entities\": [{\"rect\": [10, 10, 50, 30]}, {\"text\": [12, 12, 5, \"Test\"]}]}";
    return writeFile("Flansch.json",
                     "{\"type\": \"drawing\", \"title\": \"Flansch\", \"sheets\": [" + sheets + "]}");
}

class CadsimCom : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        std::string output;
        ASSERT_EQ(CadsimExe::registerServer(output), 0) << output;
        EXPECT_NE(output.find("eingetragen"), std::string::npos) << output;
        exe = new CadsimExe;
        ASSERT_TRUE(exe->start({"--headless", "--prefs", folder() + "\\prefs.json", drawingFile()}))
            << exe->output();
    }
    static void TearDownTestSuite()
    {
        delete exe;
        exe = nullptr;
        CadsimExe::removeMachineLinks();
    }
    void SetUp() override
    {
        ASSERT_NE(exe, nullptr);
        cad::setBackend(cad::com::makeBackend());
    }
    void TearDown() override { cad::setBackend(nullptr); }
    static std::string errorOf(const std::function<void()>& call)
    {
        try {
            call();
        } catch (const cad::AutomationError& e) {
            return e.what();
        }
        return "";
    }

    static CadsimExe* exe;
};
CadsimExe* CadsimCom::exe = nullptr;

TEST_F(CadsimCom, QueriesSavesEverySheetAndActivatesByReference)
{
    const std::unique_ptr<cad::Application> app = cad::attach();
    ASSERT_NE(app, nullptr);
    app->Visible(true);
    std::unique_ptr<cad::Document> doc = app->ActiveDoc();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetType(), 3);
    EXPECT_EQ(doc->GetSheetCount(), 3);
    EXPECT_EQ(doc->GetSheetNames(), (std::vector<std::string>{"Blatt1", "Maße", "Eigen"}));
    EXPECT_NE(errorOf([&] { app->GetUserPreferenceIntegerValue(99); }).find("Einstellung 99 unbekannt"),
              std::string::npos);

    constexpr int dpi = 50;
    ASSERT_EQ(app->SetUserPreferenceIntegerValue(9, int16_t(dpi)), 1);
    for (const SheetRow& row : kSheets) {
        SCOPED_TRACE(row.name);
        std::string name = row.name;
        ASSERT_EQ(doc->ActivateSheet(name), -1);
        EXPECT_EQ(name, row.name);
        EXPECT_EQ(doc->GetTitle(), "Flansch - " + row.name);
        const std::unique_ptr<cad::Sheet> sheet = doc->GetCurrentSheet();
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->GetName(), row.name);
        const std::vector<double> properties = sheet->GetProperties();
        ASSERT_EQ(properties.size(), 7u);
        EXPECT_EQ(properties[0], row.paperSize);
        EXPECT_DOUBLE_EQ(properties[5], row.width);
        EXPECT_DOUBLE_EQ(properties[6], row.height);

        // The paper as the tool hands it on: the sheet's own size, the user's in metres.
        ASSERT_EQ(app->SetUserPreferenceIntegerValue(10, int16_t(row.paperSize)), 1);
        double width = row.width, height = row.height;
        ASSERT_EQ(app->SetUserPreferenceDoubleValue(8, width), 1);
        ASSERT_EQ(app->SetUserPreferenceDoubleValue(9, height), 1);
        std::string file = folder() + "\\sheet" + std::to_string(row.paperSize) + ".tif";
        std::filesystem::remove(file);
        bool flag = true;
        ASSERT_EQ(doc->SaveAsSilent(file, flag), 0) << exe->output();
        EXPECT_TRUE(exe->waitForOutput("cadsim: gespeichert " + file + "\n")) << exe->output();
        const bustest::TiffFacts tiff = bustest::readTiff(file);
        ASSERT_TRUE(tiff.decoded) << file;
        EXPECT_EQ(tiff.width, uint32_t(std::lround(row.width / 0.0254 * dpi)));
        EXPECT_EQ(tiff.height, uint32_t(std::lround(row.height / 0.0254 * dpi)));
        EXPECT_EQ(tiff.xResolution, dpi);
        EXPECT_GT(tiff.inkPixels, 0);  // the text among it: the glyphs render without a window
    }
    std::string missing = "Blatt9";
    EXPECT_EQ(doc->ActivateSheet(missing), 0);
}

TEST_F(CadsimCom, FaultsAndTypesAsTheToolMeetsThem)
{
    const struct Row {
        std::vector<std::string> fault;  // member, argument, kind
        int failing;                     // calls of GetTitle that fail so
        std::string error;
    } rows[] = {
        {{"GetTitle", "", "error"}, 2, "eingespeister Fehler bei GetTitle"},
        // Turned away three times before they are dispatched: the tool asks again and gets
        // through; the control object stays reachable meanwhile.
        {{"", "3", "busy"}, 0, ""},
        {{"GetTitle", "", "refuse"}, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fault[2]);
        const std::unique_ptr<cad::Application> app = cad::attach();
        std::unique_ptr<cad::Document> doc = app->ActiveDoc();
        ASSERT_EQ(CadsimExe::control("InjectFault", row.fault), "");
        for (int i = 0; i < row.failing; ++i)
            EXPECT_NE(errorOf([&] { doc->GetTitle(); }).find(row.error), std::string::npos) << exe->output();
        if (row.fault[2] == "refuse") {
            EXPECT_EQ(doc->GetTitle(), "");
        }
        if (row.fault[2] != "busy") {
            ASSERT_EQ(CadsimExe::control("ClearFaults"), "");
        }
        EXPECT_NE(doc->GetTitle(), "");
    }
    {
        // A hung call holds its caller while cadsim serves on; cleared, it is answered.
        std::unique_ptr<cad::Document> doc = cad::attach()->ActiveDoc();
        ASSERT_EQ(CadsimExe::control("InjectFault", {"GetTitle", "", "hang"}), "");
        std::jthread clearer([] {
            if (exe->waitForOutput("cadsim: GetTitle bleibt unbeantwortet (eingespeist)\n"))
                CadsimExe::control("ClearFaults");
        });
        EXPECT_NE(doc->GetTitle(), "");
    }
    EXPECT_NE(CadsimExe::control("InjectFault", {"GetTitle", "", "kaputt"}).find("Art \"kaputt\" unbekannt"),
              std::string::npos);
    const std::string broken = writeFile("kaputt.json", "{\"type\": ");
    EXPECT_NE(CadsimExe::control("OpenDocument", {broken}).find("kaputt.json"), std::string::npos);

    // A sheet name by value where the CAD takes it by reference.
    auto apartment = std::make_shared<cad::com::Apartment>();
    CLSID classId{};
    ASSERT_EQ(CLSIDFromProgID(L"SldWorks.Application", &classId), S_OK);
    cad::com::ComPtr<IUnknown> running;
    ASSERT_EQ(GetActiveObject(classId, nullptr, running.put()), S_OK);
    cad::com::ComPtr<IDispatch> object;
    running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.put()));
    cad::com::Dispatch application(apartment, object);
    cad::com::Dispatch document =
        application.sibling(cad::com::asDispatch(application.call("ActiveDoc"), "ActiveDoc"));
    cad::com::Variant byValue = cad::com::Variant::string("Maße");
    const std::string error = errorOf([&] { document.call("ActivateSheet", {&byValue}); });
    EXPECT_NE(error.find("0x80020005"), std::string::npos) << error;
    EXPECT_NE(error.find("Argument 1"), std::string::npos) << error;
}

// Last: Quit revokes the running one; unregistered, the tool finds no CAD.
TEST_F(CadsimCom, QuitAndUnregisteredTheToolFindsNothing)
{
    ASSERT_EQ(CadsimExe::control("Quit"), "");
    EXPECT_EQ(exe->waitForEnd(), 0) << exe->output();
    CLSID classId{};
    ASSERT_EQ(CLSIDFromProgID(L"SldWorks.Application", &classId), S_OK);
    cad::com::ComPtr<IUnknown> running;
    EXPECT_NE(GetActiveObject(classId, nullptr, running.put()), S_OK);

    std::string output;
    ASSERT_EQ(CadsimExe::run({"/UnregServer"}, output), 0) << output;
    EXPECT_NE(output.find("ausgetragen"), std::string::npos) << output;
    EXPECT_EQ(cad::com::makeBackend()(), nullptr);

    // A broken drawing ends the start with one line naming it.
    const std::string broken = writeFile("kaputt.json", "{\"type\": ");
    EXPECT_EQ(CadsimExe::run({"--headless", broken}, output), 1);
    EXPECT_NE(output.find("kaputt.json"), std::string::npos) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
}

}  // namespace
