#pragma once
// The profiles window: the saved scan configurations with the settings of the selected one,
// and the buttons that create, edit, delete and apply them. It runs on a thread of its own,
// opened from the settings window, which it disables while it is open; its editors run
// modally on the same thread.

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "platform/UniqueHandle.h"
#include "settings/ScanSettingsRecord.h"
#include "ui/DlgBase.h"
#include "ui/DlgProfileBase.h"
#include "ui/ProfileScanParameter.h"

namespace quorveltwain {

// What the profiles window works on, all owned by the host.
struct ProfilesData {
    ScanSettingsRecord* settings = nullptr;  // replaced by Apply
    DevListRecord* device = nullptr;         // the model the editors offer values of
    std::uint32_t* optionValue = nullptr;
};

class DlgProfiles final : public DlgBase, public DlgProfileBase {
  public:
    DlgProfiles(const DialogSetup& setup, const ProfilesData& data) noexcept
        : DlgBase(setup), data_(data) {}
    ~DlgProfiles() = default;

    void InitDialog() override;
    void SetTexts() override;

    // Starts the profiles thread, which creates the window and runs its loop. False when
    // the thread could not be started.
    bool StartThread() noexcept;
    // Ends the window and its thread from another thread (the settings window closing),
    // waiting at most `timeoutMs` while serving what the profiles thread sends meanwhile.
    void Stop(DWORD timeoutMs) noexcept;
    bool Retired() const noexcept { return threadEnded_.load(); }

    // The position of the selected configuration in Profiles().
    std::int32_t SelectedIndex() const noexcept { return selected_; }
    void SetSelectedIndex(std::int32_t index) noexcept { selected_ = index; }
    // Shows the configurations again, selecting SelectedIndex().
    void FillProfileList();
    // Rereads the open store without reopening it.
    void ReadProfiles() noexcept { ReadAll(); }
    // Removes the selected configuration (never the default settings) and saves the store.
    void DeleteSelected();
    ProfileScanParameter& ProfileBinder() noexcept { return *profileBinder_; }
    const ProfilesData& Data() const noexcept { return data_; }

  private:
    friend class DlgBase;
    static DWORD WINAPI ThreadRoutine(void* parameter) noexcept;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnNotify(const NMHDR& header, LPARAM lParam);
    INT_PTR OnSettingsCustomDraw(NMLVCUSTOMDRAW& draw);
    void OnCommand(int id);
    void OnSelectionChanged();
    void OnDelete();
    void RunEditor(bool edit);
    // Apply and Cancel: hands the UI back to the settings window and ends this window.
    void Close();
    void WindowDestroyed() noexcept;
    HBRUSH ButtonColor(HDC dc, HWND control) const noexcept;

    const ProfilesData data_;
    std::int32_t selected_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> threadEnded_{false};
    UniqueKernelHandle thread_;
    DWORD threadId_ = 0;
    std::unique_ptr<ProfileScanParameter> profileBinder_;
    UniqueFont headingFont_;  // selected while a heading row of the settings list is drawn
};

}  // namespace quorveltwain
