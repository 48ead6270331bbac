#include "cadsim/member_calls.h"

#include "cadsim/save_sheet.h"

#include <QCoreApplication>
#include <QString>
#include <QTimer>

#include <charconv>
#include <cstdio>

namespace cadsim {

namespace {

using cad::members::Interface;

Answer failure(const char* name, const QString& text)
{
    Answer answer;
    answer.failure = name;
    answer.text = text.toStdString();
    return answer;
}

QString memberName(MemberId member)
{
    return QString::fromUtf8(cad::members::nameOf(member));
}

// The fault that applies to this call: faults name the member and, or not, its first argument.
const Fault* faultOf(const CadSession& session, MemberId member, const std::vector<Argument>& args)
{
    return session.faultFor(cad::members::nameOf(member),
                            args.empty() ? std::string() : argumentText(args[0]));
}

Answer injectedError(MemberId member)
{
    return failure("SldWorks.Error.Injected",
                   QStringLiteral("eingespeister Fehler bei %1").arg(memberName(member)));
}

const std::string& textOf(const std::vector<Argument>& args, size_t i)
{
    static const std::string none;
    const auto* text = i < args.size() ? std::get_if<std::string>(&args[i]) : nullptr;
    return text ? *text : none;
}
int32_t integerOf(const std::vector<Argument>& args, size_t i)
{
    if (i >= args.size())
        return 0;
    if (const auto* b = std::get_if<bool>(&args[i]))
        return *b;
    if (const auto* d = std::get_if<double>(&args[i]))
        return static_cast<int32_t>(*d);
    const auto* n = std::get_if<int32_t>(&args[i]);
    return n ? *n : 0;
}
bool booleanOf(const std::vector<Argument>& args, size_t i)
{
    return integerOf(args, i) != 0;
}
double realOf(const std::vector<Argument>& args, size_t i)
{
    const auto* d = i < args.size() ? std::get_if<double>(&args[i]) : nullptr;
    return d ? *d : integerOf(args, i);
}

Answer application(CadSession& session, MemberId member, const std::vector<Argument>& args, bool refused)
{
    PreferenceStore& prefs = session.preferences();
    const int32_t pref = integerOf(args, 0);
    auto unknown = [&] {
        return failure("SldWorks.Error.UnknownPreference",
                       QStringLiteral("%1: Einstellung %2 unbekannt").arg(memberName(member)).arg(pref));
    };
    switch (member) {
    case MemberId::ActiveDoc: {
        OpenDocument* active = session.activeDocument();
        return {DocumentRef{active && !refused ? active->id : 0}};
    }
    case MemberId::GetUserPreferenceIntegerValue:
        if (auto v = prefs.integer(pref))
            return {int16_t(refused ? 0 : *v)};
        return unknown();
    case MemberId::GetUserPreferenceToggle:
        if (auto v = prefs.toggle(pref))
            return {refused ? false : *v};
        return unknown();
    case MemberId::GetUserPreferenceDoubleValue:
        if (auto v = prefs.real(pref))
            return {refused ? 0.0 : *v};
        return unknown();
    case MemberId::SetUserPreferenceIntegerValue:
    case MemberId::SetUserPreferenceDoubleValue: {
        const bool ok = !refused && (member == MemberId::SetUserPreferenceIntegerValue
                                         ? prefs.setInteger(pref, integerOf(args, 1))
                                         : prefs.setReal(pref, realOf(args, 1)));
        if (ok)
            session.preferencesWritten();
        return {int16_t(ok ? 1 : 0)};
    }
    case MemberId::SetUserPreferenceToggle:
        // No answer to read: an unknown toggle is simply not kept.
        if (!refused && prefs.setToggle(pref, booleanOf(args, 1)))
            session.preferencesWritten();
        return {};
    default:
        return {};
    }
}

Answer save(CadSession& session, const Drawing& drawing, const std::string& name, bool refused)
{
    SaveOutcome outcome;
    if (refused)
        outcome = {kSaveRefused, name, "eingespeiste Ablehnung"};
    else
        outcome = saveActiveSheet(drawing, name, session.preferences().values());
    if (outcome.result == kSaved)
        std::printf("cadsim: gespeichert %s\n", outcome.path.c_str());
    else
        std::printf("cadsim: %s(%s) = %d: %s\n", cad::members::nameOf(MemberId::SaveAsSilent), name.c_str(),
                    outcome.result, outcome.reason.c_str());
    std::fflush(stdout);
    session.reportSave(QString::fromStdString(outcome.path), outcome.result);
    return {int32_t(outcome.result)};
}

Answer document(CadSession& session, MemberId member, int id, const std::vector<Argument>& args, bool refused)
{
    OpenDocument* document = session.findDocument(id);
    if (!document)
        return failure("SldWorks.Error.UnknownObject",
                       QStringLiteral("Dokument %1 ist nicht (mehr) geöffnet").arg(id));
    Drawing& drawing = document->drawing;
    if (cad::members::member(member).iface == Interface::DrawingDoc && drawing.type != cad::kDocDrawing)
        return failure("SldWorks.Error.NotADrawing",
                       QStringLiteral("%1: das Dokument ist keine Zeichnung und hat keine Blätter")
                           .arg(memberName(member)));
    switch (member) {
    case MemberId::GetType:
        return {int32_t(refused ? 0 : drawing.type)};
    case MemberId::GetTitle:
        return {refused ? std::string() : documentTitle(drawing)};
    case MemberId::SaveAsSilent:
        return save(session, drawing, textOf(args, 0), refused);
    case MemberId::GetSheetCount:
        return {int32_t(refused ? 0 : drawing.sheets.size())};
    case MemberId::GetSheetNames: {
        std::vector<std::string> names;
        if (!refused)
            for (const Sheet& s : drawing.sheets)
                names.push_back(s.name);
        return {names};
    }
    case MemberId::GetCurrentSheet:
        if (refused || drawing.sheets.empty())
            return {SheetRef{}};
        return {SheetRef{id, drawing.activeSheet}};
    case MemberId::ActivateSheet:
        return {!refused && session.activateSheet(id, textOf(args, 0))};
    default:
        return {};
    }
}

Answer sheet(CadSession& session, MemberId member, int id, int index, bool refused)
{
    OpenDocument* document = session.findDocument(id);
    if (!document || index < 0 || index >= static_cast<int>(document->drawing.sheets.size()))
        return failure("SldWorks.Error.UnknownObject",
                       QStringLiteral("Blatt %1 von Dokument %2 gibt es nicht (mehr)").arg(index).arg(id));
    const Sheet& s = document->drawing.sheets[index];
    switch (member) {
    case MemberId::GetName:
        return {refused ? std::string() : s.name};
    case MemberId::GetTemplateName:
        return {refused ? std::string() : s.templatePath};
    case MemberId::GetProperties:
        if (refused)
            return {std::vector<double>()};
        return {std::vector<double>{double(s.paperSize), double(s.templateCode), s.scaleNumerator,
                                    s.scaleDenominator, s.firstAngle ? -1.0 : 0.0, s.width, s.height}};
    default:
        return {};
    }
}

Answer injectFault(CadSession& session, const std::vector<Argument>& args)
{
    const std::string& argument = textOf(args, 1);
    const std::string& kind = textOf(args, 2);
    if (kind == "busy") {
        int calls = 0;
        const char* end = argument.data() + argument.size();
        if (std::from_chars(argument.data(), end, calls).ptr != end || calls <= 0)
            return failure("org.freedesktop.DBus.Error.InvalidArgs",
                           QStringLiteral("busy braucht eine Anzahl Aufrufe, nicht \"%1\"")
                               .arg(QString::fromStdString(argument)));
        session.rejectCalls(calls);
        return {};
    }
    const std::optional<FaultKind> known = faultKindNamed(kind);
    if (!known)
        return failure("org.freedesktop.DBus.Error.InvalidArgs",
                       QStringLiteral("Art \"%1\" unbekannt: refuse, error, hang oder busy")
                           .arg(QString::fromStdString(kind)));
    session.injectFault({textOf(args, 0), argument, *known});
    return {};
}

Answer control(CadSession& session, MemberId member, const std::vector<Argument>& args)
{
    switch (member) {
    case MemberId::OpenDocument:
        try {
            return {DocumentRef{session.openDocument(textOf(args, 0))}};
        } catch (const DrawingError& e) {
            return failure("SldWorks.Error.BadDrawing", QString::fromStdString(e.what()));
        }
    case MemberId::CloseDocument:
        session.closeActiveDocument();
        return {};
    case MemberId::CloseAllDocuments:
        session.closeAllDocuments();
        return {};
    case MemberId::InjectFault:
        return injectFault(session, args);
    case MemberId::ClearFaults:
        session.clearFaults();
        return {};
    case MemberId::Quit:
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return {};
    default:
        return {};
    }
}

}  // namespace

std::string argumentText(const Argument& argument)
{
    if (const auto* b = std::get_if<bool>(&argument))
        return *b ? "true" : "false";
    if (const auto* d = std::get_if<double>(&argument))
        return QString::number(*d, 'g', 15).toStdString();
    if (const auto* n = std::get_if<int32_t>(&argument))
        return std::to_string(*n);
    return std::get<std::string>(argument);
}

Answer answerCall(CadSession& session, MemberId member, const Target& target,
                  const std::vector<Argument>& args)
{
    const Interface iface = cad::members::member(member).iface;
    if (iface == Interface::Control)
        return control(session, member, args);

    bool refused = false;
    if (const Fault* fault = faultOf(session, member, args)) {
        switch (fault->kind) {
        case FaultKind::Error:
            return injectedError(member);
        case FaultKind::Hang: {
            std::printf("cadsim: %s bleibt unbeantwortet (eingespeist)\n", cad::members::nameOf(member));
            std::fflush(stdout);
            Answer hung;
            hung.hang = true;
            return hung;
        }
        case FaultKind::Refuse:
            refused = true;
            break;
        }
    }
    switch (iface) {
    case Interface::Application:
        return application(session, member, args, refused);
    case Interface::ModelDoc:
    case Interface::DrawingDoc:
        return document(session, member, target.document, args, refused);
    case Interface::Sheet:
        return sheet(session, member, target.document, target.sheet, refused);
    case Interface::Control:
        break;
    }
    return {};
}

bool stillHung(const CadSession& session, MemberId member, const std::vector<Argument>& args)
{
    const Fault* fault = faultOf(session, member, args);
    return fault && fault->kind == FaultKind::Hang;
}

Answer readProperty(CadSession& session, MemberId property)
{
    switch (property) {
    case MemberId::Visible:
        return {session.visible()};
    default:
        return {};
    }
}

Answer writeProperty(CadSession& session, MemberId property, const Argument& value)
{
    const Fault* fault = faultOf(session, property, {});
    if (fault && fault->kind == FaultKind::Error)
        return injectedError(property);
    switch (property) {
    case MemberId::Visible:
        session.setVisible(std::get<bool>(value));
        return {};
    default:
        return {};
    }
}

}  // namespace cadsim
