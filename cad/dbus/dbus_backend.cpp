#include "cad/dbus/dbus_backend.h"

#include "cad/dbus/dbus_contract.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <limits>
#include <unistd.h>

namespace cad::dbus {

namespace {

using namespace contract;

// The D-Bus signature of the values a call carries, as the bus will see them.
std::string signatureOf(const QList<QVariant>& values)
{
    std::string signature;
    for (const QVariant& v : values) {
        const char* code = QDBusMetaType::typeToSignature(v.metaType());
        signature += code ? code : "?";
    }
    return signature;
}

// How long a call is waited for: the call bound, or for a save its own bound and beyond it for as
// long as cadsim is busy (it answers nothing else meanwhile), so that a save that takes longer is
// not reported failed while its file still appears later.
enum class Wait { Call, Save };

// One remote object: every call is blocking with a timeout, made as the
// member table has it, and anything but a reply of the table's
// signature becomes an AutomationError.
class Remote {
public:
    Remote(QDBusConnection bus, QString path, const BackendOptions& options)
        : bus_(std::move(bus)), path_(std::move(path)), options_(options)
    {
    }

    QList<QVariant> call(Id id, const QList<QVariant>& arguments = {}, Wait wait = Wait::Call) const
    {
        const Member& m = member(id);
        const std::string expected = argumentsOf(m);
        if (signatureOf(arguments) != expected)
            throw AutomationError("Fehler beim CAD-Aufruf " + std::string(m.name) + ": Argumente (" +
                                  signatureOf(arguments) + ") statt (" + expected + ")");
        return send(text(interfaceName(m.iface)), text(m.name), arguments, contract::signatureOf(m.result),
                    wait);
    }

    void setProperty(Id id, const QVariant& value) const
    {
        const Member& property = member(id);
        const std::string_view type = contract::signatureOf(property.result);
        if (signatureOf({value}) != type)
            throw AutomationError("Fehler beim CAD-Aufruf Set: Wert (" + signatureOf({value}) + ") statt (" +
                                  std::string(type) + ")");
        send(kProperties, QStringLiteral("Set"),
             {text(interfaceName(property.iface)), text(property.name),
              QVariant::fromValue(QDBusVariant(value))},
             "", Wait::Call);
    }

    QDBusMessage callUntilIdle(const QDBusMessage& message, int timeoutMs) const
    {
        QDBusPendingCall pending = bus_.asyncCall(message, std::numeric_limits<int>::max());
        QDeadlineTimer deadline(timeoutMs);
        const QDeadlineTimer ceiling(std::max(timeoutMs, kLongestSaveMs));
        while (!pending.isFinished()) {
            if (ceiling.hasExpired())
                return QDBusMessage::createError(QStringLiteral("org.freedesktop.DBus.Error.Timeout"),
                                                 QStringLiteral("cadsim antwortet seit 10 Minuten nicht"));
            if (deadline.hasExpired()) {
                // Answered at once: cadsim is idle, and the answer will not come.
                QDBusMessage probe = QDBusMessage::createMethodCall(
                    kService, kControlPath, QStringLiteral("org.freedesktop.DBus.Introspectable"),
                    QStringLiteral("Introspect"));
                const bool idle = bus_.call(probe, QDBus::Block, 1000).type() == QDBusMessage::ReplyMessage;
                if (idle && !pending.isFinished())  // as the bus itself says it
                    return QDBusMessage::createError(
                        QStringLiteral("org.freedesktop.DBus.Error.NoReply"),
                        QStringLiteral("Did not receive a reply. Possible causes include: the remote "
                                       "application did not send a reply, the message bus security policy "
                                       "blocked the reply, the reply timeout expired, or the network "
                                       "connection was broken."));
                deadline = QDeadlineTimer(1000);
            }
            QThread::msleep(20);
        }
        return pending.reply();
    }

    const QDBusConnection& bus() const { return bus_; }
    const BackendOptions& options() const { return options_; }

