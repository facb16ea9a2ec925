// Opening and closing the progress and message windows many times leaves nothing behind:
// no window, and every owned GDI object and handle back to its count before.

#include <gtest/gtest.h>

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <set>

#include "api/UiContext.h"
#include "platform/LiveObjects.h"
#include "twain_ui.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMessages.h"
#include "ui/DlgProgress.h"

using namespace quorveltwain;

namespace {

std::set<HWND> ProcessWindows() {
    std::set<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            // The input method window that the system gives each thread with windows.
            wchar_t className[8] = {};
            GetClassNameW(window, className, 8);
            if (process == GetCurrentProcessId() && lstrcmpW(className, L"IME") != 0) {
                reinterpret_cast<std::set<HWND>*>(list)->insert(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

SIZE_T WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters))
               ? counters.WorkingSetSize
               : 0;
}

struct Counts {
    long gdi = LiveObjects::Count(LiveKind::GdiObject);
    long handles = LiveObjects::Count(LiveKind::KernelHandle);
    long windows = LiveObjects::Count(LiveKind::Window);
    bool operator==(const Counts&) const = default;
};

// One scan's worth of windows: progress, an interruption and a refusal beside it, closed
// by the user's buttons and by the host.
void OneCycle(HWND host) {
    ShowScanProgress();
    UiContext* context = CurrentUiContext();
    ASSERT_NE(context->progressDialog, nullptr);
    const HWND progress = context->progressDialog->window_;
    ASSERT_NE(progress, nullptr);

    for (const int code : {DlgMessages::kInterruption, DlgMessages::kSettingsRefused}) {
        auto created = std::make_unique<DlgMessages>();
        created->resourceModule_ = context->resourceModule;
        created->hostWindow_ = host;
        created->owner_ = progress;
        DlgMessages* message = DialogSlot<DlgMessages>::Install(std::move(created));
        EXPECT_EQ(message->ShowMessage(code), DlgMessages::kNoAnswer);
        ASSERT_NE(message->window_, nullptr);
        SendMessageW(message->window_, WM_CLOSE, 0, 0);
        EXPECT_EQ(message->window_, nullptr);
    }
    CloseScanProgress();
    EXPECT_FALSE(IsWindow(progress));
}

TEST(DialogLifecycle, RepeatedProgressAndMessagesLeaveNothingBehind) {
    const std::set<HWND> before = ProcessWindows();
    const HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 10, 10, nullptr,
                                      nullptr, nullptr, nullptr);
    ASSERT_NE(host, nullptr);
    ScanSettingsRecord settings{};
    std::uint32_t option = 0;
    InitializeUI(host, &settings, nullptr, &option, nullptr);
    ASSERT_NE(CurrentUiContext(), nullptr);
    ASSERT_NE(CurrentUiContext()->resourceModule, nullptr) << "resource library not installed";

    OneCycle(host);  // first use makes what lives as long as the library (scheme brushes)
    const Counts start;
    // Other tests of this process may have left objects for the life of the library.
    const std::size_t keptMessages = DialogSlot<DlgMessages>::KeptCount();
    const std::size_t keptProgress = DialogSlot<DlgProgress>::KeptCount();

    // Enough cycles that a leak of one object per cycle stands out from any warm-up;
    // TWAINUI_CYCLES=500 measures the budget's 500 cycles.
    wchar_t requested[16] = {};
    const int kCycles = GetEnvironmentVariableW(L"TWAINUI_CYCLES", requested, 16) != 0
                            ? std::max(1, _wtoi(requested))
                            : 50;
    const SIZE_T workingSetBefore = WorkingSet();
    const auto began = std::chrono::steady_clock::now();
    for (int i = 0; i < kCycles && !HasFatalFailure(); ++i) OneCycle(host);
    const auto took = std::chrono::steady_clock::now() - began;

    EXPECT_EQ(Counts{}, start) << "gdi " << Counts{}.gdi << " vs " << start.gdi << ", handles "
                               << Counts{}.handles << " vs " << start.handles << ", windows "
                               << Counts{}.windows << " vs " << start.windows;
    EXPECT_EQ(start.windows, 0);
    // Replaced dialog objects are freed once retired: the slots keep the current object
    // and the one replaced last, not one per cycle.
    EXPECT_LE(DialogSlot<DlgMessages>::KeptCount(), keptMessages + 1);
    EXPECT_LE(DialogSlot<DlgProgress>::KeptCount(), keptProgress + 1);
    std::set<HWND> after = ProcessWindows();
    after.erase(host);
    EXPECT_EQ(after, before);
    // Measured, not asserted: the numbers go to the test's output.
    const auto perCycle =
        std::chrono::duration_cast<std::chrono::microseconds>(took).count() / kCycles;
    std::printf(
        "%d cycles: %lld us per cycle, working set %+lld KiB\n", kCycles,
        static_cast<long long>(perCycle),
        (static_cast<long long>(WorkingSet()) - static_cast<long long>(workingSetBefore)) / 1024);
    DestroyWindow(host);
}

}  // namespace
