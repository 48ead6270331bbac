#include "cad/sheet_queries.h"

#include "cad/automation.h"
#include "cad/number_text.h"
#include "cad/size_tables.h"

namespace cad {

const char* const kNoDrawingLongText =
    "Keine Zeichnung aktiv. Funktion kann nur sinnvoll auf Zeichnungen angewendet werden.";

namespace {
// A code that does not fit 32 bits has no table entry anyway; -1 keeps it out.
int32_t codeOf(double property)
{
    return toInt32(property).value_or(-1);
}
}  // namespace

std::string sheetNotReachableText(const std::string& sheetName)
{
    return "Konnte Blatt mit Namen " + sheetName + "nicht ansprechen. Verlasse Prozedur!";
}

std::string incompletePropertiesText(const std::string& sheetName, std::size_t count)
{
    return "Blatt " + sheetName + " liefert nur " + std::to_string(count) + " von " +
           std::to_string(kSheetPropertyCount) + " Eigenschaften";
}

bool HoleSheetNames(int32_t& sheetCount, std::vector<std::string>& sheetNames, std::string& currentSheetName,
                    std::string& errorText)
{
    errorText = "Unbekannter Fehler";
    const std::unique_ptr<Application> application = attachOrSay(errorText);
    if (!application)
        return false;
    const std::unique_ptr<Document> document = application->ActiveDoc();
    if (!document) {
        sheetCount = -1;
        sheetNames.clear();
        currentSheetName.clear();
        errorText = "Keine Dokument aktiv";
        return false;
    }
    if (document->GetType() != kDocDrawing) {
        sheetCount = 0;
        sheetNames.clear();
        currentSheetName.clear();
        errorText = "Keine Zeichnung aktiv";
        return false;
    }
    sheetCount = document->GetSheetCount();
    sheetNames = document->GetSheetNames();
    // Every caller walks names 0 to count-1; a list that does not match the
    // count would send them past its end.
    if (sheetCount < 0 || static_cast<std::size_t>(sheetCount) != sheetNames.size()) {
        errorText = "Die Zeichnung meldet " + std::to_string(sheetCount) + " Blätter, aber " +
                    std::to_string(sheetNames.size()) + " Blattnamen";
        return false;
    }
    // A drawing without sheets has no current sheet; any other must name one.
    if (sheetCount == 0) {
        const std::unique_ptr<Sheet> current = document->GetCurrentSheet();
        currentSheetName = current ? current->GetName() : std::string();
    } else {
        currentSheetName = currentSheetOf(*document)->GetName();
    }
    errorText.clear();
    return true;
}

bool HoleSheetProperties(std::string sheetName, std::string& templatePath, int32_t& paperSizeCode,
                         std::string& paperSizeName, int32_t& templateSizeCode, std::string& templateSizeName,
                         double& scaleNumerator, double& scaleDenominator, std::string& scaleText,
                         int32_t& firstAngle, double& paperWidth, double& paperHeight, std::string& errorText)
{
    errorText = "unbekannter Fehler";
    FillSizeTables();
    const std::unique_ptr<Application> application = attachOrSay(errorText);
    if (!application)
        return false;
    const std::unique_ptr<Document> document = application->ActiveDoc();
    if (!document) {
        errorText = "Keine Datei geöffnet";
        return false;
    }
    if (document->GetType() != kDocDrawing) {
        errorText = kNoDrawingLongText;
        return false;
    }
    if (!isTrue(document->ActivateSheet(sheetName))) {
        errorText = sheetNotReachableText(sheetName);
        return false;
    }
    const std::unique_ptr<Sheet> sheet = currentSheetOf(*document);
    templatePath = sheet->GetTemplateName();
    const std::vector<double> properties = sheet->GetProperties();
    if (properties.size() < kSheetPropertyCount) {
        errorText = incompletePropertiesText(sheetName, properties.size());
        return false;
    }
    paperSizeCode = codeOf(properties[0]);
    paperSizeName = paperSizeNameOf(paperSizeCode);
    templateSizeCode = codeOf(properties[1]);
    templateSizeName = templateSizeNameOf(templateSizeCode);
    scaleNumerator = properties[2];
    scaleDenominator = properties[3];
    scaleText = numberText(scaleNumerator) + ":" + numberText(scaleDenominator);
    firstAngle = toInt32(properties[4]).value_or(0);  // only -1 means first angle
    paperWidth = properties[5];
    paperHeight = properties[6];
    errorText.clear();
    return true;
}

}  // namespace cad
