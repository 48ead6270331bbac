// The sheet queries and the preference members through the tool's D-Bus
// backend against a real cadsim.
#include "tests/support/cadsim_fixture.h"

#include "cad/sheet_queries.h"

namespace bustest {
namespace {

class Queries : public CadsimTest {
protected:
    void startWithFlange()
    {
        start({writeFile("Flansch.json", drawingJson("Flansch",
                                                     {{"Blatt1", 8, 8},
                                                      {"Blatt2", 7, 13},
                                                      {"Blatt3", 12, 12, R"("width": 0.5, "height": 0.25)"}},
                                                     "Blatt2"))});
    }
};

TEST_F(Queries, HoleSheetNamesListsTheSheetsAndTheActiveOne)
{
    startWithFlange();
    int32_t count = 0;
    std::vector<std::string> names;
    std::string current, error;
    ASSERT_TRUE(cad::HoleSheetNames(count, names, current, error)) << error;
    EXPECT_EQ(count, 3);
    EXPECT_EQ(names, (std::vector<std::string>{"Blatt1", "Blatt2", "Blatt3"}));
    EXPECT_EQ(current, "Blatt2");
    EXPECT_EQ(error, "");
}

// One HoleSheetProperties with all its results.
struct Properties {
    std::string templatePath, paperName, templateName, scaleText, error;
    int32_t paperCode = 0, templateCode = 0, firstAngle = 0;
    double numerator = 0, denominator = 0, width = 0, height = 0;
    bool ok = false;
    explicit Properties(const std::string& sheet)
    {
        ok = cad::HoleSheetProperties(sheet, templatePath, paperCode, paperName, templateCode, templateName,
                                      numerator, denominator, scaleText, firstAngle, width, height, error);
    }
};

TEST_F(Queries, HoleSheetPropertiesReadsTheSheetAndLeavesItActive)
{
    startWithFlange();
    const Properties p("Blatt3");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.templatePath, "C:\\Vorlagen\\Blatt3.drt");
    EXPECT_EQ(p.paperCode, 12);
    EXPECT_EQ(p.paperName, "benutzerdefiniert");
    EXPECT_EQ(p.templateCode, 12);
    EXPECT_EQ(p.numerator, 1);
    EXPECT_EQ(p.denominator, 2);
    EXPECT_EQ(p.firstAngle, -1);
    EXPECT_EQ(p.width, 0.5);
    EXPECT_EQ(p.height, 0.25);
    auto doc = activeDoc();
    EXPECT_EQ(cad::currentSheetOf(*doc)->GetName(), "Blatt3");
    EXPECT_EQ(doc->GetTitle(), "Flansch - Blatt3");
}

TEST_F(Queries, AnUnknownSheetIsRefusedAndChangesNothing)
{
    startWithFlange();
    const Properties p("Blatt9");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, "Konnte Blatt mit Namen Blatt9nicht ansprechen. Verlasse Prozedur!");
    EXPECT_EQ(cad::currentSheetOf(*activeDoc())->GetName(), "Blatt2");
}

TEST_F(Queries, PartsAssembliesAndNoDocumentAreToldApart)
{
    const std::string part = writeFile("Welle.json", R"({"type": "part"})");
    const std::string assembly = writeFile("Getriebe.json", R"({"type": "assembly", "title": "Getriebe 3"})");
    start({part, assembly});
    auto doc = activeDoc();
    EXPECT_EQ(doc->GetType(), cad::kDocPart);
    EXPECT_EQ(doc->GetTitle(), "Welle");
    EXPECT_THROW(doc->GetSheetCount(), cad::AutomationError);  // a part has no sheets
    EXPECT_THROW(doc->GetSheetNames(), cad::AutomationError);

    int32_t count = 0;
    std::vector<std::string> names;
    std::string current, error;
    EXPECT_FALSE(cad::HoleSheetNames(count, names, current, error));
    EXPECT_EQ(error, "Keine Zeichnung aktiv");

    EXPECT_EQ(control("CloseDocument"), "");
    doc = activeDoc();
    EXPECT_EQ(doc->GetType(), cad::kDocAssembly);
    EXPECT_EQ(doc->GetTitle(), "Getriebe 3");

    EXPECT_EQ(control("CloseAllDocuments"), "");
    EXPECT_EQ(activeDoc(), nullptr);
    EXPECT_FALSE(cad::HoleSheetNames(count, names, current, error));
    EXPECT_EQ(error, "Keine Dokument aktiv");
}

TEST_F(Queries, OpenDocumentActivatesAndABrokenFileChangesNothing)
{
    start({}, {"--empty"});
    EXPECT_EQ(activeDoc(), nullptr);
    EXPECT_EQ(
        control("OpenDocument", {QString::fromStdString(writeFile("A.json", drawingJson("A", {{"S1"}})))}),
        "");
    EXPECT_EQ(activeDoc()->GetTitle(), "A - S1");
    const std::string broken = writeFile("kaputt.json", R"({"type": "drawing", "sheets": [{"name": 1}]})");
    const std::string error = control("OpenDocument", {QString::fromStdString(broken)});
    EXPECT_NE(error.find("kaputt.json: sheets[0].name: Text erwartet"), std::string::npos) << error;
    EXPECT_EQ(activeDoc()->GetTitle(), "A - S1");
}

// Each preference member with its argument widths; the values and their
// persistence belong to the preference store's own tests.
TEST_F(Queries, PreferenceMembersCarryTheirWidthsAndRefuseNonsense)
{
    start({}, {"--empty"});
    auto a = app();
    EXPECT_EQ(a->SetUserPreferenceIntegerValue(9, int16_t{0}), 0);
    EXPECT_EQ(a->SetUserPreferenceIntegerValue(99, int16_t{1}), 0);
    double negative = -1;
    EXPECT_EQ(a->SetUserPreferenceDoubleValue(8, negative), 0);
    EXPECT_THROW(a->GetUserPreferenceIntegerValue(99), cad::AutomationError);

    EXPECT_NE(a->SetUserPreferenceIntegerValue(10, int32_t{12}), 0);  // the 32-bit write
    EXPECT_NE(a->SetUserPreferenceIntegerValue(9, int16_t{150}), 0);
    a->SetUserPreferenceToggle(28, int16_t{0});
    double width = 0.5;
    EXPECT_NE(a->SetUserPreferenceDoubleValue(8, width), 0);
    EXPECT_EQ(a->GetUserPreferenceIntegerValue(10), 12);
    EXPECT_EQ(a->GetUserPreferenceIntegerValue(9), 150);
    EXPECT_FALSE(a->GetUserPreferenceToggle(28));
    EXPECT_EQ(a->GetUserPreferenceDoubleValue(8), 0.5);
    a->SetUserPreferenceToggle(28, true);
    EXPECT_TRUE(a->GetUserPreferenceToggle(28));
}

}  // namespace
}  // namespace bustest
