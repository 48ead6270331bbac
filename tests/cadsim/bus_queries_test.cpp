// The document and preference members through the tool's D-Bus backend
// against a real cadsim; the sheet queries are the sheet information window's
// end-to-end matter.
#include "tests/support/cadsim_fixture.h"

namespace bustest {
namespace {

class Queries : public CadsimTest {};

TEST_F(Queries, PartsAssembliesAndNoDocumentAreToldApart)
{
    start({writeFile("Welle.json", R"({"type": "part"})"),
           writeFile("Getriebe.json", R"({"type": "assembly", "title": "Getriebe 3"})")});
    auto doc = activeDoc();
    EXPECT_EQ(doc->GetType(), cad::kDocPart);
    EXPECT_EQ(doc->GetTitle(), "Welle");
    EXPECT_THROW(doc->GetSheetCount(), cad::AutomationError);  // a part has no sheets
    EXPECT_THROW(doc->GetSheetNames(), cad::AutomationError);
    EXPECT_EQ(control("CloseDocument"), "");
    doc = activeDoc();
    EXPECT_EQ(doc->GetType(), cad::kDocAssembly);
    EXPECT_EQ(doc->GetTitle(), "Getriebe 3");
    EXPECT_EQ(control("CloseAllDocuments"), "");
    EXPECT_EQ(activeDoc(), nullptr);
}

TEST_F(Queries, OpenDocumentActivatesAndABrokenFileOrAnUnknownSheetChangesNothing)
{
    start({}, {"--empty"});
    EXPECT_EQ(activeDoc(), nullptr);
    const std::string a = writeFile("A.json", drawingJson("A", {{"S1"}, {"S2"}}));
    EXPECT_EQ(control("OpenDocument", {QString::fromStdString(a)}), "");
    EXPECT_EQ(activeDoc()->GetTitle(), "A - S1");
    const std::string broken = writeFile("kaputt.json", R"({"type": "drawing", "sheets": [{"name": 1}]})");
    const std::string error = control("OpenDocument", {QString::fromStdString(broken)});
    EXPECT_NE(error.find("kaputt.json: sheets[0].name: Text erwartet"), std::string::npos) << error;
    std::string unknown = "S9";
    EXPECT_EQ(activeDoc()->ActivateSheet(unknown), cad::kFalse);
    EXPECT_EQ(activeDoc()->GetTitle(), "A - S1");
}

// Each preference member with its argument widths, and the refusals as the
// bus answers them; the values and their persistence belong to the preference
// store's own tests and the options window's end-to-end test.
TEST_F(Queries, PreferenceMembersCarryTheirWidthsAndRefuseNonsense)
{
    start({}, {"--empty"});
    auto a = app();
    double negative = -1;
    EXPECT_EQ(a->SetUserPreferenceIntegerValue(9, int16_t{0}), 0);
    EXPECT_EQ(a->SetUserPreferenceIntegerValue(99, int16_t{1}), 0);
    EXPECT_EQ(a->SetUserPreferenceDoubleValue(8, negative), 0);
    EXPECT_THROW(a->GetUserPreferenceIntegerValue(99), cad::AutomationError);
    EXPECT_NE(a->SetUserPreferenceIntegerValue(10, int32_t{12}), 0);  // the 32-bit write
    EXPECT_EQ(a->GetUserPreferenceIntegerValue(10), 12);
    a->SetUserPreferenceToggle(28, int16_t{0});
    EXPECT_FALSE(a->GetUserPreferenceToggle(28));
}

}  // namespace
}  // namespace bustest
