// The library's manifest context, made from the real TWAIN_UI.dll: inside it windows get
// version 6 of the common controls, outside it they do not.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "platform/ActivationContext.h"
#include "api/UiContext.h"

namespace quorveltwain {
namespace {

struct WindowTraits {
    using Type = HWND;
    static constexpr LiveKind kKind = LiveKind::Window;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyWindow(h); }
};
using UniqueWindow = UniqueHandle<WindowTraits>;

// Only version 6 of the edit control knows cue banners; version 5 answers FALSE.
bool EditControlIsVersion6() {
    UniqueWindow edit(CreateWindowExW(0, L"Edit", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr));
    if (!edit) return false;
    return SendMessageW(edit.get(), EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(L"cue")) ==
           TRUE;
}

class ActivationContextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        library_.reset(LoadLibraryW(L"TWAIN_UI.dll"));
        ASSERT_TRUE(library_) << "TWAIN_UI.dll not found beside the test: " << GetLastError();
    }
    UniqueModule library_;
};

TEST_F(ActivationContextTest, CommonControlsVersion6OnlyInsideTheLibraryContext) {
    const ActivationContext context(library_.get());
    ASSERT_TRUE(context.IsValid()) << "no manifest resource 2 in TWAIN_UI.dll";

    EXPECT_FALSE(EditControlIsVersion6()) << "the test process itself should run version 5";
    {
        const ActivationContext::Scope scope(context);
        EXPECT_TRUE(scope.IsActive());
        EXPECT_TRUE(EditControlIsVersion6());
    }
    EXPECT_FALSE(EditControlIsVersion6()) << "the context stayed active after its scope";
    EXPECT_TRUE(context.Run(EditControlIsVersion6));
}

TEST_F(ActivationContextTest, RunHandsBackTheCallsResultAndLastError) {
    const ActivationContext context(library_.get());
    ASSERT_TRUE(context.IsValid());
    SetLastError(0);
    const int result = context.Run([] {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 42;
    });
    EXPECT_EQ(result, 42);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    // A window creation that fails: its own error survives the deactivation.
    DWORD errorInside = 0;
    SetLastError(0);
    const HWND none = context.Run([&errorInside] {
        const HWND window = CreateWindowExW(0, L"NoSuchWindowClass", L"", WS_POPUP, 0, 0, 1, 1,
                                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        errorInside = GetLastError();
        return window;
    });
    EXPECT_EQ(none, nullptr);
    EXPECT_NE(errorInside, 0u);
    EXPECT_EQ(GetLastError(), errorInside);
}

TEST_F(ActivationContextTest, AModuleWithoutManifestGivesAnInertContext) {
    // The test program has no manifest resource 2: nothing is activated, calls still run.
    const ActivationContext context(GetModuleHandleW(nullptr));
    EXPECT_FALSE(context.IsValid());
    const ActivationContext::Scope scope(context);
    EXPECT_FALSE(scope.IsActive());
    EXPECT_EQ(context.Run([] { return 7; }), 7);
    EXPECT_FALSE(ActivationContext(nullptr).IsValid());
}

TEST_F(ActivationContextTest, TheLibraryContextIsMadeOnceFromTheLibraryModule) {
    const HMODULE previous = LibraryModule();
    SetLibraryModule(library_.get());
    const ActivationContext& first = ActivationContext::ForLibrary();
    const ActivationContext& second = ActivationContext::ForLibrary();
    SetLibraryModule(previous);
    ASSERT_TRUE(first.IsValid());
    EXPECT_EQ(&first, &second);
    EXPECT_EQ(first.get(), second.get());
    EXPECT_TRUE(first.Run(EditControlIsVersion6));
}

}  // namespace
}  // namespace quorveltwain
