#include "cadsim/com/automation_objects.h"

#include "platform/com_object.h"

#include "platform/win_text.h"

#include <oleauto.h>

#include "cad/number_text.h"
#include "cadsim/calls.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <algorithm>
#include <cstdio>
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

std::string utf8(BSTR text)
{
    return text ? win::utf8FromWide(std::wstring_view(text, SysStringLen(text))) : std::string();
}

BSTR bstr(const std::string& text)
{
    const std::wstring wide = win::wideFromUtf8(text);
    return SysAllocStringLen(wide.data(), UINT(wide.size()));
}

using win::Arguments;

bool journalOn = false;

std::string typeName(VARTYPE type)
{
    const VARTYPE base = type & VT_TYPEMASK;
    const char* name = base == VT_I2     ? "VT_I2"
                       : base == VT_I4   ? "VT_I4"
                       : base == VT_R8   ? "VT_R8"
                       : base == VT_BSTR ? "VT_BSTR"
                       : base == VT_BOOL ? "VT_BOOL"
                                         : nullptr;
    return ((type & VT_BYREF) ? "VT_BYREF|" : "") + (name ? std::string(name) : "VT_" + std::to_string(base));
}

// The value as the journal shows it; by-reference values are read through.
std::string valueText(const VARIANT& v)
{
    const bool ref = v.vt & VT_BYREF;
    switch (v.vt & ~VT_BYREF) {
    case VT_I2:
        return std::to_string(ref ? *v.piVal : v.iVal);
    case VT_I4:
        return std::to_string(ref ? *v.plVal : v.lVal);
    case VT_BOOL:
        return std::to_string(ref ? *v.pboolVal : v.boolVal);
    case VT_R8:
        return cad::numberText(ref ? *v.pdblVal : v.dblVal, ".");
    case VT_BSTR:
        return utf8(ref ? *v.pbstrVal : v.bstrVal);
    default:
        return "?";
    }
}

// "VT_I4 9, VT_BYREF|VT_BSTR Blatt1": the variant types a call came with, and its values.
std::string journalText(const Arguments& args)
{
    std::string text;
    for (UINT i = 0; i < args.count(); ++i)
        text += (i ? ", " : "") + typeName(args.type(i)) + " " + valueText(args[i]);
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
        const VARIANT& v = args[i];
        const bool ref = type & VT_BYREF;
        switch (type & ~VT_BYREF) {
        case VT_I2:
            values.emplace_back(int32_t(ref ? *v.piVal : v.iVal));
            break;
        case VT_I4:
            values.emplace_back(int32_t(ref ? *v.plVal : v.lVal));
            break;
        case VT_BOOL:
            values.emplace_back((ref ? *v.pboolVal : v.boolVal) != VARIANT_FALSE);
            break;
        case VT_R8:
            values.emplace_back(ref ? *v.pdblVal : v.dblVal);
            break;
        default:
            values.emplace_back(utf8(ref ? *v.pbstrVal : v.bstrVal));
            break;
        }
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
        VARIANT ignored;
        VariantInit(&ignored);
        VARIANT* answerSlot = result ? result : &ignored;
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
                    exception->bstrSource = bstr("cadsim");
                    exception->bstrDescription = bstr(answer.text);
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
        VariantClear(&ignored);
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

void Object::put(VARIANT* r, const Value& value)
{
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                r->vt = VT_EMPTY;
            else if constexpr (std::is_same_v<T, int16_t>)
                r->vt = VT_I2, r->iVal = v;
            else if constexpr (std::is_same_v<T, int32_t>)
                r->vt = VT_I4, r->lVal = v;
            else if constexpr (std::is_same_v<T, bool>)
                r->vt = VT_BOOL, r->boolVal = v ? VARIANT_TRUE : VARIANT_FALSE;
            else if constexpr (std::is_same_v<T, double>)
                r->vt = VT_R8, r->dblVal = v;
            else if constexpr (std::is_same_v<T, std::string>)
                r->vt = VT_BSTR, r->bstrVal = bstr(v);
            else if constexpr (std::is_same_v<T, std::vector<std::string>>) {
                // Names come as variants holding strings, as the CAD system hands lists out.
                SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, ULONG(v.size()));
                for (LONG i = 0; i < LONG(v.size()); ++i) {
                    VARIANT name;
                    name.vt = VT_BSTR;
                    name.bstrVal = bstr(v[std::size_t(i)]);
                    SafeArrayPutElement(array, &i, &name);
                    VariantClear(&name);
                }
                r->vt = VT_ARRAY | VT_VARIANT, r->parray = array;
            } else if constexpr (std::is_same_v<T, std::vector<double>>) {
                SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, ULONG(v.size()));
                for (LONG i = 0; i < LONG(v.size()); ++i)
                    SafeArrayPutElement(array, &i, const_cast<double*>(&v[std::size_t(i)]));
                r->vt = VT_ARRAY | VT_R8, r->parray = array;
            } else if constexpr (std::is_same_v<T, DocumentRef>) {
                r->vt = VT_DISPATCH;
                r->pdispVal = v.id ? new Object(access_, ObjectKind::Document, {v.id}) : nullptr;
            } else if constexpr (std::is_same_v<T, SheetRef>) {
                r->vt = VT_DISPATCH;
                r->pdispVal =
                    v.index >= 0 ? new Object(access_, ObjectKind::Sheet, {v.document, v.index}) : nullptr;
            }
        },
        value);
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
