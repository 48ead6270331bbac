// cadsim: the stand-in CAD system on the session bus.
#include "cad/dbus/dbus_contract.h"
#include "cadsim/cad_session.h"
#include "cadsim/dbus_service.h"
#include "cadsim/main_window.h"
#include "cadsim/save_sheet.h"
#include "cadsim/startup.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusError>
#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <memory>
#include <optional>
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
    if (const std::optional<int> end =
            readCommandLine(std::vector<std::string>(argv + 1, argv + argc), options))
        return *end;
    if (options.registerServer || options.unregisterServer || options.journal) {
        std::fprintf(stderr, "cadsim: %s gibt es nur unter Windows (COM)\n",
                     options.registerServer     ? "/RegServer"
                     : options.unregisterServer ? "/UnregServer"
                                                : "--journal");
        return 2;
    }
    std::vector<Drawing> drawings;
    if (const std::optional<int> end = loadDrawings(options, drawings))
        return *end;

    std::unique_ptr<QGuiApplication> app = makeApplication(options, argc, argv);
    std::unique_ptr<CadSession> session = openSession(options, std::move(drawings));

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "cadsim: kein D-Bus-Sitzungsbus erreichbar (%s)\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    DBusService service(*session);
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
        window = std::make_unique<MainWindow>(*session);
        window->show();
    }
    const int rc = app->exec();
    bus.unregisterService(cad::dbus::contract::kService);
    return rc;
}
