#pragma once
// Borrowed device-context state: selects a GDI object into a DC for one scope and puts the
// previous object back at its end. The selected object stays owned by its owner.

#include <windows.h>

namespace quorveltwain {

class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) noexcept
        : dc_(dc), previous_(object != nullptr ? ::SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) ::SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace quorveltwain
