#pragma once
// The scan-settings window. It runs on its own thread from OpenUI until the user closes it
// or the host calls CloseUI, edits the host's settings record in place, and hands the
// record to the host when the user asks for a scan or a preview.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/UniqueHandle.h"
#include "settings/ScanSettingsRecord.h"
#include "ui/DlgBase.h"

namespace quorveltwain {

class DlgPreview;
class DlgProgress;

class DlgMain final : public DlgBase {
public:
    // The three owner-drawn buttons, in the order of the hover and accelerator flags.
    enum Button { kScan, kPreview, kAbout, kButtonCount };
    // Drawing states of a button.
    enum class ButtonState { Normal = 1, Disabled = 2, Hover = 3, Pressed = 4 };

    DlgMain() noexcept;
    ~DlgMain() = default;

    void InitDialog() override;
    void SetTexts() override;

    // The dialog procedure of template IDD_MAIN; it serves the object in the slot.
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam,
                                      LPARAM lParam) noexcept;

    // The settings-window thread: creates the window, shows it and runs its loop. The
    // parameter is the DlgMain object.
    static DWORD WINAPI ThreadRoutine(void* parameter) noexcept;

    // The slot may free a replaced object once its thread has ended: nothing of the old
    // window or its thread can reach it any more.
    bool Retired() const noexcept { return threadEnded_.load(); }

    // The settings thread's look at a message before the dialog manager's (keyboard
    // shortcuts of the window). Runs on the settings thread.
    void PreHandleMessage(const MSG& message);

    HWND window_ = nullptr;
    HMODULE resourceModule_ = nullptr;
    UniqueKernelHandle msgLoopThreadHandle_;
    DWORD threadId_ = 0;
    // Ends the settings thread's loop. Set by the window's own close handling or by CloseUI;
    // whichever sets it first owns the rest of the shutdown.
    std::atomic<bool> isDlgClosed{false};
    // Set as the settings thread's last act (or when it could not be started).
    std::atomic<bool> threadEnded_{false};
    DlgPreview* preview_ = nullptr;
    DlgProgress* progress_ = nullptr;
    void* hostParameter_ = nullptr;  // OpenUI's argument, kept for the host
    std::wstring title_;             // the model name
    int currentPage_ = 1016;
    HWND activeWindow_ = nullptr;  // the window that owns the UI
    bool hover_[kButtonCount] = {};
    bool accelerators_[kButtonCount] = {};
    ScanSettingsRecord* settings_ = nullptr;
    DevListRecord* device_ = nullptr;
    std::uint32_t* optionValue_ = nullptr;
    bool rightToLeft_ = false;
    HCURSOR arrowCursor_ = nullptr;

private:
    INT_PTR Dispatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
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
    bool IsActive() const noexcept { return activeWindow_ == window_; }
};

// True when the user's locale reads right to left.
bool UserLocaleReadsRightToLeft() noexcept;

}  // namespace quorveltwain
