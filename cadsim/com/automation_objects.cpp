#include "cadsim/com/automation_objects.h"

#include "platform/com_object.h"

#include "platform/win_text.h"

#include <oleauto.h>

// objbase.h makes "interface" a keyword for struct; the member table names a field so.
#undef interface

#include "cad/number_text.h"
#include "cadsim/calls.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace cadsim::com {

namespace {

using cad::dbus::contract::Interface;
using cad::dbus::contract::kMembers;

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

// Per argument, the variant types the member accepts. The CAD system itself declares the file
// and sheet names and the save flag by value (SaveAsSilent(ByVal NewName As String, ByVal
// SaveAsCopy As Boolean), ActivateSheet(ByVal Name As String)) and takes them by value or by
// reference alike. The tool sends them by reference, as its Document members take them; cadsim
// takes that form only, so that a change in what the tool sends fails the tests here instead of
// passing unseen. What the tool's writes send in two widths takes both.
using Types = std::vector<std::vector<VARTYPE>>;

Types typesOf(MemberId member)
{
    constexpr VARTYPE text = VT_BSTR, textRef = VT_BYREF | VT_BSTR;
    switch (member) {
    case MemberId::GetUserPreferenceIntegerValue:
    case MemberId::GetUserPreferenceToggle:
    case MemberId::GetUserPreferenceDoubleValue:
        return {{VT_I4}};
    case MemberId::SetUserPreferenceIntegerValue:
        return {{VT_I4}, {VT_I2, VT_I4}};
    case MemberId::SetUserPreferenceToggle:
        return {{VT_I4}, {VT_BOOL, VT_I2}};
    case MemberId::SetUserPreferenceDoubleValue:
        return {{VT_I4}, {VT_BYREF | VT_R8}};
    case MemberId::SaveAsSilent:
        return {{textRef}, {VT_BYREF | VT_BOOL}};
    case MemberId::ActivateSheet:
        return {{textRef}};
    // cadsim's own control members are easy on their callers.
    case MemberId::OpenDocument:
        return {{text, textRef}};
    case MemberId::InjectFault:
        return {{text, textRef}, {text, textRef}, {text, textRef}};
    default:
        return {};
    }
}

std::vector<Argument> argumentsOf(const Arguments& args, const Types& allowed)
{
    if (args.count() != allowed.size())
        throw HRESULT(DISP_E_BADPARAMCOUNT);
    std::vector<Argument> values;
    for (UINT i = 0; i < args.count(); ++i) {
        const VARTYPE type = args.type(i);
        if (std::find(allowed[i].begin(), allowed[i].end(), type) == allowed[i].end())
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

constexpr DISPID kVisibleId = 1000;

class Object : public win::DispatchObject {
public:
    Object(SessionAccess& access, std::vector<Interface> offered, Target target)
        : access_(access), offered_(std::move(offered)), target_(target)
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
            for (std::size_t m = 0; m < kMembers.size(); ++m)
                if (offers(kMembers[m].interface) && same(kMembers[m].name))
                    ids[n] = DISPID(m + 1);
            if (offers(cad::dbus::contract::kVisible.interface) && same(cad::dbus::contract::kVisible.name))
                ids[n] = kVisibleId;
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
        journal(id, flags, args);
        try {
            Answer answer;
            if (id == kVisibleId && offers(cad::dbus::contract::kVisible.interface))
                answer = visible(flags, args, answerSlot);
            else
                answer = member(id, flags, args, answerSlot);
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
    // Every call of a CAD member as it arrived, for the tests that check what the tool sends.
    void journal(DISPID id, WORD flags, const Arguments& args) const
    {
        if (!journalOn)
            return;
        std::string line;
        if (id == kVisibleId)
            line = std::string(cad::dbus::contract::kVisible.name) + "=" + journalText(args);
        else if (id >= 1 && std::size_t(id) <= kMembers.size() &&
                 kMembers[std::size_t(id - 1)].interface != Interface::Control)
            line = std::string(kMembers[std::size_t(id - 1)].name) + "(" + journalText(args) + ")";
        if (line.empty() || ((flags & DISPATCH_PROPERTYPUT) != 0) != (id == kVisibleId))
            return;
        std::printf("cadsim: Aufruf %s\n", line.c_str());
        std::fflush(stdout);
    }

    bool offers(Interface interface) const
    {
        return std::find(offered_.begin(), offered_.end(), interface) != offered_.end();
    }

    Answer visible(WORD flags, const Arguments& args, VARIANT* result)
    {
        Answer answer;
        if (flags & DISPATCH_PROPERTYPUT) {
            const std::vector<Argument> values = argumentsOf(args, {{VT_BOOL}});
            if (!access_.run([&] { answer = putVisible(access_.session(), std::get<bool>(values[0])); }))
                throw HRESULT(CO_E_SERVER_STOPPING);
            return answer;
        }
        argumentsOf(args, {});
        if (!access_.run([&] { answer.value = access_.session().visible(); }))
            throw HRESULT(CO_E_SERVER_STOPPING);
        put(result, answer.value);
        return answer;
    }

    Answer member(DISPID id, WORD flags, const Arguments& args, VARIANT* result)
    {
        if (id < 1 || std::size_t(id) > kMembers.size() || !offers(kMembers[std::size_t(id - 1)].interface) ||
            !(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
            throw HRESULT(DISP_E_MEMBERNOTFOUND);
        const auto& contract = kMembers[std::size_t(id - 1)];
        const std::vector<Argument> values = argumentsOf(args, typesOf(contract.id));
        Answer answer;
        bool ended = false;
        const bool ran = access_.run([&] {
            CadSession& session = access_.session();
            answer = answerCall(session, contract.id, target_, values);
            const std::string name(contract.name);
            const std::string first = values.empty() ? std::string() : argumentText(values[0]);
            while (answer.hang && !ended) {
                ended = !access_.waitWhileHung([&] {
                    const Fault* fault = session.faultFor(name, first);
                    return fault && fault->kind == "hang";
                });
                if (!ended)
                    answer = answerCall(session, contract.id, target_, values);
            }
            if (contract.interface == Interface::Control)
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
    std::vector<Interface> offered_;
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
                r->pdispVal = v.id ? new Object(access_, {Interface::ModelDoc, Interface::DrawingDoc}, {v.id})
                                   : nullptr;
            } else if constexpr (std::is_same_v<T, SheetRef>) {
                r->vt = VT_DISPATCH;
                r->pdispVal =
                    v.index >= 0 ? new Object(access_, {Interface::Sheet}, {v.document, v.index}) : nullptr;
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
    return new Object(access, {Interface::Application}, {});
}

IDispatch* newControlObject(SessionAccess& access)
{
    return new Object(access, {Interface::Control}, {});
}

}  // namespace cadsim::com
