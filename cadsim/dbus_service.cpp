#include "cadsim/dbus_service.h"

#include "cad/dbus/dbus_contract.h"
#include "cadsim/member_calls.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QRegularExpression>

#include <optional>
#include <type_traits>
#include <variant>

namespace cadsim {

namespace {

using namespace cad::dbus::contract;
using cad::members::Access;
using cad::members::Parameter;

// The object a path names; none for a path without one.
struct Place {
    std::optional<Object> object;
    int id = 0;
    int index = 0;
};

Place placeAt(const QString& path)
{
    static const QRegularExpression documentRe(QStringLiteral("^/Documents/(\\d+)$"));
    static const QRegularExpression sheetRe(QStringLiteral("^/Documents/(\\d+)/Sheets/(\\d+)$"));
    if (path == kApplicationPath)
        return {Object::Application};
    if (path == kControlPath)
        return {Object::Control};
    if (auto m = documentRe.match(path); m.hasMatch())
        return {Object::Document, m.captured(1).toInt()};
    if (auto s = sheetRe.match(path); s.hasMatch())
        return {Object::Sheet, s.captured(1).toInt(), s.captured(2).toInt()};
    return {};
}

// Introspection data of one interface, from the member table.
QString interfaceXml(Interface iface)
{
    QString xml = QStringLiteral("  <interface name=\"%1\">\n").arg(text(interfaceName(iface)));
    for (const Member& m : cad::members::kMembers) {
        if (m.iface != iface)
            continue;
        if (m.access == Access::Property) {
            xml += QStringLiteral("    <property name=\"%1\" type=\"%2\" access=\"readwrite\"/>\n")
                       .arg(text(m.name), text(signatureOf(m.result)));
            continue;
        }
        if (m.parameters().empty() && m.result == Kind::None) {
            xml += QStringLiteral("    <method name=\"%1\"/>\n").arg(text(m.name));
            continue;
        }
        xml += QStringLiteral("    <method name=\"%1\">").arg(text(m.name));
        for (const Parameter& p : m.parameters())
            xml += QStringLiteral("<arg name=\"%1\" type=\"%2\" direction=\"in\"/>")
                       .arg(text(p.name), text(signatureOf(p.kind)));
        if (m.result != Kind::None)
            xml += QStringLiteral("<arg type=\"%1\" direction=\"out\"/>").arg(text(signatureOf(m.result)));
        xml += QStringLiteral("</method>\n");
    }
    return xml + QStringLiteral("  </interface>\n");
}

QString carriedSignature(const QList<QVariant>& values)
{
    QString signature;
    for (const QVariant& v : values) {
        const char* code = QDBusMetaType::typeToSignature(v.metaType());
        signature += code ? QLatin1String(code) : QLatin1String("?");
    }
    return signature;
}

QDBusObjectPath documentPath(int id)
{
    return QDBusObjectPath(QStringLiteral("/Documents/%1").arg(id));
}
QDBusObjectPath noObject()
{
    return QDBusObjectPath(QStringLiteral("/"));
}

Argument argumentOf(const QVariant& v, Kind kind)
{
    switch (kind) {
    case Kind::Int32:
        return int32_t(v.toInt());
    case Kind::Bool:
        return v.toBool();
    case Kind::Double:
        return v.toDouble();
    default:
        return v.toString().toStdString();
    }
}

// The arguments as the member takes them; the message's signature is the member's.
std::vector<Argument> argumentsFor(const QList<QVariant>& values, const Member& member)
{
    std::vector<Argument> args;
    const auto parameters = member.parameters();
    for (qsizetype i = 0; i < values.size(); ++i)
        args.push_back(argumentOf(values[i], parameters[std::size_t(i)].kind));
    return args;
}

bool isIntrospection(const QDBusMessage& message)
{
    return message.member() == QLatin1String("Introspect") &&
           (message.interface().isEmpty() ||
            message.interface() == QLatin1String("org.freedesktop.DBus.Introspectable"));
}

// An answer as the bus carries it; "none" is the object path "/".
QList<QVariant> replyOf(const Value& value)
{
    return std::visit(
        [](const auto& v) -> QList<QVariant> {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return {};
            else if constexpr (std::is_same_v<T, int16_t>)
                return {QVariant::fromValue<short>(v)};
            else if constexpr (std::is_same_v<T, int32_t>)
                return {QVariant::fromValue<int>(v)};
            else if constexpr (std::is_same_v<T, std::string>)
                return {QString::fromStdString(v)};
            else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
                QStringList names;
                for (const std::string& name : v)
                    names << QString::fromStdString(name);
                return {names};
            } else if constexpr (std::is_same_v<T, std::vector<double>>)
                return {QVariant::fromValue(QList<double>(v.begin(), v.end()))};
            else if constexpr (std::is_same_v<T, DocumentRef>)
                return {QVariant::fromValue(v.id ? documentPath(v.id) : noObject())};
            else if constexpr (std::is_same_v<T, SheetRef>)
                return {QVariant::fromValue(
                    v.index < 0
                        ? noObject()
                        : QDBusObjectPath(
                              QStringLiteral("/Documents/%1/Sheets/%2").arg(v.document).arg(v.index)))};
            else
                return {QVariant(v)};
        },
        value);
}

}  // namespace

