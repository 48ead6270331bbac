#include "cad/com/dispatch.h"

#include "cad/automation.h"

#include <cstdio>
#include <type_traits>

namespace cad::com {

namespace {

using win::ArrayAccess;
using win::typeName;
using win::utf8FromBstr;

[[noreturn]] void fail(const char* member, const std::string& text)
{
    throw AutomationError(std::string(member) + ": " + text);
}

// A call given up unanswered or turned away as busy, whatever it was; other failures are the
// caller's to read.
void failWithoutAnswer(const char* member, const Answer& answer, std::chrono::milliseconds bound)
{
    if (answer.unanswered)
        fail(member, unansweredText(bound));
    if (isBusyAnswer(answer.result))
        fail(member, kBusyText);
}

std::string codeText(HRESULT result)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%08lX", static_cast<unsigned long>(result));
    return code;
}

// The answers of COM itself when the server process has gone away; the
// system's texts for them are English under wine and say nothing to a user.
bool serverGone(HRESULT result)
{
    return result == RPC_E_DISCONNECTED || result == RPC_E_SERVER_DIED || result == RPC_E_SERVER_DIED_DNE ||
           result == CO_E_OBJNOTCONNECTED || result == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
           result == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED);
}

// Owns the texts a server puts into an EXCEPINFO.
struct ExceptionInfo {
    EXCEPINFO info{};
    ExceptionInfo(const ExceptionInfo&) = delete;
    ExceptionInfo& operator=(const ExceptionInfo&) = delete;
    ExceptionInfo() = default;
    ~ExceptionInfo()
    {
        SysFreeString(info.bstrSource);
        SysFreeString(info.bstrDescription);
        SysFreeString(info.bstrHelpFile);
    }
    std::string text(HRESULT invokeResult)
    {
        if (info.pfnDeferredFillIn)
            info.pfnDeferredFillIn(&info);
        const std::string description = utf8FromBstr(info.bstrDescription);
        if (!description.empty())
            return description;
        return hresultText(FAILED(info.scode) ? info.scode : invokeResult);
    }
};

// The value converted to type, or an AutomationError naming what came instead.
Variant converted(const Reply& reply, VARTYPE type)
{
    Variant value;
    const HRESULT changed = VariantChangeType(value.get(), const_cast<VARIANT*>(&*reply.value), 0, type);
    if (FAILED(changed))
        fail(reply.member, std::string("unerwartete Antwort (") + typeName((*reply.value).vt) +
                               "): " + hresultText(changed));
    return value;
}

// The array a result holds directly or by reference; null for an empty answer.
SAFEARRAY* arrayOf(const VARIANT& v, const char* member)
{
    if (v.vt == VT_EMPTY || v.vt == VT_NULL)
        return nullptr;
    if (v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal)
        return arrayOf(*v.pvarVal, member);
    if (!(v.vt & VT_ARRAY))
        fail(member, std::string("Feld erwartet, Antwort ist ") + typeName(v.vt));
    SAFEARRAY* array = (v.vt & VT_BYREF) ? (v.pparray ? *v.pparray : nullptr) : v.parray;
    if (array && SafeArrayGetDim(array) != 1)
        fail(member, "Feld mit mehr als einer Dimension");
    return array;
}

template <class T, class Convert>
std::vector<T> elementsOf(const Reply& reply, VARTYPE elementType, Convert convert)
{
    const char* member = reply.member;
    SAFEARRAY* array = arrayOf(*reply.value, member);
    std::vector<T> elements;
    if (!array)
        return elements;
    VARTYPE stored = VT_EMPTY;
    SafeArrayGetVartype(array, &stored);
    if (stored != elementType && stored != VT_VARIANT)
        fail(member, std::string("Feld von ") + typeName(stored) + " statt " + typeName(elementType));
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    const ArrayAccess access(array);
    if (!access.ok() && upper >= lower)
        fail(member, "Feld nicht lesbar");
    for (LONG i = 0; i <= upper - lower; ++i) {
        if (stored == VT_VARIANT) {
            Reply element{Variant(), member};
            VariantCopyInd(element.value.get(), static_cast<VARIANT*>(access.data()) + i);
            elements.push_back(convert(element));
        } else {
            elements.push_back(
                convert(static_cast<const char*>(access.data()) + i * SafeArrayGetElemsize(array)));
        }
    }
    return elements;
}

}  // namespace

Dispatch::Dispatch(std::shared_ptr<Apartment> apartment, ComPtr<IDispatch> object, Bounds bounds)
    : apartment_(std::move(apartment)), object_(std::move(object)), bounds_(bounds)
{
}

Dispatch::~Dispatch()
{
    if (object_)
        callBounded(bounds_.call, [this] {
            object_ = ComPtr<IDispatch>();
            return S_OK;
        });
}

