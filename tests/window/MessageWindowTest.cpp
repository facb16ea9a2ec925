// The progress and message windows as the host drives them through the real DLL: Cancel
// only tells the host, the message window is modeless beside the progress window and
// modal without one, and codes 1 and 2 only switch its Continue button.

#include "WindowTestHost.h"

#include <commctrl.h>

namespace windowtests {
namespace {

using HostWindows = WindowTest;

HWND ProgressWindow() {
    return FindDialogWith(IDC_PROGRESS_BAR);
}
HWND MessageWindow() {
    return FindDialogWith(IDC_MESSAGE_TEXT);
}
std::wstring ControlText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}
void CloseBox(HWND window) {
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

TEST_F(HostWindows, ProgressCancelOnlyTellsTheHostAndOnlyTheHostClosesIt) {
    ASSERT_EQ(ShowScanProgress(), 0);
    const HWND progress = ProgressWindow();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(GetWindow(progress, GW_OWNER), owner.get());
    ASSERT_EQ(owner.Count(UIM_SET_ACTIVE_WINDOW), 1);
    EXPECT_EQ(reinterpret_cast<HWND>(owner.Messages()[0].wParam), progress);
    EXPECT_EQ(WindowText(progress), ResourceString(IDS_PROGRESS_TITLE));
    EXPECT_NE(GetWindowLongPtrW(GetDlgItem(progress, IDC_PROGRESS_BAR), GWL_STYLE) & PBS_MARQUEE,
              0);
    // Created inside the library's activation context: version 6 buttons know their size.
    SIZE ideal{};
    EXPECT_TRUE(SendDlgItemMessageW(progress, IDC_PROGRESS_CANCEL, BCM_GETIDEALSIZE, 0,
                                    reinterpret_cast<LPARAM>(&ideal)));

    Click(progress, IDC_PROGRESS_CANCEL);
    CloseBox(progress);
    EXPECT_EQ(host.Count(HM_CANCEL), 2);
    EXPECT_EQ(host.Messages().size(), 2u);
    EXPECT_TRUE(IsWindowVisible(progress));

    // A second progress replaces the first; CancelScanUI closes only the newer one, and the
    // older one still answers its own button.
    ASSERT_EQ(ShowScanProgress(), 0);
    ASSERT_EQ(ThreadDialogs().size(), 2u);
    owner.Clear();
    ASSERT_EQ(CancelScanUI(), 0);
    EXPECT_TRUE(IsWindow(progress));
    EXPECT_EQ(ThreadDialogs().size(), 1u);
    EXPECT_EQ(owner.Count(UIM_ENABLE), 1);
    Click(progress, IDC_PROGRESS_CANCEL);
    EXPECT_EQ(host.Count(HM_CANCEL), 3);
    ASSERT_EQ(CloseScanProgress(), 0);
    EXPECT_EQ(owner.Count(UIM_ENABLE), 1) << "nothing left to close";
    DestroyWindow(progress);
}

TEST_F(HostWindows, InterruptionBesideTheProgressSwitchesContinueAndClosesByCode) {
    ASSERT_EQ(ShowScanProgress(), 0);
    const HWND progress = ProgressWindow();
    ASSERT_EQ(ShowScanInterruptionUI(1), 0);
    EXPECT_EQ(MessageWindow(), nullptr) << "code 1 alone shows nothing";

    ASSERT_EQ(ShowScanInterruptionUI(0), 0);  // modeless: returns at once
    const HWND message = MessageWindow();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(GetWindow(message, GW_OWNER), progress);
    EXPECT_FALSE(IsWindowEnabled(progress));
    EXPECT_EQ(WindowText(message), ResourceString(IDS_INTERRUPTION_TITLE));
    EXPECT_EQ(ControlText(message, IDC_MESSAGE_TEXT), ResourceString(IDS_INTERRUPTION_TEXT));
    EXPECT_TRUE(ControlVisible(message, IDC_MESSAGE_CANCEL));
    EXPECT_FALSE(ControlVisible(message, IDC_MESSAGE_OK));
    EXPECT_NE(SendDlgItemMessageW(message, IDC_MESSAGE_IMAGE, STM_GETIMAGE, IMAGE_BITMAP, 0), 0);

    ASSERT_EQ(ShowScanInterruptionUI(2), 0);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(message, IDC_MESSAGE_CONTINUE)));
    ASSERT_EQ(ShowScanInterruptionUI(1), 0);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(message, IDC_MESSAGE_CONTINUE)));
    EXPECT_EQ(MessageWindow(), message) << "codes 1 and 2 neither close nor replace it";
    CloseBox(message);  // while Continue is offered, closing cancels
    EXPECT_FALSE(IsWindow(message));
    EXPECT_EQ(host.Count(HM_CANCEL), 1);
    EXPECT_TRUE(IsWindowEnabled(progress));

    ASSERT_EQ(ShowScanInterruptionUI(0), 0);
    Click(MessageWindow(), IDC_MESSAGE_CONTINUE);
    EXPECT_EQ(host.Count(HM_CONTINUE), 1);

    // A further code while a message shows closes it and shows nothing of its own.
    ASSERT_EQ(ShowErrorMessage(5), 0);
    const HWND refused = MessageWindow();
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(ControlText(refused, IDC_MESSAGE_TEXT), ResourceString(IDS_SETTINGS_REFUSED_TEXT));
    ASSERT_EQ(ShowErrorMessage(4), 0);
    EXPECT_FALSE(IsWindow(refused));
    EXPECT_EQ(MessageWindow(), nullptr);
    // Code 6 shows nothing and leaves the owner disabled until a later message closes.
    ASSERT_EQ(ShowErrorMessage(6), 0);
    EXPECT_EQ(MessageWindow(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(progress));
    ASSERT_EQ(ShowErrorMessage(7), 0);  // modeless with an owner, tells the host on close
    Click(MessageWindow(), IDC_MESSAGE_OK);
    EXPECT_TRUE(IsWindowEnabled(progress));
    EXPECT_EQ(host.Count(HM_UI_CLOSED), 1);
    ASSERT_EQ(CloseScanProgress(), 0);
}

