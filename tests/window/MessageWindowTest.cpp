// The message window as the host drives it through ShowScanInterruptionUI and
// ShowErrorMessage: modeless beside the progress window, modal without one.

#include "ResourceIds.h"
#include "WindowTestHost.h"

namespace windowtests {
namespace {

constexpr int kContinue = IDC_MESSAGE_CONTINUE;
constexpr int kCancel = IDC_MESSAGE_CANCEL;
constexpr int kOk = IDC_MESSAGE_OK;
constexpr int kYes = IDC_MESSAGE_YES;
constexpr int kNo = IDC_MESSAGE_NO;
constexpr int kText = IDC_MESSAGE_TEXT;

using MessageWindows = WindowTest;

HWND ImageOf(HWND dialog) {
    return reinterpret_cast<HWND>(
        SendDlgItemMessageW(dialog, IDC_MESSAGE_IMAGE, STM_GETIMAGE, IMAGE_BITMAP, 0));
}

TEST_F(MessageWindows, InterruptionBesideTheProgressSwitchesContinueAndItsCloseBoxCancels) {
    ASSERT_EQ(ui.ShowScanProgress(), 0);
    const HWND progress = ProgressWindow();
    ASSERT_NE(progress, nullptr);

    // Code 1 before any message: nothing is shown.
    ASSERT_EQ(ui.ShowScanInterruptionUI(1), 0);
    EXPECT_EQ(MessageWindow(), nullptr);

    ASSERT_EQ(ui.ShowScanInterruptionUI(0), 0);  // modeless: returns at once
    const HWND message = MessageWindow();
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(GetWindow(message, GW_OWNER), progress);
    EXPECT_FALSE(IsWindowEnabled(progress)) << "the owner waits while the message is shown";
    EXPECT_EQ(WindowText(message), ResourceString(IDS_INTERRUPTION_TITLE));
    EXPECT_EQ(ControlText(message, kText), ResourceString(IDS_INTERRUPTION_TEXT));
    EXPECT_TRUE(ControlVisible(message, kContinue));
    EXPECT_TRUE(ControlVisible(message, kCancel));
    EXPECT_FALSE(ControlVisible(message, kOk));
    EXPECT_EQ(GetDlgItem(message, kYes), nullptr);
    EXPECT_NE(ImageOf(message), nullptr) << "a modeless interruption shows its picture";

    // Centred on its owner.
    RECT ownerRect{}, own{};
    GetWindowRect(progress, &ownerRect);
    GetWindowRect(message, &own);
    EXPECT_NEAR((own.left + own.right) / 2, (ownerRect.left + ownerRect.right) / 2, 1);
    EXPECT_NEAR((own.top + own.bottom) / 2, (ownerRect.top + ownerRect.bottom) / 2, 1);

    ASSERT_EQ(ui.ShowScanInterruptionUI(2), 0);
    EXPECT_FALSE(ControlEnabled(message, kContinue));
    EXPECT_EQ(MessageWindow(), message) << "codes 1 and 2 neither close nor replace the window";
    ASSERT_EQ(ui.ShowScanInterruptionUI(1), 0);
    EXPECT_TRUE(ControlEnabled(message, kContinue));
    ASSERT_EQ(ui.ShowScanInterruptionUI(2), 0);
    EXPECT_FALSE(ControlEnabled(message, kContinue));

    CloseBox(message);
    EXPECT_FALSE(IsWindow(message));
    EXPECT_EQ(host->Count(HM_CANCEL), 1);
    EXPECT_EQ(host->Count(HM_CONTINUE), 0);
    EXPECT_TRUE(IsWindowEnabled(progress));

    // Continue answers the next interruption.
    ASSERT_EQ(ui.ShowScanInterruptionUI(0), 0);
    const HWND again = MessageWindow();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(ControlEnabled(again, kContinue)) << "a new window starts with Continue enabled";
    Click(again, kContinue);
    EXPECT_FALSE(IsWindow(again));
    EXPECT_EQ(host->Count(HM_CONTINUE), 1);
    EXPECT_EQ(host->Count(HM_CANCEL), 1);

    ASSERT_EQ(ui.CloseScanProgress(), 0);
}

TEST_F(MessageWindows, ASecondCodeWhileVisibleClosesTheMessageAndTheNextOneShows) {
    ASSERT_EQ(ui.ShowScanProgress(), 0);
    const HWND progress = ProgressWindow();

    ASSERT_EQ(ui.ShowErrorMessage(5), 0);
    const HWND refused = MessageWindow();
    ASSERT_NE(refused, nullptr);
    EXPECT_EQ(WindowText(refused), ResourceString(IDS_MESSAGE_TITLE));
    EXPECT_EQ(ControlText(refused, kText), ResourceString(IDS_SETTINGS_REFUSED_TEXT));
    EXPECT_TRUE(ControlVisible(refused, kOk));
    EXPECT_FALSE(ControlVisible(refused, kContinue));

    ASSERT_EQ(ui.ShowErrorMessage(4), 0);
    EXPECT_FALSE(IsWindow(refused)) << "a further code closes the visible message";
    EXPECT_EQ(MessageWindow(), nullptr) << "and does not show its own";
    EXPECT_TRUE(IsWindowEnabled(progress));
    EXPECT_TRUE(host->Messages().empty()) << "closing by code tells the host nothing here";

    ASSERT_EQ(ui.ShowErrorMessage(8), 0);
    const HWND busy = MessageWindow();
    ASSERT_NE(busy, nullptr);
    Click(busy, kOk);
    EXPECT_FALSE(IsWindow(busy));
    EXPECT_TRUE(host->Messages().empty()) << "code 8 with an owner ends quietly";

    // Code 6 shows nothing and leaves the owner disabled until a later message closes.
    ASSERT_EQ(ui.ShowErrorMessage(6), 0);
    EXPECT_EQ(MessageWindow(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(progress));
    ASSERT_EQ(ui.ShowErrorMessage(5), 0);
    Click(MessageWindow(), kOk);
    EXPECT_TRUE(IsWindowEnabled(progress));

    ASSERT_EQ(ui.CloseScanProgress(), 0);
}

TEST_F(MessageWindows, CodeSevenWithAnOwnerReturnsAtOnceAndReportsTheClose) {
    ASSERT_EQ(ui.ShowScanProgress(), 0);
    ASSERT_EQ(ui.ShowErrorMessage(7), 0);
    const HWND lost = MessageWindow();
    ASSERT_NE(lost, nullptr) << "the export returned while its window is open";
    EXPECT_EQ(ControlText(lost, kText), ResourceString(IDS_CONNECTION_LOST_TEXT));
    EXPECT_EQ(host->Count(HM_UI_CLOSED), 0);

    CloseBox(lost);  // no Continue button: the close box is a plain close
    EXPECT_FALSE(IsWindow(lost));
    EXPECT_EQ(host->Count(HM_UI_CLOSED), 1);
    EXPECT_EQ(host->Count(HM_CANCEL), 0);
    ASSERT_EQ(ui.CloseScanProgress(), 0);
}

TEST_F(MessageWindows, WithoutAnOwnerTheExportWaitsForTheModalWindow) {
    // No progress window at the first message: the message has no owner, for good.
    bool sawWindow = false;
    bool exportReturned = false;
    const bool driven = DriveModal(
        [&] {
            EXPECT_EQ(ui.ShowErrorMessage(3), 0);
            exportReturned = true;
        },
        [&](HWND dialog) {
            if (GetDlgItem(dialog, kText) == nullptr) return false;
            sawWindow = true;
            EXPECT_FALSE(exportReturned);
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
            EXPECT_EQ(WindowText(dialog), ResourceString(IDS_MESSAGE_TITLE));
            EXPECT_EQ(ControlText(dialog, kText), ResourceString(IDS_SCAN_ERROR_TEXT));
            EXPECT_TRUE(ControlVisible(dialog, kOk));
            EXPECT_FALSE(ControlVisible(dialog, kContinue));
            EXPECT_EQ(ImageOf(dialog), nullptr) << "modal messages show no picture";
            Click(dialog, kOk);
            return true;
        });
    EXPECT_TRUE(driven);
    EXPECT_TRUE(sawWindow);
    EXPECT_TRUE(exportReturned);
    EXPECT_TRUE(host->Messages().empty());
    EXPECT_EQ(MessageWindow(), nullptr);

    // Without an owner even an interruption is modal; its close box still cancels.
    EXPECT_TRUE(DriveModal([&] { EXPECT_EQ(ui.ShowScanInterruptionUI(0), 0); },
                           [&](HWND dialog) {
                               if (!ControlVisible(dialog, kContinue)) return false;
                               CloseBox(dialog);
                               return true;
                           }));
    EXPECT_EQ(host->Count(HM_CANCEL), 1);

    // Codes 5 and 8 without an owner end the host's session like code 7.
    for (const int code : {5, 8, 7}) {
        host->Clear();
        EXPECT_TRUE(DriveModal([&] { EXPECT_EQ(ui.ShowErrorMessage(code), 0); },
                               [&](HWND dialog) {
                                   if (GetDlgItem(dialog, kText) == nullptr) return false;
                                   Click(dialog, kOk);
                                   return true;
                               }))
            << "code " << code;
        EXPECT_EQ(host->Count(HM_UI_CLOSED), 1) << "code " << code;
    }

    // Questions are the library's own: through the exports a code above 100 is a message
    // like any other, but its Yes and No buttons are there and close it.
    host->Clear();
    EXPECT_TRUE(DriveModal([&] { EXPECT_EQ(ui.ShowErrorMessage(104), 0); },
                           [&](HWND dialog) {
                               const HWND yes = GetDlgItem(dialog, kYes);
                               if (yes == nullptr) return false;
                               EXPECT_TRUE(ControlVisible(dialog, kNo));
                               EXPECT_FALSE(ControlVisible(dialog, kOk));
                               RECT yesRect{}, noRect{};
                               GetWindowRect(yes, &yesRect);
                               GetWindowRect(GetDlgItem(dialog, kNo), &noRect);
                               EXPECT_EQ(yesRect.right - yesRect.left, 91);
                               EXPECT_EQ(noRect.left - yesRect.left, 91);
                               Click(dialog, kYes);
                               return true;
                           }));
    EXPECT_TRUE(host->Messages().empty());
}

}  // namespace
}  // namespace windowtests
