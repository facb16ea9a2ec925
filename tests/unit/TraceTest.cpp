// The trace log as a debugger sees it: the one place that asserts the exact trace lines.

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "api/UiContext.h"
#include "platform/BoundedText.h"
#include "platform/Trace.h"
#include "support/TraceCapture.h"
#include "twain_ui.h"

using namespace quorveltwain;

namespace {

std::wstring Line(const std::wstring& message) {
    return L"[VRX RERAR UR] " + message + L"\n";
}

TEST(Trace, WindowExportsWriteTheirLinesExactly) {
    testsupport::TraceCapture capture;
    // Before InitializeUI there is no context: CloseUI writes only its line. Codes 1 and 2
    // only switch the Continue button: no modal message waits for a user.
    EXPECT_EQ(
        std::vector({CloseUI(), InitializeUI(nullptr, nullptr, nullptr, nullptr, nullptr),
                     ShowScanProgress(), CloseScanProgress(), CancelScanUI(),
                     ShowScanInterruptionUI(2), ShowErrorMessage(1),
                     ShowPreviewImage(L"C:\\users\\scan\\preview.bmp"), ShowPreviewImage(nullptr)}),
        std::vector<std::int32_t>(9, 0));
    EXPECT_EQ(capture.Lines(),
              (std::vector<std::wstring>{
                  Line(L"CloseUI()"), Line(L"InitializeUI()"),
                  Line(L"LoadResourceLibrary()"),  // InitializeUI loads the resource library
                  Line(L"ShowScanProgress()"), Line(L"CloseScanProgress()"),
                  Line(L"CancelScanUI()"), Line(L"ShowScanInterruptionUI() error_code == 2"),
                  Line(L"ShowErrorMessage() error_code == 1"),
                  // %s takes a wide string: a narrow reading would show only "C".
                  Line(L"ShowPreviewImage() : C:\\users\\scan\\preview.bmp"),
                  Line(L"ShowPreviewImage() : ")}));
}

TEST(Trace, LongMessagesAreCutInsideTheirBuffers) {
    testsupport::TraceCapture capture;
    const std::wstring huge(5000, L'x');
    Trace(L"%s", huge.c_str());
    Trace(L"%s%s", huge.c_str(), huge.c_str());
    Trace(nullptr);  // no format, no line
    // The prefix, 511 message characters, the line end: nothing of the rest, no overrun.
    const std::wstring cut = Line(std::wstring(kTraceMessageChars - 1, L'x'));
    EXPECT_EQ(capture.Lines(), (std::vector<std::wstring>{cut, cut}));
}

TEST(BoundedText, FormatsByPositionReadingOnlyGivenArgumentsAndCutsInsideTheCapacity) {
    wchar_t field[40];
    EXPECT_EQ(FormatToField(field, L"%2 %1 %3, 100%%: %s%d %0 %", {L"a", L"bc"}), 24u);
    EXPECT_STREQ(field, L"bc a %3, 100%: %s%d %0 %");
    // A guard pattern past the capacity given stays as it was.
    wchar_t buffer[8];
    std::wmemset(buffer, L'#', 8);
    EXPECT_EQ(FormatByPosition(buffer, 5, L"%9%1%%%2%3",
                               {L"a", L"b", L"c", L"4", L"5", L"6", L"7", L"8", L"i"}),
              4u);
    EXPECT_EQ(std::wstring(buffer, 8), std::wstring(L"ia%b\0###", 8));
    std::wmemset(buffer, L'#', 8);
    EXPECT_EQ(CopyBounded(buffer, 0, L"x") + CopyBounded(buffer, 3, L"xyz"), 2u);
    EXPECT_EQ(std::wstring(buffer, 8), std::wstring(L"xy\0#####", 8));
    // Never between the halves of a character, and a cut ends the text: nothing that would
    // still fit follows the character that did not.
    wchar_t small[4];
    EXPECT_EQ(CopyToField(small, L"ab\U0001F600"), 2u);
    EXPECT_STREQ(small, L"ab");
    FormatToField(small, L"%1\U0001F600.", {L"ab"});
    EXPECT_STREQ(small, L"ab");
}

TEST(InitializeUI, KeepsOneContextAndRefreshesTheHostsArguments) {
    ScanSettingsRecord settings{};
    InitializeUI(nullptr, &settings, nullptr, nullptr, nullptr);
    UiContext* context = CurrentUiContext();
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(context->settings, &settings);
    // A second call refreshes the host's arguments in the same context, never a new one.
    InitializeUI(nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(CurrentUiContext(), context);
    EXPECT_EQ(context->settings, nullptr) << "a stale record pointer would outlive the host's";
}

}  // namespace
