// The COM backend and the core procedures over COM against the stand-in
// server: the variant types every member receives, what comes back through
// SAFEARRAYs, BSTRs and Nothing, and the errors COM reports. What the
// procedures make of the answers is the Linux tests' part.
#include "cad/com/com_backend.h"
#include "cad/com/dispatch.h"
#include "cad/sheet_queries.h"
#include "export/sheet_export.h"
#include "tests/com/standin.h"
#include "tests/support/message_recorder.h"
#include "tests/support/text_log.h"
#include "tiffoptions/swx_sldtools.h"

namespace {

using standin::drawing;
using standin::journalOf;
using standin::Lines;
using standin::server;
using Com = standin::ServerTest;

// An application object of the stand-in, made as COM makes any.
cad::com::ComPtr<IDispatch> newApplication(CLSID& classId)
{
    CLSIDFromProgID(L"SldWorks.Application", &classId);
    cad::com::ComPtr<IDispatch> object;
    CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                     reinterpret_cast<void**>(object.put()));
    return object;
}

TEST_F(Com, AttachCreatesTheServerOncePrefersTheRunningInstanceAndNeedsARegisteredOne)
{
    {
        const std::unique_ptr<cad::Application> application = cad::attach();
        ASSERT_NE(application, nullptr);
        EXPECT_EQ(server().created, 1);
        EXPECT_EQ(server().journal, Lines{"Visible=VT_BOOL -1"});
    }
    EXPECT_EQ(server().living, 0);

    CLSID classId{};
    const cad::com::ComPtr<IDispatch> running = newApplication(classId);
    DWORD cookie = 0;
    ASSERT_EQ(RegisterActiveObject(running.get(), classId, ACTIVEOBJECT_STRONG, &cookie), S_OK);
    EXPECT_NE(cad::attach(), nullptr);
    EXPECT_EQ(server().created, 2);
    RevokeActiveObject(cookie, nullptr);

    EXPECT_EQ(cad::com::makeBackend("KupStandIn.NichtRegistriert")(), nullptr);
    // Registered, but its DLL is not where the registration says.
    EXPECT_EQ(cad::com::makeBackend("KupStandIn.OhneServer")(), nullptr);
}

TEST_F(Com, DocumentMembersGoOutWithTheirVariantTypes)
{
    // Umlauts must survive both ways between UTF-8 and BSTR.
    drawing("Gehäuse", {{"Blatt1", 6}, {"Maße", 8}});
    {
        const auto document = cad::attach()->ActiveDoc();
        ASSERT_NE(document, nullptr);
        EXPECT_EQ(document->GetType(), 3);
        EXPECT_EQ(document->GetSheetCount(), 2);
        EXPECT_EQ(document->GetSheetNames(), (Lines{"Blatt1", "Maße"}));
        EXPECT_EQ(document->GetCurrentSheet()->GetName(), "Blatt1");
        std::string name = "Maße";
        EXPECT_EQ(document->ActivateSheet(name), cad::kTrue);
        EXPECT_EQ(name, "Maße");
        std::string missing = "Blatt9";
        EXPECT_EQ(document->ActivateSheet(missing), cad::kFalse);
        EXPECT_EQ(document->GetTitle(), "Gehäuse - Maße");
        std::string file = "C:\\out\\Blatt2.tif";
        bool flag = true;
        EXPECT_EQ(document->SaveAsSilent(file, flag), 0);
        EXPECT_TRUE(flag);
    }
    EXPECT_EQ(server().journal,
              (Lines{"Visible=VT_BOOL -1", "ActiveDoc()", "GetType()", "GetSheetCount()", "GetSheetNames()",
                     "GetCurrentSheet()", "GetName()", "ActivateSheet(VT_BYREF|VT_BSTR Maße)",
                     "ActivateSheet(VT_BYREF|VT_BSTR Blatt9)", "GetTitle()",
                     "SaveAsSilent(VT_BYREF|VT_BSTR C:\\out\\Blatt2.tif, VT_BYREF|VT_BOOL -1)"}));
}

