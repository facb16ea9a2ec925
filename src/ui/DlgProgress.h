#pragma once
// The scan progress window: a moving marquee bar and a Cancel button. Shown by the host
// through ShowScanProgress and removed only by CloseScanProgress or CancelScanUI; its
// Cancel button and its close box only tell the host, which decides when the scan stops.

#include <windows.h>

#include "ui/DlgBase.h"

namespace quorveltwain {

class DlgProgress final : public DlgBase {
  public:
    DlgProgress() = default;
    ~DlgProgress() = default;

    void InitDialog() override;
    void SetTexts() override;

    // The dialog procedure of template IDD_PROGRESS; it serves the object in the slot.
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept;

    // True once the object's window has come and gone: its slot may then free it.
    bool Retired() const noexcept { return hadWindow_ && window_ == nullptr; }

    HWND window_ = nullptr;  // null until WM_INITDIALOG and after destruction
    HWND owner_ = nullptr;   // the main window, or the host's owner window
    HMODULE resourceModule_ = nullptr;

  private:
    INT_PTR Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool hadWindow_ = false;
};

}  // namespace quorveltwain
