#pragma once
// The one error type of the XML layer. Every failing COM call inside a file operation is
// raised as a ComError and caught at that operation's boundary, which turns it into its
// failure text; nothing of it ever reaches an export's caller.

#include <windows.h>
#include <unknwn.h>

#include <exception>
#include <string>

namespace quorveltwain {

class ComError : public std::exception {
  public:
    explicit ComError(HRESULT status, std::wstring description = {}) noexcept;

    HRESULT Status() const noexcept { return status_; }
    // The callee's own description (IErrorInfo) when it offers one, else empty.
    const std::wstring& Description() const noexcept { return description_; }
    const char* what() const noexcept override { return "COM Error"; }

  private:
    HRESULT status_;
    std::wstring description_;
};

// Raises ComError for a failing (negative) status; S_FALSE and other successes pass.
// With a callee and the interface called, the callee's error information is attached
// when it says it supports it.
void ThrowIfFailed(HRESULT status);
void ThrowIfFailed(HRESULT status, IUnknown* callee, const IID& calledInterface);

}  // namespace quorveltwain
