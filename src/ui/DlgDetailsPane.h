#pragma once
// The details pane under the settings pages: every current setting and its value, headed
// by the saved configuration the settings came from, with the last change in blue; and the
// buttons back to the defaults, to save the settings under a new name and to the profiles
// window. Behind it lies a plain white background window.

#include <windows.h>
#include <commctrl.h>

#include <cstdint>

#include "platform/UniqueHandle.h"
#include "settings/ScanSettingsRecord.h"
#include "ui/DlgBase.h"
#include "ui/DlgProfileBase.h"
#include "ui/SettingsList.h"

namespace quorveltwain {

class DlgDetailsPane final : public DlgBase, public DlgProfileBase {
  public:
    static constexpr int kTemplate = 126;

    DlgDetailsPane(const DialogSetup& setup, std::uint32_t* optionValue) noexcept
        : DlgBase(setup), optionValue_(optionValue) {}
    ~DlgDetailsPane() = default;

    void InitDialog() override;
    void SetTexts() override;

    HWND Create() noexcept { return CreateModeless(this, kTemplate); }
    void SetOwner(HWND owner) noexcept { owner_ = owner; }
    HWND List() const noexcept;

    // Shows `entry` in the list, marking the rows whose value text changes.
    void RefreshSettingsList(HWND list, const ProfileEntry& entry);
    // Forgets the entry's name and detail when a saved configuration of that name no
    // longer holds the entry's settings.
    void MatchConfigurationName() noexcept;
    // Places the buttons and sizes the list for the pane's present size.
    void LayOutChildren(int width, int height) noexcept;

    bool ChangeMark(int row) const noexcept {
        return row >= 0 && row < kSettingsListRows && changeMarks_[row] == 1;
    }
    const std::uint32_t* OptionValue() const noexcept { return optionValue_; }

    ScanSettingsRecord* settings_ = nullptr;  // the binder's record

  private:
    friend class DlgBase;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnNotify(const NMHDR& header, LPARAM lParam);
    INT_PTR OnCustomDraw(NMLVCUSTOMDRAW& draw);
    void OnApplyDefaults();
    void EnableSaveAs() noexcept;
    void WindowDestroyed() noexcept;
    HBRUSH ButtonColor(HDC dc, HWND control) const noexcept;

    std::int32_t changeMarks_[kSettingsListRows] = {};
    std::uint32_t* optionValue_;
    UniqueFont headingFont_;  // selected while a heading row is drawn
};

class DlgDetailsPaneBg final : public DlgBase {
  public:
    static constexpr int kTemplate = 125;

    explicit DlgDetailsPaneBg(const DialogSetup& setup) noexcept : DlgBase(setup) {}
    ~DlgDetailsPaneBg() = default;

    void InitDialog() override;
    void SetTexts() override {}
    HWND Create() noexcept { return CreateModeless(this, kTemplate); }
    void SetOwner(HWND owner) noexcept { owner_ = owner; }

  private:
    friend class DlgBase;
};

}  // namespace quorveltwain
