#include "cadsim/launch.h"

#include "cad/dbus/dbus_backend.h"
#include "cad/members.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QEventLoop>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <sys/resource.h>

namespace cadsim {

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
    if (cadsimOnBus() == owned)
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
    return cadsimOnBus() == owned;
}
}  // namespace

PrivateBus::PrivateBus()
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
    address_ = address;
    pid_ = static_cast<pid_t>(std::stol(pid));
    if (const char* previous = std::getenv("DBUS_SESSION_BUS_ADDRESS")) {
        hadPreviousAddress_ = true;
        previousAddress_ = previous;
    }
    ::setenv("DBUS_SESSION_BUS_ADDRESS", address_.c_str(), 1);
}

PrivateBus::~PrivateBus()
{
    if (pid_ > 0)
        ::kill(pid_, SIGTERM);
    if (hadPreviousAddress_)
        ::setenv("DBUS_SESSION_BUS_ADDRESS", previousAddress_.c_str(), 1);
    else
        ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

std::string control(const char* member, const QList<QVariant>& arguments, int timeoutMs)
{
    const QDBusMessage reply =
        busCall(QStringLiteral("SldWorks.Application"), QStringLiteral("/Control"),
                QStringLiteral("SldWorks.Control"), QLatin1String(member), arguments, timeoutMs);
    return reply.type() == QDBusMessage::ErrorMessage ? reply.errorMessage().toStdString() : std::string();
}

std::string cadsimProgram()
{
    return cad::dbus::cadsimBesideExecutable();
}

bool cadsimOnBus()
{
    const QDBusMessage reply =
        busCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"),
                {QStringLiteral("SldWorks.Application")}, 2000);
    return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool();
}

CadsimProcess::CadsimProcess(const std::string& preferencesFile, const std::vector<std::string>& drawings,
                             const std::vector<std::string>& extraArguments, int waitMs,
                             long long fileSizeLimit)
{
    if (fileSizeLimit > 0) {
        process_.setChildProcessModifier([fileSizeLimit] {
            // Ignored, the signal turns into a failing write (EFBIG) in cadsim.
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(fileSizeLimit), static_cast<rlim_t>(fileSizeLimit)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    QStringList arguments{QStringLiteral("--headless"), QStringLiteral("--prefs"),
                          QString::fromStdString(preferencesFile)};
    arguments << toQt(extraArguments) << toQt(drawings);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QString::fromStdString(cadsimProgram()), arguments);
    if (!process_.waitForStarted(waitMs))
        throw std::runtime_error("cadsim startet nicht: " + cadsimProgram());
    if (!waitForName(true, waitMs, &process_)) {
        const bool ended = process_.state() == QProcess::NotRunning;
        stop();
        const std::string text = output();
        throw std::runtime_error(
            (ended ? "cadsim endete, ohne SldWorks.Application auf dem Bus zu übernehmen; es schrieb: "
                   : "cadsim hatte SldWorks.Application nach " + std::to_string(waitMs / 1000) +
                         " s nicht auf dem Bus übernommen; es schrieb: ") +
            (text.empty() ? std::string("(nichts)") : text));
    }
}

CadsimProcess::~CadsimProcess()
{
    stop();
}

void CadsimProcess::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    control(cad::members::nameOf(cad::members::Id::Quit), {}, 2000);
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    // The bus notices the lost owner a moment later; later tests start a new one.
    waitForName(false, 10000);
}

void CadsimProcess::kill()
{
    process_.kill();
    process_.waitForFinished(5000);
}

int CadsimProcess::waitForEnd(int waitMs)
{
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(waitMs))
        return -1;
    if (process_.exitStatus() != QProcess::NormalExit)
        return -1;
    return process_.exitCode();
}

std::string CadsimProcess::output()
{
    output_ += process_.readAll().toStdString();
    return output_;
}

int runCadsimToEnd(const std::vector<std::string>& arguments, std::string& output, int waitMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QString::fromStdString(cadsimProgram()), toQt(arguments));
    if (!process.waitForFinished(waitMs)) {
        process.kill();
        process.waitForFinished(5000);
        output = process.readAll().toStdString();
        return -1;
    }
    output = process.readAll().toStdString();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace cadsim
