#pragma once
// Borrowed device context of a window (GetDC), released at the end of the scope.

#include <windows.h>

namespace quorveltwain {

class ScopedWindowDC {
  public:
    explicit ScopedWindowDC(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
    ~ScopedWindowDC() {
        if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
    }
    ScopedWindowDC(const ScopedWindowDC&) = delete;
    ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;

    HDC get() const noexcept { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

}  // namespace quorveltwain
