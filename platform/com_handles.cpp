#include "platform/com_handles.h"

namespace win {

Bstr::Bstr(std::string_view utf8)
{
    const std::wstring wide = wideFromUtf8(utf8);
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
    return text ? utf8FromWide(std::wstring_view(text, SysStringLen(text))) : std::string();
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
    v.v_.bstrVal = text.release();
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

Variant Variant::array(const std::vector<std::string>& texts)
{
    SafeArray array(SafeArrayCreateVector(VT_VARIANT, 0, ULONG(texts.size())));
    for (LONG i = 0; i < LONG(texts.size()); ++i) {
        Variant text = string(texts[std::size_t(i)]);
        SafeArrayPutElement(array.get(), &i, text.get());  // copies it
    }
    Variant v;
    v.v_.vt = VT_ARRAY | VT_VARIANT;
    v.v_.parray = array.release();
    return v;
}

Variant Variant::array(const std::vector<double>& numbers)
{
    SafeArray array(SafeArrayCreateVector(VT_R8, 0, ULONG(numbers.size())));
    for (LONG i = 0; i < LONG(numbers.size()); ++i)
        SafeArrayPutElement(array.get(), &i, const_cast<double*>(&numbers[std::size_t(i)]));
    Variant v;
    v.v_.vt = VT_ARRAY | VT_R8;
    v.v_.parray = array.release();
    return v;
}

Variant Variant::object(IDispatch* owned)
{
    Variant v;
    v.v_.vt = VT_DISPATCH;
    v.v_.pdispVal = owned;
    return v;
}

std::string typeName(VARTYPE type)
{
    const char* name = nullptr;
    switch (type & VT_TYPEMASK) {
    case VT_EMPTY:
        name = "leer";
        break;
    case VT_NULL:
        name = "Null";
        break;
    case VT_I2:
        name = "VT_I2";
        break;
    case VT_I4:
        name = "VT_I4";
        break;
    case VT_R4:
        name = "VT_R4";
        break;
    case VT_R8:
        name = "VT_R8";
        break;
    case VT_BSTR:
        name = "VT_BSTR";
        break;
    case VT_DISPATCH:
        name = "VT_DISPATCH";
        break;
    case VT_BOOL:
        name = "VT_BOOL";
        break;
    case VT_VARIANT:
        name = "VT_VARIANT";
        break;
    case VT_UNKNOWN:
        name = "VT_UNKNOWN";
        break;
    }
    return std::string((type & VT_BYREF) ? "VT_BYREF|" : "") + ((type & VT_ARRAY) ? "VT_ARRAY|" : "") +
           (name ? name : "VT_" + std::to_string(type & VT_TYPEMASK));
}

}  // namespace win
