// cadsim against Ghostscript on a dense A0 sheet: wall time and peak memory
// of a save at 600 dpi Group 4 and at 300 dpi RGB PackBits.
//   build/bench_cadsim [--runs N] [--keep FOLDER]
// Needs ghostscript (apt-get install ghostscript) for the comparison; without
// it only cadsim's figures are printed.
#include "bench/dense_sheet.h"
#include "cad/members.h"
#include "cad/tiff_preferences.h"
#include "cadsim/launcher.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Figures {
    double seconds = 0;
    double peakMiB = 0;
    double idleMiB = 0;  // resident before the save: the program itself
    long long fileBytes = 0;
};

struct Config {
    const char* label;
    int16_t imageType;
    int16_t compression;
    int16_t dpi;
    std::vector<std::string> gsArguments;
};

// A memory figure of a running process from /proc (VmHWM: peak, VmRSS: now), in MiB.
double memoryMiB(qint64 pid, const std::string& key)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ":", 0) == 0)
            return std::stod(line.substr(key.size() + 1)) / 1024.0;
    return 0;
}

long long fileSize(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : -1;
}

Figures runCadsim(const std::string& folder, const std::string& drawing, const Config& c)
{
    const std::string output = folder + "/cadsim-" + std::to_string(c.dpi) + ".tif";
    ::unlink(output.c_str());
    const cadsim::Cadsim cadsim(folder + "/preferences.json", {drawing});
    cad::setBackend(cadsim::Cadsim::attach());
    Figures f;
    {
        auto app = cad::attach();
        if (!app)
            throw std::runtime_error("cadsim nicht erreichbar");
        using namespace cad::pref;
        app->SetUserPreferenceIntegerValue(TiffScreenOrPrintCapture, int16_t{cad::kPrintCapture});
        app->SetUserPreferenceIntegerValue(TiffImageType, c.imageType);
        app->SetUserPreferenceIntegerValue(TiffCompressionScheme, c.compression);
        app->SetUserPreferenceIntegerValue(TiffPrintDPI, c.dpi);
        app->SetUserPreferenceIntegerValue(TiffPrintPaperSize, int16_t{cad::kPaperA0});
        app->SetUserPreferenceToggle(TiffPrintScaleToFit, true);
        auto doc = app->ActiveDoc();
        std::string name = output;
        bool flag = true;
        f.idleMiB = memoryMiB(cadsim.pid(), "VmRSS");
        const auto begin = Clock::now();
        const int32_t result = doc->SaveAsSilent(name, flag);
        f.seconds = std::chrono::duration<double>(Clock::now() - begin).count();
        if (result != 0)
            throw std::runtime_error(std::string(cad::members::nameOf(cad::members::Id::SaveAsSilent)) +
                                     " antwortete " + std::to_string(result));
    }
    f.peakMiB = memoryMiB(cadsim.pid(), "VmHWM");
    f.fileBytes = fileSize(output);
    cad::setBackend(nullptr);
    return f;
}

Figures runGhostscript(const std::string& gs, const std::string& folder, const Config& c)
{
    const std::string output = folder + "/gs-" + std::to_string(c.dpi) + ".tif";
    std::vector<std::string> args{gs, "-q", "-dSAFER", "-dBATCH", "-dNOPAUSE"};
    args.insert(args.end(), c.gsArguments.begin(), c.gsArguments.end());
    args.push_back("-sOutputFile=" + output);
    args.push_back(folder + "/page.ps");
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    const auto begin = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execv(gs.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    Figures f;
    f.seconds = std::chrono::duration<double>(Clock::now() - begin).count();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("Ghostscript endete mit Fehler");
    f.peakMiB = usage.ru_maxrss / 1024.0;
    f.fileBytes = fileSize(output);
    return f;
}

// The median run by time; its own peak memory goes with it.
Figures median(std::vector<Figures> runs)
{
    std::sort(runs.begin(), runs.end(),
              [](const Figures& a, const Figures& b) { return a.seconds < b.seconds; });
    Figures m = runs[runs.size() / 2];
    for (const Figures& r : runs)
        m.peakMiB = std::max(m.peakMiB, r.peakMiB);  // the worst peak counts
    return m;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    int runs = 3;
    std::string keep;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--keep") == 0)
            keep = argv[i + 1];
    }

    QTemporaryDir dir;
    const std::string folder = keep.empty() ? dir.path().toStdString() : keep;
    const bench::DenseSheet sheet = bench::makeDenseSheet();
    const std::string drawing = folder + "/dicht.json";
    std::ofstream(drawing) << bench::drawingJson(sheet);
    std::ofstream(folder + "/page.ps") << bench::postScript(sheet);
    const std::string gs = QStandardPaths::findExecutable(QStringLiteral("gs")).toStdString();

    const Config configs[] = {
        {"Group 4, 600 dpi", cad::kBlackAndWhite, cad::kGroup4, 600, {"-sDEVICE=tiffg4", "-r600"}},
        {"RGB PackBits, 300 dpi",
         cad::kRgb,
         cad::kPackBits,
         300,
         {"-sDEVICE=tiff24nc", "-sCompression=pack", "-r300"}},
    };
    std::printf("A0 quer, %zu Linien, %zu Kreise, %zu Texte; Median aus %d Läufen\n\n", sheet.lines.size(),
                sheet.circles.size(), sheet.texts.size(), runs);
    std::printf("%-24s %18s %18s %16s\n", "", "cadsim", "Ghostscript", "cadsim/gs");
    try {
        const cadsim::Environment environment;
        for (const Config& c : configs) {
            std::vector<Figures> ours, theirs;
            for (int r = 0; r < runs; ++r) {
                ours.push_back(runCadsim(folder, drawing, c));
                if (!gs.empty())
                    theirs.push_back(runGhostscript(gs, folder, c));
            }
            const Figures a = median(ours);
            if (gs.empty()) {
                std::printf("%-24s %7.2f s %5.1f MiB %18s\n", c.label, a.seconds, a.peakMiB, "(gs fehlt)");
                std::printf("%-24s %13.1f MiB %18s   (cadsim vor dem Speichern)\n", "", a.idleMiB, "");
                continue;
            }
            const Figures b = median(theirs);
            std::printf("%-24s %7.2f s %5.1f MiB %7.2f s %5.1f MiB   Zeit %.2f, Speicher %.2f\n", c.label,
                        a.seconds, a.peakMiB, b.seconds, b.peakMiB, a.seconds / b.seconds,
                        a.peakMiB / b.peakMiB);
            std::printf("%-24s %13.1f MiB %13.1f MiB   (Dateigröße)\n", "", a.fileBytes / 1048576.0,
                        b.fileBytes / 1048576.0);
            std::printf("%-24s %13.1f MiB %18s   (cadsim vor dem Speichern)\n", "", a.idleMiB, "");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_cadsim: %s\n", e.what());
        return 1;
    }
    if (gs.empty())
        std::printf("\nGhostscript fehlt für den Vergleich: apt-get install ghostscript\n");
    std::printf("\ncadsim: Dauer des %s-Aufrufs, Spitzenspeicher (VmHWM) des ganzen Prozesses.\n"
                "Ghostscript: ganzer Lauf (Start, PostScript lesen, rastern, schreiben), ru_maxrss.\n",
                cad::members::nameOf(cad::members::Id::SaveAsSilent));
    return 0;
}
