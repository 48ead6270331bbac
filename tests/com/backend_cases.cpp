// The COM backend against the stand-in server: attaching, every member with
// the variant types the server receives, array results, errors, releases.
#include "cad/automation.h"
#include "cad/com/com_backend.h"
#include "tests/com/check.h"
#include "tests/com/standin.h"

namespace {

using Lines = std::vector<std::string>;

const standin::Control& server() { return standin::control(); }

CASE(AttachCreatesTheServerAndMakesItVisible)
{
    server().reset();
    {
        const std::unique_ptr<cad::Application> application = cad::attach();
        CHECK(application != nullptr);
        CHECK_EQ(server().created(), 1);
        CHECK_EQ(server().journal(), Lines{"Visible=VT_BOOL -1"});
    }
    CHECK_EQ(server().living(), 0);
}

CASE(AttachPrefersTheRunningInstance)
{
    server().reset();
    CHECK(server().registerRunning());
    CHECK_EQ(server().created(), 1);
    {
        const std::unique_ptr<cad::Application> application = cad::attach();
        CHECK(application != nullptr);
        CHECK_EQ(server().created(), 1);
    }
    server().revokeRunning();
    CHECK_EQ(server().living(), 0);
    const std::unique_ptr<cad::Application> application = cad::attach();
    CHECK_EQ(server().created(), 2);
}

CASE(UnknownProgIdOrAServerThatCannotStartGiveNoApplication)
{
    CHECK(cad::com::makeBackend("KupStandIn.NichtRegistriert")() == nullptr);
    // Registered, but its DLL is not where the registration says.
    CHECK(cad::com::makeBackend("KupStandIn.OhneServer")() == nullptr);
}

CASE(DocumentMembersGoOutWithTheirVariantTypes)
{
    standin::drawing("Flansch", {{"Blatt1", 6}, {"Blatt2", 8}});
    {
        const auto application = cad::attach();
        const auto document = application->ActiveDoc();
        CHECK(document != nullptr);
        CHECK_EQ(document->GetType(), 3);
        CHECK_EQ(document->GetSheetCount(), 2);
        CHECK_EQ(document->GetSheetNames(), (Lines{"Blatt1", "Blatt2"}));
        CHECK_EQ(document->GetCurrentSheet()->GetName(), std::string("Blatt1"));

        std::string name = "Blatt2";
        CHECK_EQ(document->ActivateSheet(name), cad::kTrue);
        CHECK_EQ(name, std::string("Blatt2"));
        std::string missing = "Blatt9";
        CHECK_EQ(document->ActivateSheet(missing), cad::kFalse);
        CHECK_EQ(document->GetTitle(), std::string("Flansch - Blatt2"));

        std::string file = "C:\\out\\Blatt2.tif";
        bool flag = true;
        CHECK_EQ(document->SaveAsSilent(file, flag), 0);
        CHECK(flag);
    }
    CHECK_EQ(server().journal(), (Lines{
                                     "Visible=VT_BOOL -1",
                                     "ActiveDoc()",
                                     "GetType()",
                                     "GetSheetCount()",
                                     "GetSheetNames()",
                                     "GetCurrentSheet()",
                                     "GetName()",
                                     "ActivateSheet(VT_BYREF|VT_BSTR Blatt2)",
                                     "ActivateSheet(VT_BYREF|VT_BSTR Blatt9)",
                                     "GetTitle()",
                                     "SaveAsSilent(VT_BYREF|VT_BSTR C:\\out\\Blatt2.tif, VT_BYREF|VT_BOOL -1)",
                                 }));
    CHECK_EQ(server().living(), 0);
}

CASE(SheetMembersAndTheirArrays)
{
    server().reset();
    server().openDocument(3, "Welle");
    server().addSheet("Schnitt A-A", 12, 13, 1, 2.5);
    const auto application = cad::attach();
    const auto sheet = application->ActiveDoc()->GetCurrentSheet();
    CHECK_EQ(sheet->GetName(), std::string("Schnitt A-A"));
    CHECK_EQ(sheet->GetTemplateName(), std::string("C:\\Vorlagen\\Schnitt A-A.drt"));
    CHECK_EQ(sheet->GetProperties(), (std::vector<double>{12, 13, 1, 2.5, -1, 0.1, 0.1}));
}

CASE(TextsKeepTheirUmlautsBothWays)
{
    standin::drawing("Gehäuse", {{"Ansicht Ü", 7}, {"Maße", 8}});
    const auto application = cad::attach();
    const auto document = application->ActiveDoc();
    CHECK_EQ(document->GetSheetNames(), (Lines{"Ansicht Ü", "Maße"}));
    std::string name = "Maße";
    CHECK_EQ(document->ActivateSheet(name), cad::kTrue);
    CHECK_EQ(document->GetTitle(), std::string("Gehäuse - Maße"));
    CHECK_EQ(server().journalOf("ActivateSheet"), Lines{"ActivateSheet(VT_BYREF|VT_BSTR Maße)"});
}

CASE(PreferenceMembersGoOutWithTheirWidths)
{
    server().reset();
    const auto application = cad::attach();
    CHECK_EQ(application->GetUserPreferenceIntegerValue(9), int16_t(200));
    CHECK_EQ(application->GetUserPreferenceToggle(28), true);
    CHECK_EQ(application->GetUserPreferenceDoubleValue(8), 0.42);

    CHECK(application->SetUserPreferenceIntegerValue(11, int16_t(150)) != 0);
    CHECK(application->SetUserPreferenceIntegerValue(10, int32_t(12)) != 0);
    application->SetUserPreferenceToggle(28, int16_t(1));
    application->SetUserPreferenceToggle(28, false);
    double width = 0.297;
    CHECK(application->SetUserPreferenceDoubleValue(8, width) != 0);

    CHECK_EQ(server().journal(), (Lines{
                                     "Visible=VT_BOOL -1",
                                     "GetUserPreferenceIntegerValue(VT_I4 9)",
                                     "GetUserPreferenceToggle(VT_I4 28)",
                                     "GetUserPreferenceDoubleValue(VT_I4 8)",
                                     "SetUserPreferenceIntegerValue(VT_I4 11, VT_I2 150)",
                                     "SetUserPreferenceIntegerValue(VT_I4 10, VT_I4 12)",
                                     "SetUserPreferenceToggle(VT_I4 28, VT_I2 1)",
                                     "SetUserPreferenceToggle(VT_I4 28, VT_BOOL 0)",
                                     "SetUserPreferenceDoubleValue(VT_I4 8, VT_BYREF|VT_R8 0.297)",
                                 }));
    CHECK_EQ(server().preference('i', 11), 150.0);
    CHECK_EQ(server().preference('t', 28), 0.0);
    CHECK_EQ(server().preference('d', 8), 0.297);
}

CASE(ARefusedWriteAnswersZero)
{
    server().reset();
    server().fault("SetUserPreferenceIntegerValue", "9", 'r', 0);
    server().fault("SetUserPreferenceDoubleValue", nullptr, 'r', 0);
    const auto application = cad::attach();
    CHECK_EQ(application->SetUserPreferenceIntegerValue(9, int16_t(300)), int16_t(0));
    CHECK(application->SetUserPreferenceIntegerValue(7, int16_t(1)) != 0);
    double height = 0.21;
    CHECK_EQ(application->SetUserPreferenceDoubleValue(9, height), int16_t(0));
}

CASE(AFailingCallCarriesTheServersDescription)
{
    standin::drawing("Flansch", {{"Blatt1", 6}});
    server().fault("GetTitle", nullptr, 't', 0);
    {
        const auto application = cad::attach();
        const auto document = application->ActiveDoc();
        std::string text;
        try {
            document->GetTitle();
        } catch (const cad::AutomationError& error) {
            text = error.what();
        }
        CHECK_EQ(text, std::string("GetTitle: GetTitle: simulierter Fehler"));
    }
    // Nothing stays referenced after the error.
    CHECK_EQ(server().living(), 0);
}

CASE(NoDocumentIsNoObject)
{
    server().reset();
    const auto application = cad::attach();
    CHECK(application->ActiveDoc() == nullptr);
    CHECK_EQ(server().journalOf("ActiveDoc"), Lines{"ActiveDoc()"});
}

}  // namespace

