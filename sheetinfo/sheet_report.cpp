#include "sheetinfo/sheet_report.h"

#include "cad/automation.h"
#include "cad/number_text.h"
#include "cad/sheet_queries.h"

#include <vector>

namespace kup {

namespace {
using kup::kTitleFehlerinfo;

void line(std::string& report, const std::string& text)
{
    report += text + "\r\n";
}
}  // namespace

std::string buildSheetReport(kup::MessageBoxes& boxes)
{
    std::string report;
    try {
        int32_t count = 0;
        std::vector<std::string> names;
        std::string current;
        std::string error;
        if (!cad::HoleSheetNames(count, names, current, error)) {
            boxes.show(error, kTitleFehlerinfo);
            return {};
        }
        // Labels are 15 characters wide so every value starts in column 16.
        line(report, "Anzahl Blätter " + std::to_string(count));
        for (int32_t i = 0; i < count; ++i) {
            const std::string& name = names[static_cast<std::size_t>(i)];
            line(report, "------------------------------");
            line(report, "Sheet " + std::to_string(i) + " Name :   " + name);

            std::string templatePath, paperName, templateName, scaleText;
            int32_t paperCode = 0, templateCode = 0, firstAngle = 0;
            double numerator = 0, denominator = 0, width = 0, height = 0;
            if (!cad::HoleSheetProperties(name, templatePath, paperCode, paperName, templateCode,
                                          templateName, numerator, denominator, scaleText, firstAngle, width,
                                          height, error)) {
                boxes.show(error, kTitleFehlerinfo);
                continue;
            }
            line(report, "Papiergröße  : " + std::to_string(paperCode) + "  (" + paperName + ")");
            line(report, "Vorlagengröße: " + std::to_string(templateCode) + "  (" + templateName + ")");
            line(report, "Vorlage in   : " + templatePath);
            line(report, "Maßstab      : " + scaleText);
            line(report, "   -zähler   : " + cad::numberText(numerator));
            line(report, "   -nenner   : " + cad::numberText(denominator));
            line(report, "PTyp 1.Winkel: " + std::to_string(firstAngle));
            line(report, "Papierbreite : " + cad::numberText(width));
            line(report, "Papierhöhe   : " + cad::numberText(height));
        }
    } catch (const cad::AutomationError& error) {
        line(report, std::string("*** ") + error.what());
        boxes.show(cad::failureText("Der Bericht wurde abgebrochen", error), kTitleFehlerinfo);
    }
    return report;
}

}  // namespace kup
