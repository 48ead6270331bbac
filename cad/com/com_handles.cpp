#include "cad/com/com_handles.h"

namespace cad::com {

Bstr::Bstr(std::string_view utf8)
{
    const std::wstring wide = win::wideFromUtf8(utf8);
    b_ = SysAllocStringLen(wide.data(), UINT(wide.size()));
    if (!b_)
        throw std::bad_alloc();
}

std::string Bstr::utf8() const
{
    return utf8FromBstr(b_);
}

std::string utf8FromBstr(BSTR text)
{
    // A null BSTR is the empty string.
    return text ? win::utf8FromWide(std::wstring_view(text, SysStringLen(text))) : std::string();
}

Variant Variant::i2(int16_t value)
{
    Variant v;
    v.v_.vt = VT_I2;
    v.v_.iVal = value;
    return v;
}

Variant Variant::i4(int32_t value)
{
    Variant v;
    v.v_.vt = VT_I4;
    v.v_.lVal = value;
    return v;
}

Variant Variant::boolean(bool value)
{
    Variant v;
    v.v_.vt = VT_BOOL;
    v.v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
}

Variant Variant::r8(double value)
{
    Variant v;
    v.v_.vt = VT_R8;
    v.v_.dblVal = value;
    return v;
}

Variant Variant::string(std::string_view utf8)
{
    Bstr text(utf8);
    Variant v;
    v.v_.vt = VT_BSTR;
    v.v_.bstrVal = std::exchange(*text.slot(), nullptr);
    return v;
}

Variant Variant::referenceTo(BSTR* text)
{
    Variant v;
    v.v_.vt = VT_BYREF | VT_BSTR;
    v.v_.pbstrVal = text;
    return v;
}

Variant Variant::referenceTo(VARIANT_BOOL* flag)
{
    Variant v;
    v.v_.vt = VT_BYREF | VT_BOOL;
    v.v_.pboolVal = flag;
    return v;
}

Variant Variant::referenceTo(double* number)
{
    Variant v;
    v.v_.vt = VT_BYREF | VT_R8;
    v.v_.pdblVal = number;
    return v;
}

ArrayAccess::ArrayAccess(SAFEARRAY* array) : array_(array)
{
    if (!array_ || FAILED(SafeArrayAccessData(array_, &data_)))
        data_ = nullptr;
}

ArrayAccess::~ArrayAccess()
{
    if (data_)
        SafeArrayUnaccessData(array_);
}

Apartment::Apartment()
{
    // A thread that already runs COM in the other model (the toolkit may have
    // set it up) can still make our calls; only our own entry is undone later.
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    entered_ = SUCCEEDED(result);
    filter_ = std::make_unique<MessageFilterScope>();
}

Apartment::~Apartment()
{
    filter_.reset();
    if (entered_)
        CoUninitialize();
}

}  // namespace cad::com