#include "cad/com/dispatch.h"

namespace {

// Calls the stand-in's application by name, past the typed interface.
cad::com::Dispatch rawApplication()
{
    auto apartment = std::make_shared<cad::com::Apartment>();
    CLSID classId{};
    CLSIDFromProgID(L"SldWorks.Application", &classId);
    cad::com::ComPtr<IDispatch> object;
    CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                     reinterpret_cast<void**>(object.put()));
    if (!object)
        throw std::runtime_error("Ersatzserver nicht erzeugbar");
    return cad::com::Dispatch(apartment, std::move(object));
}

std::string errorOf(cad::com::Dispatch& object, const char* member, cad::com::Variant* argument)
{
    try {
        if (argument)
            object.call(member, {argument});
        else
            object.call(member);
    } catch (const cad::AutomationError& error) {
        return error.what();
    }
    return "kein Fehler";
}

CASE(ArgumentsOfAnotherTypeAndUnknownMembersBecomeErrors)
{
    server().reset();
    cad::com::Dispatch application = rawApplication();
    cad::com::Variant wrongWidth = cad::com::Variant::i2(9);
    const std::string mismatch = errorOf(application, "GetUserPreferenceIntegerValue", &wrongWidth);
    CHECK_EQ(mismatch.rfind("GetUserPreferenceIntegerValue: ", 0), std::size_t(0));
    CHECK(mismatch.find("Argument 1") != std::string::npos);
    CHECK(mismatch.find("0x80020005") != std::string::npos);

    const std::string unknown = errorOf(application, "GetSheetNames", nullptr);
    CHECK_EQ(unknown.rfind("GetSheetNames: ", 0), std::size_t(0));
    CHECK(unknown.find("0x80020006") != std::string::npos);
}

}  // namespace
