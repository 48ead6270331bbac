#include "cad/number_text.h"
#include "cad/sheet_queries.h"
#include "tests/support/fake_cad.h"

#include <gtest/gtest.h>

#include <sstream>

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
    // Every output in one line: "path|code name|code name|n/d text|angle|w x h|error".
    std::string text() const
    {
        std::ostringstream out;
        out << templatePath << '|' << paperCode << ' ' << paperName << '|' << templateCode << ' '
            << templateName << '|' << numerator << '/' << denominator << ' ' << scaleText << '|' << firstAngle
            << '|' << width << " x " << height << '|' << error;
        return out.str();
    }
};
const std::string kUntouched = "99 alt|99 alt|99/99 alt|99|99 x 99|";  // after the path

void query(Props& p, const std::string& name)
{
    p.ok = HoleSheetProperties(name, p.templatePath, p.paperCode, p.paperName, p.templateCode, p.templateName,
                               p.numerator, p.denominator, p.scaleText, p.firstAngle, p.width, p.height,
                               p.error);
}
Props holeSheetProperties(const std::string& name)
{
    Props p;
    query(p, name);
    return p;
}

// Three sheets, the second one active.
fake::Document flange()
{
    return {cad::kDocDrawing,
            "Flansch",
            {fake::makeSheet("Blatt1", 6, 6, 1, 2, true), fake::makeSheet("Blatt2", 8, 13, 1, 2.5, false),
             fake::makeSheet("Blatt3", 12, 12, 2, 1, true)},
            1};
}

class SheetQueries : public ::testing::Test {
protected:
    void SetUp() override
    {
        setDecimalSeparator(",");
        cad.install();
        cad.document = flange();
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
        cad.document = flange();
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

TEST_F(SheetQueries, PropertiesOfASheetWhichStaysActiveAndCodesOutsideTheTables)
{
    const Props p = holeSheetProperties("Blatt1");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.text(), "C:\\Vorlagen\\Blatt1.drt|6 A4 quer|6 A4 quer|1/2 1:2|-1|0.297 x 0.21|");
    EXPECT_EQ(cad.document->active, 0);  // not switched back to Blatt2
    EXPECT_EQ(cad.journalOf("ActivateSheet"), std::vector<std::string>{"ActivateSheet(&s:Blatt1)"});
    EXPECT_EQ(cad.journalOf("GetProperties").size(), 1u);  // read once

    const double nan = std::numeric_limits<double>::quiet_NaN(), none = -99;
    const std::string path = "C:\\Vorlagen\\Blatt1.drt|";
    const struct {
        std::string sheet;
        double paper, templ, projection;  // none: as made
        std::size_t properties;
        const char* separator;
        std::string text;
        int active;
    } rows[] = {
        {"Blatt2", none, none, none, 7, ",",
         "C:\\Vorlagen\\Blatt2.drt|8 A3|13 keine Vorlage|1/2.5 1:2,5|0|0.42 x 0.297|", 1},
        {"Blatt2", none, none, none, 7, ".",
         "C:\\Vorlagen\\Blatt2.drt|8 A3|13 keine Vorlage|1/2.5 1:2.5|0|0.42 x 0.297|", 1},
        {"Blatt1", 12, 13, -1, 7, ",",
         path + "12 benutzerdefiniert|13 keine Vorlage|1/2 1:2|-1|0.297 x 0.21|", 0},
        // Nonsense is not first angle.
        {"Blatt1", 13, 14, nan, 7, ",", path + "13 unbekannt|14 unbekannt|1/2 1:2|0|0.297 x 0.21|", 0},
        {"Blatt1", -1, double(INT32_MIN), 0, 7, ",",
         path + "-1 unbekannt|-2147483648 unbekannt|1/2 1:2|0|0.297 x 0.21|", 0},
        {"Blatt1", none, none, none, 5, ",",
         path + kUntouched + "Blatt Blatt1 liefert nur 5 von 7 Eigenschaften", 0},
        // The unknown name joined without a blank; the active sheet stays.
        {"Blatt 9", none, none, none, 7, ",",
         "alt|" + kUntouched + "Konnte Blatt mit Namen Blatt 9nicht ansprechen. Verlasse Prozedur!", 1},
    };
    for (const auto& row : rows) {
        cad.document = flange();
        setDecimalSeparator(row.separator);
        auto& properties = cad.document->sheets[0].properties;
        for (const auto& [at, value] : {std::pair{0, row.paper}, {1, row.templ}, {4, row.projection}})
            if (value != none)
                properties[at] = value;
        properties.resize(row.properties);
        EXPECT_EQ(holeSheetProperties(row.sheet).text(), row.text);
        EXPECT_EQ(cad.document->active, row.active) << row.text;
    }
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
    EXPECT_THROW(query(p, "Blatt3"), AutomationError);
    EXPECT_EQ(p.text(), "C:\\Vorlagen\\Blatt3.drt|" + kUntouched + "unbekannter Fehler");
    EXPECT_EQ(cad.document->active, 2);  // the activation happened
}

TEST_F(SheetQueries, RefusedCurrentSheetIsAnAutomationError)
{
    cad.addFault({"GetCurrentSheet", fake::FaultKind::Refuse});
    Names n;
    EXPECT_THROW(HoleSheetNames(n.count, n.names, n.current, n.error), AutomationError);
}

}  // namespace
