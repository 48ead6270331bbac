// cadsim.exe as the tool meets it on Windows: registered for the user, started as a process of
// its own, reached through the tool's COM backend, steered through SldWorks.Control.
#include "cad/automation.h"
#include "cad/com/com_backend.h"
#include "cad/com/dispatch.h"
#include "cad/sheet_queries.h"
#include "cadsim/com/launch.h"
#include "export/sheet_export.h"
#include "platform/win_text.h"
#include "tests/support/cadsim_fixture.h"
#include "tests/support/message_recorder.h"
#include "tests/support/preferences.h"
#include "tests/support/text_log.h"
#include "tests/support/tiff_readback.h"
#include "tiffoptions/swx_sldtools.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using cadsim::CadsimExe;

// A4 portrait, A3, a size of the user's own; one name that only survives as UTF-8 and BSTR.
const std::vector<cadsimtest::SheetSpec> kSheets = {
    {"Blatt1", 7, 7}, {"Maße", 8, 8}, {"Eigen", 12, 12, R"("width": 0.15, "height": 0.1)"}};

// Every case has a cadsim.exe of its own (the fixture's), started with its journal on, with
// preferences and drawings in a folder of its own.
class CadsimCom : public cadsimtest::CadsimTest {
protected:
    void SetUp() override
    {
        CadsimTest::SetUp();
        start({writeFile("Flansch.json", cadsimtest::drawingJson("Flansch", kSheets))}, {"--journal"});
    }
    static std::string errorOf(const std::function<void()>& call)
    {
        try {
            call();
        } catch (const cad::AutomationError& e) {
            return e.what();
        }
        return "";
    }
    // The CAD calls cadsim.exe received since the output had the size mark, in one unbroken
    // run as listed: each with the variant types it came with.
    void expectJournal(std::size_t mark, const std::vector<std::string>& calls)
    {
        std::string block;
        for (const std::string& call : calls)
            block += "cadsim: Aufruf " + call + "\n";
        cadsim->waitForOutput(block);
        const std::string output = cadsim->output();
        EXPECT_NE(output.find(block, mark), std::string::npos)
            << "erwartet:\n"
            << block << "erhalten:\n"
            << output.substr(std::min(mark, output.size()));
    }
};

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

    // What the sheets answer and how they come out are the end-to-end export's and the sheet
    // report's matter; here that names go by reference, one of them only as UTF-8 and BSTR.
    for (const cadsimtest::SheetSpec& row : kSheets) {
        SCOPED_TRACE(row.name);
        std::string name = row.name;
        const std::size_t mark = cadsim->output().size();
        ASSERT_EQ(doc->ActivateSheet(name), -1);
        expectJournal(mark, {"ActivateSheet(VT_BYREF|VT_BSTR " + row.name + ")"});
        EXPECT_EQ(name, row.name);
        std::string file = folder() + "\\sheet" + std::to_string(row.paperSize) + ".tif";
        bool flag = true;
        const std::size_t saving = cadsim->output().size();
        ASSERT_EQ(doc->SaveAsSilent(file, flag), 0) << cadsim->output();
        expectJournal(saving, {"SaveAsSilent(VT_BYREF|VT_BSTR " + file + ", VT_BYREF|VT_BOOL -1)"});
        EXPECT_TRUE(cadsim->waitForOutput("cadsim: gespeichert " + file + "\n")) << cadsim->output();
        const cadsimtest::TiffFacts tiff = cadsimtest::readTiff(file);
        ASSERT_TRUE(tiff.decoded) << file;
        EXPECT_GT(tiff.inkPixels, 0);  // the text among it: the glyphs render without a window
    }
    std::string missing = "Blatt9";
    EXPECT_EQ(doc->ActivateSheet(missing), 0);
}

