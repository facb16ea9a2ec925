#pragma once
// What a window test stands on: the real TWAIN_UI.dll loaded fresh for each test (so the
// message window's owner, chosen once per library life, starts unchosen), a host window
// and an owner window that record the messages the library sends them, and helpers that
// find the library's windows and drive them.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ResourceIds.h"
#include "twain_ui.h"

namespace windowtests {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// A top-level window of the test's thread that keeps every message of interest.
class RecordingWindow {
  public:
    explicit RecordingWindow(const wchar_t* title);
    ~RecordingWindow();
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND get() const { return window_; }
    std::vector<Received> Messages() const { return messages_; }
    int Count(UINT message) const;
    void Clear() { messages_.clear(); }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    std::vector<Received> messages_;
};

// The library's exports, reached through GetProcAddress as a host that loads it would.
struct Exports {
    decltype(&::InitializeUI) InitializeUI = nullptr;
    decltype(&::ShowScanProgress) ShowScanProgress = nullptr;
    decltype(&::CloseScanProgress) CloseScanProgress = nullptr;
    decltype(&::CancelScanUI) CancelScanUI = nullptr;
    decltype(&::ShowScanInterruptionUI) ShowScanInterruptionUI = nullptr;
    decltype(&::ShowErrorMessage) ShowErrorMessage = nullptr;
};

class WindowTest : public testing::Test {
  public:
    // Dialogs of this thread: the library's windows run on the host's thread.
    static std::vector<HWND> ThreadDialogs();

  protected:
    void SetUp() override;
    void TearDown() override;
    // The one visible dialog holding `controlId`, or null.
    static HWND FindDialogWith(int controlId);
    HWND ProgressWindow() const { return FindDialogWith(IDC_PROGRESS_BAR); }
    HWND MessageWindow() const { return FindDialogWith(IDC_MESSAGE_TEXT); }

    // A text of the loaded resource library, to compare with what a window shows.
    std::wstring ResourceString(UINT id) const;
    static std::wstring WindowText(HWND window);
    static std::wstring ControlText(HWND dialog, int id) {
        return WindowText(GetDlgItem(dialog, id));
    }
    static bool ControlVisible(HWND dialog, int id);
    static bool ControlEnabled(HWND dialog, int id);
    // Clicks a button as the user would, through the button itself.
    static void Click(HWND dialog, int id);
    // The close box of the title bar.
    static void CloseBox(HWND window);

    // Runs `call` (which blocks in a modal loop) while `drive` is offered every 20 ms, on
    // this thread, until it returns true; gives up after 5 s by closing the window.
    // Returns whether `drive` finished the modal loop.
    bool DriveModal(const std::function<void()>& call, const std::function<bool(HWND)>& drive);

    Exports ui;
    HMODULE library = nullptr;
    std::unique_ptr<RecordingWindow> host;
    std::unique_ptr<RecordingWindow> owner;
    ScanSettingsRecord settings{};
    std::uint32_t option = 0;

  private:
    std::set<HWND> windowsBefore_;
};

}  // namespace windowtests
