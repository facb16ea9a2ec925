// The progress window as the host drives it: shown by ShowScanProgress, Cancel only tells
// the host, and only CloseScanProgress or CancelScanUI remove it.

#include "WindowTestHost.h"

#include <commctrl.h>

#include "ResourceIds.h"

namespace windowtests {
namespace {

constexpr int kBar = IDC_PROGRESS_BAR;
constexpr int kCancel = IDC_PROGRESS_CANCEL;

using ProgressWindows = WindowTest;

TEST_F(ProgressWindows, CancelTellsTheHostEveryTimeAndTheWindowStaysUntilClosed) {
    ASSERT_EQ(ui.ShowScanProgress(), 0);
    const HWND progress = ProgressWindow();
    ASSERT_NE(progress, nullptr);

    // Owned by the host's owner window, which is told that the progress owns the UI.
    EXPECT_EQ(GetWindow(progress, GW_OWNER), owner->get());
    ASSERT_EQ(owner->Count(UIM_SET_ACTIVE_WINDOW), 1);
    EXPECT_EQ(reinterpret_cast<HWND>(owner->Messages()[0].wParam), progress);

    EXPECT_EQ(WindowText(progress), ResourceString(IDS_PROGRESS_TITLE));
    EXPECT_EQ(ControlText(progress, IDC_PROGRESS_LABEL), ResourceString(IDS_PROGRESS_LABEL));
    EXPECT_EQ(ControlText(progress, kCancel), ResourceString(IDS_CANCEL));
    EXPECT_FALSE(ResourceString(IDS_PROGRESS_LABEL).empty());
    EXPECT_NE(GetWindowLongPtrW(GetDlgItem(progress, kBar), GWL_STYLE) & PBS_MARQUEE, 0);
    // Created inside the library's activation context: version 6 buttons know their ideal size.
    SIZE ideal{};
    EXPECT_TRUE(SendMessageW(GetDlgItem(progress, kCancel), BCM_GETIDEALSIZE, 0,
                             reinterpret_cast<LPARAM>(&ideal)));

    Click(progress, kCancel);
    Click(progress, kCancel);
    EXPECT_EQ(host->Count(HM_CANCEL), 2);
    EXPECT_TRUE(IsWindowVisible(progress));

    CloseBox(progress);
    EXPECT_EQ(host->Count(HM_CANCEL), 3);
    EXPECT_TRUE(IsWindowVisible(progress));
    EXPECT_EQ(host->Messages().size(), 3u) << "nothing but HM_CANCEL reaches the host";

    owner->Clear();
    ASSERT_EQ(ui.CloseScanProgress(), 0);
    EXPECT_FALSE(IsWindow(progress));
    ASSERT_EQ(owner->Count(UIM_ENABLE), 1);
    EXPECT_EQ(owner->Messages()[0].lParam, 1);

    // Nothing left to close: a second call changes nothing.
    ASSERT_EQ(ui.CancelScanUI(), 0);
    EXPECT_EQ(owner->Count(UIM_ENABLE), 1);
}

TEST_F(ProgressWindows, ASecondProgressReplacesTheFirstAndCancelScanUIClosesOnlyTheNewer) {
    ASSERT_EQ(ui.ShowScanProgress(), 0);
    const HWND first = ProgressWindow();
    ASSERT_EQ(ui.ShowScanProgress(), 0);
    std::vector<HWND> shown;
    for (HWND dialog : ThreadDialogs()) {
        if (IsWindowVisible(dialog) && GetDlgItem(dialog, kBar) != nullptr) shown.push_back(dialog);
    }
    ASSERT_EQ(shown.size(), 2u);
    const HWND second = shown[0] == first ? shown[1] : shown[0];

    ASSERT_EQ(ui.CancelScanUI(), 0);
    EXPECT_FALSE(IsWindow(second));
    EXPECT_TRUE(IsWindow(first));

    // The older window still answers its Cancel button: it reaches the host.
    Click(first, kCancel);
    EXPECT_EQ(host->Count(HM_CANCEL), 1);
    DestroyWindow(first);
}

}  // namespace
}  // namespace windowtests
