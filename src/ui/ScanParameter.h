#pragma once
// Moves one settings record into and out of the controls of a settings dialog, offering only
// what the connected model lists. Every value the user picks is checked against the other
// current settings first: an allowed one goes into the record, a refused one puts the control
// back and shows why in a message. The main window's pages and the profile editor present
// the same settings with different controls, hence one binder for each (MainScanParameter,
// ProfileScanParameter) over this shared part.

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "settings/ScanSettingsRecord.h"

namespace quorveltwain {

class ScanParameter {
  public:
    // Set by the owning dialog before the start-up operations; none of them is owned here.
    HWND owner = nullptr;  // owner of messages; its control 1058 follows duplex
    HWND basicPage = nullptr, imagingPage = nullptr, advancedPage = nullptr;
    DevListRecord* device = nullptr;
    ScanSettingsRecord* settings = nullptr;
    HMODULE resourceModule = nullptr;
    std::uint32_t* optionValue = nullptr;  // 0: no option list; else 1 or 2

    // The operations that differ between the two sets of controls, in their fixed order.
    // A change operation reads the control, checks and stores the value or puts the control
    // back; an Init operation fills and enables what the model offers (once per dialog,
    // never disabling); a Show operation puts the record's value on the controls.
    virtual void OnOriginalSizeChanged() = 0;
    virtual void OnOrientationChanged() = 0;
    virtual void OnExposureChanged() = 0;
    virtual void OnContrastChanged() = 0;
    virtual void OnColorModeChanged() = 0;
    virtual void OnReverseImageChanged() = 0;
    virtual void OnPreventBleedThroughChanged() = 0;
    virtual void InitOrientation() = 0;
    virtual void InitExposure() = 0;
    virtual void InitContrast() = 0;
    virtual void InitColorMode() = 0;
    virtual void InitReverseImage() = 0;
    virtual void InitPreventBleedThrough() = 0;
    virtual void ShowOrientation() = 0;
    virtual void ShowExposure() = 0;
    virtual void ShowContrast() = 0;
    virtual void ShowColorMode() = 0;
    virtual void ShowReverseImage() = 0;
    virtual void ShowPreventBleedThrough() = 0;

    // Start-up: the lists of the basic page (and the option list), then those of the imaging
    // page.
    void InitBasicControls();
    void InitImagingControls();
    // Puts every setting of the record on the controls.
    void Reload();
    void ShowImaging();
    void ShowDuplex();
    void ShowOption();
    // A control reported a change (the low word of its WM_COMMAND wParam).
    void OnControlChanged(std::uint16_t controlId);
    void OnSendingSizeChanged();
    void OnDuplexChanged();
    void OnResolutionChanged();
    void OnImageQualityChanged();
    // The profile editor's name and detail fields (on the basic page window).
    void ShowProfile(std::uint8_t showTexts);
    void ReadName();
    void ReadDetail();

  protected:
    ScanParameter() = default;
    // Owned and deleted by the dialogs through their own types.
    ~ScanParameter() = default;

    using ValueText = std::wstring (*)(HMODULE, const std::int32_t*);

    // False while the dialog has not given both records: every operation then does nothing.
    bool Bound() const noexcept { return settings != nullptr && device != nullptr; }
    // A restrictable setting's value list, in list order; empty without a device record.
    std::span<const DevListValue> Values(int setting) const noexcept;
    bool Offers(int setting, std::int32_t code) const noexcept;

    // Fills drop-down list `listId` with one item per code (its text and, as item data, the
    // code). A choice of more than one value enables the list and hides `markerId` (0: none).
    void FillList(HWND page, int listId, int markerId, std::span<const std::int32_t> codes,
                  ValueText text) const;
    void FillList(HWND page, int listId, int markerId, int setting, ValueText text) const;
    // The code of the selected item; nothing while no item is selected.
    static std::optional<std::int32_t> SelectedCode(HWND page, int listId) noexcept;
    // Selects `code` in a list without letting the fall-back change the caller's value.
    static void Select(HWND page, int listId, std::int32_t code);
    static void Enable(HWND page, int controlId, bool enable) noexcept;
    static void Hide(HWND page, int controlId) noexcept;

    // Checks `candidate` for setting `setting` (DevListSetting index) against the other
    // current settings and stores it when allowed. True when stored.
    bool Store(int setting, std::int32_t candidate);
    // The refusal message, with the reason when another setting refuses the candidate.
    void ShowRefusal(int setting, std::int32_t candidate);
    std::wstring RefusalReason(int setting, std::int32_t candidate) const;
    // Store, and on refusal `putBack` then the message; true when stored.
    template <typename PutBack>
    bool Change(int setting, std::int32_t candidate, PutBack putBack) {
        if (Store(setting, candidate)) return true;
        putBack();
        ShowRefusal(setting, candidate);
        return false;
    }
    // One of the shared lists: the change procedure for `listId` on `page`, putting the
    // record's value back on refusal.
    void OnListChanged(HWND page, int listId, int setting);

    // Duplex 1 (simplex), 2 (duplex) and 4 (top-bound duplex) leave the option no choice.
    static bool DuplexFixesOption(std::int32_t duplex) noexcept {
        return duplex == 1 || duplex == 2 || duplex == 4;
    }
    void EnablePreview(std::int32_t duplex) const noexcept;
};

}  // namespace quorveltwain
