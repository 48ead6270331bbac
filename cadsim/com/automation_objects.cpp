#include "cadsim/com/automation_objects.h"

#include "platform/com_handles.h"
#include "platform/com_object.h"

#include "cad/number_text.h"
#include "cadsim/member_calls.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cadsim::com {

namespace {

using cad::members::Access;
using cad::members::Kind;
using cad::members::kMembers;
using cad::members::Member;
using cad::members::Parameter;
using cad::members::Passing;
using ObjectKind = cad::members::Object;

using win::Arguments;

bool journalOn = false;

// An argument's value, read through a reference, as the members take it: integers of both widths
// in 32 bits. None for a type no member takes.
std::optional<Argument> valueOf(const VARIANT& v)
{
    const bool ref = v.vt & VT_BYREF;
    switch (v.vt & ~VT_BYREF) {
    case VT_I2:
        return int32_t(ref ? *v.piVal : v.iVal);
    case VT_I4:
        return int32_t(ref ? *v.plVal : v.lVal);
    case VT_BOOL:
        return (ref ? *v.pboolVal : v.boolVal) != VARIANT_FALSE;
    case VT_R8:
        return ref ? *v.pdblVal : v.dblVal;
    case VT_BSTR:
        return win::utf8FromBstr(ref ? *v.pbstrVal : v.bstrVal);
    default:
        return std::nullopt;
    }
}

// The value as the journal shows it: a boolean as COM carries it (-1 or 0), a decimal with a point.
std::string valueText(const VARIANT& v)
{
    const std::optional<Argument> value = valueOf(v);
    if (!value)
        return "?";
    if (const bool* b = std::get_if<bool>(&*value))
        return *b ? "-1" : "0";
    if (const double* d = std::get_if<double>(&*value))
        return cad::numberText(*d, ".");
    return argumentText(*value);
}

// "VT_I4 9, VT_BYREF|VT_BSTR Blatt1": the variant types a call came with, and its values.
std::string journalText(const Arguments& args)
{
    std::string text;
    for (UINT i = 0; i < args.count(); ++i)
        text += (i ? ", " : "") + win::typeName(args.type(i)) + " " + valueText(args[i]);
    return text;
}

// A call with an argument of another type than the member takes.
struct TypeMismatch {
    UINT argument;  // in call order
};

// The variant types an argument is accepted in. The CAD system itself declares the file and sheet
// names and the save flag by value (SaveAsSilent(ByVal NewName As String, ByVal SaveAsCopy As
// Boolean), ActivateSheet(ByVal Name As String)) and takes them by value or by reference alike.
// The tool sends them by reference, as the member table has it; cadsim takes that form only, so
// that a change in what the tool sends fails the tests here instead of passing unseen. What the
// tool's writes send in two widths takes both.
std::vector<VARTYPE> typesOf(const Parameter& parameter)
{
    std::vector<VARTYPE> types;
    for (const Kind kind : {parameter.kind, parameter.alsoAs}) {
        const VARTYPE base = kind == Kind::Int16    ? VT_I2
                             : kind == Kind::Int32  ? VT_I4
                             : kind == Kind::Bool   ? VT_BOOL
                             : kind == Kind::Double ? VT_R8
                             : kind == Kind::Text   ? VT_BSTR
                                                    : VT_EMPTY;
        if (base == VT_EMPTY)
            continue;
        if (parameter.passing != Passing::Reference)
            types.push_back(base);
        if (parameter.passing != Passing::Value)
            types.push_back(VT_BYREF | base);
    }
    return types;
}

std::vector<Argument> argumentsOf(const Arguments& args, std::span<const Parameter> parameters)
{
    if (args.count() != parameters.size())
        throw HRESULT(DISP_E_BADPARAMCOUNT);
    std::vector<Argument> values;
    for (UINT i = 0; i < args.count(); ++i) {
        const VARTYPE type = args.type(i);
        const std::vector<VARTYPE> allowed = typesOf(parameters[i]);
        if (std::find(allowed.begin(), allowed.end(), type) == allowed.end())
            throw TypeMismatch{i};
        values.push_back(*valueOf(args[i]));  // a type the member takes has a value
    }
    return values;
}

// Members are known by their place in the member table, counted from 1.
DISPID idOf(const Member& member)
{
    return DISPID(&member - kMembers.data() + 1);
}

class Object : public win::DispatchObject {
public:
    Object(SessionAccess& access, ObjectKind kind, Target target)
        : access_(access), kind_(kind), target_(target)
    {
    }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        HRESULT result = S_OK;
        for (UINT n = 0; n < count; ++n) {
            ids[n] = DISPID_UNKNOWN;
            auto same = [&](std::string_view candidate) {
                return _wcsicmp(names[n], win::wideFromUtf8(candidate).c_str()) == 0;
            };
            for (const Member& m : kMembers)
                if (m.object() == kind_ && same(m.name))
                    ids[n] = idOf(m);
            if (ids[n] == DISPID_UNKNOWN)
                result = DISP_E_UNKNOWNNAME;
        }
        return result;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* wrongArgument) override
    {
        static DISPPARAMS none{};
        const Arguments args(parameters ? *parameters : none);
        win::Variant ignored;
        VARIANT* answerSlot = result ? result : ignored.get();
        HRESULT outcome = S_OK;
        try {
            const Member& called = memberOf(id);
            journal(called, flags, args);
            const Answer answer = called.access == Access::Property
                                      ? property(called, flags, args, answerSlot)
                                      : method(called, flags, args, answerSlot);
            if (answer.failed()) {
                if (exception) {
                    *exception = EXCEPINFO{};
                    exception->scode = E_FAIL;
                    exception->bstrSource = win::Bstr("cadsim").release();
                    exception->bstrDescription = win::Bstr(answer.text).release();
                }
                outcome = DISP_E_EXCEPTION;
            }
        } catch (const TypeMismatch& mismatch) {
            if (wrongArgument)
                *wrongArgument = args.comIndex(mismatch.argument);
            outcome = DISP_E_TYPEMISMATCH;
        } catch (HRESULT failure) {
            outcome = failure;
        }
        return outcome;
    }

private:
    // The member of this object with that id; DISP_E_MEMBERNOTFOUND for another.
    const Member& memberOf(DISPID id) const
    {
        if (id < 1 || std::size_t(id) > kMembers.size() || kMembers[std::size_t(id - 1)].object() != kind_)
            throw HRESULT(DISP_E_MEMBERNOTFOUND);
        return kMembers[std::size_t(id - 1)];
    }