// The transfer's calls as the fake CAD journals them, written as cadsim.exe journals them: with
// the variant types COM carries them in.
std::vector<std::string> asVariants(const std::vector<std::string>& calls)
{
    std::vector<std::string> variants;
    for (std::string call : calls) {
        const std::pair<std::string, std::string> types[] = {{"Visible(b:true)", "Visible=VT_BOOL -1"},
                                                             {"&r8:", "VT_BYREF|VT_R8 "},
                                                             {"i4:", "VT_I4 "},
                                                             {"i2:", "VT_I2 "},
                                                             {"b:false", "VT_BOOL 0"}};
        for (const auto& [fake, com] : types)
            for (std::size_t at; (at = call.find(fake)) != std::string::npos;)
                call.replace(at, fake.size(), com);
        if (call != "attach")
            variants.push_back(call);
    }
    return variants;
}

// The paper size among the preparatory writes goes out with 32 bits, the toggle first as the
// 16-bit 1 and then as a boolean, the doubles by reference.
TEST_F(CadsimCom, TiffOptionsGoBackAndForthInTheWidthsTheCadTakes)
{
    std::string message = "alt";
    std::size_t mark = cadsim->output().size();
    ASSERT_TRUE(kup::SetzeSwxTiffOptions(fake::kColourSet, message)) << message;
    EXPECT_EQ(message, "");
    expectJournal(mark, asVariants(fake::transferJournal("write")));

    kup::TiffOptionSet read;
    mark = cadsim->output().size();
    ASSERT_TRUE(kup::HoleSwxTiffOptions(read, message)) << message;
    EXPECT_EQ(message, "");
    EXPECT_TRUE(read == fake::kColourSet);
    expectJournal(mark, asVariants(fake::transferJournal("read")));
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
        ASSERT_EQ(inject(row.fault[0], row.fault[1], row.fault[2]), "");
        for (int i = 0; i < row.failing; ++i)
            EXPECT_NE(errorOf([&] { doc->GetTitle(); }).find(row.error), std::string::npos)
                << cadsim->output();
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
        ASSERT_EQ(inject("GetTitle", "", "hang"), "");
        std::jthread clearer([this] {
            if (cadsim->waitForOutput("cadsim: GetTitle bleibt unbeantwortet (eingespeist)\n"))
                CadsimExe::control("ClearFaults");
        });
        EXPECT_NE(doc->GetTitle(), "");
    }
    EXPECT_NE(inject("GetTitle", "", "kaputt").find("Art \"kaputt\" unbekannt"), std::string::npos);
    const std::string broken = writeFile("kaputt.json", "{\"type\": ");
    EXPECT_NE(CadsimExe::control("OpenDocument", {broken}).find("kaputt.json"), std::string::npos);

    // Without a drawing the application answers Nothing for the active document.
    ASSERT_EQ(CadsimExe::control("CloseAllDocuments"), "");
    int32_t count = 0;
    std::vector<std::string> names;
    std::string current, error;
    EXPECT_FALSE(cad::HoleSheetNames(count, names, current, error));
    EXPECT_EQ(error, "Keine Dokument aktiv");
    ASSERT_EQ(CadsimExe::control("OpenDocument",
                                 {writeFile("Flansch.json", cadsimtest::drawingJson("Flansch", kSheets))}),
              "");

    // Arguments of another type than the member takes, and a member the object does not have.
    auto apartment = std::make_shared<cad::com::Apartment>();
    CLSID classId{};
    ASSERT_EQ(CLSIDFromProgID(L"SldWorks.Application", &classId), S_OK);
    cad::com::ComPtr<IUnknown> running;
    ASSERT_EQ(GetActiveObject(classId, nullptr, running.put()), S_OK);
    cad::com::ComPtr<IDispatch> object;
    running->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.put()));
    cad::com::Dispatch application(apartment, object);
    cad::com::Dispatch document = application.sibling(cad::com::asDispatch(application.call("ActiveDoc")));
    cad::com::Variant sheetByValue = cad::com::Variant::string("Maße");
    cad::com::Variant narrowNumber = cad::com::Variant::i2(9);
    const struct {
        cad::com::Dispatch* object;
        const char* member;
        cad::com::Variant* argument;
        const char* code;
    } calls[] = {
        {&document, "ActivateSheet", &sheetByValue, "0x80020005"},  // cadsim: by reference only
        {&application, "GetUserPreferenceIntegerValue", &narrowNumber, "0x80020005"},
        {&application, "GetSheetNames", nullptr, "0x80020006"},
    };
    for (const auto& call : calls) {
        SCOPED_TRACE(call.member);
        const std::string text = errorOf([&] {
            if (call.argument)
                call.object->call(call.member, {call.argument});
            else
                call.object->call(call.member);
        });
        EXPECT_EQ(text.rfind(std::string(call.member) + ": ", 0), 0u) << text;
        EXPECT_NE(text.find(call.code), std::string::npos) << text;
        if (call.argument) {
            EXPECT_NE(text.find("Argument 1"), std::string::npos) << text;
        }
    }
}

