#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "api/MessageDispatch.h"
#include "platform/Trace.h"
#include "api/UiContext.h"
#include "platform/BoundedText.h"
#include "support/TraceCapture.h"
#include "twain_ui.h"

using namespace quorveltwain;
using testsupport::TraceCapture;

namespace {

std::wstring Line(const std::wstring& message) {
    return L"[VRX RERAR UR] " + message + L"\n";
}

// The message exports open real windows once the resource library is installed; modal ones
// wait for the user. This closes every dialog of the thread from inside its modal loop.
class DialogCloser {
  public:
    DialogCloser() : timer_(SetTimer(nullptr, 0, 10, &Tick)) {}
    ~DialogCloser() { KillTimer(nullptr, timer_); }

  private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM) -> BOOL {
                wchar_t className[8] = {};
                GetClassNameW(window, className, 8);
                if (lstrcmpW(className, L"#32770") == 0 && IsWindowVisible(window)) {
                    PostMessageW(window, WM_CLOSE, 0, 0);
                }
                return TRUE;
            },
            0);
    }
    UINT_PTR timer_;
};

TEST(Trace, WindowExportsWriteTheirLinesExactly) {
    DialogCloser closer;
    TraceCapture capture;
    EXPECT_EQ(CloseUI(), 0);  // before InitializeUI there is no context: only the line
    EXPECT_EQ(InitializeUI(nullptr, nullptr, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(ShowScanProgress(), 0);
    EXPECT_EQ(CloseScanProgress(), 0);
    EXPECT_EQ(CancelScanUI(), 0);
    EXPECT_EQ(ShowScanInterruptionUI(-7), 0);
    EXPECT_EQ(ShowErrorMessage(104), 0);
    EXPECT_EQ(ShowPreviewImage(L"C:\\users\\scan\\preview.bmp"), 0);
    EXPECT_EQ(ShowPreviewImage(nullptr), 0);

    const std::vector<std::wstring> expected = {
        Line(L"CloseUI()"),
        Line(L"InitializeUI()"),
        Line(L"LoadResourceLibrary()"),  // InitializeUI loads the resource library
        Line(L"ShowScanProgress()"),
        Line(L"CloseScanProgress()"),
        Line(L"CancelScanUI()"),
        Line(L"ShowScanInterruptionUI() error_code == -7"),
        Line(L"ShowErrorMessage() error_code == 104"),
        // %s takes a wide string: a narrow reading would show only "C".
        Line(L"ShowPreviewImage() : C:\\users\\scan\\preview.bmp"),
        Line(L"ShowPreviewImage() : "),
    };
    EXPECT_EQ(capture.Lines(), expected);
}

TEST(Trace, InitializeUIKeepsTheHostArgumentsInOneLastingContext) {
    ScanSettingsRecord settings{};
    DevListRecord device{};
    std::uint32_t option = 2;
    const HWND host = reinterpret_cast<HWND>(0x1234);
    const HWND owner = reinterpret_cast<HWND>(0x5678);
    InitializeUI(host, &settings, &device, &option, owner);
    UiContext* context = CurrentUiContext();
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->hostWindow, host);
    EXPECT_EQ(context->ownerWindow, owner);
    EXPECT_EQ(context->settings, &settings);
    EXPECT_EQ(context->device, &device);
    EXPECT_EQ(context->optionValue, &option);

    // A second call refreshes the arguments in the same context rather than leaking one.
    InitializeUI(nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(CurrentUiContext(), context);
    EXPECT_EQ(context->hostWindow, nullptr);
    EXPECT_EQ(context->settings, nullptr);
}

TEST(Trace, LongMessagesAreCutInsideTheirBuffers) {
    TraceCapture capture;
    const std::wstring huge(5000, L'x');
    Trace(L"%s", huge.c_str());
    Trace(L"%s%s", huge.c_str(), huge.c_str());
    const auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 2u);
    for (const std::wstring& line : lines) {
        // 15 prefix characters, 511 message characters, the line end.
        EXPECT_EQ(line, Line(std::wstring(kTraceMessageChars - 1, L'x')));
    }
    Trace(nullptr);  // no format, no line
    EXPECT_EQ(capture.Lines().size(), 2u);
}

TEST(MessageDispatch, CodesOneAndTwoOnlySwitchContinue) {
    EXPECT_EQ(DecideMessageAction(1, false), MessageAction::EnableContinue);
    EXPECT_EQ(DecideMessageAction(1, true), MessageAction::EnableContinue);
    EXPECT_EQ(DecideMessageAction(2, false), MessageAction::DisableContinue);
    EXPECT_EQ(DecideMessageAction(2, true), MessageAction::DisableContinue);
    // Any other code shows its message, unless one is visible: then it closes that one.
    for (std::int32_t code : {0, 3, 5, 7, 101, 104, -1}) {
        EXPECT_EQ(DecideMessageAction(code, false), MessageAction::Show) << code;
        EXPECT_EQ(DecideMessageAction(code, true), MessageAction::CloseCurrent) << code;
    }
}

TEST(MessageDispatch, OwnerIsTheSettingsUiThenProgressThenPreview) {
    const HWND active = reinterpret_cast<HWND>(0x10);
    const HWND progress = reinterpret_cast<HWND>(0x20);
    const HWND preview = reinterpret_cast<HWND>(0x30);
    EXPECT_EQ(ChooseMessageOwner({true, active, progress, preview}), active);
    // An open settings window decides even when nothing in it is active.
    EXPECT_EQ(ChooseMessageOwner({true, nullptr, progress, preview}), nullptr);
    EXPECT_EQ(ChooseMessageOwner({false, active, progress, preview}), progress);
    EXPECT_EQ(ChooseMessageOwner({false, nullptr, nullptr, preview}), preview);
    EXPECT_EQ(ChooseMessageOwner({false, nullptr, nullptr, nullptr}), nullptr);
}

TEST(BoundedText, CopiesTruncateAndAlwaysTerminate) {
    ScanSettingsRecord record;
    std::memset(&record, 0x7F, sizeof(record));
    const std::wstring longName(100, L'N');
    EXPECT_EQ(CopyToField(record.config_name, longName), 32u);
    EXPECT_EQ(FieldText(record.config_name), std::wstring(32, L'N'));
    // The neighbouring field is untouched.
    EXPECT_EQ(record.config_detail[0], static_cast<wchar_t>(0x7F7F));

    EXPECT_EQ(CopyToField(record.config_id, L"abc"), 3u);
    EXPECT_EQ(FieldText(record.config_id), L"abc");
    EXPECT_EQ(CopyToField(record.config_id, L""), 0u);
    EXPECT_EQ(record.config_id[0], L'\0');

    wchar_t one[1] = {L'z'};
    EXPECT_EQ(CopyToField(one, L"text"), 0u);
    EXPECT_EQ(one[0], L'\0');
    EXPECT_EQ(CopyBounded(nullptr, 10, L"text"), 0u);

    // A field without a terminator is read no further than its capacity.
    wchar_t unterminated[4] = {L'a', L'b', L'c', L'd'};
    EXPECT_EQ(FieldText(unterminated), L"abcd");
}

}  // namespace
