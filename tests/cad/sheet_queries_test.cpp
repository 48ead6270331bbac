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

TEST_F(SheetQueries, DrawingWithoutSheets)
{
    cad.document->sheets.clear();
    const Names n = holeSheetNames();
    EXPECT_TRUE(n.ok) << n.error;
    EXPECT_EQ(n.count, 0);
    EXPECT_TRUE(n.names.empty());
    EXPECT_EQ(n.current, "");
}

TEST_F(SheetQueries, OneSheetIsCountNameAndCurrent)
{
    cad.document->sheets.resize(1);
    cad.document->active = 0;
    const Names n = holeSheetNames();
    EXPECT_TRUE(n.ok);
    EXPECT_EQ(n.count, 1);
    EXPECT_EQ(n.names, std::vector<std::string>{"Blatt1"});
    EXPECT_EQ(n.current, "Blatt1");
}

TEST_F(SheetQueries, NoDocumentOrNoDrawing)
{
    cad.document.reset();
    Names n = holeSheetNames();
    EXPECT_FALSE(n.ok);
    EXPECT_EQ(n.error, "Keine Dokument aktiv");
    EXPECT_EQ(n.count, -1);
    EXPECT_TRUE(n.names.empty());
    EXPECT_EQ(n.current, "");
    Props p = holeSheetProperties("Blatt1");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error, "Keine Datei geöffnet");
    EXPECT_EQ(p.templatePath, "alt");  // no other output touched

    for (int32_t type : {kDocPart, kDocAssembly}) {
        cad.document = fake::Document{type, "Welle", {}, 0};
        n = holeSheetNames();
        EXPECT_FALSE(n.ok);
        EXPECT_EQ(n.error, "Keine Zeichnung aktiv");
        EXPECT_EQ(n.count, 0);
        EXPECT_TRUE(n.names.empty());
        p = holeSheetProperties("Blatt1");
        EXPECT_FALSE(p.ok);
        EXPECT_EQ(p.error,
                  "Keine Zeichnung aktiv. Funktion kann nur sinnvoll auf Zeichnungen angewendet werden.");
    }
}

TEST_F(SheetQueries, UnreachableCad)
{
    cad.reachable = false;
    EXPECT_EQ(holeSheetNames().error, "Solidworks läuft gar nicht");
    EXPECT_EQ(holeSheetProperties("Blatt1").error, "Solidworks läuft gar nicht");
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

TEST_F(SheetQueries, UserDefinedSizeNoTemplateAndRegionalScale)
{
    Props p = holeSheetProperties("Blatt2");
    EXPECT_EQ(p.templateName, "keine Vorlage");
    EXPECT_EQ(p.scaleText, "1:2,5");
    EXPECT_EQ(p.firstAngle, 0);
    p = holeSheetProperties("Blatt3");
    EXPECT_EQ(p.paperName, "benutzerdefiniert");
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
    cad.document->sheets[0].properties[0] = 40;
    cad.document->sheets[0].properties[1] = -3;
    cad.document->sheets[0].properties[4] = std::numeric_limits<double>::quiet_NaN();
    const Props p = holeSheetProperties("Blatt1");
    EXPECT_TRUE(p.ok);
    EXPECT_EQ(p.paperCode, 40);
    EXPECT_EQ(p.paperName, "unbekannt");
    EXPECT_EQ(p.templateCode, -3);
    EXPECT_EQ(p.templateName, "unbekannt");
    EXPECT_EQ(p.firstAngle, 0);  // nonsense is not first angle
}

TEST_F(SheetQueries, BadAnswersGiveClearErrors)
{
    cad.document->sheetNamesAnswer = std::vector<std::string>{};
    Names n = holeSheetNames();
    EXPECT_FALSE(n.ok);
    EXPECT_EQ(n.error, "Die Zeichnung meldet 3 Blätter, aber 0 Blattnamen");

    cad.document->sheetNamesAnswer.reset();
    cad.document->sheetCountAnswer = -2;
    EXPECT_FALSE(holeSheetNames().ok);

    cad.document->sheetCountAnswer.reset();
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
