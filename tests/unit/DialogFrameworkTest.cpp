// The framework's window creation and tool tips, on plain windows of the test.

#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "ui/ToolTip.h"
#include "platform/WindowCreation.h"

using namespace quorveltwain;

namespace {

std::vector<HWND> ToolTipsOwnedBy(HWND owner) {
    struct Search {
        HWND owner;
        std::vector<HWND> found;
    } search{owner, {}};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            wchar_t className[32] = {};
            GetClassNameW(window, className, 32);
            if (lstrcmpW(className, TOOLTIPS_CLASSW) == 0 &&
                GetWindow(window, GW_OWNER) == s->owner) {
                s->found.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(DialogFramework, CreationFailuresReportWhatWindowsReported) {
    // No module and no template: the modal call fails as DialogBoxParamW does, with -1 and
    // Windows' own last error, untouched by the activation context around it.
    SetLastError(0);
    const INT_PTR direct = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(9999), nullptr, nullptr, 0);
    const DWORD directError = GetLastError();
    SetLastError(0);
    EXPECT_EQ(RunModalDialog(nullptr, 9999, nullptr, nullptr), direct);
    EXPECT_EQ(GetLastError(), directError);
    EXPECT_EQ(direct, -1);

    SetLastError(0);
    EXPECT_EQ(CreateModelessDialog(nullptr, 9999, nullptr, nullptr), nullptr);
    EXPECT_NE(GetLastError(), 0u);

    SetLastError(0);
    EXPECT_EQ(CreateWindowExW(0, L"NoSuchClassAnywhere", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr,
                              nullptr, nullptr, nullptr),
              nullptr);
    const DWORD noClassError = GetLastError();
    EXPECT_NE(noClassError, 0u);
    SetLastError(0);
    EXPECT_EQ(CreatePlainWindow(0, L"NoSuchClassAnywhere", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr,
                                nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), noClassError);

    const HWND made = CreatePlainWindow(0, L"STATIC", L"made", WS_POPUP, 0, 0, 10, 10, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(made, nullptr);
    wchar_t title[8] = {};
    GetWindowTextW(made, title, 8);
    EXPECT_STREQ(title, L"made");
    DestroyWindow(made);
}

TEST(DialogFramework, EachToolTipCallAddsOneTooltipWindowForTheControl) {
    const HWND dialog = CreateWindowExW(0, L"STATIC", L"dialog", WS_POPUP, 0, 0, 200, 100, nullptr,
                                        nullptr, nullptr, nullptr);
    ASSERT_NE(dialog, nullptr);
    const HWND control = CreateWindowExW(0, L"BUTTON", L"b", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20,
                                         dialog, reinterpret_cast<HMENU>(1050), nullptr, nullptr);
    ASSERT_NE(control, nullptr);

    wchar_t text[64] = L"First text";
    AddToolTip(nullptr, dialog, 1050, text);
    lstrcpyW(text, L"Reused buffer");  // the tooltip keeps its own copy
    std::vector<HWND> tips = ToolTipsOwnedBy(dialog);
    ASSERT_EQ(tips.size(), 1u);
    const HWND tip = tips[0];
    EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_INITIAL, 0), 150);
    EXPECT_EQ(SendMessageW(tip, TTM_GETDELAYTIME, TTDT_AUTOPOP, 0), 5000);
    EXPECT_NE(GetWindowLongPtrW(tip, GWL_STYLE) & TTS_ALWAYSTIP, 0);

    wchar_t shown[64] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = shown;
    SendMessageW(tip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(shown, L"First text");
    ASSERT_TRUE(SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_EQ(tool.uFlags & (TTF_IDISHWND | TTF_SUBCLASS),
              static_cast<UINT>(TTF_IDISHWND | TTF_SUBCLASS));

    AddToolTip(nullptr, dialog, 1050, text);
    EXPECT_EQ(ToolTipsOwnedBy(dialog).size(), 2u) << "a second call adds a second tooltip";

    // Tooltips go with their owner.
    DestroyWindow(dialog);
    EXPECT_FALSE(IsWindow(tip));
}

}  // namespace
