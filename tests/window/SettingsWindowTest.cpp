// The settings window and the dialog objects behind it, linked from the library's code so
// the test can reach what a host cannot: the settings thread's handle, the context's
// fields, dialog objects made by hand. The exports are called on this thread, as a data
// source calls them.

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "ResourceIds.h"
#include "WindowTestHost.h"
#include "api/LanguageFolder.h"
#include "api/ResourceLibrary.h"
#include "api/UiContext.h"
#include "config/DriverPaths.h"
#include "platform/LiveObjects.h"
#include "support/TraceCapture.h"
#include "twain_ui.h"
#include "ui/ColorScheme.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMain.h"
#include "ui/DlgMessages.h"
#include "ui/DlgProgress.h"
#include "ui/UiMessages.h"

using namespace quorveltwain;
using windowtests::ProcessTopLevelWindows;
using windowtests::PumpUntil;
using windowtests::RecordingWindow;

namespace {

int ProcessWindowCount() {
    return static_cast<int>(ProcessTopLevelWindows().size());
}

std::wstring Line(const std::wstring& text) {
    return L"[VRX RERAR UR] " + text + L"\n";
}

class SettingsWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        // The test program carries the library's manifest, so the code linked into it
        // creates its windows with version 6 of the common controls, as in the DLL.
        SetLibraryModule(::GetModuleHandleW(nullptr));
        wcscpy_s(device_.model_name, L"Test Model 100");
        InitializeUI(host_.get(), &settings_, &device_, &option_, nullptr);
        ASSERT_NE(CurrentUiContext(), nullptr);
        ASSERT_NE(CurrentUiContext()->resourceModule, nullptr) << "the install step did not run";
        windowsBefore_ = ProcessWindowCount();
        liveWindowsBefore_ = LiveObjects::Count(LiveKind::Window);
    }
    void TearDown() override {
        CloseUI();
        EXPECT_TRUE(NoLibraryWindowLeft());
    }

    // The main window once it is shown, or null.
    HWND WaitForSettingsWindow() {
        HWND found = nullptr;
        PumpUntil([&] {
            const DlgMain* dialog = CurrentUiContext()->mainDialog;
            found = dialog != nullptr ? dialog->Window() : nullptr;
            return found != nullptr && ::IsWindowVisible(found);
        });
        return found;
    }

    bool NoLibraryWindowLeft() {
        return PumpUntil([&] { return ProcessWindowCount() <= windowsBefore_; });
    }

    RecordingWindow host_{L"Settings window tests: host"};
    ScanSettingsRecord settings_{};
    DevListRecord device_{};
    std::uint32_t option_ = 1;
    int windowsBefore_ = 0;
    long liveWindowsBefore_ = 0;
};

TEST_F(SettingsWindow, OpensOnItsOwnThreadAndBothWaysOfClosingEndIt) {
    testsupport::TraceCapture capture;
    OpenUI(nullptr);
    EXPECT_EQ(capture.Lines(), (std::vector<std::wstring>{Line(L"OpenUI()"), Line(L"Open UI")}));
    HWND window = WaitForSettingsWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(::GetWindowThreadProcessId(window, nullptr), ::GetCurrentThreadId());
    wchar_t title[64] = {};
    ::GetWindowTextW(window, title, 64);
    EXPECT_STREQ(title, L"Test Model 100");
    EXPECT_NE(::GetDlgItem(window, IDC_PREVIEW), nullptr);
    // The window draws in the face that InitializeUI registered, not in a substitute.
    const HDC dc = ::GetDC(window);
    const HGDIOBJ previous =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    ::GetTextFaceW(dc, LF_FACESIZE, face);
    ::SelectObject(dc, previous);
    ::ReleaseDC(window, dc);
    EXPECT_STREQ(face, UI_FONT_FACE_NAME);

    // The host's CloseUI while the window is idle wakes the thread and waits for it.
    capture.Clear();
    CloseUI();
    EXPECT_EQ(capture.Lines(), (std::vector<std::wstring>{
                                   Line(L"CloseUI()"),
                                   Line(L"CloseUI() : isDlgClosed == 0"),
                                   Line(L"WaitForSingleObject(msgLoopThreadHandle_ == 0x0"),
                                   Line(L"CloseUI() : CloseHandle(msgLoopThreadHandle) == 1"),
                                   Line(L"CloseUI() : DestroyWindow() == 0"),
                               }));
    EXPECT_EQ(ProcessWindowCount(), windowsBefore_) << "the thread's windows went with it";
    EXPECT_TRUE(host_.Messages().empty());

    // The user closes first: the host is told, and CloseUI then does not wait.
    OpenUI(nullptr);
    window = WaitForSettingsWindow();
    ASSERT_NE(window, nullptr);
    ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(PumpUntil([&] { return host_.Count(HM_UI_CLOSED) == 1; }));
    capture.Clear();
    CloseUI();
    EXPECT_EQ(capture.Lines(), (std::vector<std::wstring>{
                                   Line(L"CloseUI()"),
                                   Line(L"CloseUI() : isDlgClosed == 1"),
                                   Line(L"CloseUI() : DestroyWindow() == 0"),
                               }));
    EXPECT_EQ(CurrentUiContext()->mainDialog, nullptr);
    capture.Clear();
    CloseUI();
    EXPECT_EQ(capture.Lines(), std::vector<std::wstring>{Line(L"CloseUI()")});

    // A CloseUI right behind OpenUI, before the thread has its loop, is never lost.
    for (int i = 0; i < 10; ++i) {
        OpenUI(nullptr);
        CloseUI();
        EXPECT_EQ(CurrentUiContext()->mainDialog, nullptr);
    }
    EXPECT_EQ(ProcessWindowCount(), windowsBefore_);
}

