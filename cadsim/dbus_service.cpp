#include "cadsim/dbus_service.h"

#include "cad/dbus/dbus_contract.h"
#include "cadsim/save_sheet.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QRegularExpression>
#include <QTimer>

#include <cstdio>

namespace cadsim {

namespace {

using namespace cad::dbus::contract;
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

const char* const kApplicationXml = R"(  <interface name="SldWorks.Application">
    <property name="Visible" type="b" access="readwrite"/>
    <method name="ActiveDoc"><arg type="o" direction="out"/></method>
    <method name="GetUserPreferenceIntegerValue"><arg name="pref" type="i" direction="in"/><arg type="n" direction="out"/></method>
    <method name="GetUserPreferenceToggle"><arg name="pref" type="i" direction="in"/><arg type="b" direction="out"/></method>
    <method name="GetUserPreferenceDoubleValue"><arg name="pref" type="i" direction="in"/><arg type="d" direction="out"/></method>
    <method name="SetUserPreferenceIntegerValue"><arg name="pref" type="i" direction="in"/><arg name="value" type="i" direction="in"/><arg type="n" direction="out"/></method>
    <method name="SetUserPreferenceToggle"><arg name="pref" type="i" direction="in"/><arg name="value" type="b" direction="in"/></method>
    <method name="SetUserPreferenceDoubleValue"><arg name="pref" type="i" direction="in"/><arg name="value" type="d" direction="in"/><arg type="n" direction="out"/></method>
  </interface>
)";
const char* const kModelDocXml = R"(  <interface name="SldWorks.ModelDoc2">
    <method name="GetType"><arg type="i" direction="out"/></method>
    <method name="GetTitle"><arg type="s" direction="out"/></method>
    <method name="SaveAsSilent"><arg name="name" type="s" direction="in"/><arg name="flag" type="b" direction="in"/><arg type="i" direction="out"/></method>
  </interface>
)";
const char* const kDrawingDocXml = R"(  <interface name="SldWorks.DrawingDoc">
    <method name="GetSheetCount"><arg type="i" direction="out"/></method>
    <method name="GetSheetNames"><arg type="as" direction="out"/></method>
    <method name="GetCurrentSheet"><arg type="o" direction="out"/></method>
    <method name="ActivateSheet"><arg name="name" type="s" direction="in"/><arg type="b" direction="out"/></method>
  </interface>
)";
const char* const kSheetXml = R"(  <interface name="SldWorks.Sheet">
    <method name="GetName"><arg type="s" direction="out"/></method>
    <method name="GetTemplateName"><arg type="s" direction="out"/></method>
    <method name="GetProperties"><arg type="ad" direction="out"/></method>
  </interface>
)";
const char* const kControlXml = R"(  <interface name="SldWorks.Control">
    <method name="OpenDocument"><arg name="path" type="s" direction="in"/><arg type="o" direction="out"/></method>
    <method name="CloseDocument"/>
    <method name="CloseAllDocuments"/>
    <method name="InjectFault"><arg name="member" type="s" direction="in"/><arg name="argument" type="s" direction="in"/><arg name="kind" type="s" direction="in"/></method>
    <method name="ClearFaults"/>
    <method name="Quit"/>
  </interface>
)";

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

// One incoming call: its message, and the answer once there is one.
struct DBusService::Call {
    const QDBusMessage& message;
    const QDBusConnection& connection;
    QString member;
    bool answered = false;
    bool refused = false;  // a "refuse" fault applies: answer the failure value

