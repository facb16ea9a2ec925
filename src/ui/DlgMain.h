#pragma once
// The scan-settings window. It runs on its own thread from OpenUI until the user closes it
// or the host calls CloseUI, edits the host's settings record in place, and hands the
// record to the host when the user asks for a scan or a preview.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/UiThread.h"
#include "platform/UniqueHandle.h"
#include "settings/ScanSettingsRecord.h"
#include "ui/DlgBase.h"
#include "ui/MainScanParameter.h"

namespace quorveltwain {

class DlgPreview;
class DlgProgress;
class DlgNavTabs;
class DlgAbout;
class DlgBasic;
class DlgImaging;
class DlgAdvanced;
class DlgDetailsPane;
class DlgDetailsPaneBg;
class DlgProfiles;

// What the settings window edits and offers, all owned by the host.
struct MainDialogData {
    ScanSettingsRecord* settings = nullptr;  // edited in place
    DevListRecord* device = nullptr;         // the connected model; its name is the title
    std::uint32_t* optionValue = nullptr;    // the value of the two-entry list
    void* hostParameter = nullptr;           // OpenUI's argument, kept for the host
};

class DlgMain final : public DlgBase {
  public:
    // The three owner-drawn buttons, in the order of the hover and accelerator flags.
    enum Button { kScan, kPreview, kAbout, kButtonCount };
    // Drawing states of a button.
    enum class ButtonState { Normal = 1, Disabled = 2, Hover = 3, Pressed = 4 };

    // Page ids: the identifiers of the navigation items.
    static constexpr int kBasicPage = 1016;
    static constexpr int kImagingPage = 1010;
    static constexpr int kAdvancedPage = 1013;

    DlgMain(const DialogSetup& setup, const MainDialogData& data);
    ~DlgMain();

    void InitDialog() override;
    void SetTexts() override;

    // Starts the settings-window thread, which creates the window, shows it and runs its
    // loop; keeps its handle in msgLoopThreadHandle_. Returns at once.
    void StartThread() noexcept;
    // Makes an idle settings thread look at isDlgClosed.
    void WakeThread() const noexcept { WakeUiThread(threadId_); }
    // Asks every other top-level window of the settings thread to close: a modal editor or
    // question holds the thread in its own loop, which never looks at isDlgClosed.
    void CloseSecondaryWindows() const noexcept;

    // The slot may free a replaced object once its thread has ended: nothing of the old
    // window or its thread can reach it any more.
    bool Retired() const noexcept { return threadEnded_.load(); }

    // The window that owns the UI now: the main window, or a secondary window that said
    // so with UIM_SET_ACTIVE_WINDOW. Read by the host's thread when it picks an owner.
    HWND ActiveWindow() const noexcept { return activeWindow_.load(); }

    // The settings thread's handle, owned by whoever ends the window (OnClose or CloseUI),
    // and the flag that ends its loop.
    UniqueKernelHandle msgLoopThreadHandle_;
    // Set by the window's own close handling or by CloseUI; whichever sets it first owns
    // the rest of the shutdown.
    std::atomic<bool> isDlgClosed{false};
    // The secondary windows that the exports open over this window; host's thread only.
    DlgPreview* preview_ = nullptr;
    DlgProgress* progress_ = nullptr;
    // The profiles window opened last from this window; settings thread only.
    DlgProfiles* profiles_ = nullptr;

  private:
    friend class DlgBase;
    static DWORD WINAPI ThreadRoutine(void* parameter) noexcept;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    HBRUSH StaticColor(HDC dc, HWND control) const noexcept;
    // The settings thread's look at a message before the dialog manager's (keyboard
    // shortcuts of the window).
    void PreHandleMessage(const MSG& message);
    void OnClose();
    // Scan (wParam 0) or preview (1): clears the frame, tells the host, then locks the UI
    // until a secondary window hands it back with UIM_ENABLE.
    void RequestScan(bool preview);
    void EnableUi(bool enable);
    void OnKeyDown(WPARAM virtualKey);
    void OnSetCursor();
    void DrawButton(Button button, ButtonState state);
    void DrawItem(const DRAWITEMSTRUCT& item);
    void PaintEmblem(HDC dc, const RECT& rect) const;
    HWND ButtonWindow(Button button) const noexcept;
    bool IsActive() const noexcept { return ActiveWindow() == Window(); }
    void WindowDestroyed() noexcept;
    void Paint();
    // Places the navigation column, the pages and the details pane for the window's
    // present place on the screen.
    void LayOut();
    void LayOutNavigation(const RECT& window);
    void SelectPage(int page);
    HWND PageWindow(int page) const noexcept;
    // The windows that a scan, a preview or another window locks, in their fixed order.
    void EnableWindows(bool enable);
    void RefreshDetails();
    void ApplyDefaults();
    void OpenProfiles();
    void LoadBitmaps();
    void OpenAbout();
    void StartDetails();
    void MoveNavigationFocus(int item);
    void EraseNavigationFocus();
    bool HasRecords() const noexcept {
        return data_.settings != nullptr && data_.device != nullptr;
    }

    DWORD threadId_ = 0;
    // Set as the settings thread's last act (or when it could not be started).
    std::atomic<bool> threadEnded_{false};
    const MainDialogData data_;
    const std::wstring title_;  // the model name
    std::atomic<HWND> activeWindow_{nullptr};
    bool hover_[kButtonCount] = {};
    bool accelerators_[kButtonCount] = {};
    HCURSOR arrowCursor_ = nullptr;
    int currentPage_ = kBasicPage;
    // 1 when the user's locale reads right to left.
    std::int32_t rightToLeft_ = 0;

    std::unique_ptr<DlgNavTabs> navTabs_;
    std::unique_ptr<DlgBasic> basic_;
    std::unique_ptr<DlgImaging> imaging_;
    std::unique_ptr<DlgAdvanced> advanced_;
    std::unique_ptr<DlgDetailsPaneBg> detailsBackground_;
    std::unique_ptr<DlgDetailsPane> details_;
    // A new one on every press of About; the settings window is disabled while it is open.
    std::unique_ptr<DlgAbout> about_;
    MainScanParameter binder_;
    // The pictures loaded into the binder's table (it replaces some of them with its own
    // while it starts, so they are kept here, not read back from the table).
    UniqueBitmap pictures_[16];
    // Loaded once with the window: every paint draws them, and a 1.2 MB background read
    // again per paint costs time and churns the heap.
    UniqueBitmap background_;
    UniqueBitmap emblem_;

    // The navigation focus rectangle drawn last: the item window and the rectangle in its
    // client coordinates (drawing it again erases it).
    HWND focusItem_ = nullptr;
    RECT focusRect_{};
};

}  // namespace quorveltwain
