// What the session bus adds to the member table (cad/members.h), between the tool's backend and
// cadsim: the bus name, the object paths, the interface names and the D-Bus signature of each kind.
#pragma once

#include "cad/members.h"

#include <QString>

#include <string>
#include <string_view>

namespace cad::dbus::contract {

using members::Id;
using members::Interface;
using members::Kind;
using members::Member;
using members::Object;

constexpr std::string_view interfaceName(Interface iface)
{
    switch (iface) {
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

// Where the objects live; <n> is a document's number, <m> a sheet's index. "None" is "/".
constexpr std::string_view pathOf(Object object)
{
    switch (object) {
    case Object::Application:
        return "/Application";
    case Object::Document:
        return "/Documents/<n>";
    case Object::Sheet:
        return "/Documents/<n>/Sheets/<m>";
    case Object::Control:
        return "/Control";
    }
    return {};
}

constexpr std::string_view signatureOf(Kind kind)
{
    switch (kind) {
    case Kind::None:
        return "";
    case Kind::Int16:
        return "n";
    case Kind::Int32:
        return "i";
    case Kind::Bool:
        return "b";
    case Kind::Double:
        return "d";
    case Kind::Text:
        return "s";
    case Kind::Texts:
        return "as";
    case Kind::Doubles:
        return "ad";
    case Kind::Document:
    case Kind::Sheet:
        return "o";
    }
    return {};
}

inline QString text(std::string_view s)
{
    return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

inline const QString kService = QStringLiteral("SldWorks.Application");  // well-known bus name = ProgID
inline const QString kApplicationPath = text(pathOf(Object::Application));
inline const QString kControlPath = text(pathOf(Object::Control));
inline const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// The signature of a member's arguments, in call order.
inline std::string argumentsOf(const Member& member)
{
    std::string signature;
    for (const members::Parameter& p : member.parameters())
        signature += signatureOf(p.kind);
    return signature;
}

}  // namespace cad::dbus::contract
