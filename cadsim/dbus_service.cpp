#include "cadsim/dbus_service.h"

#include "cad/dbus/dbus_contract.h"
#include "cadsim/save_sheet.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QRegularExpression>
#include <QTimer>

#include <cstdio>

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

QString argumentText(const QVariant& value)
{
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    if (value.typeId() == QMetaType::Double)
        return QString::number(value.toDouble(), 'g', 15);
    return value.toString();
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
    bool refused = false;  // a "refuse" fault applies: answer the failure value

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

    // Faults apply to the CAD members only, never to the control interface.
    if (call.contract->interface != Interface::Control) {
        if (const Fault* fault =
                session_.faultFor(call.member.toStdString(), argumentText(call.arg(0)).toStdString())) {
            if (fault->kind == "error") {
                call.error(QStringLiteral("SldWorks.Error.Injected"),
                           QStringLiteral("eingespeister Fehler bei %1").arg(call.member));
                return;
            }
            if (fault->kind == "hang") {
                // Never answered: the caller's timeout has to end the call.
                call.message.setDelayedReply(true);
                std::printf("cadsim: %s bleibt unbeantwortet (eingespeist)\n", qPrintable(call.member));
                std::fflush(stdout);
                call.answered = true;
                return;
            }
            call.refused = true;
        }
    }
    if (!call.expect(call.contract->arguments))
        return;
    switch (object.kind) {
    case Object::Application:
        application(call);
        break;
    case Object::Control:
        control(call);
        break;
    case Object::Document:
        document(call, object.id);
        break;
    case Object::Sheet:
        sheet(call, object.id, object.index);
        break;
    case Object::None:
        break;
    }
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
        const Fault* fault = session_.faultFor(visible.toStdString(), "");
        if (fault && fault->kind == "error") {
            call.error(QStringLiteral("SldWorks.Error.Injected"),
                       QStringLiteral("eingespeister Fehler bei %1").arg(visible));
            return;
        }
        session_.setVisible(call.arg(2).value<QDBusVariant>().variant().toBool());
        call.reply();
    }
}

void DBusService::application(Call& call)
{
    PreferenceStore& prefs = session_.preferences();
    const int32_t pref = call.arg(0).toInt();
    auto unknown = [&] {
        call.error(QStringLiteral("SldWorks.Error.UnknownPreference"),
                   QStringLiteral("%1: Einstellung %2 unbekannt").arg(call.member).arg(pref));
    };
    switch (call.contract->id) {
    case Id::ActiveDoc: {
        OpenDocument* active = session_.activeDocument();
        call.reply({QVariant::fromValue(active && !call.refused ? documentPath(active->id) : noObject())});
        break;
    }
    case Id::GetUserPreferenceIntegerValue:
        if (auto v = prefs.integer(pref))
            call.reply({QVariant::fromValue<short>(call.refused ? 0 : *v)});
        else
            unknown();
        break;
    case Id::GetUserPreferenceToggle:
        if (auto v = prefs.toggle(pref))
            call.reply({call.refused ? false : *v});
        else
            unknown();
        break;
    case Id::GetUserPreferenceDoubleValue:
        if (auto v = prefs.real(pref))
            call.reply({call.refused ? 0.0 : *v});
        else
            unknown();
        break;
    case Id::SetUserPreferenceIntegerValue: {
        const bool ok = !call.refused && prefs.setInteger(pref, call.arg(1).toInt());
        call.reply({QVariant::fromValue<short>(ok ? 1 : 0)});
        if (ok)
            session_.preferencesWritten();
        break;
    }
    case Id::SetUserPreferenceToggle:
        // No answer to read: an unknown toggle is simply not kept.
        if (!call.refused && prefs.setToggle(pref, call.arg(1).toBool()))
            session_.preferencesWritten();
        call.reply();
        break;
    case Id::SetUserPreferenceDoubleValue: {
        const bool ok = !call.refused && prefs.setReal(pref, call.arg(1).toDouble());
        call.reply({QVariant::fromValue<short>(ok ? 1 : 0)});
        if (ok)
            session_.preferencesWritten();
        break;
    }
    default:
        break;
    }
}

