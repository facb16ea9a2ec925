#include "platform/Bstr.h"

#include "platform/ComError.h"

namespace quorveltwain {

Bstr::Bstr(std::wstring_view text) {
    // SysAllocStringLen takes UINT; a text that long cannot be a DOM name or value anyway.
    if (text.size() > 0x7fffffffu) throw ComError(E_OUTOFMEMORY);
    value_ = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (value_ == nullptr) throw ComError(E_OUTOFMEMORY);
}

std::wstring_view Bstr::View() const noexcept {
    if (value_ == nullptr) return {};
    return std::wstring_view(value_, ::SysStringLen(value_));
}

void Bstr::Reset() noexcept {
    if (value_ != nullptr) ::SysFreeString(std::exchange(value_, nullptr));
}

}  // namespace quorveltwain