// One incoming call: its message, the member of the table it names, and
// the answer once there is one.
struct DBusService::Call {
    const QDBusMessage& message;
    const QDBusConnection& connection;
    QString member;
    const Member* contract = nullptr;
    bool answered = false;

    bool expect(std::string_view signature)
    {
        if (message.signature() == text(signature))
            return true;
        error(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
              QStringLiteral("%1 erwartet die Argumente (%2), nicht (%3)")
                  .arg(member, text(signature), message.signature()));
        return false;
    }
    void reply(const QList<QVariant>& values = {})
    {
        // An answer the member table does not promise would surprise every client.
        const QString promised = contract ? text(signatureOf(contract->result)) : QString();
        if (contract && carriedSignature(values) != promised) {
            error(QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                  QStringLiteral("cadsim: Antwort (%1) statt (%2) auf %3")
                      .arg(carriedSignature(values), promised, member));
            return;
        }
        connection.send(message.createReply(values));
        answered = true;
    }
    void error(const QString& name, const QString& text)
    {
        connection.send(message.createErrorReply(name, text));
        answered = true;
    }
    // An answer of the session: its value, its error, or none at all while it hangs.
    void answer(const Answer& answer)
    {
        if (answer.hang) {
            // Never answered: the caller's timeout has to end the call.
            message.setDelayedReply(true);
            answered = true;
        } else if (answer.failed()) {
            error(QString::fromStdString(answer.failure), QString::fromStdString(answer.text));
        } else {
            reply(replyOf(answer.value));
        }
    }
    QVariant arg(int i) const { return message.arguments().value(i); }
};

DBusService::DBusService(CadSession& session, QObject* parent) : QDBusVirtualObject(parent), session_(session)
{
}

QString DBusService::introspect(const QString& path) const
{
    const Place place = placeAt(path);
    QString xml;
    if (place.object) {
        const OpenDocument* document = session_.findDocument(place.id);
        for (const Interface iface : cad::members::kInterfaces) {
            if (cad::members::objectOf(iface) != *place.object)
                continue;
            // A document's interfaces are those of the open document: sheets only on a drawing.
            if (*place.object == Object::Document &&
                (!document || (iface == Interface::DrawingDoc && document->drawing.type != cad::kDocDrawing)))
                continue;
            xml += interfaceXml(iface);
        }
    }

    // Child nodes, so that busctl tree and d-feet can walk the objects.
    QStringList children;
    if (path == QLatin1String("/"))
        children << QStringLiteral("Application") << QStringLiteral("Control") << QStringLiteral("Documents");
    else if (path == QLatin1String("/Documents"))
        for (const OpenDocument& d : session_.documents())
            children << QString::number(d.id);
    else if (place.object == Object::Document) {
        if (OpenDocument* d = session_.findDocument(place.id); d && !d->drawing.sheets.empty())
            children << QStringLiteral("Sheets");
    } else if (path.endsWith(QLatin1String("/Sheets"))) {
        static const QRegularExpression sheetsRe(QStringLiteral("^/Documents/(\\d+)/Sheets$"));
        if (auto s = sheetsRe.match(path); s.hasMatch())
            if (OpenDocument* d = session_.findDocument(s.captured(1).toInt()))
                for (size_t i = 0; i < d->drawing.sheets.size(); ++i)
                    children << QString::number(i);
    }
    for (const QString& child : children)
        xml += QStringLiteral("  <node name=\"%1\"/>\n").arg(child);
    return xml;
}

