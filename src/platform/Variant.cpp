#include "platform/Variant.h"

#include <cstring>

#include "platform/Bstr.h"
#include "platform/ComError.h"

namespace quorveltwain {

Variant::Variant(Variant&& other) noexcept {
    // A VARIANT is moved by taking its bits and leaving the source empty.
    std::memcpy(&value_, &other.value_, sizeof(VARIANT));
    ::VariantInit(&other.value_);
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        Clear();
        std::memcpy(&value_, &other.value_, sizeof(VARIANT));
        ::VariantInit(&other.value_);
    }
    return *this;
}

Variant Variant::FromText(std::wstring_view text) {
    Bstr owned(text);
    Variant result;
    result.value_.vt = VT_BSTR;
    result.value_.bstrVal = owned.Release();
    return result;
}

Variant Variant::FromDouble(double number) noexcept {
    Variant result;
    result.value_.vt = VT_R8;
    result.value_.dblVal = number;
    return result;
}

Variant Variant::FromBool(bool value) noexcept {
    Variant result;
    result.value_.vt = VT_BOOL;
    result.value_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return result;
}

Variant Variant::FromDispatch(IDispatch* object) noexcept {
    Variant result;
    if (object != nullptr) object->AddRef();  // released by VariantClear
    result.value_.vt = VT_DISPATCH;
    result.value_.pdispVal = object;
    return result;
}

Variant Variant::FromUnknown(IUnknown* object) noexcept {
    Variant result;
    if (object != nullptr) object->AddRef();  // released by VariantClear
    result.value_.vt = VT_UNKNOWN;
    result.value_.punkVal = object;
    return result;
}

VARIANT* Variant::Put() noexcept {
    Clear();
    return &value_;
}

std::wstring Variant::ToText() const {
    Variant text;
    // The source is only read; the old prototype lacks its const.
    ThrowIfFailed(::VariantChangeType(text.Put(), const_cast<VARIANT*>(&value_), 0, VT_BSTR));
    if (text.value_.vt != VT_BSTR || text.value_.bstrVal == nullptr) return {};
    return std::wstring(text.value_.bstrVal, ::SysStringLen(text.value_.bstrVal));
}

void Variant::Clear() noexcept {
    ::VariantClear(&value_);
    ::VariantInit(&value_);
}

}  // namespace quorveltwain
