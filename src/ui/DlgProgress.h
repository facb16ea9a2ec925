#pragma once
// The scan progress window: a moving marquee bar and a Cancel button. Shown by the host
// through ShowScanProgress and removed only by CloseScanProgress or CancelScanUI; its
// Cancel button and its close box only tell the host, which decides when the scan stops.

#include <windows.h>

#include <atomic>

#include "ui/DlgBase.h"

namespace quorveltwain {

class DlgProgress final : public DlgBase {
  public:
    explicit DlgProgress(const DialogSetup& setup) noexcept : DlgBase(setup) {}
    ~DlgProgress() = default;

    void InitDialog() override;
    void SetTexts() override;

    // Creates and shows the window (template IDD_PROGRESS); null when it was not created.
    HWND Open() noexcept;
    // Tells the owner the UI is back, then destroys the window.
    void Close() noexcept;

    // True once the object's window has come and gone, or never came: its slot may then
    // free it.
    bool Retired() const noexcept { return opened_.load() && Window() == nullptr; }

  private:
    friend class DlgBase;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void EraseBackground(HDC dc, const RECT& client) const noexcept;
    HBRUSH ButtonColor(HDC dc, HWND control) const noexcept;

    std::atomic<bool> opened_{false};
};

}  // namespace quorveltwain
