#pragma once
// The part every dialog object shares. A dialog object has no window of its own here: each
// derived class adds its window handle, owner and resource module as its first fields, and
// its plain dialog procedure reaches it through the class's dialog slot.

#include <windows.h>

namespace quorveltwain {

class ScanParameter;

class DlgBase {
  public:
    DlgBase(const DlgBase&) = delete;
    DlgBase& operator=(const DlgBase&) = delete;

    // Called once from WM_INITDIALOG, after the window handle has been stored. Every
    // implementation calls SetTexts and does the dialog's own set-up around it.
    virtual void InitDialog() = 0;
    // Loads the dialog's texts from the resource library and puts them on the controls.
    virtual void SetTexts() = 0;

    // Moves the settings record into and out of the controls (main and profiles windows).
    ScanParameter* scanParameter_ = nullptr;
    // Receives the host messages.
    HWND hostWindow_ = nullptr;

  protected:
    DlgBase() = default;
    // Objects are owned by their class's slot, which deletes them by their own type; a
    // destructor here would only add a slot before InitDialog in the virtual table.
    ~DlgBase() = default;
};

}  // namespace quorveltwain