void DBusService::document(Call& call, int id)
{
    OpenDocument* document = session_.findDocument(id);
    if (!document) {
        call.error(QStringLiteral("SldWorks.Error.UnknownObject"),
                   QStringLiteral("Dokument %1 ist nicht (mehr) geöffnet").arg(id));
        return;
    }
    Drawing& drawing = document->drawing;
    if (call.contract->interface == Interface::DrawingDoc && drawing.type != DocumentType::Drawing) {
        call.error(
            QStringLiteral("SldWorks.Error.NotADrawing"),
            QStringLiteral("%1: das Dokument ist keine Zeichnung und hat keine Blätter").arg(call.member));
        return;
    }
    switch (call.contract->id) {
    case Id::GetType:
        call.reply({call.refused ? 0 : static_cast<int>(drawing.type)});
        break;
    case Id::GetTitle:
        call.reply({call.refused ? QString() : QString::fromStdString(documentTitle(drawing))});
        break;
    case Id::SaveAsSilent: {
        const std::string name = call.arg(0).toString().toStdString();
        SaveOutcome outcome;
        if (call.refused)
            outcome = {kSaveRefused, name, "eingespeiste Ablehnung"};
        else
            outcome = saveActiveSheet(drawing, name, session_.preferences().values());
        if (outcome.result == kSaved)
            std::printf("cadsim: gespeichert %s\n", outcome.path.c_str());
        else
            std::printf("cadsim: SaveAsSilent(%s) = %d: %s\n", name.c_str(), outcome.result,
                        outcome.reason.c_str());
        std::fflush(stdout);
        call.reply({static_cast<int>(outcome.result)});
        session_.reportSave(QString::fromStdString(outcome.path), outcome.result);
        break;
    }
    case Id::GetSheetCount:
        call.reply({call.refused ? 0 : static_cast<int>(drawing.sheets.size())});
        break;
    case Id::GetSheetNames: {
        QStringList names;
        if (!call.refused)
            for (const Sheet& s : drawing.sheets)
                names << QString::fromStdString(s.name);
        call.reply({names});
        break;
    }
    case Id::GetCurrentSheet:
        if (call.refused || drawing.sheets.empty())
            call.reply({QVariant::fromValue(noObject())});
        else
            call.reply({QVariant::fromValue(QDBusObjectPath(
                QStringLiteral("/Documents/%1/Sheets/%2").arg(id).arg(drawing.activeSheet)))});
        break;
    case Id::ActivateSheet:
        call.reply({!call.refused && session_.activateSheet(id, call.arg(0).toString().toStdString())});
        break;
    default:
        break;
    }
}

void DBusService::sheet(Call& call, int id, int index)
{
    OpenDocument* document = session_.findDocument(id);
    if (!document || index < 0 || index >= static_cast<int>(document->drawing.sheets.size())) {
        call.error(QStringLiteral("SldWorks.Error.UnknownObject"),
                   QStringLiteral("Blatt %1 von Dokument %2 gibt es nicht (mehr)").arg(index).arg(id));
        return;
    }
    const Sheet& s = document->drawing.sheets[index];
    switch (call.contract->id) {
    case Id::GetName:
        call.reply({call.refused ? QString() : QString::fromStdString(s.name)});
        break;
    case Id::GetTemplateName:
        call.reply({call.refused ? QString() : QString::fromStdString(s.templatePath)});
        break;
    case Id::GetProperties: {
        QList<double> values;
        if (!call.refused)
            values = {double(s.paperSize),
                      double(s.templateCode),
                      s.scaleNumerator,
                      s.scaleDenominator,
                      s.firstAngle ? -1.0 : 0.0,
                      s.width,
                      s.height};
        call.reply({QVariant::fromValue(values)});
        break;
    }
    default:
        break;
    }
}

void DBusService::control(Call& call)
{
    switch (call.contract->id) {
    case Id::OpenDocument:
        try {
            const int id = session_.openDocument(call.arg(0).toString().toStdString());
            call.reply({QVariant::fromValue(documentPath(id))});
        } catch (const DrawingError& e) {
            call.error(QStringLiteral("SldWorks.Error.BadDrawing"), QString::fromStdString(e.what()));
        }
        break;
    case Id::CloseDocument:
        session_.closeActiveDocument();
        call.reply();
        break;
    case Id::CloseAllDocuments:
        session_.closeAllDocuments();
        call.reply();
        break;
    case Id::InjectFault: {
        Fault fault{call.arg(0).toString().toStdString(), call.arg(1).toString().toStdString(),
                    call.arg(2).toString().toStdString()};
        if (session_.injectFault(fault))
            call.reply();
        else
            call.error(
                QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                QStringLiteral("Art \"%1\" unbekannt: refuse, error oder hang").arg(call.arg(2).toString()));
        break;
    }
    case Id::ClearFaults:
        session_.clearFaults();
        call.reply();
        break;
    case Id::Quit:
        call.reply();
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        break;
    default:
        break;
    }
}

}  // namespace cadsim
