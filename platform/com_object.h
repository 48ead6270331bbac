// What every COM object of ours repeats: IUnknown for objects the server owns or for counted
// ones, IDispatch objects without type information, a class factory, and the
// arguments of a call in the order the member lists them.
#pragma once

#include <oaidl.h>
#include <objbase.h>
#include <windows.h>

#include <functional>
#include <utility>

namespace win {

// One interface besides IUnknown, on an object its owner keeps alive: no counting.
template <class Interface> class Unowned : public Interface {
public:
    explicit Unowned(const IID& iid) : iid_(iid) {}
    virtual ~Unowned() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, iid_)) {
            *object = static_cast<Interface*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

private:
    const IID& iid_;
};

// Makes the objects COM asks for; null from make is E_FAIL.
class ClassFactory : public Unowned<IClassFactory> {
public:
    explicit ClassFactory(std::function<IDispatch*()> make)
        : Unowned(IID_IClassFactory), make_(std::move(make))
    {
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override
    {
        *object = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IDispatch* made = make_();
        if (!made)
            return E_FAIL;
        const HRESULT result = made->QueryInterface(iid, object);
        made->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    std::function<IDispatch*()> make_;
};

// One interface besides IUnknown, reference-counted: the object goes with its last reference.
template <class Interface> class Counted : public Interface {
public:
    explicit Counted(const IID& iid) : iid_(iid) {}
    virtual ~Counted() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, iid_)) {
            *object = static_cast<Interface*>(this);
            this->AddRef();
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

private:
    const IID& iid_;
    LONG references_ = 1;
};

// An automation object called by member name only.
class DispatchObject : public Counted<IDispatch> {
public:
    DispatchObject() : Counted(IID_IDispatch) {}
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
};

// The arguments of one call in the order the member lists them (COM passes them last first).
class Arguments {
public:
    explicit Arguments(const DISPPARAMS& p) : p_(p) {}
    UINT count() const { return p_.cArgs; }
    const VARIANT& operator[](UINT i) const { return p_.rgvarg[p_.cArgs - 1 - i]; }
    VARTYPE type(UINT i) const { return (*this)[i].vt; }
    // For DISPPARAMS' puArgErr, which counts from the last.
    UINT comIndex(UINT i) const { return p_.cArgs - 1 - i; }

private:
    const DISPPARAMS& p_;
};

}  // namespace win