TEST_F(SettingsWindow, ScanClearsTheFrameAndLocksTheWindowUntilTheUiComesBack) {
    settings_.has_frame_entry = 1;
    settings_.left = 10;
    settings_.bottom = 20;
    settings_.rotation = 3;
    OpenUI(nullptr);
    const HWND window = WaitForSettingsWindow();
    ASSERT_NE(window, nullptr);
    ::PostMessageW(window, WM_COMMAND, IDC_SCAN, 0);
    ASSERT_TRUE(PumpUntil([&] { return !host_.Messages().empty(); }));
    EXPECT_EQ(host_.Messages()[0].message, static_cast<UINT>(HM_SCAN));
    EXPECT_EQ(host_.Messages()[0].wParam, 0u);
    EXPECT_EQ(settings_.has_frame_entry, 0);
    EXPECT_EQ(settings_.left, 0.0);
    EXPECT_EQ(settings_.bottom, 0.0);
    EXPECT_EQ(settings_.rotation, 1);
    ASSERT_TRUE(PumpUntil([&] { return !::IsWindowEnabled(window); }));
    ::SendMessageW(window, UIM_ENABLE, 0, 1);
    EXPECT_TRUE(::IsWindowEnabled(window));
}

TEST_F(SettingsWindow, ProgressAndMessagesBelongToTheWindowThatOwnsTheUi) {
    OpenUI(nullptr);
    const HWND main = WaitForSettingsWindow();
    ASSERT_NE(main, nullptr);
    DlgMain* dialog = CurrentUiContext()->mainDialog;

    ShowScanProgress();
    ASSERT_NE(dialog->progress_, nullptr);
    EXPECT_EQ(CurrentUiContext()->progressDialog, nullptr) << "the main dialog keeps it";
    const HWND progress = dialog->progress_->Window();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(::GetWindow(progress, GW_OWNER), main);
    EXPECT_EQ(dialog->ActiveWindow(), progress);

    ShowErrorMessage(5);
    DlgMessages* message = CurrentUiContext()->messageDialog;
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->Owner(), progress);
    ShowErrorMessage(5);  // visible: this closes it
    EXPECT_EQ(message->Window(), nullptr);

    ::EnableWindow(main, FALSE);
    CloseScanProgress();
    EXPECT_FALSE(::IsWindow(progress));
    EXPECT_TRUE(::IsWindowEnabled(main)) << "closing the progress window hands the UI back";
    EXPECT_EQ(dialog->ActiveWindow(), main);

    // The first owner is gone: the next message is owned by the settings window instead of
    // failing to appear. Code 7 is modeless and tells the host when it closes.
    ShowErrorMessage(7);
    EXPECT_EQ(message->Owner(), main);
    ASSERT_NE(message->Window(), nullptr);
    ::SendMessageW(message->Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(host_.Count(HM_UI_CLOSED), 1);
}