bool DBusService::handleMessage(const QDBusMessage& message, const QDBusConnection& connection)
{
    if (message.type() != QDBusMessage::MethodCallMessage)
        return false;
    Call call{message, connection, message.member()};
    if (isIntrospection(message))
        call.reply({QStringLiteral(
                        "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\"\n"
                        " \"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n<node>\n"
                        "  <interface name=\"org.freedesktop.DBus.Introspectable\">\n"
                        "    <method name=\"Introspect\"><arg type=\"s\" direction=\"out\"/></method>\n"
                        "  </interface>\n") +
                    introspect(message.path()) + QStringLiteral("</node>\n")});
    else if (message.interface() == kProperties)
        properties(call);
    else
        callMember(call);
    return call.answered;
}

const Member* DBusService::findMember(Call& call, Object object)
{
    // By interface and name among the interfaces the object offers; a call without an interface
    // takes the member of that name.
    const QString iface = call.message.interface();
    bool interfaceOffered = iface.isEmpty();
    for (const Member& m : cad::members::kMembers) {
        if (m.object() != object)
            continue;
        const bool inInterface = iface.isEmpty() || iface == text(interfaceName(m.iface));
        interfaceOffered = interfaceOffered || inInterface;
        if (inInterface && m.access == Access::Method && call.member == text(m.name))
            return &m;
    }
    const QString path = call.message.path();
    if (!interfaceOffered)
        call.error(QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
                   QStringLiteral("Keine Schnittstelle %1 an %2").arg(iface, path));
    else
        call.error(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                   QStringLiteral("Kein Mitglied %1 an %2")
                       .arg(iface.isEmpty() ? call.member : iface + QLatin1Char('.') + call.member, path));
    return nullptr;
}

void DBusService::callMember(Call& call)
{
    const QString path = call.message.path();
    const Place place = placeAt(path);
    if (!place.object) {
        if (path != QLatin1String("/"))
            call.error(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                       QStringLiteral("Kein Mitglied %1 an %2").arg(call.member, path));
        return;
    }
    call.contract = findMember(call, *place.object);
    if (!call.contract || !call.expect(argumentsOf(*call.contract)))
        return;
    call.answer(answerCall(session_, call.contract->id, {place.id, place.index},
                           argumentsFor(call.message.arguments(), *call.contract)));
}

// Get, GetAll and Set of org.freedesktop.DBus.Properties, on the properties of the member table.
void DBusService::properties(Call& call)
{
    if (call.message.path() != kApplicationPath)
        return;
    const QString iface = call.arg(0).toString();
    const QString name = call.arg(1).toString();
    std::vector<const Member*> offered;  // the interface's properties
    const Member* property = nullptr;
    for (const Member& m : cad::members::kMembers) {
        if (m.access != Access::Property || m.object() != Object::Application ||
            iface != text(interfaceName(m.iface)))
            continue;
        offered.push_back(&m);
        if (name == text(m.name))
            property = &m;
    }
    if (offered.empty() || (!property && call.member != QLatin1String("GetAll"))) {
        call.error(QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"),
                   QStringLiteral("Keine Eigenschaft %1").arg(name));
        return;
    }
    const auto value = [this](const Member& m) {
        return replyOf(readProperty(session_, m.id).value).value(0);
    };
    if (call.member == QLatin1String("Get") && call.expect("ss")) {
        call.reply({QVariant::fromValue(QDBusVariant(value(*property)))});
    } else if (call.member == QLatin1String("GetAll") && call.expect("s")) {
        QVariantMap all;
        for (const Member* m : offered)
            all.insert(text(m->name), value(*m));
        call.reply({QVariant::fromValue(all)});
    } else if (call.member == QLatin1String("Set") && call.expect("ssv")) {
        const QVariant written = call.arg(2).value<QDBusVariant>().variant();
        call.answer(writeProperty(session_, property->id, argumentOf(written, property->result)));
    }
}

}  // namespace cadsim