// Quit revokes the running one; unregistered, the tool finds no CAD.
TEST_F(CadsimCom, QuitAndUnregisteredTheToolFindsNothing)
{
    ASSERT_EQ(CadsimExe::control("Quit"), "");
    EXPECT_EQ(cadsim->waitForEnd(), 0) << cadsim->output();
    CLSID classId{};
    ASSERT_EQ(CLSIDFromProgID(L"SldWorks.Application", &classId), S_OK);
    cad::com::ComPtr<IUnknown> running;
    EXPECT_NE(GetActiveObject(classId, nullptr, running.put()), S_OK);

    {
        // Registered, but the program is not where the registration says.
        wchar_t applicationClass[64] = L"";
        ASSERT_GT(StringFromGUID2(classId, applicationClass, 64), 0);
        const std::wstring missing = L"\"C:\\fehlt\\cadsim.exe\"";
        ASSERT_EQ(
            RegSetKeyValueW(
                HKEY_CURRENT_USER,
                (L"Software\\Classes\\CLSID\\" + std::wstring(applicationClass) + L"\\LocalServer32").c_str(),
                nullptr, REG_SZ, missing.c_str(), DWORD((missing.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
        const std::string off = "Solidworks läuft gar nicht";
        int32_t count = 0;
        std::vector<std::string> names;
        std::string current, message;
        EXPECT_FALSE(cad::HoleSheetNames(count, names, current, message));
        EXPECT_EQ(message, off);
        EXPECT_FALSE(kup::SetzeSwxTiffOptions({1, 0, 2, 200, 8, 100, true, 0.42, 0.297}, message));
        EXPECT_EQ(message, off);
        fake::MessageRecorder boxes;
        fake::TextLog log;
        kup::KupTools_SaveSheetsAsTIFF({true, false, false, folder()}, log, boxes);
        ASSERT_EQ(boxes.messages.size(), 1u) << log.text;
        EXPECT_EQ(boxes.messages[0].text, off);
        EXPECT_EQ(boxes.messages[0].title, "KUP-Tools - Fehlerinfo");
    }

    std::string output;
    ASSERT_EQ(CadsimExe::run({"/UnregServer"}, output), 0) << output;
    EXPECT_NE(output.find("ausgetragen"), std::string::npos) << output;
    EXPECT_EQ(cad::com::makeBackend()(), nullptr);
    EXPECT_EQ(cad::com::makeBackend({.progId = "KupTest.NichtEingetragen"})(), nullptr);

    // A broken drawing ends the start with one line naming it.
    const std::string broken = writeFile("kaputt.json", "{\"type\": ");
    EXPECT_EQ(CadsimExe::run({"--headless", broken}, output), 1);
    EXPECT_NE(output.find("kaputt.json"), std::string::npos) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;

    // Registered again, as the cases after this one, in whatever order, find it.
    ASSERT_EQ(CadsimExe::registerServer(output), 0) << output;
    EXPECT_NE(output.find("eingetragen"), std::string::npos) << output;
}

}  // namespace