// Two message windows of one class at once: each answers its own buttons, to its own host
// and owner, whichever object its class's slot holds.
TEST_F(SettingsWindow, TwoMessageWindowsOfOneClassEachServeTheirOwnObject) {
    RecordingWindow firstOwner(L"first owner"), secondOwner(L"second owner");
    RecordingWindow firstHost(L"first host"), secondHost(L"second host");
    const auto make = [](const RecordingWindow& owner, const RecordingWindow& host) {
        DialogSetup setup;
        setup.resourceModule = CurrentUiContext()->resourceModule;
        setup.owner = owner.get();
        setup.hostWindow = host.get();
        return DialogSlot<DlgMessages>::Install(std::make_unique<DlgMessages>(setup));
    };
    DlgMessages* first = make(firstOwner, firstHost);
    first->ShowMessage(DlgMessages::kInterruption);
    DlgMessages* second = make(secondOwner, secondHost);
    second->ShowMessage(DlgMessages::kInterruption);
    const HWND firstWindow = first->Window();
    const HWND secondWindow = second->Window();
    ASSERT_NE(firstWindow, nullptr);
    ASSERT_NE(secondWindow, nullptr);
    ASSERT_EQ(DialogSlot<DlgMessages>::Current(), second);

    ::SendMessageW(::GetDlgItem(firstWindow, IDC_MESSAGE_CONTINUE), BM_CLICK, 0, 0);
    EXPECT_FALSE(::IsWindow(firstWindow));
    EXPECT_TRUE(::IsWindowVisible(secondWindow));
    EXPECT_EQ(first->Result(), IDC_MESSAGE_CONTINUE);
    EXPECT_EQ(firstHost.Count(HM_CONTINUE), 1);
    EXPECT_EQ(firstOwner.Count(UIM_ENABLE), 2) << "disabled when shown, enabled when answered";
    EXPECT_TRUE(secondHost.Messages().empty());

    ::SendMessageW(::GetDlgItem(secondWindow, IDC_MESSAGE_CANCEL), BM_CLICK, 0, 0);
    EXPECT_FALSE(::IsWindow(secondWindow));
    EXPECT_EQ(secondHost.Count(HM_CANCEL), 1);
    EXPECT_EQ(secondHost.Count(HM_CONTINUE), 0);
    EXPECT_EQ(secondOwner.Messages().back().lParam, 1);
    EXPECT_EQ(firstHost.Count(HM_CANCEL), 0);
}

// A repeated InitializeUI keeps what the first one made and an open settings window.
TEST_F(SettingsWindow, InitializeUIAgainKeepsTheLibraryFontMessagesAndTheOpenWindow) {
    OpenUI(nullptr);
    ASSERT_NE(WaitForSettingsWindow(), nullptr);
    ShowErrorMessage(1);  // makes the exports' message object, shows nothing
    const UiContext before = *CurrentUiContext();
    ASSERT_NE(before.messageDialog, nullptr);
    ASSERT_NE(before.fontHandle, nullptr);

    RecordingWindow newHost(L"new host");
    InitializeUI(newHost.get(), &settings_, &device_, &option_, nullptr);
    const UiContext& after = *CurrentUiContext();
    EXPECT_EQ(after.resourceModule, before.resourceModule);
    EXPECT_EQ(after.fontHandle, before.fontHandle) << "the font was registered again";
    EXPECT_EQ(after.messageDialog, before.messageDialog);
    EXPECT_EQ(after.mainDialog, before.mainDialog) << "the open window was forgotten";
    EXPECT_EQ(after.hostWindow, newHost.get());

    testsupport::TraceCapture capture;
    CloseUI();
    EXPECT_EQ(capture.Lines().size(), 5u) << "CloseUI still ends the window and waits for it";
    InitializeUI(host_.get(), &settings_, &device_, &option_, nullptr);
}

// A thread handle that can no longer be waited for must not hold the host in CloseUI.
TEST_F(SettingsWindow, CloseUIGivesUpAWaitThatFails) {
    OpenUI(nullptr);
    ASSERT_NE(WaitForSettingsWindow(), nullptr);
    DlgMain* dialog = CurrentUiContext()->mainDialog;
    const HANDLE thread = dialog->msgLoopThreadHandle_.release();
    dialog->msgLoopThreadHandle_.reset(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0xDEAD0)));

    testsupport::TraceCapture capture;
    const HANDLE closing = ::CreateThread(
        nullptr, 0, [](void*) -> DWORD { return static_cast<DWORD>(CloseUI()); }, nullptr, 0,
        nullptr);
    ASSERT_NE(closing, nullptr);
    // Three failed slices of 500 ms; far less than this unless the wait never ends.
    const bool returned = ::WaitForSingleObject(closing, 10000) == WAIT_OBJECT_0;
    if (!returned) ::TerminateThread(closing, 1);
    ::CloseHandle(closing);
    ASSERT_TRUE(returned) << "CloseUI kept waiting on a handle that cannot be waited for";
    const std::vector<std::wstring> lines = capture.Lines();
    EXPECT_NE(lines.end(), std::find_if(lines.begin(), lines.end(), [](const std::wstring& line) {
                  return line.find(L"cannot be waited for") != std::wstring::npos;
              }));
    EXPECT_EQ(CurrentUiContext()->mainDialog, nullptr);
    // The settings thread saw the flag and ends by itself.
    EXPECT_EQ(::WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    ::CloseHandle(thread);
}