TEST_F(HostWindows, WithoutAnOwnerMessagesAreModalAndSomeEndTheSession) {
    bool exportReturned = false;
    EXPECT_TRUE(DriveModal(
        [&] {
            EXPECT_EQ(ShowErrorMessage(3), 0);
            exportReturned = true;
        },
        [&](HWND dialog) {
            EXPECT_FALSE(exportReturned);
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
            EXPECT_EQ(ControlText(dialog, IDC_MESSAGE_TEXT), ResourceString(IDS_SCAN_ERROR_TEXT));
            EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_MESSAGE_IMAGE, STM_GETIMAGE, IMAGE_BITMAP, 0),
                      0);
            Click(dialog, IDC_MESSAGE_OK);
            return true;
        }));
    EXPECT_TRUE(exportReturned);
    EXPECT_TRUE(host.Messages().empty());

    // Even an interruption is modal without an owner; its close box still cancels.
    EXPECT_TRUE(DriveModal([&] { ShowScanInterruptionUI(0); },
                           [](HWND dialog) {
                               CloseBox(dialog);
                               return true;
                           }));
    EXPECT_EQ(host.Count(HM_CANCEL), 1);
    for (const int code : {5, 8, 7}) {
        host.Clear();
        EXPECT_TRUE(DriveModal([&] { ShowErrorMessage(code); },
                               [](HWND dialog) {
                                   Click(dialog, IDC_MESSAGE_OK);
                                   return true;
                               }));
        EXPECT_EQ(host.Count(HM_UI_CLOSED), 1) << "code " << code;
    }

    // A question shows Yes and No instead of OK, and tells the host nothing.
    host.Clear();
    EXPECT_TRUE(DriveModal([&] { ShowErrorMessage(104); },
                           [](HWND dialog) {
                               EXPECT_FALSE(ControlVisible(dialog, IDC_MESSAGE_OK));
                               Click(dialog, IDC_MESSAGE_NO);
                               return true;
                           }));
    EXPECT_TRUE(host.Messages().empty());
}

}  // namespace
}  // namespace windowtests
