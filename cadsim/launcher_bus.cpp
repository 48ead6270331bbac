#include "cadsim/launcher.h"

#include "cad/dbus/dbus_backend.h"
#include "cad/members.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <sys/resource.h>

namespace cadsim {

const char* const kRoute = "D-Bus, cadsim als eigener Prozess auf einem privaten Sitzungsbus";

namespace {

std::string trimmed(const char* line)
{
    std::string s(line);
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r'))
        s.pop_back();
    return s;
}

QStringList toQt(const std::vector<std::string>& list)
{
    QStringList result;
    for (const std::string& s : list)
        result << QString::fromStdString(s);
    return result;
}

QDBusMessage busCall(const QString& service, const QString& path, const QString& interface,
                     const QString& member, const QList<QVariant>& arguments, int timeoutMs)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, member);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, timeoutMs);
}

// Waits, by watching the bus, until SldWorks.Application has an owner (owned)
// or has none; bounded by waitMs, and ended early when `process` ends.
bool waitForName(bool owned, int waitMs, const QProcess* process = nullptr)
{
    // Listening before looking, so that a change in between is not missed.
    QDBusServiceWatcher watcher(QStringLiteral("SldWorks.Application"), QDBusConnection::sessionBus(),
                                owned ? QDBusServiceWatcher::WatchForRegistration
                                      : QDBusServiceWatcher::WatchForUnregistration);
    if (Cadsim::reachable() == owned)
        return true;
    QEventLoop loop;
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(
        &watcher, owned ? &QDBusServiceWatcher::serviceRegistered : &QDBusServiceWatcher::serviceUnregistered,
        &loop, &QEventLoop::quit);
    if (process)
        QObject::connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
    bound.start(waitMs);
    loop.exec();
    return Cadsim::reachable() == owned;
}

}  // namespace

struct Environment::State {
    std::string previousAddress;
    bool hadPreviousAddress = false;
    pid_t pid = 0;
};

Environment::Environment() : state_(std::make_unique<State>())
{
    // --fork returns once the bus listens; its two lines are address and pid.
    FILE* out = ::popen("dbus-daemon --session --fork --print-address=1 --print-pid=1", "r");
    if (!out)
        throw std::runtime_error("dbus-daemon nicht zu starten");
    char line[1024];
    std::string address, pid;
    if (std::fgets(line, sizeof line, out))
        address = trimmed(line);
    if (std::fgets(line, sizeof line, out))
        pid = trimmed(line);
    const int status = ::pclose(out);
    if (status != 0 || address.empty() || pid.empty())
        throw std::runtime_error(
            "dbus-daemon --session lieferte keine Adresse (ist dbus-daemon installiert?)");
    state_->pid = static_cast<pid_t>(std::stol(pid));
    if (const char* previous = std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        state_->hadPreviousAddress = true;
        state_->previousAddress = previous;
    }
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
}

Environment::~Environment()
{
    if (state_->pid > 0)
        ::kill(state_->pid, SIGTERM);
    if (state_->hadPreviousAddress)
        ::setenv("DBUS_SESSION_BUS_ADDRESS", state_->previousAddress.c_str(), 1);
    else
        ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

struct Cadsim::Process {
    QProcess process;
    std::string output;

    // Quit over the bus, then killed when it does not end in time; returns once the bus has seen
    // the name go.
    void stop()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        busCall(QStringLiteral("SldWorks.Application"), QStringLiteral("/Control"),
                QStringLiteral("SldWorks.Control"),
                QLatin1String(cad::members::nameOf(cad::members::Id::Quit)), {}, 2000);
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
        // The bus notices the lost owner a moment later; later tests start a new one.
        waitForName(false, 10000);
    }
    const std::string& read()
    {
        output += process.readAll().toStdString();
        return output;
    }
};

Cadsim::Cadsim(const std::string& preferences, const std::vector<std::string>& drawings,
               const std::vector<std::string>& arguments, long long fileSizeLimit)
    : process_(std::make_unique<Process>())
{
    QProcess& process = process_->process;
    if (fileSizeLimit > 0) {
        process.setChildProcessModifier([fileSizeLimit] {
            // Ignored, the signal turns into a failing write (EFBIG) in cadsim.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    QStringList all{QStringLiteral("--headless"), QStringLiteral("--prefs"),
                    QString::fromStdString(preferences)};
    all << toQt(arguments) << toQt(drawings);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QString::fromStdString(program()), all);
    if (!process.waitForStarted(kStartWaitMs))
        throw std::runtime_error("cadsim startet nicht: " + program());
    if (!waitForName(true, kStartWaitMs, &process)) {
        const bool ended = process.state() == QProcess::NotRunning;
        process_->stop();
        const std::string text = output();
        throw std::runtime_error(
            (ended ? "cadsim endete, ohne SldWorks.Application auf dem Bus zu übernehmen; es schrieb: "
                   : "cadsim hatte SldWorks.Application nach " + std::to_string(kStartWaitMs / 1000) +
                         " s nicht auf dem Bus übernommen; es schrieb: ") +
            (text.empty() ? std::string("(nichts)") : text));
    }
}

Cadsim::~Cadsim()
{
    process_->stop();
}

std::string Cadsim::control(const char* member, const std::vector<std::string>& arguments)
{
    QList<QVariant> values;
    for (const std::string& argument : arguments)
        values << QString::fromStdString(argument);
    const QDBusMessage reply =
        busCall(QStringLiteral("SldWorks.Application"), QStringLiteral("/Control"),
                QStringLiteral("SldWorks.Control"), QLatin1String(member), values, 5000);
    return reply.type() == QDBusMessage::ErrorMessage ? reply.errorMessage().toStdString() : std::string();
}

bool Cadsim::reachable()
{
    const QDBusMessage reply =
        busCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"),
                {QStringLiteral("SldWorks.Application")}, 2000);
    return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool();
}

std::string Cadsim::program()
{
    return cad::dbus::cadsimBesideExecutable();
}

int Cadsim::run(const std::vector<std::string>& arguments, std::string& output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QString::fromStdString(program()), toQt(arguments));
    if (!process.waitForFinished(kStartWaitMs)) {
        process.kill();
        process.waitForFinished(5000);
        output = process.readAll().toStdString();
        return -1;
    }
    output = process.readAll().toStdString();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

cad::Backend Cadsim::attach()
{
    cad::dbus::BackendOptions options;
    options.cadsimPath = "/nonexistent/cadsim";  // attach only
    return cad::dbus::makeBackend(options);
}

void Cadsim::kill(int64_t pid)
{
    ::kill(static_cast<pid_t>(pid), SIGKILL);
}

int64_t Cadsim::pid() const
{
    return process_->process.processId();
}

void Cadsim::kill()
{
    process_->process.kill();
    process_->process.waitForFinished(5000);
}

int Cadsim::waitForEnd()
{
    QProcess& process = process_->process;
    if (process.state() != QProcess::NotRunning && !process.waitForFinished(10000))
        return -1;
    if (process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

std::string Cadsim::output() const
{
    return process_->read();
}

bool Cadsim::waitForOutput(const std::string& text)
{
    for (const QDeadlineTimer bound(kStartWaitMs); process_->read().find(text) == std::string::npos;) {
        if (bound.hasExpired() || process_->process.state() == QProcess::NotRunning)
            return process_->read().find(text) != std::string::npos;
        process_->process.waitForReadyRead(int(std::max<qint64>(bound.remainingTime(), 1)));
    }
    return true;
}

}  // namespace cadsim
