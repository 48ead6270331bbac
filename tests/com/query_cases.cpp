// The sheet queries of the core over COM: results, the order of the calls
// the server sees, and the answer when no server is registered at all.
#include "cad/sheet_queries.h"
#include "tests/com/check.h"
#include "tests/com/registry_keys.h"
#include "tests/com/standin.h"

namespace {

using Lines = std::vector<std::string>;

const standin::Control& server()
{
    return standin::control();
}

CASE(HoleSheetNamesOverCom)
{
    standin::drawing("Flansch", {{"Blatt1", 6}, {"Blatt2", 8}, {"Blatt3", 12}});
    int32_t count = 0;
    Lines names;
    std::string current, error = "alt";
    CHECK(cad::HoleSheetNames(count, names, current, error));
    CHECK_EQ(count, 3);
    CHECK_EQ(names, (Lines{"Blatt1", "Blatt2", "Blatt3"}));
    CHECK_EQ(current, std::string("Blatt1"));
    CHECK_EQ(error, std::string(""));
    CHECK_EQ(server().living(), 0);
}

CASE(HoleSheetNamesWithoutDrawing)
{
    server().reset();
    int32_t count = 0;
    Lines names;
    std::string current, error;
    CHECK(!cad::HoleSheetNames(count, names, current, error));
    CHECK_EQ(error, std::string("Keine Dokument aktiv"));
    CHECK_EQ(count, -1);
}

CASE(HoleSheetPropertiesOverCom)
{
    standin::drawing("Flansch", {{"Blatt1", 6}});
    server().addSheet("Detail", 12, 13, 1, 2.5);
    std::string templatePath, paperName, templateName, scaleText, error;
    int32_t paperCode = 0, templateCode = 0, firstAngle = 0;
    double numerator = 0, denominator = 0, width = 0, height = 0;
    CHECK(cad::HoleSheetProperties("Detail", templatePath, paperCode, paperName, templateCode, templateName,
                                   numerator, denominator, scaleText, firstAngle, width, height, error));
    CHECK_EQ(templatePath, std::string("C:\\Vorlagen\\Detail.drt"));
    CHECK_EQ(paperName, std::string("benutzerdefiniert"));
    CHECK_EQ(templateName, std::string("keine Vorlage"));
    CHECK_EQ(scaleText, std::string("1:2.5"));
    CHECK_EQ(firstAngle, -1);
    CHECK_EQ(width, 0.1);
    CHECK_EQ(server().journalOf("ActivateSheet"), Lines{"ActivateSheet(VT_BYREF|VT_BSTR Detail)"});

    CHECK(!cad::HoleSheetProperties("Blatt9", templatePath, paperCode, paperName, templateCode, templateName,
                                    numerator, denominator, scaleText, firstAngle, width, height, error));
    CHECK_EQ(error, std::string("Konnte Blatt mit Namen Blatt9nicht ansprechen. Verlasse Prozedur!"));
}

CASE(NoRegisteredServerMeansSolidworksIsNotRunning)
{
    if (!testkeys::inTestPrefix())
        return;
    const testkeys::ProgIdRemoved removed;
    int32_t count = 0;
    Lines names;
    std::string current, error;
    CHECK(!cad::HoleSheetNames(count, names, current, error));
    CHECK_EQ(error, std::string("Solidworks läuft gar nicht"));
}

}  // namespace
