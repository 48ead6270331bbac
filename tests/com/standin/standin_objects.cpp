#include "tests/com/standin/standin_objects.h"

#include "cad/number_text.h"
#include "platform/win_text.h"

#include <oleauto.h>

#include <algorithm>
#include <cwctype>
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

// The arguments of one call in the order the member lists them.
class Arguments {
public:
    explicit Arguments(const DISPPARAMS& p) : p_(p) {}
    UINT count() const { return p_.cArgs; }
    const VARIANT& operator[](UINT i) const { return p_.rgvarg[p_.cArgs - 1 - i]; }
    VARTYPE type(UINT i) const { return (*this)[i].vt; }
    std::string journalText() const
    {
        std::string text;
        for (UINT i = 0; i < count(); ++i)
            text += (i ? ", " : "") + typeName(type(i)) + " " + valueText((*this)[i]);
        return text;
    }

private:
    const DISPPARAMS& p_;
};

// A call with arguments of other types than the member takes.
struct TypeMismatch {
    UINT argument;  // in call order
};

void expectTypes(const Arguments& args, std::initializer_list<std::initializer_list<VARTYPE>> allowed)
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

class Object : public IDispatch {
public:
    explicit Object(std::vector<std::wstring> members) : members_(std::move(members)) { ++state().living; }
    virtual ~Object() { --state().living; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
            *object = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&references_)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return ULONG(left);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        HRESULT result = S_OK;
        for (UINT n = 0; n < count; ++n) {
            ids[n] = DISPID_UNKNOWN;
            for (std::size_t m = 0; m < members_.size(); ++m)
                if (_wcsicmp(names[n], members_[m].c_str()) == 0)
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
        const std::wstring& wide = members_[std::size_t(id - 1)];
        const std::string member(wide.begin(), wide.end());
        const Arguments args(*parameters);
        const bool put = flags & DISPATCH_PROPERTYPUT;
        state().journal.push_back(put ? member + "=" + args.journalText()
                                      : member + "(" + args.journalText() + ")");
        if (put && (parameters->cNamedArgs != 1 || parameters->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT))
            return DISP_E_PARAMNOTOPTIONAL;
        VARIANT ignored;
        VariantInit(&ignored);
        try {
            call(member, put, args, result ? result : &ignored);
            VariantClear(&ignored);
            return S_OK;
        } catch (const TypeMismatch& mismatch) {
            if (wrongArgument)
                *wrongArgument = args.count() - 1 - mismatch.argument;
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
    virtual void call(const std::string& member, bool put, const Arguments& args, VARIANT* result) = 0;

private:
    LONG references_ = 1;
    std::vector<std::wstring> members_;
};

class SheetObject : public Object {
public:
    explicit SheetObject(std::unique_ptr<cad::Sheet> sheet)
        : Object({L"GetName", L"GetTemplateName", L"GetProperties"}), sheet_(std::move(sheet))
    {
    }

protected:
    void call(const std::string& member, bool put, const Arguments& args, VARIANT* result) override
    {
        if (put)
            throw DISP_E_MEMBERNOTFOUND;
        expectTypes(args, {});
        if (member == "GetName")
            setString(result, sheet_->GetName());
        else if (member == "GetTemplateName")
            setString(result, sheet_->GetTemplateName());
        else {
            // The numbers come as an array of doubles, as the CAD system hands them out.
            const std::vector<double> properties = sheet_->GetProperties();
            SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, ULONG(properties.size()));
            for (LONG i = 0; i < LONG(properties.size()); ++i)
                SafeArrayPutElement(array, &i, const_cast<double*>(&properties[std::size_t(i)]));
            result->vt = VT_ARRAY | VT_R8;
            result->parray = array;
        }
    }

private:
    std::unique_ptr<cad::Sheet> sheet_;
};

class DocumentObject : public Object {
public:
    explicit DocumentObject(std::unique_ptr<cad::Document> document)
        : Object({L"GetType", L"GetSheetCount", L"GetSheetNames", L"GetCurrentSheet", L"ActivateSheet",
                  L"GetTitle", L"SaveAsSilent"}),
          document_(std::move(document))
    {
    }

protected:
    void call(const std::string& member, bool put, const Arguments& args, VARIANT* result) override
    {
        if (put)
            throw DISP_E_MEMBERNOTFOUND;
        if (member == "ActivateSheet") {
            expectTypes(args, {{VT_BYREF | VT_BSTR}});
            std::string name = utf8(*args[0].pbstrVal);
            setBool(result, cad::isTrue(document_->ActivateSheet(name)));
        } else if (member == "SaveAsSilent") {
            expectTypes(args, {{VT_BYREF | VT_BSTR}, {VT_BYREF | VT_BOOL}});
            std::string name = utf8(*args[0].pbstrVal);
            bool flag = *args[1].pboolVal != VARIANT_FALSE;
            setI4(result, document_->SaveAsSilent(name, flag));
        } else {
            expectTypes(args, {});
            if (member == "GetType")
                setI4(result, document_->GetType());
            else if (member == "GetSheetCount")
                setI4(result, document_->GetSheetCount());
            else if (member == "GetTitle")
                setString(result, document_->GetTitle());
            else if (member == "GetCurrentSheet") {
                std::unique_ptr<cad::Sheet> sheet = document_->GetCurrentSheet();
                setObject(result, sheet ? new SheetObject(std::move(sheet)) : nullptr);
            } else {
                // Names come as an array of variants holding strings.
                const std::vector<std::string> names = document_->GetSheetNames();
                SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, ULONG(names.size()));
                for (LONG i = 0; i < LONG(names.size()); ++i) {
                    VARIANT name;
                    setString(&name, names[std::size_t(i)]);
                    SafeArrayPutElement(array, &i, &name);
                    VariantClear(&name);
                }
                result->vt = VT_ARRAY | VT_VARIANT;
                result->parray = array;
            }
        }
    }

private:
    std::unique_ptr<cad::Document> document_;
};

