// cadsim: the stand-in CAD system on the session bus.
#include "cad/dbus/dbus_contract.h"
#include "cadsim/cad_session.h"
#include "cadsim/dbus_service.h"
#include "cadsim/main_window.h"
#include "cadsim/options.h"
#include "cadsim/sample_drawing.h"
#include "cadsim/save_sheet.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

int stopPipe[2] = {-1, -1};

// SIGTERM and SIGINT end cadsim as Quit does. A save under way is stopped
// first (the event loop only gets to the pipe once it is over), so no
// temporary file is left behind.
void stopOnSignal(int)
{
    const int savedErrno = errno;
    cadsim::stopSaving();
    const char byte = 0;
    [[maybe_unused]] const ssize_t n = ::write(stopPipe[1], &byte, 1);
    errno = savedErrno;
}

bool quitOnSignals(QCoreApplication& app)
{
    if (::pipe2(stopPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    auto* notifier = new QSocketNotifier(stopPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action = {};
    action.sa_handler = stopOnSignal;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    using namespace cadsim;
    Options options;
    std::string error;
    if (!parseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "cadsim: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(helpText(), stdout);
        return 0;
    }
    // Drawings first: a broken file ends the start before anything else happens.
    std::vector<Drawing> drawings;
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

    // Without a window there is nothing to show, but glyph outlines still
    // need a GUI application; the offscreen platform needs no display.
    if (options.headless && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QGuiApplication> app = options.headless ? std::make_unique<QGuiApplication>(argc, argv)
                                                            : std::make_unique<QApplication>(argc, argv);

    auto preferences = std::make_unique<PreferenceStore>(
        options.preferencesFile.empty() ? defaultPreferencesPath() : options.preferencesFile);
    if (!preferences->loadWarning().empty())
        std::fprintf(stderr, "cadsim: %s\n", preferences->loadWarning().c_str());
    CadSession session(std::move(preferences));
    // Opened in reverse, so the first one named ends up active.
    for (auto it = drawings.rbegin(); it != drawings.rend(); ++it)
        session.openDocument(std::move(*it));

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "cadsim: kein D-Bus-Sitzungsbus erreichbar (%s)\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    DBusService service(session);
    if (!bus.registerVirtualObject(QStringLiteral("/"), &service, QDBusConnection::SubPath)) {
        std::fprintf(stderr, "cadsim: Objekte nicht anzumelden: %s\n", qPrintable(bus.lastError().message()));
        return 1;
    }
    if (!bus.registerService(cad::dbus::contract::kService)) {
        std::fprintf(stderr,
                     "cadsim: der Name %s ist auf dem Sitzungsbus schon vergeben (läuft cadsim schon?)\n",
                     qPrintable(cad::dbus::contract::kService));
        return 1;
    }

    if (!quitOnSignals(*app)) {
        std::perror("cadsim: SIGTERM und SIGINT nicht abzufangen");
        return 1;
    }

    std::unique_ptr<MainWindow> window;
    if (!options.headless) {
        window = std::make_unique<MainWindow>(session);
        window->show();
    }
    const int rc = app->exec();
    bus.unregisterService(cad::dbus::contract::kService);
    return rc;
}
