#pragma once
// The navigation column of the scan-settings window: one item per settings page, the
// shown page's item in the accent colour. The main window destroys and recreates the
// column's window on every page switch; the object lives as long as the main window.

#include <windows.h>

#include "platform/UniqueHandle.h"
#include "ui/DlgBase.h"

namespace quorveltwain {

class DlgNavTabs final : public DlgBase {
  public:
    static constexpr int kTemplate = 123;

    explicit DlgNavTabs(const DialogSetup& setup) noexcept : DlgBase(setup) {}
    ~DlgNavTabs() = default;

    void InitDialog() override;
    void SetTexts() override;

    HWND Create() noexcept { return CreateModeless(this, kTemplate); }
    void SetOwner(HWND owner) noexcept { owner_ = owner; }
    int SelectedPage() const noexcept { return selectedPage_; }
    // Takes effect on the item pictures and colours when the window is next created.
    void SelectPage(int page) noexcept { selectedPage_ = page; }

  private:
    friend class DlgBase;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void EraseBackground(HDC dc, const RECT& client) const noexcept;
    HBRUSH StaticColor(HDC dc, HWND control) const noexcept;
    void WindowDestroyed() noexcept;

    int selectedPage_ = 1016;
    // The item pictures: the static controls show them but do not own them.
    UniqueBitmap pictures_[3];
};

}  // namespace quorveltwain
