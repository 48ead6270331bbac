#include "export/sheet_export.h"

#include "cad/automation.h"
#include "cad/number_text.h"
#include "cad/sheet_queries.h"
#include "export/file_name_key.h"
#include "tiffoptions/swx_sldtools.h"

#include <algorithm>
#include <set>
#include <vector>

namespace kup {

namespace {
const char* const kCrLf = "\r\n";
const char* const kErrorTitle = kTitleFehlerinfo;
const char* const kInfoTitle = kTitleInfo;

class Run {
public:
    Run(const ExportSettings& settings, OutputLog& log, kup::MessageBoxes& boxes)
        : settings_(settings), log_(log), boxes_(boxes)
    {
    }

    ExportOutcome execute()
    {
        try {
            walkSheets();
        } catch (const cad::AutomationError& error) {
            // The CAD system failed or went away mid-run: say so where the user
            // looks, keep what the log already shows, and give the window back.
            if (!logCleared_)
                log_.replace("");
            log_.insert(std::string("*** ") + error.what() + kCrLf);
            log_.refresh();
            boxes_.show(cad::failureText("Der Export wurde abgebrochen", error), kErrorTitle);
        }
        return outcome_;
    }

private:
    void clearLog()
    {
        log_.replace("");
        logCleared_ = true;
    }

    // Which the user meets first when a failure ends the run: the box, or its line in the log.
    enum class Order { BoxThenLog, LogThenBox };

    // A failure that ends the run. Earlier lines stay visible.
    void endRun(const std::string& text, const char* title, Order order)
    {
        if (order == Order::BoxThenLog)
            boxes_.show(text, title);
        log_.insert("*** " + text);
        log_.refresh();
        if (order == Order::LogThenBox)
            boxes_.show(text, title);
    }

    void notSaved(const std::string& reason, int32_t index, const std::string& fileName)
    {
        ++outcome_.notSaved;
        log_.insert("*** " + reason + " *** (Sheet " + std::to_string(index) + " unter : " + fileName + ")" +
                    kCrLf);
        log_.refresh();
    }

    void walkSheets()
    {
        int32_t count = 0;
        std::vector<std::string> names;
        std::string current;
        std::string error;
        const bool named = cad::HoleSheetNames(count, names, current, error);
        clearLog();
        if (!named) {
            log_.replace(std::string("Fehler aufgetreten") + kCrLf + error);
            boxes_.show(error, kErrorTitle);
            return;
        }
        outcome_.sheetCount = count;

        const std::unique_ptr<cad::Application> app = cad::attach();
        const std::unique_ptr<cad::Document> doc = app ? app->ActiveDoc() : nullptr;
        if (!doc) {
            log_.insert("*** Keine Datei geöffnet ***");
            log_.refresh();
            return;
        }
        log_.insert(std::string("Speichere einzelne Blätter von als TIFF") + kCrLf);
        log_.refresh();

        // An empty directory means the drawing's folder, as the help text
        // promises, not the root of the drive.
        if (!settings_.saveInDocFolder && !settings_.directory.empty())
            prefix_ = settings_.directory + kPathSeparator;
        for (int32_t i = 0; i < count; ++i)
            if (!saveSheet(*doc, i, names[static_cast<std::size_t>(i)]))
                return;
        outcome_.ranThrough = true;
        if (outcome_.notSaved == 0)
            log_.insert("--- Erfolgreich abgeschlossen ---");
        else
            log_.insert("--- Abgeschlossen mit Fehlern: " + std::to_string(outcome_.notSaved) + " von " +
                        std::to_string(count) + " Blättern nicht gespeichert ---");
        log_.refresh();
    }

    // One sheet into its file; false when its failure ends the run.
    bool saveSheet(cad::Document& doc, int32_t index, const std::string& name)
    {
        if (doc.GetType() != cad::kDocDrawing) {
            endRun(cad::kNoDrawingLongText, kInfoTitle, Order::LogThenBox);
            return false;
        }
        std::string activated = name;  // handed over by reference
        if (!cad::isTrue(doc.ActivateSheet(activated))) {
            endRun(cad::sheetNotReachableText(name), kInfoTitle, Order::LogThenBox);
            return false;
        }
        std::string fileName =
            prefix_ + safeFileNamePart(settings_.titleNaming ? doc.GetTitle() : name) + ".tif";
        if (written_.count(fileNameKey(fileName))) {
            notSaved("Blatt nicht gespeichert, Dateiname schon in diesem Lauf verwendet", index, fileName);
            return true;
        }
        if (settings_.ownFormat && !applySheetFormat(doc, name))
            return false;
        if (doc.SaveAsSilent(fileName, saveFlag_) != 0) {
            notSaved("Konnte Blatt nicht als TIFF speichern", index, fileName);
            return true;
        }
        written_.insert(fileNameKey(fileName));
        ++outcome_.saved;
        log_.insert("gesichert Sheet " + std::to_string(index) + " unter : " + fileName + kCrLf);
        log_.refresh();
        return true;
    }

    // The sheet's paper size, width and height into the TIFF preferences; the
    // other preferences are written back as they were read.
    bool applySheetFormat(cad::Document& doc, const std::string& sheetName)
    {
        TiffOptionSet options;
        std::string message;
        if (!HoleSwxTiffOptions(options, message)) {
            endRun(message, kErrorTitle, Order::BoxThenLog);
            return false;
        }
        const std::unique_ptr<cad::Sheet> sheet = cad::currentSheetOf(doc);
        const std::vector<double> properties = sheet->GetProperties();
        if (properties.size() < cad::kSheetPropertyCount) {
            endRun(cad::incompletePropertiesText(sheetName, properties.size()), kErrorTitle,
                   Order::BoxThenLog);
            return false;
        }
        // A code that does not fit 16 bits is refused by the CAD system below.
        options.TiffPrintPaperSize = cad::toInt16(properties[0]).value_or(-1);
        options.TiffPrintPaperWidth = properties[5];
        options.TiffPrintPaperHeight = properties[6];
        if (!SetzeSwxTiffOptions(options, message)) {
            endRun(message, kErrorTitle, Order::BoxThenLog);
            return false;
        }
        return true;
    }

    const ExportSettings& settings_;
    OutputLog& log_;
    kup::MessageBoxes& boxes_;
    ExportOutcome outcome_;
    bool logCleared_ = false;
    std::string prefix_;             // in front of every file name: the chosen directory, or none
    std::set<std::string> written_;  // the keys of the file names saved in this run
    bool saveFlag_ = true;           // handed over by reference, so kept for the whole run
};
}  // namespace

namespace {
// Windows opens a device, not a file, for these names, whatever follows them
// after a dot and in any case: "CON.tif" and "con.1.tif" are the console.
bool isDeviceName(const std::string& text)
{
    std::string base = text.substr(0, text.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    for (char& c : base)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}
}  // namespace

std::string safeFileNamePart(const std::string& text)
{
    std::string safe = text;
    for (char& c : safe) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F || c == '\\' || c == '/' || c == ':' || c == '*' || c == '?' || c == '"' ||
            c == '<' || c == '>' || c == '|')
            c = '_';
    }
    if (isDeviceName(safe))
        safe.insert(std::min(safe.find_first_of(". "), safe.size()), "_");
    return safe;
}

ExportOutcome KupTools_SaveSheetsAsTIFF(const ExportSettings& settings, OutputLog& log,
                                        kup::MessageBoxes& boxes)
{
    return Run(settings, log, boxes).execute();
}

}  // namespace kup
