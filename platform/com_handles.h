// Owners for what COM hands out and takes, on the tool's side of a call and on cadsim's alike:
// interface pointers, BSTRs, SAFEARRAYs and VARIANTs are released by their destructors, on every
// way out of a call, unless handed over.
#pragma once

#include "platform/win_text.h"

#include <oaidl.h>
#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace win {

// An owned interface pointer.
template <class Interface> class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already holds.
    explicit ComPtr(Interface* owned) : p_(owned) {}
    ComPtr(const ComPtr& other) : p_(other.p_)
    {
        if (p_)
            p_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(p_, other.p_);
        return *this;
    }
    ~ComPtr()
    {
        if (p_)
            p_->Release();
    }
    Interface* get() const { return p_; }
    Interface* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For functions that hand out a new reference; drops the one held.
    Interface** put()
    {
        *this = ComPtr();
        return &p_;
    }

private:
    Interface* p_ = nullptr;
};

// An owned BSTR.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::string_view utf8);
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
    ~Bstr() { SysFreeString(b_); }
    BSTR get() const { return b_; }
    // For a by-reference argument: the server may free it and put another.
    BSTR* slot() { return &b_; }
    // Handed over to whoever frees it next (COM, for a text put into an EXCEPINFO).
    BSTR release() { return std::exchange(b_, nullptr); }
    std::string utf8() const;

private:
    BSTR b_ = nullptr;
};

std::string utf8FromBstr(BSTR text);

// An owned VARIANT; by-reference variants point at storage owned elsewhere.
class Variant {
public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept : v_(other.v_) { VariantInit(&other.v_); }
    ~Variant() { VariantClear(&v_); }

    static Variant i2(int16_t value);
    static Variant i4(int32_t value);
    static Variant boolean(bool value);
    static Variant r8(double value);
    static Variant string(std::string_view utf8);
    static Variant referenceTo(BSTR* text);
    static Variant referenceTo(VARIANT_BOOL* flag);
    static Variant referenceTo(double* number);
    // Arrays as the CAD system hands them out: texts as variants holding strings.
    static Variant array(const std::vector<std::string>& texts);
    static Variant array(const std::vector<double>& numbers);
    // Takes over a reference the caller holds; null is "Nothing".
    static Variant object(IDispatch* owned);

    VARIANT* get() { return &v_; }
    const VARIANT& operator*() const { return v_; }
    // Handed over to whoever clears it next (the caller of an Invoke, for its result).
    VARIANT release()
    {
        const VARIANT v = v_;
        VariantInit(&v_);
        return v;
    }

private:
    VARIANT v_;
};

// Access to the elements of a SAFEARRAY for as long as it lives.
class ArrayAccess {
public:
    explicit ArrayAccess(SAFEARRAY* array);
    ArrayAccess(const ArrayAccess&) = delete;
    ArrayAccess& operator=(const ArrayAccess&) = delete;
    ~ArrayAccess();
    bool ok() const { return data_ != nullptr; }
    void* data() const { return data_; }

private:
    SAFEARRAY* array_;
    void* data_ = nullptr;
};

// An owned SAFEARRAY, until it is handed over into a VARIANT.
class SafeArray {
public:
    explicit SafeArray(SAFEARRAY* owned) : a_(owned) {}
    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;
    ~SafeArray()
    {
        if (a_)
            SafeArrayDestroy(a_);
    }
    SAFEARRAY* get() const { return a_; }
    SAFEARRAY* release() { return std::exchange(a_, nullptr); }

private:
    SAFEARRAY* a_;
};

// "VT_BYREF|VT_BSTR", "leer", "VT_17": a variant type as errors and the journal name it.
std::string typeName(VARTYPE type);

}  // namespace win
