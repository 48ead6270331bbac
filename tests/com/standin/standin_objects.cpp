#include "tests/com/standin/standin_objects.h"

#include "cad/number_text.h"
#include "platform/com_object.h"
#include "platform/win_text.h"

#include <oleauto.h>

#include <algorithm>
#include <cwctype>
#include <functional>
#include <memory>

namespace standin {

namespace {

std::string utf8(BSTR text)
{
    return text ? win::utf8FromWide(std::wstring_view(text, SysStringLen(text))) : std::string();
}

BSTR bstr(const std::string& text)
{
    const std::wstring wide = win::wideFromUtf8(text);
    return SysAllocStringLen(wide.data(), UINT(wide.size()));
}

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

using win::Arguments;

std::string journalText(const Arguments& args)
{
    std::string text;
    for (UINT i = 0; i < args.count(); ++i)
        text += (i ? ", " : "") + typeName(args.type(i)) + " " + valueText(args[i]);
    return text;
}

// A call with arguments of other types than the member takes.
struct TypeMismatch {
    UINT argument;  // in call order
};

// Per argument, the variant types the member accepts.
using Types = std::vector<std::vector<VARTYPE>>;

void expectTypes(const Arguments& args, const Types& allowed)
{
    if (args.count() != allowed.size())
        throw DISP_E_BADPARAMCOUNT;
    UINT i = 0;
    for (const auto& types : allowed) {
        if (std::find(types.begin(), types.end(), args.type(i)) == types.end())
            throw TypeMismatch{i};
        ++i;
    }
}

// Results; a null object is "Nothing".
const auto setI2 = [](VARIANT* result, int16_t value) { result->vt = VT_I2, result->iVal = value; };
const auto setI4 = [](VARIANT* result, int32_t value) { result->vt = VT_I4, result->lVal = value; };
const auto setBool = [](VARIANT* r, bool value) {
    r->vt = VT_BOOL, r->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
};
const auto setString = [](VARIANT* result, const std::string& value) {
    result->vt = VT_BSTR, result->bstrVal = bstr(value);
};
const auto setObject = [](VARIANT* result, IDispatch* object) {
    result->vt = VT_DISPATCH, result->pdispVal = object;
};
const auto setDouble = [](VARIANT* result, double value) { result->vt = VT_R8, result->dblVal = value; };

// An array of `type` with one element per value, as the CAD system hands lists out.
template <class T, class Put>
void setArray(VARIANT* result, VARTYPE type, const std::vector<T>& values, Put put)
{
    SAFEARRAY* array = SafeArrayCreateVector(type, 0, ULONG(values.size()));
    for (LONG i = 0; i < LONG(values.size()); ++i)
        put(array, i, values[std::size_t(i)]);
    result->vt = VT_ARRAY | type;
    result->parray = array;
}

// One member of an object: the arguments it takes and what it does with them.
struct Member {
    std::string name;
    Types types;
    std::function<void(const Arguments&, VARIANT*)> run;
    bool put = false;  // a property put (Visible = ...), not a call
};

class Object : public win::DispatchObject {
public:
    Object() { ++state().living; }
    ~Object() override { --state().living; }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        HRESULT result = S_OK;
        for (UINT n = 0; n < count; ++n) {
            ids[n] = DISPID_UNKNOWN;
            for (std::size_t m = 0; m < members_.size(); ++m)
                if (_wcsicmp(names[n], win::wideFromUtf8(members_[m].name).c_str()) == 0)
                    ids[n] = DISPID(m + 1);
            if (ids[n] == DISPID_UNKNOWN)
                result = DISP_E_UNKNOWNNAME;
        }
        return result;
    }

    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT* wrongArgument) override
    {
        if (id < 1 || std::size_t(id) > members_.size())
            return DISP_E_MEMBERNOTFOUND;
        const Member& member = members_[std::size_t(id - 1)];
        const Arguments args(*parameters);
        const bool put = flags & DISPATCH_PROPERTYPUT;
        state().journal.push_back(put ? member.name + "=" + journalText(args)
                                      : member.name + "(" + journalText(args) + ")");
        if (put && (parameters->cNamedArgs != 1 || parameters->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
            return DISP_E_PARAMNOTOPTIONAL;
        VARIANT ignored;
        VariantInit(&ignored);
        try {
            if (put != member.put)
                throw DISP_E_MEMBERNOTFOUND;
            expectTypes(args, member.types);
            member.run(args, result ? result : &ignored);
            VariantClear(&ignored);
            return S_OK;
        } catch (const TypeMismatch& mismatch) {
            if (wrongArgument)
                *wrongArgument = args.comIndex(mismatch.argument);
            return DISP_E_TYPEMISMATCH;
        } catch (HRESULT failure) {
            return failure;
        } catch (const std::exception& error) {
            if (exception) {
                *exception = EXCEPINFO{};
                exception->scode = E_FAIL;
                exception->bstrSource = bstr("KUP-Ersatzserver");
                exception->bstrDescription = bstr(error.what());
            }
            return DISP_E_EXCEPTION;
        }
    }

protected:
    void add(std::string name, Types types, std::function<void(const Arguments&, VARIANT*)> run,
             bool put = false)
    {
        members_.push_back({std::move(name), std::move(types), std::move(run), put});
    }

private:
    std::vector<Member> members_;
};

class SheetObject : public Object {
public:
    explicit SheetObject(std::unique_ptr<cad::Sheet> sheet) : sheet_(std::move(sheet))
    {
        add("GetName", {}, [this](auto&, auto r) { setString(r, sheet_->GetName()); });
        add("GetTemplateName", {}, [this](auto&, auto r) { setString(r, sheet_->GetTemplateName()); });
        add("GetProperties", {}, [this](auto&, auto r) {
            setArray(r, VT_R8, sheet_->GetProperties(),
                     [](SAFEARRAY* a, LONG i, double v) { SafeArrayPutElement(a, &i, &v); });
        });
    }

private:
    std::unique_ptr<cad::Sheet> sheet_;
};

class DocumentObject : public Object {
public:
    explicit DocumentObject(std::unique_ptr<cad::Document> document) : doc_(std::move(document))
    {
        add("GetType", {}, [this](auto&, auto r) { setI4(r, doc_->GetType()); });
        add("GetSheetCount", {}, [this](auto&, auto r) { setI4(r, doc_->GetSheetCount()); });
        add("GetSheetNames", {}, [this](auto&, auto r) {
            // Names come as variants holding strings.
            setArray(r, VT_VARIANT, doc_->GetSheetNames(), [](SAFEARRAY* a, LONG i, const std::string& text) {
                VARIANT name;
                setString(&name, text);
                SafeArrayPutElement(a, &i, &name);
                VariantClear(&name);
            });
        });
        add("GetCurrentSheet", {}, [this](auto&, auto r) {
            std::unique_ptr<cad::Sheet> sheet = doc_->GetCurrentSheet();
            setObject(r, sheet ? new SheetObject(std::move(sheet)) : nullptr);
        });
        add("ActivateSheet", {{VT_BYREF | VT_BSTR}}, [this](auto& a, auto r) {
            std::string name = utf8(*a[0].pbstrVal);
            setBool(r, cad::isTrue(doc_->ActivateSheet(name)));
        });
        add("GetTitle", {}, [this](auto&, auto r) { setString(r, doc_->GetTitle()); });
        add("SaveAsSilent", {{VT_BYREF | VT_BSTR}, {VT_BYREF | VT_BOOL}}, [this](auto& a, auto r) {
            std::string name = utf8(*a[0].pbstrVal);
            bool flag = *a[1].pboolVal != VARIANT_FALSE;
            setI4(r, doc_->SaveAsSilent(name, flag));
        });
    }

private:
    std::unique_ptr<cad::Document> doc_;
};

class ApplicationObject : public Object {
public:
    explicit ApplicationObject(std::unique_ptr<cad::Application> application) : app_(std::move(application))
    {
        add(
            "Visible", {{VT_BOOL}}, [this](auto& a, auto) { app_->Visible(a[0].boolVal != VARIANT_FALSE); },
            true);
        add("ActiveDoc", {}, [this](auto&, auto r) {
            std::unique_ptr<cad::Document> document = app_->ActiveDoc();
            setObject(r, document ? new DocumentObject(std::move(document)) : nullptr);
        });
        add("GetUserPreferenceIntegerValue", {{VT_I4}},
            [this](auto& a, auto r) { setI2(r, app_->GetUserPreferenceIntegerValue(a[0].lVal)); });
        add("GetUserPreferenceToggle", {{VT_I4}},
            [this](auto& a, auto r) { setBool(r, app_->GetUserPreferenceToggle(a[0].lVal)); });
        add("GetUserPreferenceDoubleValue", {{VT_I4}},
            [this](auto& a, auto r) { setDouble(r, app_->GetUserPreferenceDoubleValue(a[0].lVal)); });
        add("SetUserPreferenceIntegerValue", {{VT_I4}, {VT_I2, VT_I4}}, [this](auto& a, auto r) {
            const LONG p = a[0].lVal;
            setBool(r,
                    (a.type(1) == VT_I2 ? app_->SetUserPreferenceIntegerValue(p, a[1].iVal)
                                        : app_->SetUserPreferenceIntegerValue(p, int32_t(a[1].lVal))) != 0);
        });
        add("SetUserPreferenceToggle", {{VT_I4}, {VT_BOOL, VT_I2}}, [this](auto& a, auto r) {
            if (a.type(1) == VT_BOOL)
                app_->SetUserPreferenceToggle(a[0].lVal, a[1].boolVal != VARIANT_FALSE);
            else
                app_->SetUserPreferenceToggle(a[0].lVal, int16_t(a[1].iVal));
            setBool(r, true);
        });
        add("SetUserPreferenceDoubleValue", {{VT_I4}, {VT_BYREF | VT_R8}}, [this](auto& a, auto r) {
            setBool(r, app_->SetUserPreferenceDoubleValue(a[0].lVal, *a[1].pdblVal) != 0);
        });
    }

private:
    std::unique_ptr<cad::Application> app_;
};

}  // namespace

State& state()
{
    static State* instance = [] {
        auto* s = new State;
        s->cad.install();
        fake::setDefaultPreferences(s->cad);
        return s;
    }();
    return *instance;
}

IDispatch* newApplication()
{
    // The scripted CAD's own attach; its journal is not the one the runner reads.
    std::unique_ptr<cad::Application> application = cad::attach();
    if (!application)
        return nullptr;
    ++state().created;
    return new ApplicationObject(std::move(application));
}

}  // namespace standin
