// Windows of the library are made inside its manifest context, taken here from the real
// TWAIN_UI.dll: inside it they get version 6 of the common controls, outside they do not,
// and what Windows reported about the call reaches the caller unchanged.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "platform/ActivationContext.h"
#include "platform/WindowCreation.h"

namespace quorveltwain {
namespace {

// Only version 6 of the edit control knows cue banners; version 5 answers FALSE.
bool EditControlIsVersion6() {
    const HWND edit = CreateWindowExW(0, L"Edit", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                      nullptr, nullptr);
    const bool v6 = SendMessageW(edit, EM_SETCUEBANNER, 0, LPARAM(L"cue")) == TRUE;
    DestroyWindow(edit);
    return v6;
}

TEST(ActivationContext, GivesVersion6InsideOnlyAndKeepsTheCallsResultAndError) {
    UniqueModule library(LoadLibraryW(L"TWAIN_UI.dll"));
    ASSERT_TRUE(library) << "TWAIN_UI.dll not found beside the test: " << GetLastError();
    const ActivationContext context(library.get());
    ASSERT_TRUE(context.IsValid()) << "no manifest resource 2 in TWAIN_UI.dll";

    EXPECT_FALSE(EditControlIsVersion6()) << "the test process itself should run version 5";
    {
        const ActivationContext::Scope scope(context);
        EXPECT_TRUE(EditControlIsVersion6());
    }
    EXPECT_FALSE(EditControlIsVersion6()) << "the context stayed active after its scope";
    EXPECT_TRUE(context.Run(EditControlIsVersion6));

    SetLastError(0);
    EXPECT_EQ(context.Run([] { return SetLastError(ERROR_FILE_NOT_FOUND), 42; }), 42);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST(WindowCreation, FailuresKeepWindowsResultAndLastError) {
    // No module and no template: the modal call fails as DialogBoxParamW does.
    SetLastError(0);
    const INT_PTR direct = DialogBoxParamW(nullptr, MAKEINTRESOURCEW(9999), nullptr, nullptr, 0);
    const DWORD directError = GetLastError();
    ASSERT_EQ(direct, -1);
    SetLastError(0);
    EXPECT_EQ(RunModalDialog(nullptr, 9999, nullptr, nullptr), direct);
    EXPECT_EQ(GetLastError(), directError);
    SetLastError(0);
    EXPECT_EQ(CreateModelessDialog(nullptr, 9999, nullptr, nullptr), nullptr);
    EXPECT_NE(GetLastError(), 0u);

    SetLastError(0);
    CreateWindowExW(0, L"NoSuchClass", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const DWORD noClassError = GetLastError();
    ASSERT_NE(noClassError, 0u);
    SetLastError(0);
    EXPECT_EQ(CreatePlainWindow(0, L"NoSuchClass", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr,
                                nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), noClassError);
}

}  // namespace
}  // namespace quorveltwain