TEST_F(Com, ArgumentsOfAnotherTypeAndUnknownMembersBecomeErrors)
{
    CLSID classId{};
    cad::com::ComPtr<IDispatch> object = newApplication(classId);
    ASSERT_TRUE(object);
    cad::com::Dispatch application(std::make_shared<cad::com::Apartment>(), std::move(object));
    const auto errorOf = [&](const char* member, std::initializer_list<cad::com::Variant*> arguments) {
        try {
            application.call(member, arguments);
        } catch (const cad::AutomationError& error) {
            return std::string(error.what());
        }
        return std::string("kein Fehler");
    };
    cad::com::Variant wrongWidth = cad::com::Variant::i2(9);
    const std::string mismatch = errorOf("GetUserPreferenceIntegerValue", {&wrongWidth});
    EXPECT_EQ(mismatch.rfind("GetUserPreferenceIntegerValue: ", 0), 0u) << mismatch;
    EXPECT_NE(mismatch.find("Argument 1"), std::string::npos) << mismatch;
    EXPECT_NE(mismatch.find("0x80020005"), std::string::npos) << mismatch;
    const std::string unknown = errorOf("GetSheetNames", {});
    EXPECT_EQ(unknown.rfind("GetSheetNames: ", 0), 0u) << unknown;
    EXPECT_NE(unknown.find("0x80020006"), std::string::npos) << unknown;
}

TEST_F(Com, SheetQueriesReadNothingAndTheArrayOfProperties)
{
    int32_t count = 0;
    Lines names;
    std::string current, error;
    EXPECT_FALSE(cad::HoleSheetNames(count, names, current, error));
    EXPECT_EQ(error, "Keine Dokument aktiv");

    drawing("Flansch", {{"Blatt1", 6}});
    server().cad.document->sheets.push_back(fake::makeSheet("Detail", 12, 13, 1, 2.5));
    std::string templatePath, paperName, templateName, scaleText;
    int32_t paperCode = 0, templateCode = 0, firstAngle = 0;
    double numerator = 0, denominator = 0, width = 0, height = 0;
    EXPECT_TRUE(cad::HoleSheetProperties("Detail", templatePath, paperCode, paperName, templateCode,
                                         templateName, numerator, denominator, scaleText, firstAngle, width,
                                         height, error));
    EXPECT_EQ(templatePath, "C:\\Vorlagen\\Detail.drt");
    EXPECT_EQ(paperName, "benutzerdefiniert");
    EXPECT_EQ(templateName, "keine Vorlage");
    EXPECT_EQ(scaleText, "1:2.5");
    EXPECT_EQ(firstAngle, -1);
    EXPECT_EQ(width, 0.1);
    EXPECT_EQ(journalOf("ActivateSheet"), Lines{"ActivateSheet(VT_BYREF|VT_BSTR Detail)"});
}

TEST_F(Com, HoleSwxTiffOptionsReadsEveryPreferenceWithA32BitNumber)
{
    server().cad.integerPreferences[9] = 150;  // not a resolution the window offers: passed on
    kup::TiffOptionSet options;
    std::string message = "alt";
    EXPECT_TRUE(kup::HoleSwxTiffOptions(options, message));
    EXPECT_EQ(message, "");
    EXPECT_TRUE((options == kup::TiffOptionSet{1, 0, 2, 150, 8, 100, true, 0.42, 0.297}));
    EXPECT_EQ(server().journal,
              (Lines{"Visible=VT_BOOL -1", "GetUserPreferenceIntegerValue(VT_I4 6)",
                     "GetUserPreferenceIntegerValue(VT_I4 7)", "GetUserPreferenceIntegerValue(VT_I4 8)",
                     "GetUserPreferenceIntegerValue(VT_I4 9)", "GetUserPreferenceIntegerValue(VT_I4 10)",
                     "GetUserPreferenceIntegerValue(VT_I4 11)", "GetUserPreferenceToggle(VT_I4 28)",
                     "GetUserPreferenceDoubleValue(VT_I4 8)", "GetUserPreferenceDoubleValue(VT_I4 9)"}));
}