    // "/" is the bus's way of saying "none".
    static bool isNone(const QVariant& path)
    {
        return path.value<QDBusObjectPath>().path() == QLatin1String("/");
    }

private:
    QList<QVariant> send(const QString& interface, const QString& method, const QList<QVariant>& arguments,
                         std::string_view signature, Wait wait) const
    {
        const std::string name = method.toStdString();
        QDBusMessage message = QDBusMessage::createMethodCall(kService, path_, interface, method);
        message.setArguments(arguments);
        const QDBusMessage reply = wait == Wait::Save
                                       ? callUntilIdle(message, options_.saveTimeoutMs)
                                       : bus_.call(message, QDBus::Block, options_.callTimeoutMs);
        if (reply.type() == QDBusMessage::ErrorMessage)
            throw AutomationError("Fehler beim CAD-Aufruf " + name + ": " +
                                  reply.errorMessage().toStdString() + " (" +
                                  reply.errorName().toStdString() + ")");
        if (reply.type() != QDBusMessage::ReplyMessage || reply.signature() != text(signature))
            throw AutomationError("Fehler beim CAD-Aufruf " + name + ": unerwartete Antwort (" +
                                  reply.signature().toStdString() + " statt " + std::string(signature) + ")");
        return reply.arguments();
    }

    QDBusConnection bus_;
    QString path_;
    BackendOptions options_;
};

std::string text(const QVariant& v)
{
    return v.toString().toStdString();
}

class DBusSheet : public Sheet {
public:
    DBusSheet(QDBusConnection bus, QString path, const BackendOptions& options) : remote_(bus, path, options)
    {
    }

    std::string GetName() override { return text(remote_.call(Id::GetName).at(0)); }
    std::string GetTemplateName() override { return text(remote_.call(Id::GetTemplateName).at(0)); }
    std::vector<double> GetProperties() override
    {
        const QList<double> values = qdbus_cast<QList<double>>(remote_.call(Id::GetProperties).at(0));
        return {values.begin(), values.end()};
    }

private:
    Remote remote_;
};

class DBusDocument : public Document {
public:
    DBusDocument(QDBusConnection bus, QString path, const BackendOptions& options)
        : remote_(bus, path, options)
    {
    }

    int32_t GetType() override { return remote_.call(Id::GetType).at(0).toInt(); }
    int32_t GetSheetCount() override { return remote_.call(Id::GetSheetCount).at(0).toInt(); }
    std::vector<std::string> GetSheetNames() override
    {
        std::vector<std::string> names;
        for (const QString& name : remote_.call(Id::GetSheetNames).at(0).toStringList())
            names.push_back(name.toStdString());
        return names;
    }
    std::unique_ptr<Sheet> GetCurrentSheet() override
    {
        const QVariant path = remote_.call(Id::GetCurrentSheet).at(0);
        if (Remote::isNone(path))
            return nullptr;
        return std::make_unique<DBusSheet>(remote_.bus(), path.value<QDBusObjectPath>().path(),
                                           remote_.options());
    }
    int32_t ActivateSheet(std::string& name) override
    {
        const bool active = remote_.call(Id::ActivateSheet, {QString::fromStdString(name)}).at(0).toBool();
        return active ? kTrue : kFalse;
    }
    std::string GetTitle() override { return text(remote_.call(Id::GetTitle).at(0)); }
    int32_t SaveAsSilent(std::string& fileName, bool& saveFlag) override
    {
        return remote_.call(Id::SaveAsSilent, {QString::fromStdString(fileName), saveFlag}, Wait::Save)
            .at(0)
            .toInt();
    }

private:
    Remote remote_;
};

class DBusApplication : public Application {
public:
    DBusApplication(QDBusConnection bus, BackendOptions options)
        : options_(std::move(options)), remote_(bus, kApplicationPath, options_)
    {
    }

