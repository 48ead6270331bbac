// The session-bus contract between the tool's backend and cadsim, written down
// once: every member with its interface and its argument and reply signatures.
// The client checks its calls and the answers against it, cadsim dispatches on
// it and builds its introspection data from it, so the two cannot drift apart.
#pragma once

#include <QString>

#include <array>
#include <cstddef>
#include <string_view>

namespace cad::dbus::contract {

inline const QString kService = QStringLiteral("SldWorks.Application");  // well-known bus name = ProgID
inline const QString kApplicationPath = QStringLiteral("/Application");
inline const QString kControlPath = QStringLiteral("/Control");

enum class Interface { Application, ModelDoc, DrawingDoc, Sheet, Control };

constexpr std::string_view interfaceName(Interface interface)
{
    switch (interface) {
    case Interface::Application:
        return "SldWorks.Application";
    case Interface::ModelDoc:
        return "SldWorks.ModelDoc2";
    case Interface::DrawingDoc:
        return "SldWorks.DrawingDoc";
    case Interface::Sheet:
        return "SldWorks.Sheet";
    case Interface::Control:
        return "SldWorks.Control";
    }
    return {};
}

inline QString text(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

enum class Id {
    ActiveDoc,
    GetUserPreferenceIntegerValue,
    GetUserPreferenceToggle,
    GetUserPreferenceDoubleValue,
    SetUserPreferenceIntegerValue,
    SetUserPreferenceToggle,
    SetUserPreferenceDoubleValue,
    GetType,
    GetTitle,
    SaveAsSilent,
    GetSheetCount,
    GetSheetNames,
    GetCurrentSheet,
    ActivateSheet,
    GetName,
    GetTemplateName,
    GetProperties,
    OpenDocument,
    CloseDocument,
    CloseAllDocuments,
    InjectFault,
    ClearFaults,
    Quit,
};

struct Member {
    Id id;
    Interface interface;
    std::string_view name;
    std::string_view arguments;  // D-Bus signature of the arguments
    std::string_view names;      // their names for introspection, blank-separated ("" when unnamed)
    std::string_view reply;      // D-Bus signature of the answer, "" for none
};

// In the order of Id.
inline constexpr std::array kMembers{
    Member{Id::ActiveDoc, Interface::Application, "ActiveDoc", "", "", "o"},
    Member{Id::GetUserPreferenceIntegerValue, Interface::Application, "GetUserPreferenceIntegerValue", "i",
           "pref", "n"},
    Member{Id::GetUserPreferenceToggle, Interface::Application, "GetUserPreferenceToggle", "i", "pref", "b"},
    Member{Id::GetUserPreferenceDoubleValue, Interface::Application, "GetUserPreferenceDoubleValue", "i",
           "pref", "d"},
    Member{Id::SetUserPreferenceIntegerValue, Interface::Application, "SetUserPreferenceIntegerValue", "ii",
           "pref value", "n"},
    Member{Id::SetUserPreferenceToggle, Interface::Application, "SetUserPreferenceToggle", "ib", "pref value",
           ""},
    Member{Id::SetUserPreferenceDoubleValue, Interface::Application, "SetUserPreferenceDoubleValue", "id",
           "pref value", "n"},
    Member{Id::GetType, Interface::ModelDoc, "GetType", "", "", "i"},
    Member{Id::GetTitle, Interface::ModelDoc, "GetTitle", "", "", "s"},
    Member{Id::SaveAsSilent, Interface::ModelDoc, "SaveAsSilent", "sb", "name flag", "i"},
    Member{Id::GetSheetCount, Interface::DrawingDoc, "GetSheetCount", "", "", "i"},
    Member{Id::GetSheetNames, Interface::DrawingDoc, "GetSheetNames", "", "", "as"},
    Member{Id::GetCurrentSheet, Interface::DrawingDoc, "GetCurrentSheet", "", "", "o"},
    Member{Id::ActivateSheet, Interface::DrawingDoc, "ActivateSheet", "s", "name", "b"},
    Member{Id::GetName, Interface::Sheet, "GetName", "", "", "s"},
    Member{Id::GetTemplateName, Interface::Sheet, "GetTemplateName", "", "", "s"},
    Member{Id::GetProperties, Interface::Sheet, "GetProperties", "", "", "ad"},
    Member{Id::OpenDocument, Interface::Control, "OpenDocument", "s", "path", "o"},
    Member{Id::CloseDocument, Interface::Control, "CloseDocument", "", "", ""},
    Member{Id::CloseAllDocuments, Interface::Control, "CloseAllDocuments", "", "", ""},
    Member{Id::InjectFault, Interface::Control, "InjectFault", "sss", "member argument kind", ""},
    Member{Id::ClearFaults, Interface::Control, "ClearFaults", "", "", ""},
    Member{Id::Quit, Interface::Control, "Quit", "", "", ""},
};

constexpr bool membersInIdOrder()
{
    for (std::size_t i = 0; i < kMembers.size(); ++i)
        if (static_cast<std::size_t>(kMembers[i].id) != i)
            return false;
    return true;
}
static_assert(membersInIdOrder(), "kMembers must list the members in the order of Id");

constexpr const Member& member(Id id)
{
    return kMembers[static_cast<std::size_t>(id)];
}

// The one property, read and written through org.freedesktop.DBus.Properties.
struct Property {
    Interface interface;
    std::string_view name;
    std::string_view type;
};
inline constexpr Property kVisible{Interface::Application, "Visible", "b"};

inline const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

}  // namespace cad::dbus::contract
