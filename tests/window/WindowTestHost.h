#pragma once
// What a window test stands on: a host window and an owner window that record the messages
// the library sends them, the real TWAIN_UI.dll loaded fresh for each test (so the message
// window's owner, chosen once per library life, starts unchosen), and helpers that find
// the library's windows on this thread and drive them.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
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

// A top-level window of the test's thread that keeps the host messages and the library's
// UIM_ENABLE and UIM_SET_ACTIVE_WINDOW.
class RecordingWindow {
  public:
    explicit RecordingWindow(const wchar_t* title);
    ~RecordingWindow() { DestroyWindow(window_); }
    RecordingWindow(const RecordingWindow&) = delete;
    RecordingWindow& operator=(const RecordingWindow&) = delete;

    HWND get() const { return window_; }
    const std::vector<Received>& Messages() const { return messages_; }
    int Count(UINT message) const;
    void Clear() { messages_.clear(); }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
    std::vector<Received> messages_;
};

// Top-level windows of this process, the library's among them.
std::set<HWND> ProcessTopLevelWindows();
// Pumps this thread's messages until `done` holds or the time is up (bounded polling).
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Visible dialogs of this thread: the library's windows run on the host's thread.
std::vector<HWND> ThreadDialogs();
// The one visible dialog of this thread holding `controlId`, or null.
HWND FindDialogWith(int controlId);
std::wstring WindowText(HWND window);
// The item data of the selected entry of drop-down list `id`.
int SelectedCode(HWND dialog, int id);
// The text of a list view's row, in column `column`.
std::wstring ListViewText(HWND list, int row, int column = 0);
bool ControlVisible(HWND dialog, int id);
// Clicks a button as the user would, through the button itself.
void Click(HWND dialog, int id);
// Runs `call` (which blocks in a modal loop) while `drive` is offered every visible dialog
// every 20 ms from inside that loop, until it returns true; after 5 s the dialogs are
// closed. Returns whether `drive` finished.
bool DriveModal(const std::function<void()>& call, const std::function<bool(HWND)>& drive);

class WindowTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // A text of the loaded resource library, to compare with what a window shows.
    std::wstring ResourceString(UINT id) const;

    template <typename Function>
    Function Export(const char* name) const {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    }

    HMODULE library = nullptr;
    decltype(&::ShowScanProgress) ShowScanProgress = nullptr;
    decltype(&::CloseScanProgress) CloseScanProgress = nullptr;
    decltype(&::CancelScanUI) CancelScanUI = nullptr;
    decltype(&::ShowScanInterruptionUI) ShowScanInterruptionUI = nullptr;
    decltype(&::ShowErrorMessage) ShowErrorMessage = nullptr;
    RecordingWindow host{L"Window tests: host"};
    RecordingWindow owner{L"Window tests: owner"};
    ScanSettingsRecord settings{};
    std::uint32_t option = 0;

  private:
    std::set<HWND> windowsBefore_;
};

}  // namespace windowtests
