#include "platform/ComError.h"

#include <utility>

#include "platform/Bstr.h"
#include "platform/ComPtr.h"

namespace quorveltwain {

ComError::ComError(HRESULT status, std::wstring description) noexcept
    : status_(status), description_(std::move(description)) {}

void ThrowIfFailed(HRESULT status) {
    if (FAILED(status)) throw ComError(status);
}

namespace {

// What the callee left for this thread about its last failure, if it supports that.
std::wstring CalleeDescription(IUnknown* callee, const IID& calledInterface) noexcept {
    if (callee == nullptr) return {};
    try {
        ComPtr<ISupportErrorInfo> support;
        if (FAILED(callee->QueryInterface(IID_ISupportErrorInfo, support.Put()))) return {};
        if (support->InterfaceSupportsErrorInfo(calledInterface) != S_OK) return {};
        ComPtr<IErrorInfo> info;
        if (GetErrorInfo(0, info.Put()) != S_OK || !info) return {};
        Bstr description;
        if (FAILED(info->GetDescription(description.Put()))) return {};
        return std::wstring(description.View());
    } catch (...) {
        // The status alone still tells what failed.
        return {};
    }
}

}  // namespace

void ThrowIfFailed(HRESULT status, IUnknown* callee, const IID& calledInterface) {
    if (FAILED(status)) throw ComError(status, CalleeDescription(callee, calledInterface));
}

}  // namespace quorveltwain
