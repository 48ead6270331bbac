#include "cad/number_text.h"
#include "cad/sheet_queries.h"
#include "tests/support/fake_cad.h"

#include <gtest/gtest.h>

using namespace cad;

namespace {

struct Names {
    int32_t count = 99;
    std::vector<std::string> names{"alt"};
    std::string current = "alt";
    std::string error;
    bool ok = false;
};

Names holeSheetNames()
{
    Names n;
    n.ok = HoleSheetNames(n.count, n.names, n.current, n.error);
    return n;
}

struct Props {
    std::string templatePath = "alt", paperName = "alt", templateName = "alt", scaleText = "alt", error;
    int32_t paperCode = 99, templateCode = 99, firstAngle = 99;
    double numerator = 99, denominator = 99, width = 99, height = 99;
    bool ok = false;
};

Props holeSheetProperties(const std::string& name)
{
    Props p;
    p.ok = HoleSheetProperties(name, p.templatePath, p.paperCode, p.paperName, p.templateCode, p.templateName,
                               p.numerator, p.denominator, p.scaleText, p.firstAngle, p.width, p.height,
                               p.error);
    return p;
}

class SheetQueries : public ::testing::Test {
protected:
    void SetUp() override
    {
        setDecimalSeparator(",");
        cad.install();
        cad.document = fake::Document{cad::kDocDrawing,
                                      "Flansch",
                                      {fake::makeSheet("Blatt1", 6, 6, 1, 2, true),
                                       fake::makeSheet("Blatt2", 8, 13, 1, 2.5, false),
                                       fake::makeSheet("Blatt3", 12, 12, 2, 1, true)},
                                      1};
    }
    void TearDown() override { setDecimalSeparator("."); }
    fake::Cad cad;
};

TEST_F(SheetQueries, NamesOfADrawing)
{
    const Names n = holeSheetNames();
    EXPECT_TRUE(n.ok);
    EXPECT_EQ(n.count, 3);
    EXPECT_EQ(n.names, (std::vector<std::string>{"Blatt1", "Blatt2", "Blatt3"}));
    EXPECT_EQ(n.current, "Blatt2");
    EXPECT_EQ(n.error, "");
    EXPECT_EQ(cad.journal(), (std::vector<std::string>{"attach", "Visible(b:true)", "ActiveDoc()",
                                                       "GetType()", "GetSheetCount()", "GetSheetNames()",
                                                       "GetCurrentSheet()", "GetName()"}));
}

TEST_F(SheetQueries, NamesAndWhatBothQueriesAnswerWithoutADrawing)
{
    constexpr int32_t kNone = -99;
    const std::string noDrawing = "Keine Zeichnung aktiv", off = "Solidworks läuft gar nicht";
    const std::string unknown = "Konnte Blatt mit Namen Blatt1nicht ansprechen. Verlasse Prozedur!";
    const struct {
        const char* what;
        int32_t type;  // kNone: no document
        int sheets;
        bool reachable;
        int32_t countAnswer;  // kNone: the number of sheets
        bool noNames;         // the drawing answers no names at all
        bool ok;
        int32_t count;
        std::string names, current, error, propertiesError;
    } rows[] = {
        {"ohne Blätter", kDocDrawing, 0, true, kNone, false, true, 0, "", "", "", unknown},
        {"ein Blatt", kDocDrawing, 1, true, kNone, false, true, 1, "Blatt1", "Blatt1", "", ""},
        {"kein Dokument", kNone, 0, true, kNone, false, false, -1, "", "", "Keine Dokument aktiv",
         "Keine Datei geöffnet"},
        {"Teil", kDocPart, 0, true, kNone, false, false, 0, "", "", noDrawing,
         noDrawing + ". Funktion kann nur sinnvoll auf Zeichnungen angewendet werden."},
        {"Baugruppe", kDocAssembly, 0, true, kNone, false, false, 0, "", "", noDrawing,
         noDrawing + ". Funktion kann nur sinnvoll auf Zeichnungen angewendet werden."},
        {"nicht erreichbar", kDocDrawing, 3, false, kNone, false, false, 99, "alt", "alt", off, off},
        {"keine Namen", kDocDrawing, 3, true, kNone, true, false, 3, "", "alt",
         "Die Zeichnung meldet 3 Blätter, aber 0 Blattnamen", ""},
        {"negative Anzahl", kDocDrawing, 3, true, -2, false, false, -2, "Blatt1|Blatt2|Blatt3", "alt",
         "Die Zeichnung meldet -2 Blätter, aber 3 Blattnamen", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        SetUp();
        cad.document->sheets.resize(row.sheets);
        cad.document->active = 0;
        cad.document->type = row.type;
        if (row.type == kNone)
            cad.document.reset();
        cad.reachable = row.reachable;
        if (row.countAnswer != kNone)
            cad.document->sheetCountAnswer = row.countAnswer;
        if (row.noNames)
            cad.document->sheetNamesAnswer = std::vector<std::string>{};
        const Names n = holeSheetNames();
        EXPECT_EQ(n.ok, row.ok);
        EXPECT_EQ(n.count, row.count);
        std::string names;
        for (const std::string& name : n.names)
            names += (names.empty() ? "" : "|") + name;
        EXPECT_EQ(names, row.names);
        EXPECT_EQ(n.current, row.current);
        EXPECT_EQ(n.error, row.error);
        const Props p = holeSheetProperties("Blatt1");
        EXPECT_EQ(p.error, row.propertiesError);
        if (!p.ok) {
            EXPECT_EQ(p.templatePath, "alt");  // no other output touched
        }
    }
}

TEST_F(SheetQueries, PropertiesOfASheetWhichStaysActive)
{
    const Props p = holeSheetProperties("Blatt1");
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.error, "");
    EXPECT_EQ(p.templatePath, "C:\\Vorlagen\\Blatt1.drt");
    EXPECT_EQ(p.paperCode, 6);
    EXPECT_EQ(p.paperName, "A4 quer");
    EXPECT_EQ(p.templateCode, 6);
    EXPECT_EQ(p.templateName, "A4 quer");
    EXPECT_EQ(p.numerator, 1);
    EXPECT_EQ(p.denominator, 2);
    EXPECT_EQ(p.scaleText, "1:2");
    EXPECT_EQ(p.firstAngle, -1);
    EXPECT_DOUBLE_EQ(p.width, 0.297);
    EXPECT_DOUBLE_EQ(p.height, 0.21);
    EXPECT_EQ(cad.document->active, 0);  // not switched back to Blatt2
    EXPECT_EQ(cad.journalOf("ActivateSheet"), std::vector<std::string>{"ActivateSheet(&s:Blatt1)"});
    EXPECT_EQ(cad.journalOf("GetProperties").size(), 1u);  // read once
}

TEST_F(SheetQueries, ScaleInTheRegionalNotation)
{
    EXPECT_EQ(holeSheetProperties("Blatt2").scaleText, "1:2,5");
    setDecimalSeparator(".");
    EXPECT_EQ(holeSheetProperties("Blatt2").scaleText, "1:2.5");
}

TEST_F(SheetQueries, UnknownSheetNameIsJoinedWithoutBlank)
{
    const Props p = holeSheetProperties("Blatt 9");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, "Konnte Blatt mit Namen Blatt 9nicht ansprechen. Verlasse Prozedur!");
    EXPECT_EQ(cad.document->active, 1);
}