class ApplicationObject : public Object {
public:
    explicit ApplicationObject(std::unique_ptr<cad::Application> application)
        : Object({L"Visible", L"ActiveDoc", L"GetUserPreferenceIntegerValue", L"GetUserPreferenceToggle",
                  L"GetUserPreferenceDoubleValue", L"SetUserPreferenceIntegerValue",
                  L"SetUserPreferenceToggle", L"SetUserPreferenceDoubleValue"}),
          application_(std::move(application))
    {
    }

protected:
    void call(const std::string& member, bool put, const Arguments& args, VARIANT* result) override
    {
        if (member == "Visible") {
            if (!put)
                throw DISP_E_MEMBERNOTFOUND;
            expectTypes(args, {{VT_BOOL}});
            application_->Visible(args[0].boolVal != VARIANT_FALSE);
            return;
        }
        if (put)
            throw DISP_E_MEMBERNOTFOUND;
        if (member == "ActiveDoc") {
            expectTypes(args, {});
            std::unique_ptr<cad::Document> document = application_->ActiveDoc();
            setObject(result, document ? new DocumentObject(std::move(document)) : nullptr);
        } else if (member == "GetUserPreferenceIntegerValue") {
            expectTypes(args, {{VT_I4}});
            setI2(result, application_->GetUserPreferenceIntegerValue(args[0].lVal));
        } else if (member == "GetUserPreferenceToggle") {
            expectTypes(args, {{VT_I4}});
            setBool(result, application_->GetUserPreferenceToggle(args[0].lVal));
        } else if (member == "GetUserPreferenceDoubleValue") {
            expectTypes(args, {{VT_I4}});
            result->vt = VT_R8;
            result->dblVal = application_->GetUserPreferenceDoubleValue(args[0].lVal);
        } else if (member == "SetUserPreferenceIntegerValue") {
            expectTypes(args, {{VT_I4}, {VT_I2, VT_I4}});
            const int16_t accepted =
                args.type(1) == VT_I2
                    ? application_->SetUserPreferenceIntegerValue(args[0].lVal, args[1].iVal)
                    : application_->SetUserPreferenceIntegerValue(args[0].lVal, int32_t(args[1].lVal));
            setBool(result, accepted != 0);
        } else if (member == "SetUserPreferenceToggle") {
            expectTypes(args, {{VT_I4}, {VT_BOOL, VT_I2}});
            if (args.type(1) == VT_BOOL)
                application_->SetUserPreferenceToggle(args[0].lVal, args[1].boolVal != VARIANT_FALSE);
            else
                application_->SetUserPreferenceToggle(args[0].lVal, int16_t(args[1].iVal));
            setBool(result, true);
        } else {
            expectTypes(args, {{VT_I4}, {VT_BYREF | VT_R8}});
            setBool(result, application_->SetUserPreferenceDoubleValue(args[0].lVal, *args[1].pdblVal) != 0);
        }
    }

private:
    std::unique_ptr<cad::Application> application_;
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
