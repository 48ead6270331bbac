// The COM backend against the stand-in server: attaching, the document
// members with the variant types the server receives, and calls the server
// rejects. The preference members' widths are proven by the transfer cases.
#include "cad/automation.h"
#include "cad/com/com_backend.h"
#include "tests/com/check.h"
#include "tests/com/standin.h"

namespace {

using Lines = std::vector<std::string>;

const standin::Control& server()
{
    return standin::control();
}

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
    // Umlauts must survive both ways between UTF-8 and BSTR.
    standin::drawing("Gehäuse", {{"Blatt1", 6}, {"Maße", 8}});
    {
        const auto application = cad::attach();
        const auto document = application->ActiveDoc();
        CHECK(document != nullptr);
        CHECK_EQ(document->GetType(), 3);
        CHECK_EQ(document->GetSheetCount(), 2);
        CHECK_EQ(document->GetSheetNames(), (Lines{"Blatt1", "Maße"}));
        CHECK_EQ(document->GetCurrentSheet()->GetName(), std::string("Blatt1"));

        std::string name = "Maße";
        CHECK_EQ(document->ActivateSheet(name), cad::kTrue);
        CHECK_EQ(name, std::string("Maße"));
        std::string missing = "Blatt9";
        CHECK_EQ(document->ActivateSheet(missing), cad::kFalse);
        CHECK_EQ(document->GetTitle(), std::string("Gehäuse - Maße"));

        std::string file = "C:\\out\\Blatt2.tif";
        bool flag = true;
        CHECK_EQ(document->SaveAsSilent(file, flag), 0);
        CHECK(flag);
    }
    CHECK_EQ(server().journal(),
             (Lines{
                 "Visible=VT_BOOL -1",
                 "ActiveDoc()",
                 "GetType()",
                 "GetSheetCount()",
                 "GetSheetNames()",
                 "GetCurrentSheet()",
                 "GetName()",
                 "ActivateSheet(VT_BYREF|VT_BSTR Maße)",
                 "ActivateSheet(VT_BYREF|VT_BSTR Blatt9)",
                 "GetTitle()",
                 "SaveAsSilent(VT_BYREF|VT_BSTR C:\\out\\Blatt2.tif, VT_BYREF|VT_BOOL -1)",
             }));
    CHECK_EQ(server().living(), 0);
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