TEST_F(Com, SetzeSwxTiffOptionsWritesEachValueWithItsWidth)
{
    std::string message = "alt";
    EXPECT_TRUE(kup::SetzeSwxTiffOptions({0, 1, 1, 300, 9, 50, false, 0.594, 0.42}, message));
    EXPECT_EQ(message, "");
    // The paper size among the preparatory writes goes out with 32 bits, the
    // toggle first as the 16-bit 1 and then as a boolean, the doubles by reference.
    EXPECT_EQ(server().journal,
              (Lines{"Visible=VT_BOOL -1", "SetUserPreferenceIntegerValue(VT_I4 6, VT_I2 1)",
                     "SetUserPreferenceIntegerValue(VT_I4 10, VT_I4 12)",
                     "SetUserPreferenceToggle(VT_I4 28, VT_I2 1)",
                     "SetUserPreferenceIntegerValue(VT_I4 8, VT_I2 0)",
                     "SetUserPreferenceIntegerValue(VT_I4 11, VT_I2 50)",
                     "SetUserPreferenceToggle(VT_I4 28, VT_BOOL 0)",
                     "SetUserPreferenceDoubleValue(VT_I4 8, VT_BYREF|VT_R8 0.594)",
                     "SetUserPreferenceDoubleValue(VT_I4 9, VT_BYREF|VT_R8 0.42)",
                     "SetUserPreferenceIntegerValue(VT_I4 10, VT_I2 9)",
                     "SetUserPreferenceIntegerValue(VT_I4 9, VT_I2 300)",
                     "SetUserPreferenceIntegerValue(VT_I4 6, VT_I2 0)",
                     "SetUserPreferenceIntegerValue(VT_I4 7, VT_I2 1)",
                     "SetUserPreferenceIntegerValue(VT_I4 8, VT_I2 1)"}));
    EXPECT_EQ(server().cad.integerPreferences[10], 9);
    EXPECT_FALSE(server().cad.togglePreferences[28]);
    EXPECT_EQ(server().cad.doublePreferences[9], 0.42);
}

TEST_F(Com, ARefusedWriteAndAnErrorOfTheServerReachTheTransfer)
{
    server().cad.addFault({"SetUserPreferenceIntegerValue", fake::FaultKind::Refuse, "9"});
    std::string message;
    EXPECT_FALSE(kup::SetzeSwxTiffOptions({1, 0, 2, 200, 8, 100, true, 0.42, 0.297}, message));
    EXPECT_EQ(message,
              "Fehler beim Setzen der TIFF-Optionen\r\nTiffPrintDPI konnte nicht gesetzt werden\r\n");

    server().cad.addFault({"GetUserPreferenceToggle", fake::FaultKind::Throw});
    kup::TiffOptionSet options;
    EXPECT_FALSE(kup::HoleSwxTiffOptions(options, message));
    EXPECT_NE(message.find("GetUserPreferenceToggle: simulierter Fehler"), std::string::npos) << message;
}

TEST_F(Com, ExportOfThreeSheetsInTheirOwnFormat)
{
    drawing("Flansch", {{"Blatt1", 8}, {"Blatt2", 7}, {"Blatt3", 11}});
    fake::MessageRecorder boxes;
    fake::TextLog log;
    kup::KupTools_SaveSheetsAsTIFF({true, false, false, "C:\\out"}, log, boxes);
    EXPECT_EQ(log.text, "Speichere einzelne Blätter von als TIFF\r\n"
                        "gesichert Sheet 0 unter : C:\\out\\Blatt1.tif\r\n"
                        "gesichert Sheet 1 unter : C:\\out\\Blatt2.tif\r\n"
                        "gesichert Sheet 2 unter : C:\\out\\Blatt3.tif\r\n"
                        "--- Erfolgreich abgeschlossen ---");
    EXPECT_TRUE(boxes.messages.empty());
    EXPECT_EQ(journalOf("SaveAsSilent"),
              (Lines{"SaveAsSilent(VT_BYREF|VT_BSTR C:\\out\\Blatt1.tif, VT_BYREF|VT_BOOL -1)",
                     "SaveAsSilent(VT_BYREF|VT_BSTR C:\\out\\Blatt2.tif, VT_BYREF|VT_BOOL -1)",
                     "SaveAsSilent(VT_BYREF|VT_BSTR C:\\out\\Blatt3.tif, VT_BYREF|VT_BOOL -1)"}));
    EXPECT_EQ(server().cad.doublePreferences[8], 1.189);  // the last sheet's A0 stays
}

}  // namespace