    void Visible(bool visible) override { remote_.setProperty(Id::Visible, visible); }
    std::unique_ptr<Document> ActiveDoc() override
    {
        const QVariant path = remote_.call(Id::ActiveDoc).at(0);
        if (Remote::isNone(path))
            return nullptr;
        return std::make_unique<DBusDocument>(remote_.bus(), path.value<QDBusObjectPath>().path(), options_);
    }
    int16_t GetUserPreferenceIntegerValue(int32_t preference) override
    {
        return static_cast<int16_t>(
            remote_.call(Id::GetUserPreferenceIntegerValue, {preference}).at(0).toInt());
    }
    bool GetUserPreferenceToggle(int32_t preference) override
    {
        return remote_.call(Id::GetUserPreferenceToggle, {preference}).at(0).toBool();
    }
    double GetUserPreferenceDoubleValue(int32_t preference) override
    {
        return remote_.call(Id::GetUserPreferenceDoubleValue, {preference}).at(0).toDouble();
    }
    // Both widths travel as a 32-bit integer on the bus.
    int16_t SetUserPreferenceIntegerValue(int32_t preference, int16_t value) override
    {
        return SetUserPreferenceIntegerValue(preference, static_cast<int32_t>(value));
    }
    int16_t SetUserPreferenceIntegerValue(int32_t preference, int32_t value) override
    {
        return static_cast<int16_t>(
            remote_.call(Id::SetUserPreferenceIntegerValue, {preference, value}).at(0).toInt());
    }
    void SetUserPreferenceToggle(int32_t preference, bool value) override
    {
        remote_.call(Id::SetUserPreferenceToggle, {preference, value});
    }
    void SetUserPreferenceToggle(int32_t preference, int16_t value) override
    {
        SetUserPreferenceToggle(preference, value != 0);
    }
    int16_t SetUserPreferenceDoubleValue(int32_t preference, double& value) override
    {
        return static_cast<int16_t>(
            remote_.call(Id::SetUserPreferenceDoubleValue, {preference, value}).at(0).toInt());
    }

private:
    BackendOptions options_;
    Remote remote_;
};

bool nameHasOwner(const QDBusConnection& bus)
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"));
    message.setArguments({kService});
    const QDBusMessage reply = bus.call(message, QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage && reply.arguments().value(0).toBool();
}

// Ended, or a zombie nobody reaps (where the init process does not).
bool processEnded(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return ::kill(static_cast<pid_t>(pid), 0) != 0;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    const char state = close >= 0 && close + 2 < text.size() ? text.at(close + 2) : '?';
    return state == 'Z' || state == 'X';
}

std::unique_ptr<Application> attachOrStart(const BackendOptions& options)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return nullptr;
    if (!nameHasOwner(bus)) {
        const QString program = QString::fromStdString(options.cadsimPath.empty() ? cadsimBesideExecutable()
                                                                                  : options.cadsimPath);
        QStringList arguments;
        for (const std::string& a : options.cadsimArguments)
            arguments << QString::fromStdString(a);
        // Detached: the CAD system outlives the tool, as the real one does.
        qint64 pid = 0;
        if (program.isEmpty() || !QProcess::startDetached(program, arguments, QString(), &pid))
            return nullptr;
        QDeadlineTimer deadline(options.startWaitMs);
        while (!nameHasOwner(bus)) {
            // A cadsim that ended (name taken meanwhile, broken settings) will not come.
            const bool gone = pid > 0 && processEnded(pid);
            if (deadline.hasExpired() || (gone && !nameHasOwner(bus)))
                return nullptr;
            QThread::msleep(50);
        }
    }
    return std::make_unique<DBusApplication>(bus, options);
}

}  // namespace

std::string cadsimBesideExecutable()
{
    QString folder;
    if (QCoreApplication::instance()) {
        folder = QCoreApplication::applicationDirPath();
    } else {
        char buffer[4096];
        const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
        if (n > 0)
            folder = QFileInfo(QString::fromLocal8Bit(buffer, static_cast<qsizetype>(n))).absolutePath();
    }
    return folder.isEmpty() ? std::string() : (folder + QStringLiteral("/cadsim")).toStdString();
}

cad::Backend makeBackend()
{
    return makeBackend(BackendOptions{});
}

cad::Backend makeBackend(BackendOptions options)
{
    return [options = std::move(options)]() { return attachOrStart(options); };
}

}  // namespace cad::dbus