    bool expect(const char* signature)
    {
        if (message.signature() == QLatin1String(signature))
            return true;
        error(QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
              QStringLiteral("%1 erwartet die Argumente (%2), nicht (%3)")
                  .arg(member, QLatin1String(signature), message.signature()));
        return false;
    }
    void reply(const QList<QVariant>& values = {})
    {
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
    static const QRegularExpression documentRe(QStringLiteral("^/Documents/(\\d+)$"));
    static const QRegularExpression sheetRe(QStringLiteral("^/Documents/(\\d+)/Sheets/\\d+$"));
    QString xml;
    if (path == kApplicationPath)
        xml = QLatin1String(kApplicationXml);
    else if (path == kControlPath)
        xml = QLatin1String(kControlXml);
    else if (auto m = documentRe.match(path); m.hasMatch()) {
        OpenDocument* d = session_.findDocument(m.captured(1).toInt());
        if (d) {
            xml = QLatin1String(kModelDocXml);
            if (d->drawing.type == DocumentType::Drawing)
                xml += QLatin1String(kDrawingDocXml);
        }
    } else if (sheetRe.match(path).hasMatch())
        xml = QLatin1String(kSheetXml);

    // Child nodes, so that busctl tree and d-feet can walk the objects.
    QStringList children;
    if (path == QLatin1String("/"))
        children << QStringLiteral("Application") << QStringLiteral("Control") << QStringLiteral("Documents");
    else if (path == QLatin1String("/Documents"))
        for (const OpenDocument& d : session_.documents())
            children << QString::number(d.id);
    else if (auto m = documentRe.match(path); m.hasMatch()) {
        if (OpenDocument* d = session_.findDocument(m.captured(1).toInt()); d && !d->drawing.sheets.empty())
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
    static const QRegularExpression documentRe(QStringLiteral("^/Documents/(\\d+)$"));
    static const QRegularExpression sheetRe(QStringLiteral("^/Documents/(\\d+)/Sheets/(\\d+)$"));
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
    if (path == kControlPath) {
        control(call);
        return;
    }
    // Faults apply to the CAD members only, never to the control interface.
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
            call.answered = true;
            return;
        }
        call.refused = true;
    }
    if (path == kApplicationPath)
        application(call);
    else if (auto m = documentRe.match(path); m.hasMatch())
        document(call, m.captured(1).toInt());
    else if (auto s = sheetRe.match(path); s.hasMatch())
        sheet(call, s.captured(1).toInt(), s.captured(2).toInt());
    if (!call.answered && path != QLatin1String("/"))
        call.error(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"),
                   QStringLiteral("Kein Mitglied %1 an %2").arg(call.member, path));
}

void DBusService::properties(Call& call)
{
    const QString property = call.arg(1).toString();
    if (call.arg(0).toString() != kApplication ||
        (property != QLatin1String("Visible") && call.member != QLatin1String("GetAll"))) {
        call.error(QStringLiteral("org.freedesktop.DBus.Error.UnknownProperty"),
                   QStringLiteral("Keine Eigenschaft %1").arg(property));
        return;
    }
    if (call.member == QLatin1String("Get") && call.expect("ss"))
        call.reply({QVariant::fromValue(QDBusVariant(session_.visible()))});
    else if (call.member == QLatin1String("GetAll") && call.expect("s"))
        call.reply({QVariant::fromValue(QVariantMap{{QStringLiteral("Visible"), session_.visible()}})});
    else if (call.member == QLatin1String("Set") && call.expect("ssv")) {
        if (session_.faultFor("Visible", "") && session_.faultFor("Visible", "")->kind == "error") {
            call.error(QStringLiteral("SldWorks.Error.Injected"),
                       QStringLiteral("eingespeister Fehler bei Visible"));
            return;
        }
        session_.setVisible(call.arg(2).value<QDBusVariant>().variant().toBool());
        call.reply();
    }
}

