// The cost of the automation itself, against cadsim as a separate process: one
// call (GetUserPreferenceIntegerValue) many times over, and an export of a
// drawing of many sheets, split into the tool's own time, the time in the
// calls and, among them, the time cadsim spends saving.
//   bench_automation [SHEETS] [CALLS]
#include "bench/export_sinks.h"
#include "bench/timed_backend.h"
#include "cad/members.h"
#include "cad/tiff_preferences.h"
#include "cadsim/launcher.h"
#include "export/sheet_export.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// A4 portrait sheets with a frame, a title block and a few lines of text.
std::string drawingJson(int sheets)
{
    std::string json = R"({"type": "drawing", "title": "Bench", "sheets": [)";
    for (int i = 0; i < sheets; ++i)
        json +=
            (i ? ", " : "") + std::string(R"({"name": "Blatt)") + std::to_string(i + 1) +
            R"(", "paperSize": 7, "template": 7, "templatePath": "", "scale": [1, 1], "firstAngle": true, "entities": [{"rect": [10, 10, 200, 287]},)"
            R"( {"rect": [110, 10, 200, 40]}, {"text": [115, 30, 5, "Bench"]},)"
            R"( {"line": [20, 100, 190, 100]}, {"circle": [105, 150, 40]}]})";
    return json + "]}";
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int sheets = argc > 1 ? std::stoi(argv[1]) : 100;
    const int calls = argc > 2 ? std::stoi(argv[2]) : 2000;
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string drawing = folder + "/Bench.json";
    std::ofstream(drawing) << drawingJson(sheets);

    try {
        const cadsim::Environment environment;
        const cadsim::Cadsim cadsim(folder + "/preferences.json", {drawing});
        cad::setBackend(cadsim::Cadsim::attach());
        std::unique_ptr<cad::Application> application = cad::attach();
        if (!application) {
            std::fprintf(stderr, "cadsim nicht erreichbar\n");
            return 1;
        }
        const int16_t dpi = application->GetUserPreferenceIntegerValue(cad::pref::TiffPrintDPI);
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < calls; ++i)
            application->GetUserPreferenceIntegerValue(cad::pref::TiffPrintDPI);
        const Clock::duration oneCallLoop = Clock::now() - start;
        application.reset();

        bench::CallTimes times;
        cad::setBackend(bench::timedBackend(cadsim::Cadsim::attach(), times));
        bench::AppendLog log;
        bench::NullBoxes boxes;
        const Clock::time_point runStart = Clock::now();
        const kup::ExportOutcome outcome = kup::KupTools_SaveSheetsAsTIFF(kup::ExportSettings{}, log, boxes);
        const Clock::duration run = Clock::now() - runStart;
        if (outcome.saved != sheets) {
            std::fprintf(stderr, "nur %d von %d Blättern gespeichert\n", outcome.saved, sheets);
            return 1;
        }

        std::printf("Weg der Aufrufe: %s\n", cadsim::kRoute);
        std::printf("%s, %d Aufrufe: %.1f µs je Aufruf, %.0f Aufrufe/s\n",
                    cad::members::nameOf(cad::members::Id::GetUserPreferenceIntegerValue), calls,
                    ms(oneCallLoop) * 1e3 / calls, calls / (ms(oneCallLoop) / 1e3));
        std::printf("Export von %d Blättern A4 (%d dpi, eigenes Format, Titelnamen): %.1f ms gesamt\n",
                    sheets, int(dpi), ms(run));
        std::printf("  je Blatt gesamt            %.2f ms\n", ms(run) / sheets);
        std::printf("  je Blatt cadsim speichert  %.2f ms (%s)\n", ms(times.inSaves) / sheets,
                    cad::members::nameOf(cad::members::Id::SaveAsSilent));
        std::printf("  je Blatt übrige Aufrufe   %.2f ms (%.1f Aufrufe)\n",
                    ms(times.inCalls - times.inSaves) / sheets, double(times.calls - times.saves) / sheets);
        std::printf("  je Blatt das Werkzeug     %.3f ms (ohne die Aufrufe)\n",
                    ms(run - times.inCalls) / sheets);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
