#pragma once
// The New and Edit editors of the profiles window: a name, a description and every setting
// as a drop-down list. New starts from the selected configuration's settings and saves a
// new one; Edit changes the selected configuration. A name that another configuration has
// is only ever replaced after the user said yes.

#include <windows.h>

#include <string>

#include "platform/UniqueHandle.h"
#include "settings/ScanSettingsRecord.h"
#include "ui/DlgBase.h"

namespace quorveltwain {

class DlgProfiles;

class DlgProfileEditor final : public DlgBase {
  public:
    enum class Mode { New, Edit };

    DlgProfileEditor(const DialogSetup& setup, DlgProfiles& profiles, Mode mode) noexcept
        : DlgBase(setup), profiles_(profiles), mode_(mode) {}
    ~DlgProfileEditor() = default;

    void InitDialog() override;
    void SetTexts() override;

    // Runs the editor modally over the profiles window; 1 when it saved.
    INT_PTR Run() noexcept;

  private:
    friend class DlgBase;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnSave();
    void Add();
    // Saves the editor's settings over the configuration of the typed name; `fallback` is
    // the position replaced when the name is not found (none: added instead), `giveWay`
    // the name of a configuration removed in the same write.
    void Replace(int fallback, const std::wstring& giveWay = {});
    void OnOverwriteConfirmed();
    void End(INT_PTR result) noexcept;
    HBRUSH ButtonColor(HDC dc, HWND control) const noexcept;
    void WindowDestroyed() noexcept;

    DlgProfiles& profiles_;
    const Mode mode_;
    ScanSettingsRecord record_{};
    UniqueFont titleFont_;
};

}  // namespace quorveltwain
