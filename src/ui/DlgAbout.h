#pragma once
// The About window: the driver's version and year over a background picture. Both come
// from the driver's version file, not from this library, so one library serves every
// driver release. Modeless on the settings thread; the settings window stays disabled
// while it is open.

#include <windows.h>

#include "platform/UniqueHandle.h"
#include "ui/DlgBase.h"

namespace quorveltwain {

class DlgAbout final : public DlgBase {
  public:
    static constexpr int kTemplate = 106;

    DlgAbout(const DialogSetup& setup, bool rightToLeft) noexcept
        : DlgBase(setup), rightToLeft_(rightToLeft ? 1 : 0) {}
    ~DlgAbout() = default;

    void InitDialog() override;
    void SetTexts() override;
    HWND Create() noexcept { return CreateModeless(this, kTemplate); }

  private:
    friend class DlgBase;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    HBRUSH StaticColor(HDC dc, HWND control) const noexcept;
    void Paint();
    void WindowDestroyed() noexcept { titleFont_.reset(); }

    int rightToLeft_;
    UniqueFont titleFont_;
};

}  // namespace quorveltwain
