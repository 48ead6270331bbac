// The CAD system's automation members that the tool calls and cadsim serves, written down once for
// every transport: the interface each belongs to, the kinds of its arguments and of its answer.
// The D-Bus signatures and introspection data, the COM client's calls, both of cadsim's front ends
// and cadsim's --help are made from these rows, so a new member is one row here and its behaviour.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace cad::members {

// What a value is, whichever transport carries it; Document and Sheet are objects of the server.
enum class Kind { None, Int16, Int32, Bool, Double, Text, Texts, Doubles, Document, Sheet };

// The server's objects, and the interfaces each of them offers.
enum class Object { Application, Document, Sheet, Control };
enum class Interface { Application, ModelDoc, DrawingDoc, Sheet, Control };
inline constexpr std::array kInterfaces{Interface::Application, Interface::ModelDoc, Interface::DrawingDoc,
                                        Interface::Sheet, Interface::Control};

constexpr Object objectOf(Interface iface)
{
    switch (iface) {
    case Interface::Application:
        return Object::Application;
    case Interface::ModelDoc:
    case Interface::DrawingDoc:
        return Object::Document;
    case Interface::Sheet:
        return Object::Sheet;
    case Interface::Control:
        break;
    }
    return Object::Control;
}

// How an argument is handed over where the transport tells the ways apart (COM). The tool hands
// file and sheet names, the save flag and the decimal preference it writes over by reference, as
// its Document and Application members take them; cadsim's own members take either.
enum class Passing { Value, Reference, Either };

struct Parameter {
    std::string_view name;
    Kind kind = Kind::None;  // None: no parameter in this place
    Passing passing = Passing::Value;
    // A second kind the tool sends it as: the preference transfer writes one 16-bit value in 32
    // bits and the scale-to-fit toggle as the integer 1. A transport with one width takes kind.
    Kind alsoAs = Kind::None;
};

// A property is read and written by its name; Visible is the one the tool writes.
enum class Access { Method, Property };

// clang-format off
// Name, interface, method or property, the kind of the answer (of a property: its type), then the
// parameters in call order: {name, kind[, passing[, also sent as]]}.
#define KUP_CAD_MEMBERS(ROW)                                                                              \
    ROW(Visible, Application, Property, Bool)                                                             \
    ROW(ActiveDoc, Application, Method, Document)                                                         \
    ROW(GetUserPreferenceIntegerValue, Application, Method, Int16, {"pref", Int32})                       \
    ROW(GetUserPreferenceToggle, Application, Method, Bool, {"pref", Int32})                              \
    ROW(GetUserPreferenceDoubleValue, Application, Method, Double, {"pref", Int32})                       \
    ROW(SetUserPreferenceIntegerValue, Application, Method, Int16, {"pref", Int32},                       \
        {"value", Int32, Value, Int16})                                                                   \
    ROW(SetUserPreferenceToggle, Application, Method, None, {"pref", Int32}, {"value", Bool, Value, Int16}) \
    ROW(SetUserPreferenceDoubleValue, Application, Method, Int16, {"pref", Int32},                        \
        {"value", Double, Reference})                                                                     \
    ROW(GetType, ModelDoc, Method, Int32)                                                                 \
    ROW(GetTitle, ModelDoc, Method, Text)                                                                 \
    ROW(SaveAsSilent, ModelDoc, Method, Int32, {"name", Text, Reference}, {"flag", Bool, Reference})     \
    ROW(GetSheetCount, DrawingDoc, Method, Int32)                                                         \
    ROW(GetSheetNames, DrawingDoc, Method, Texts)                                                         \
    ROW(GetCurrentSheet, DrawingDoc, Method, Sheet)                                                       \
    ROW(ActivateSheet, DrawingDoc, Method, Bool, {"name", Text, Reference})                               \
    ROW(GetName, Sheet, Method, Text)                                                                     \
    ROW(GetTemplateName, Sheet, Method, Text)                                                             \
    ROW(GetProperties, Sheet, Method, Doubles)                                                            \
    ROW(OpenDocument, Control, Method, Document, {"path", Text, Either})                                  \
    ROW(CloseDocument, Control, Method, None)                                                             \
    ROW(CloseAllDocuments, Control, Method, None)                                                         \
    ROW(InjectFault, Control, Method, None, {"member", Text, Either}, {"argument", Text, Either},         \
        {"kind", Text, Either})                                                                           \
    ROW(ClearFaults, Control, Method, None)                                                               \
    ROW(Quit, Control, Method, None)
// clang-format on

enum class Id {
#define KUP_MEMBER_ID(name, ...) name,
    KUP_CAD_MEMBERS(KUP_MEMBER_ID)
#undef KUP_MEMBER_ID
};

struct Member {
    Id id;
    std::string_view name;
    Interface iface;
    Access access;
    Kind result;
    std::array<Parameter, 3> places;  // the parameters, then empty places

    constexpr std::span<const Parameter> parameters() const
    {
        std::size_t count = 0;
        while (count < places.size() && places[count].kind != Kind::None)
            ++count;
        return {places.data(), count};
    }
    constexpr Object object() const { return objectOf(iface); }
};

namespace rows {
constexpr auto make()
{
    using enum Kind;
    using enum Passing;
#define KUP_MEMBER_ROW(name, iface, access, result, ...)                                                     \
    Member{Id::name, #name, Interface::iface, Access::access, Kind::result, {{__VA_ARGS__}}},
    return std::array{KUP_CAD_MEMBERS(KUP_MEMBER_ROW)};
#undef KUP_MEMBER_ROW
}
}  // namespace rows

// In the order of Id.
inline constexpr auto kMembers = rows::make();

constexpr const Member& member(Id id)
{
    return kMembers[static_cast<std::size_t>(id)];
}

// The member's name as a C string, for the APIs that take one.
constexpr const char* nameOf(Id id)
{
    return member(id).name.data();  // a literal of the rows above: it ends in NUL
}

}  // namespace cad::members