TEST_F(SheetQueries, CodesOutsideTheTablesNeitherCrashNorReadOutside)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double paper, templ, projection;
        const char *paperName, *templateName;
    } rows[] = {
        {12, 13, -1, "benutzerdefiniert", "keine Vorlage"},
        {13, 14, nan, "unbekannt", "unbekannt"},  // nonsense is not first angle
        {-1, double(INT32_MIN), 0, "unbekannt", "unbekannt"},
    };
    for (const auto& row : rows) {
        auto& properties = cad.document->sheets[0].properties;
        properties[0] = row.paper, properties[1] = row.templ, properties[4] = row.projection;
        const Props p = holeSheetProperties("Blatt1");
        EXPECT_TRUE(p.ok);
        EXPECT_EQ(p.paperCode, int32_t(row.paper));
        EXPECT_EQ(p.paperName, row.paperName);
        EXPECT_EQ(p.templateCode, int32_t(row.templ));
        EXPECT_EQ(p.templateName, row.templateName);
        EXPECT_EQ(p.firstAngle, row.projection == -1 ? -1 : 0);
    }
}

TEST_F(SheetQueries, ShortPropertyArrayIsAnError)
{
    cad.document->sheets[0].properties.resize(5);
    const Props p = holeSheetProperties("Blatt1");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, "Blatt Blatt1 liefert nur 5 von 7 Eigenschaften");
}

TEST_F(SheetQueries, AutomationErrorMidwayKeepsWhatWasWritten)
{
    cad.addFault({"GetSheetNames"});
    Names n;
    EXPECT_THROW(HoleSheetNames(n.count, n.names, n.current, n.error), AutomationError);
    EXPECT_EQ(n.count, 3);  // written before the fault
    EXPECT_EQ(n.names, std::vector<std::string>{"alt"});
    EXPECT_EQ(n.error, "Unbekannter Fehler");

    cad.clearFaults();
    cad.addFault({"GetProperties"});
    Props p;
    EXPECT_THROW(HoleSheetProperties("Blatt3", p.templatePath, p.paperCode, p.paperName, p.templateCode,
                                     p.templateName, p.numerator, p.denominator, p.scaleText, p.firstAngle,
                                     p.width, p.height, p.error),
                 AutomationError);
    EXPECT_EQ(p.templatePath, "C:\\Vorlagen\\Blatt3.drt");
    EXPECT_EQ(p.paperCode, 99);
    EXPECT_EQ(p.error, "unbekannter Fehler");
    EXPECT_EQ(cad.document->active, 2);  // the activation happened
}

TEST_F(SheetQueries, RefusedCurrentSheetIsAnAutomationError)
{
    cad.addFault({"GetCurrentSheet", fake::FaultKind::Refuse});
    Names n;
    EXPECT_THROW(HoleSheetNames(n.count, n.names, n.current, n.error), AutomationError);
}

}  // namespace