// Moves a language's installed library aside for one test and always puts it back, so a
// failed check cannot leave the prefix without it.
class LibraryAside {
  public:
    explicit LibraryAside(const wchar_t* folder) {
        wchar_t path[kPathChars];
        BuildResourceLibraryPath(folder, path);
        path_ = path;
        aside_ = path_ + L".aside";
        moved_ = ::MoveFileExW(path_.c_str(), aside_.c_str(), 0) != FALSE;
    }
    ~LibraryAside() {
        if (!moved_) return;
        ::DeleteFileW(path_.c_str());
        ::MoveFileExW(aside_.c_str(), path_.c_str(), 0);
    }
    LibraryAside(const LibraryAside&) = delete;
    LibraryAside& operator=(const LibraryAside&) = delete;
    bool Moved() const { return moved_; }
    // Puts a file in the library's place that the loader refuses: a damaged install.
    bool ReplaceWithGarbage() const {
        const HANDLE file = ::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        const char garbage[] = "MZ this is not a library";
        DWORD written = 0;
        const BOOL ok = ::WriteFile(file, garbage, sizeof garbage, &written, nullptr);
        ::CloseHandle(file);
        return ok != FALSE && written == sizeof garbage;
    }

  private:
    std::wstring path_;
    std::wstring aside_;
    bool moved_ = false;
};

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(module, path, MAX_PATH);
    return path;
}

std::wstring ScanButtonText(HMODULE module) {
    wchar_t text[64] = {};
    ::LoadStringW(module, IDS_SCAN, text, 64);
    return text;
}

