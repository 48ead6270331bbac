#include "cadsim/dbus_service.h"

#include "cad/dbus/dbus_contract.h"
#include "cadsim/calls.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QRegularExpression>

#include <type_traits>
#include <variant>

namespace cadsim {

namespace {

using namespace cad::dbus::contract;

// The object a path names, and with it the interfaces it offers.
struct Object {
    enum Kind { None, Application, Control, Document, Sheet } kind = None;
    int id = 0;
    int index = 0;
};

Object objectAt(const QString& path)
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

bool offers(const Object& object, Interface interface)
{
    switch (object.kind) {
    case Object::Application:
        return interface == Interface::Application;
    case Object::Control:
        return interface == Interface::Control;
    case Object::Document:
        return interface == Interface::ModelDoc || interface == Interface::DrawingDoc;
    case Object::Sheet:
        return interface == Interface::Sheet;
    case Object::None:
        break;
    }
    return false;
}

// The complete types of a signature, one by one ("sas" -> "s", "as").
QStringList completeTypes(std::string_view signature)
{
    QStringList types;
    size_t begin = 0;
    while (begin < signature.size()) {
        size_t end = begin;
        int depth = 0;
        do {
            const char c = signature[end++];
            if (c == '(' || c == '{')
                ++depth;
            else if (c == ')' || c == '}')
                --depth;
            else if (c == 'a')
                continue;
            if (depth == 0)
                break;
        } while (end < signature.size());
        types << text(signature.substr(begin, end - begin));
        begin = end;
    }
    return types;
}

// Introspection data of one interface, from the member table.
QString interfaceXml(Interface interface)
{
    QString xml = QStringLiteral("  <interface name=\"%1\">\n").arg(text(interfaceName(interface)));
    if (kVisible.interface == interface)
        xml += QStringLiteral("    <property name=\"%1\" type=\"%2\" access=\"readwrite\"/>\n")
                   .arg(text(kVisible.name), text(kVisible.type));
    for (const Member& m : kMembers) {
        if (m.interface != interface)
            continue;
        if (m.arguments.empty() && m.reply.empty()) {
            xml += QStringLiteral("    <method name=\"%1\"/>\n").arg(text(m.name));
            continue;
        }
        xml += QStringLiteral("    <method name=\"%1\">").arg(text(m.name));
        const QStringList names = text(m.names).split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QStringList types = completeTypes(m.arguments);
        for (qsizetype i = 0; i < types.size(); ++i)
            xml += (i < names.size() ? QStringLiteral("<arg name=\"%1\" ").arg(names[i])
                                     : QStringLiteral("<arg ")) +
                   QStringLiteral("type=\"%1\" direction=\"in\"/>").arg(types[i]);
        for (const QString& type : completeTypes(m.reply))
            xml += QStringLiteral("<arg type=\"%1\" direction=\"out\"/>").arg(type);
        xml += QStringLiteral("</method>\n");
    }
    return xml + QStringLiteral("  </interface>\n");
}

QString signatureOf(const QList<QVariant>& values)
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

// One incoming call: its message, the member of the contract it names, and
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
        if (contract && signatureOf(values) != text(contract->reply)) {
            error(QStringLiteral("org.freedesktop.DBus.Error.Failed"),
                  QStringLiteral("cadsim: Antwort (%1) statt (%2) auf %3")
                      .arg(signatureOf(values), text(contract->reply), member));
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
    QVariant arg(int i) const { return message.arguments().value(i); }
};

DBusService::DBusService(CadSession& session, QObject* parent) : QDBusVirtualObject(parent), session_(session)
{
}

QString DBusService::introspect(const QString& path) const
{
    const Object object = objectAt(path);
    QString xml;
    if (object.kind == Object::Application)
        xml = interfaceXml(Interface::Application);
    else if (object.kind == Object::Control)
        xml = interfaceXml(Interface::Control);
    else if (object.kind == Object::Document) {
        if (OpenDocument* d = session_.findDocument(object.id)) {
            xml = interfaceXml(Interface::ModelDoc);
            if (d->drawing.type == DocumentType::Drawing)
                xml += interfaceXml(Interface::DrawingDoc);
        }
    } else if (object.kind == Object::Sheet)
        xml = interfaceXml(Interface::Sheet);

    // Child nodes, so that busctl tree and d-feet can walk the objects.
    QStringList children;
    if (path == QLatin1String("/"))
        children << QStringLiteral("Application") << QStringLiteral("Control") << QStringLiteral("Documents");
    else if (path == QLatin1String("/Documents"))
        for (const OpenDocument& d : session_.documents())
            children << QString::number(d.id);
    else if (object.kind == Object::Document) {
        if (OpenDocument* d = session_.findDocument(object.id); d && !d->drawing.sheets.empty())
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
    dispatch(call);
    return call.answered;
}

void DBusService::dispatch(Call& call)
{
    const QString path = call.message.path();
    const QString interface = call.message.interface();

    if (call.member == QLatin1String("Introspect") &&
        (interface.isEmpty() || interface == QLatin1String("org.freedesktop.DBus.Introspectable"))) {
        call.reply({QStringLiteral(
                        "<!DOCTYPE node PUBLIC \"-//freedesktop//DTD D-BUS Object Introspection 1.0//EN\"\n"
                        " \"http://www.freedesktop.org/standards/dbus/1.0/introspect.dtd\">\n<node>\n"
                        "  <interface name=\"org.freedesktop.DBus.Introspectable\">\n"
                        "    <method name=\"Introspect\"><arg type=\"s\" direction=\"out\"/></method>\n"
                        "  </interface>\n") +
                    introspect(path) + QStringLiteral("</node>\n")});
        return;
    }
    if (interface == kProperties) {
        if (path == kApplicationPath)
            properties(call);
        return;
    }
    const Object object = objectAt(path);
    if (object.kind == Object::None) {
        if (path != QLatin1String("/"))
            call.error(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                       QStringLiteral("Kein Mitglied %1 an %2").arg(call.member, path));
        return;
    }

    // The member: by interface and name among the interfaces the object offers;
    // a call without an interface takes the member of that name.
    bool interfaceOffered = interface.isEmpty();
    for (const Member& m : kMembers) {
        if (!offers(object, m.interface))
            continue;
        const bool inInterface = interface.isEmpty() || interface == text(interfaceName(m.interface));
        interfaceOffered = interfaceOffered || inInterface;
        if (inInterface && call.member == text(m.name)) {
            call.contract = &m;
            break;
        }
    }
    if (!call.contract) {
        if (!interfaceOffered)
            call.error(QStringLiteral("org.freedesktop.DBus.Error.UnknownInterface"),
                       QStringLiteral("Keine Schnittstelle %1 an %2").arg(interface, path));
        else
            call.error(
                QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                QStringLiteral("Kein Mitglied %1 an %2")
                    .arg(interface.isEmpty() ? call.member : interface + QLatin1Char('.') + call.member,
                         path));
        return;
    }

    if (!call.expect(call.contract->arguments))
        return;
    std::vector<Argument> args;
    const QList<QVariant> values = call.message.arguments();
    for (qsizetype i = 0; i < values.size(); ++i) {
        const QVariant& v = values[i];
        switch (call.contract->arguments[size_t(i)]) {
        case 'i':
            args.emplace_back(int32_t(v.toInt()));
            break;
        case 'b':
            args.emplace_back(v.toBool());
            break;
        case 'd':
            args.emplace_back(v.toDouble());
            break;
        default:
            args.emplace_back(v.toString().toStdString());
            break;
        }
    }
    const Answer answer = answerCall(session_, call.contract->id, {object.id, object.index}, args);
    if (answer.hang) {
        // Never answered: the caller's timeout has to end the call.
        call.message.setDelayedReply(true);
        call.answered = true;
        return;
    }
    if (answer.failed()) {
        call.error(QString::fromStdString(answer.failure), QString::fromStdString(answer.text));
        return;
    }
    call.reply(replyOf(answer.value));
}

void DBusService::properties(Call& call)
{
    const QString property = call.arg(1).toString();
    if (call.arg(0).toString() != text(interfaceName(kVisible.interface)) ||
        (property != text(kVisible.name) && call.member != QLatin1String("GetAll"))) {
        call.error(QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"),
                   QStringLiteral("Keine Eigenschaft %1").arg(property));
        return;
    }
    const QString visible = text(kVisible.name);
    if (call.member == QLatin1String("Get") && call.expect("ss"))
        call.reply({QVariant::fromValue(QDBusVariant(session_.visible()))});
    else if (call.member == QLatin1String("GetAll") && call.expect("s"))
        call.reply({QVariant::fromValue(QVariantMap{{visible, session_.visible()}})});
    else if (call.member == QLatin1String("Set") && call.expect("ssv")) {
        const Answer answer = putVisible(session_, call.arg(2).value<QDBusVariant>().variant().toBool());
        if (answer.failed())
            call.error(QString::fromStdString(answer.failure), QString::fromStdString(answer.text));
        else
            call.reply();
    }
}

}  // namespace cadsim
