#pragma once
// The Save-as editor of the details pane: stores the current settings under a name and a
// description. The settings show as read-only texts; a name that another configuration
// has is only replaced after the user said yes, and never the default settings.

#include <windows.h>

#include "platform/UniqueHandle.h"
#include "ui/DlgBase.h"

namespace quorveltwain {

class DlgDetailsPane;

class DlgProfileSaveAs final : public DlgBase {
  public:
    DlgProfileSaveAs(const DialogSetup& setup, DlgDetailsPane& pane) noexcept
        : DlgBase(setup), pane_(pane) {}
    ~DlgProfileSaveAs() = default;

    void InitDialog() override;
    void SetTexts() override;

    // Runs the editor modally over the settings window.
    INT_PTR Run() noexcept;

  private:
    friend class DlgBase;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void ShowValues();
    // Name and description go into the pane's current entry.
    void TakeTexts();
    void OnSave();
    void OnOverwriteConfirmed();
    // The saved entry becomes the settings record, and the settings window shows it.
    void ApplySaved();
    HBRUSH ButtonColor(HDC dc, HWND control) const noexcept;
    void WindowDestroyed() noexcept;

    DlgDetailsPane& pane_;
    UniqueFont titleFont_;
};

}  // namespace quorveltwain