void DBusService::application(Call& call)
{
    PreferenceStore& prefs = session_.preferences();
    const QString& m = call.member;
    const int32_t pref = call.arg(0).toInt();
    auto unknown = [&] {
        call.error(QStringLiteral("SldWorks.Error.UnknownPreference"),
                   QStringLiteral("%1: Einstellung %2 unbekannt").arg(m).arg(pref));
    };
    if (m == QLatin1String("ActiveDoc")) {
        if (!call.expect(""))
            return;
        OpenDocument* active = session_.activeDocument();
        call.reply({QVariant::fromValue(active && !call.refused ? documentPath(active->id) : noObject())});
    } else if (m == QLatin1String("GetUserPreferenceIntegerValue")) {
        if (!call.expect("i"))
            return;
        if (auto v = prefs.integer(pref))
            call.reply({QVariant::fromValue<short>(call.refused ? 0 : *v)});
        else
            unknown();
    } else if (m == QLatin1String("GetUserPreferenceToggle")) {
        if (!call.expect("i"))
            return;
        if (auto v = prefs.toggle(pref))
            call.reply({call.refused ? false : *v});
        else
            unknown();
    } else if (m == QLatin1String("GetUserPreferenceDoubleValue")) {
        if (!call.expect("i"))
            return;
        if (auto v = prefs.real(pref))
            call.reply({call.refused ? 0.0 : *v});
        else
            unknown();
    } else if (m == QLatin1String("SetUserPreferenceIntegerValue")) {
        if (!call.expect("ii"))
            return;
        const bool ok = !call.refused && prefs.setInteger(pref, call.arg(1).toInt());
        call.reply({QVariant::fromValue<short>(ok ? 1 : 0)});
        if (ok)
            session_.preferencesWritten();
    } else if (m == QLatin1String("SetUserPreferenceToggle")) {
        if (!call.expect("ib"))
            return;
        // No answer to read: an unknown toggle is simply not kept.
        if (!call.refused && prefs.setToggle(pref, call.arg(1).toBool()))
            session_.preferencesWritten();
        call.reply();
    } else if (m == QLatin1String("SetUserPreferenceDoubleValue")) {
        if (!call.expect("id"))
            return;
        const bool ok = !call.refused && prefs.setReal(pref, call.arg(1).toDouble());
        call.reply({QVariant::fromValue<short>(ok ? 1 : 0)});
        if (ok)
            session_.preferencesWritten();
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
    const QString& m = call.member;
    if (m == QLatin1String("GetType")) {
        if (call.expect(""))
            call.reply({call.refused ? 0 : static_cast<int>(drawing.type)});
        return;
    }
    if (m == QLatin1String("GetTitle")) {
        if (call.expect(""))
            call.reply({call.refused ? QString() : QString::fromStdString(documentTitle(drawing))});
        return;
    }
    if (m == QLatin1String("SaveAsSilent")) {
        if (!call.expect("sb"))
            return;
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
        return;
    }
    const bool drawingMember = m == QLatin1String("GetSheetCount") || m == QLatin1String("GetSheetNames") ||
                               m == QLatin1String("GetCurrentSheet") || m == QLatin1String("ActivateSheet");
    if (!drawingMember)
        return;
    if (drawing.type != DocumentType::Drawing) {
        call.error(QStringLiteral("SldWorks.Error.NotADrawing"),
                   QStringLiteral("%1: das Dokument ist keine Zeichnung und hat keine Blätter").arg(m));
        return;
    }
    if (m == QLatin1String("GetSheetCount")) {
        if (call.expect(""))
            call.reply({call.refused ? 0 : static_cast<int>(drawing.sheets.size())});
    } else if (m == QLatin1String("GetSheetNames")) {
        if (!call.expect(""))
            return;
        QStringList names;
        if (!call.refused)
            for (const Sheet& s : drawing.sheets)
                names << QString::fromStdString(s.name);
        call.reply({names});
    } else if (m == QLatin1String("GetCurrentSheet")) {
        if (!call.expect(""))
            return;
        if (call.refused || drawing.sheets.empty())
            call.reply({QVariant::fromValue(noObject())});
        else
            call.reply({QVariant::fromValue(QDBusObjectPath(
                QStringLiteral("/Documents/%1/Sheets/%2").arg(id).arg(drawing.activeSheet)))});
    } else if (m == QLatin1String("ActivateSheet")) {
        if (call.expect("s"))
            call.reply({!call.refused && session_.activateSheet(id, call.arg(0).toString().toStdString())});
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
    const QString& m = call.member;
    if (!call.expect(""))
        return;
    if (m == QLatin1String("GetName")) {
        call.reply({call.refused ? QString() : QString::fromStdString(s.name)});
    } else if (m == QLatin1String("GetTemplateName")) {
        call.reply({call.refused ? QString() : QString::fromStdString(s.templatePath)});
    } else if (m == QLatin1String("GetProperties")) {
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
    }
}

void DBusService::control(Call& call)
{
    const QString& m = call.member;
    if (m == QLatin1String("OpenDocument")) {
        if (!call.expect("s"))
            return;
        try {
            const int id = session_.openDocument(call.arg(0).toString().toStdString());
            call.reply({QVariant::fromValue(documentPath(id))});
        } catch (const DrawingError& e) {
            call.error(QStringLiteral("SldWorks.Error.BadDrawing"), QString::fromStdString(e.what()));
        }
    } else if (m == QLatin1String("CloseDocument")) {
        if (call.expect("")) {
            session_.closeActiveDocument();
            call.reply();
        }
    } else if (m == QLatin1String("CloseAllDocuments")) {
        if (call.expect("")) {
            session_.closeAllDocuments();
            call.reply();
        }
    } else if (m == QLatin1String("InjectFault")) {
        if (!call.expect("sss"))
            return;
        Fault fault{call.arg(0).toString().toStdString(), call.arg(1).toString().toStdString(),
                    call.arg(2).toString().toStdString()};
        if (session_.injectFault(fault))
            call.reply();
        else
            call.error(
                QStringLiteral("org.freedesktop.DBus.Error.InvalidArgs"),
                QStringLiteral("Art \"%1\" unbekannt: refuse, error oder hang").arg(call.arg(2).toString()));
    } else if (m == QLatin1String("ClearFaults")) {
        if (call.expect("")) {
            session_.clearFaults();
            call.reply();
        }
    } else if (m == QLatin1String("Quit")) {
        if (call.expect("")) {
            call.reply();
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    }
}

}  // namespace cadsim