// A German user whose library is missing, or there but damaged, gets English's with one
// trace line instead of empty windows; with the library back, German again. A user who
// reads right to left gets mirrored windows even from the left-to-right English library.
TEST_F(SettingsWindow, ForeignUsersGetEnglishInTheirReadingDirection) {
    const wchar_t* const folder = LanguageFolderFor(L"de-DE");
    ASSERT_STREQ(folder, L"de");
    HMODULE module = nullptr;
    {
        LibraryAside aside(folder);
        ASSERT_TRUE(aside.Moved()) << "no German library installed in the test prefix";
        for (const bool damaged : {false, true}) {
            if (damaged) {
                ASSERT_TRUE(aside.ReplaceWithGarbage());
            }
            testsupport::TraceCapture capture;
            module = LoadLanguageLibraryOrEnglish(folder);
            ASSERT_NE(module, nullptr) << "no resource library: the windows would be empty";
            EXPECT_NE(ModulePath(module).find(L"\\LANG\\en\\"), std::wstring::npos);
            EXPECT_EQ(ScanButtonText(module), L"&Scan");
            ASSERT_EQ(capture.Lines().size(), 1u);
            EXPECT_NE(capture.Lines()[0].find(L"de\\Resource.dll not loaded"), std::wstring::npos);
            if (damaged) break;
            ::FreeLibrary(module);
        }
    }
    {
        testsupport::TraceCapture capture;
        const HMODULE german = LoadLanguageLibraryOrEnglish(folder);
        EXPECT_NE(ModulePath(german).find(L"\\LANG\\de\\"), std::wstring::npos);
        EXPECT_NE(ScanButtonText(german), ScanButtonText(module)) << "German reads as English";
        EXPECT_TRUE(capture.Lines().empty());
        ::FreeLibrary(german);
    }

    for (const DialogLayout layout : {DialogLayout::LeftToRight, DialogLayout::RightToLeft}) {
        const HWND dialog = CreateModelessDialog(
            module, IDD_MESSAGES, nullptr,
            [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; },
            0, layout);
        RECT whole{}, ok{};
        ::GetWindowRect(dialog, &whole);
        ::GetWindowRect(::GetDlgItem(dialog, IDC_MESSAGE_OK), &ok);
        const bool mirrored = layout == DialogLayout::RightToLeft;
        EXPECT_EQ((::GetWindowLongPtrW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0, mirrored);
        EXPECT_EQ(ok.left < (whole.left + whole.right) / 2, mirrored) << "OK on the reading end";
        ::DestroyWindow(dialog);
    }
    ::FreeLibrary(module);
}

TEST_F(SettingsWindow, RepeatedCyclesOfEveryWindowLeaveNothingBehind) {
    // One scan's worth of windows; every other cycle the user closes the settings window
    // first, then the host calls CloseUI.
    const auto cycle = [&](int i) {
        OpenUI(nullptr);
        const HWND window = WaitForSettingsWindow();
        if (window == nullptr) return false;
        ShowScanProgress();
        ShowErrorMessage(5);
        const DlgMessages* message = CurrentUiContext()->messageDialog;
        if (message == nullptr || message->Window() == nullptr) return false;
        ::SendMessageW(message->Window(), WM_CLOSE, 0, 0);
        CloseScanProgress();
        if (i % 2 == 1) {
            ::PostMessageW(window, WM_CLOSE, 0, 0);
            if (!PumpUntil([&] { return host_.Count(HM_UI_CLOSED) > 0; })) return false;
            host_.Clear();
        }
        CloseUI();
        return true;
    };
    // Both kinds of cycle first: the activation context and the shared brushes are made
    // once, and the platform fills its caches on the first use of each path. The last
    // warm-up cycle waits for its thread, so no thread is winding down below.
    for (int i = 0; i < 11; ++i) ASSERT_TRUE(cycle(i)) << "warm-up cycle " << i;
    ASSERT_TRUE(
        PumpUntil([&] { return LiveObjects::Count(LiveKind::Window) == liveWindowsBefore_; }));
    ASSERT_NE(ColorScheme::Brush(SchemeColor::White), nullptr);
    const long handles = LiveObjects::Count(LiveKind::KernelHandle);
    const long gdi = LiveObjects::Count(LiveKind::GdiObject);
    const long windows = LiveObjects::Count(LiveKind::Window);
    const std::size_t keptProgress = DialogSlot<DlgProgress>::KeptCount();
    const auto workingSet = [] {
        PROCESS_MEMORY_COUNTERS memory{};
        ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory);
        return static_cast<long long>(memory.WorkingSetSize);
    };

    // Enough that a leak of one object per cycle stands out from any warm-up, in batches:
    // a leak grows the working set in every batch, while Wine's heap now and then takes one
    // step of 1 to 4 MB that the next batches do not repeat.
    constexpr int kBatches = 3;
    constexpr int kCyclesPerBatch = 20;
    // No assertion inside the loop: a failure message per cycle would churn the heap that
    // this test measures.
    int failedCycle = -1;
    long long smallestGrowth = -1;
    for (int batch = 0; batch < kBatches && failedCycle < 0; ++batch) {
        const long long before = workingSet();
        for (int i = 0; i < kCyclesPerBatch && failedCycle < 0; ++i) {
            if (!cycle(i)) failedCycle = batch * kCyclesPerBatch + i;
        }
        const long long grown = workingSet() - before;
        if (smallestGrowth < 0 || grown < smallestGrowth) smallestGrowth = grown;
    }
    ASSERT_EQ(failedCycle, -1);
    const auto backTo = [](LiveKind kind, long count) {
        return PumpUntil([=] { return LiveObjects::Count(kind) == count; });
    };
    EXPECT_TRUE(backTo(LiveKind::KernelHandle, handles));
    EXPECT_TRUE(backTo(LiveKind::GdiObject, gdi));
    EXPECT_TRUE(backTo(LiveKind::Window, windows));
    // Replaced objects are freed once retired, not kept one per cycle.
    EXPECT_LE(DialogSlot<DlgProgress>::KeptCount(), keptProgress + 1);
    std::printf("%d batches of %d cycles: the smallest working set growth %+lld KiB\n", kBatches,
                kCyclesPerBatch, smallestGrowth / 1024);
    // 800 KB a batch is 40 KB a cycle. A real leak (windows left to die with their thread)
    // costs about 1.4 MB a cycle.
    EXPECT_LT(smallestGrowth, 800 * 1024);
}

}  // namespace