Reply Dispatch::call(const char* member, std::initializer_list<Variant*> args, Wait wait)
{
    return {invoke(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, std::vector<Variant*>(args),
                   wait == Wait::Save ? bounds_.save : bounds_.call),
            member};
}

void Dispatch::put(members::Id property, Variant& value)
{
    invoke(members::nameOf(property), DISPATCH_PROPERTYPUT, {&value}, bounds_.call);
}

Variant Dispatch::invoke(const char* member, WORD flags, const std::vector<Variant*>& args,
                         std::chrono::milliseconds bound)
{
    std::wstring name = win::wideFromUtf8(member);
    LPOLESTR names[] = {name.data()};
    DISPID id = DISPID_UNKNOWN;
    const Answer found = callBounded(
        bounds_.call, [&] { return object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id); });
    failWithoutAnswer(member, found, bounds_.call);
    if (FAILED(found.result))
        fail(member, hresultText(found.result));

    // COM takes the arguments last first.
    std::vector<VARIANTARG> reversed(args.size());
    for (std::size_t i = 0; i < args.size(); ++i)
        reversed[i] = *args[args.size() - 1 - i]->get();
    DISPID putId = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{reversed.data(), nullptr, UINT(reversed.size()), 0};
    if (flags == DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &putId;
        parameters.cNamedArgs = 1;
    }

    Variant result;
    ExceptionInfo exception;
    UINT wrongArgument = 0;
    const Answer answer = callBounded(bound, [&] {
        return object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters, result.get(),
                               &exception.info, &wrongArgument);
    });
    failWithoutAnswer(member, answer, bound);
    const HRESULT invoked = answer.result;
    if (invoked == DISP_E_EXCEPTION)
        fail(member, exception.text(invoked));
    if (invoked == DISP_E_TYPEMISMATCH || invoked == DISP_E_PARAMNOTFOUND)
        fail(member, hresultText(invoked) + ", Argument " + std::to_string(args.size() - wrongArgument));
    if (serverGone(invoked))
        fail(member, "Solidworks ist nicht mehr erreichbar (beendet?), " + codeText(invoked));
    if (FAILED(invoked))
        fail(member, hresultText(invoked));
    return result;
}

std::string hresultText(HRESULT result)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        DWORD(result), 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring();
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    if (text.empty())
        return "Automatisierungsfehler " + codeText(result);
    return win::utf8FromWide(text) + " (" + codeText(result) + ")";
}

int32_t asInt32(const Reply& reply)
{
    return (*converted(reply, VT_I4)).lVal;
}

int16_t asInt16(const Reply& reply)
{
    return (*converted(reply, VT_I2)).iVal;
}

bool asBool(const Reply& reply)
{
    return (*converted(reply, VT_BOOL)).boolVal != VARIANT_FALSE;
}

double asDouble(const Reply& reply)
{
    return (*converted(reply, VT_R8)).dblVal;
}

std::string asString(const Reply& reply)
{
    const VARTYPE type = (*reply.value).vt;
    if (type == VT_EMPTY || type == VT_NULL)
        return {};
    return utf8FromBstr((*converted(reply, VT_BSTR)).bstrVal);
}

ComPtr<IDispatch> asDispatch(const Reply& reply, std::chrono::milliseconds bound)
{
    const char* member = reply.member;
    const VARIANT& v = *reply.value;
    ComPtr<IDispatch> object;
    IUnknown* unknown = nullptr;
    switch (v.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return object;
    case VT_DISPATCH:
        unknown = v.pdispVal;
        break;
    case VT_UNKNOWN:
        unknown = v.punkVal;
        break;
    case VT_DISPATCH | VT_BYREF:
        unknown = v.ppdispVal ? *v.ppdispVal : nullptr;
        break;
    default:
        fail(member, std::string("Objekt erwartet, Antwort ist ") + typeName(v.vt));
    }
    if (!unknown)
        return object;
    const Answer asked = callBounded(bound, [&] {
        return unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(object.put()));
    });
    failWithoutAnswer(member, asked, bound);
    if (FAILED(asked.result))
        fail(member, "das Objekt ist nicht automatisierbar");
    return object;
}

std::vector<std::string> asStrings(const Reply& reply)
{
    return elementsOf<std::string>(reply, VT_BSTR, [](const auto& element) {
        if constexpr (std::is_same_v<std::decay_t<decltype(element)>, Reply>)
            return asString(element);
        else
            return utf8FromBstr(*static_cast<const BSTR*>(static_cast<const void*>(element)));
    });
}

std::vector<double> asDoubles(const Reply& reply)
{
    return elementsOf<double>(reply, VT_R8, [](const auto& element) {
        if constexpr (std::is_same_v<std::decay_t<decltype(element)>, Reply>)
            return asDouble(element);
        else
            return *static_cast<const double*>(static_cast<const void*>(element));
    });
}

}  // namespace cad::com
