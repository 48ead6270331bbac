// The sheet queries and the preference members through the tool's D-Bus
// backend against a real cadsim.
#include "tests/cadsim/bus_fixture.h"

#include "cad/sheet_queries.h"

namespace bustest {
namespace {

class Queries : public CadsimTest {
protected:
    void startWithFlange()
    {
        start({writeFile("Flansch.json",
                         drawingJson("Flansch",
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

TEST_F(Queries, HoleSheetPropertiesReadsTheSheetAndLeavesItActive)
{
    startWithFlange();
    std::string templatePath, paperName, templateName, scaleText, error;
    int32_t paperCode = 0, templateCode = 0, firstAngle = 0;
    double numerator = 0, denominator = 0, width = 0, height = 0;
    ASSERT_TRUE(cad::HoleSheetProperties("Blatt3", templatePath, paperCode, paperName, templateCode, templateName,
                                         numerator, denominator, scaleText, firstAngle, width, height, error))
        << error;
    EXPECT_EQ(templatePath, "C:\\Vorlagen\\Blatt3.drt");
    EXPECT_EQ(paperCode, 12);
    EXPECT_EQ(paperName, "benutzerdefiniert");
    EXPECT_EQ(templateCode, 12);
    EXPECT_EQ(numerator, 1);
    EXPECT_EQ(denominator, 2);
    EXPECT_EQ(firstAngle, -1);
    EXPECT_EQ(width, 0.5);
    EXPECT_EQ(height, 0.25);
    auto doc = activeDoc();
    EXPECT_EQ(cad::currentSheetOf(*doc)->GetName(), "Blatt3");
    EXPECT_EQ(doc->GetTitle(), "Flansch - Blatt3");

    ASSERT_TRUE(cad::HoleSheetProperties("Blatt2", templatePath, paperCode, paperName, templateCode, templateName,
                                         numerator, denominator, scaleText, firstAngle, width, height, error));
    EXPECT_EQ(paperName, "A4 hoch");
    EXPECT_EQ(templateName, "keine Vorlage");
    EXPECT_EQ(firstAngle, 0);
    EXPECT_EQ(width, 0.21);  // from the paper-size code
    EXPECT_EQ(height, 0.297);
}

TEST_F(Queries, AnUnknownSheetIsRefusedAndChangesNothing)
{
    startWithFlange();
    auto doc = activeDoc();
    std::string name = "Blatt9";
    EXPECT_EQ(doc->ActivateSheet(name), cad::kFalse);
    EXPECT_EQ(cad::currentSheetOf(*doc)->GetName(), "Blatt2");
    std::string templatePath, paperName, templateName, scaleText, error;
    int32_t paperCode = 0, templateCode = 0, firstAngle = 0;
    double numerator = 0, denominator = 0, width = 0, height = 0;
    EXPECT_FALSE(cad::HoleSheetProperties("Blatt9", templatePath, paperCode, paperName, templateCode, templateName,
                                          numerator, denominator, scaleText, firstAngle, width, height, error));
    EXPECT_EQ(error, "Konnte Blatt mit Namen Blatt9nicht ansprechen. Verlasse Prozedur!");
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
    EXPECT_EQ(control("OpenDocument", {QString::fromStdString(writeFile("A.json", drawingJson("A", {{"S1"}})))}), "");
    EXPECT_EQ(activeDoc()->GetTitle(), "A - S1");
    const std::string broken = writeFile("kaputt.json", R"({"type": "drawing", "sheets": [{"name": 1}]})");
    const std::string error = control("OpenDocument", {QString::fromStdString(broken)});
    EXPECT_NE(error.find("kaputt.json: sheets[0].name: Text erwartet"), std::string::npos) << error;
    EXPECT_EQ(activeDoc()->GetTitle(), "A - S1");
}

TEST_F(Queries, PreferencesAnswerTheirDefaultsRefuseNonsenseAndPersist)
{
    start({}, {"--empty"});
    {
        auto a = app();
        EXPECT_EQ(a->GetUserPreferenceIntegerValue(6), 1);
        EXPECT_EQ(a->GetUserPreferenceIntegerValue(7), 0);
        EXPECT_EQ(a->GetUserPreferenceIntegerValue(8), 2);
        EXPECT_EQ(a->GetUserPreferenceIntegerValue(9), 200);
        EXPECT_EQ(a->GetUserPreferenceIntegerValue(10), 8);
        EXPECT_EQ(a->GetUserPreferenceIntegerValue(11), 100);
        EXPECT_TRUE(a->GetUserPreferenceToggle(28));
        EXPECT_EQ(a->GetUserPreferenceDoubleValue(8), 0.42);
        EXPECT_EQ(a->GetUserPreferenceDoubleValue(9), 0.297);

        EXPECT_EQ(a->SetUserPreferenceIntegerValue(9, int16_t{0}), 0);
        EXPECT_EQ(a->SetUserPreferenceIntegerValue(99, int16_t{1}), 0);
        EXPECT_EQ(a->SetUserPreferenceIntegerValue(8, int16_t{3}), 0);
        double negative = -1;
        EXPECT_EQ(a->SetUserPreferenceDoubleValue(8, negative), 0);
        EXPECT_EQ(a->GetUserPreferenceIntegerValue(9), 200);

        EXPECT_NE(a->SetUserPreferenceIntegerValue(10, int32_t{12}), 0);  // the 32-bit write
        EXPECT_NE(a->SetUserPreferenceIntegerValue(9, int16_t{150}), 0);
        a->SetUserPreferenceToggle(28, int16_t{0});
        double width = 0.5;
        EXPECT_NE(a->SetUserPreferenceDoubleValue(8, width), 0);
        EXPECT_THROW(a->GetUserPreferenceIntegerValue(99), cad::AutomationError);
    }
    cadsim->stop();
    start({}, {"--empty"});
    auto a = app();
    EXPECT_EQ(a->GetUserPreferenceIntegerValue(10), 12);
    EXPECT_EQ(a->GetUserPreferenceIntegerValue(9), 150);
    EXPECT_FALSE(a->GetUserPreferenceToggle(28));
    EXPECT_EQ(a->GetUserPreferenceDoubleValue(8), 0.5);
}

}  // namespace
}  // namespace bustest