    // Every call of a CAD member as it arrived, for the tests that check what the tool sends: the
    // calls of methods and the writes of properties.
    static void journal(const Member& called, WORD flags, const Arguments& args)
    {
        const bool property = called.access == Access::Property;
        if (!journalOn || called.object() == ObjectKind::Control ||
            ((flags & DISPATCH_PROPERTYPUT) != 0) != property)
            return;
        const std::string line =
            std::string(called.name) + (property ? "=" + journalText(args) : "(" + journalText(args) + ")");
        std::printf("cadsim: Aufruf %s\n", line.c_str());
        std::fflush(stdout);
    }

    Answer property(const Member& called, WORD flags, const Arguments& args, VARIANT* result)
    {
        Answer answer;
        if (flags & DISPATCH_PROPERTYPUT) {
            const Parameter written{called.name, called.result};
            const std::vector<Argument> values = argumentsOf(args, std::span(&written, 1));
            if (!access_.run([&] { answer = writeProperty(access_.session(), called.id, values[0]); }))
                throw HRESULT(CO_E_SERVER_STOPPING);
            return answer;
        }
        argumentsOf(args, {});
        if (!access_.run([&] { answer = readProperty(access_.session(), called.id); }))
            throw HRESULT(CO_E_SERVER_STOPPING);
        put(result, answer.value);
        return answer;
    }

    Answer method(const Member& called, WORD flags, const Arguments& args, VARIANT* result)
    {
        if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
            throw HRESULT(DISP_E_MEMBERNOTFOUND);
        const std::vector<Argument> values = argumentsOf(args, called.parameters());
        Answer answer;
        bool ended = false;
        const bool ran = access_.run([&] {
            CadSession& session = access_.session();
            answer = answerCall(session, called.id, target_, values);
            while (answer.hang && !ended) {
                ended = !access_.waitWhileHung([&] { return stillHung(session, called.id, values); });
                if (!ended)
                    answer = answerCall(session, called.id, target_, values);
            }
            if (called.object() == ObjectKind::Control)
                access_.wakeHungCalls();
            if (!ended && !answer.failed())
                put(result, answer.value);
        });
        if (!ran || ended)
            throw HRESULT(CO_E_SERVER_STOPPING);
        return answer;
    }

    void put(VARIANT* result, const Value& value);

    SessionAccess& access_;
    ObjectKind kind_;
    Target target_;
};

void Object::put(VARIANT* result, const Value& value)
{
    win::Variant answer = std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return win::Variant();
            else if constexpr (std::is_same_v<T, int16_t>)
                return win::Variant::i2(v);
            else if constexpr (std::is_same_v<T, int32_t>)
                return win::Variant::i4(v);
            else if constexpr (std::is_same_v<T, bool>)
                return win::Variant::boolean(v);
            else if constexpr (std::is_same_v<T, double>)
                return win::Variant::r8(v);
            else if constexpr (std::is_same_v<T, std::string>)
                return win::Variant::string(v);
            else if constexpr (std::is_same_v<T, std::vector<std::string>> ||
                               std::is_same_v<T, std::vector<double>>)
                return win::Variant::array(v);
            else if constexpr (std::is_same_v<T, DocumentRef>)
                return win::Variant::object(v.id ? new Object(access_, ObjectKind::Document, {v.id})
                                                 : nullptr);
            else if constexpr (std::is_same_v<T, SheetRef>)
                return win::Variant::object(
                    v.index >= 0 ? new Object(access_, ObjectKind::Sheet, {v.document, v.index}) : nullptr);
        },
        value);
    *result = answer.release();
}

}  // namespace

bool SessionAccess::run(const std::function<void()>& work)
{
    if (closing_)
        return false;
    if (QThread::currentThread() == qApp->thread())
        work();
    else
        QMetaObject::invokeMethod(qApp, work, Qt::BlockingQueuedConnection);
    return true;
}

bool SessionAccess::waitWhileHung(const std::function<bool()>& stillHung)
{
    QEventLoop loop;
    const auto waker = wakers_.insert(wakers_.end(), [&] {
        if (!stillHung())
            loop.exit(1);
    });
    // Qt's end exits every loop with 0.
    const int woken = closing_ ? 0 : loop.exec();
    wakers_.erase(waker);
    return woken == 1;
}

void SessionAccess::wakeHungCalls()
{
    for (const auto& wake : wakers_)
        wake();
}

void setJournal(bool on)
{
    journalOn = on;
}

IDispatch* newApplicationObject(SessionAccess& access)
{
    return new Object(access, ObjectKind::Application, {});
}

IDispatch* newControlObject(SessionAccess& access)
{
    return new Object(access, ObjectKind::Control, {});
}

}  // namespace cadsim::com
