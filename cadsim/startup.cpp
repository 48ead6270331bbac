#include "cadsim/startup.h"

#include "cadsim/preferences.h"
#include "cadsim/sample_drawing.h"

#include <QApplication>

#include <cstdio>

namespace cadsim {

std::optional<int> readCommandLine(const std::vector<std::string>& arguments, Options& options)
{
    std::string error;
    if (!parseOptions(arguments, options, error)) {
        std::fprintf(stderr, "cadsim: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(helpText().c_str(), stdout);
        return 0;
    }
    return std::nullopt;
}

std::optional<int> loadDrawings(Options& options, std::vector<Drawing>& drawings)
{
    std::string error;
    // Drawings first: a broken file ends the start before anything else happens.
    try {
        if (!options.empty && options.drawings.empty()) {
            std::string sample = ensureSampleDrawing(defaultSampleFolder(), error);
            if (sample.empty()) {
                std::fprintf(stderr, "cadsim: %s\n", error.c_str());
                return 1;
            }
            options.drawings.push_back(sample);
        }
        for (const std::string& path : options.drawings)
            drawings.push_back(loadDrawingFile(path));
    } catch (const DrawingError& e) {
        std::fprintf(stderr, "cadsim: %s\n", e.what());
        return 1;
    }
    return std::nullopt;
}

std::unique_ptr<QGuiApplication> makeApplication(const Options& options, int& argc, char** argv)
{
    if (options.headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (options.headless)
        return std::make_unique<QGuiApplication>(argc, argv);
    return std::make_unique<QApplication>(argc, argv);
}

std::unique_ptr<CadSession> openSession(const Options& options, std::vector<Drawing> drawings)
{
    auto preferences = std::make_unique<PreferenceStore>(
        options.preferencesFile.empty() ? defaultPreferencesPath() : options.preferencesFile);
    if (!preferences->loadWarning().empty())
        std::fprintf(stderr, "cadsim: %s\n", preferences->loadWarning().c_str());
    auto session = std::make_unique<CadSession>(std::move(preferences));
    // Opened in reverse, so the first one named ends up active.
    for (auto it = drawings.rbegin(); it != drawings.rend(); ++it)
        session->openDocument(std::move(*it));
    return session;
}

}  // namespace cadsim
