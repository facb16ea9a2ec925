// LoadResourceLibrary against the product installed in the test prefix.

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <string>

#include "api/LanguageFolder.h"
#include "api/ResourceLibrary.h"
#include "api/UiContext.h"
#include "support/TraceCapture.h"

namespace quorveltwain {
namespace {

std::wstring InstalledResourceLibrary(const wchar_t* folder) {
    wchar_t windows[MAX_PATH];
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\TWAIN_64\\VRXTWAIN\\LANG\\" + folder + L"\\Resource.dll";
}

TEST(ResourceLibrary, LoadsTheUsersLanguageAndRegistersItsFont) {
    ASSERT_STREQ(UserLanguageFolder(), L"en") << "the tests run with an English user locale";
    ASSERT_EQ(
        GetFileAttributesW(InstalledResourceLibrary(L"en").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u)
        << "the install step did not run";

    // Leftovers in the dialog fields must not survive: nothing may reach a stale window.
    int stale = 0;
    UiContext context{};
    context.mainDialog = reinterpret_cast<DlgMain*>(&stale);
    context.progressDialog = reinterpret_cast<DlgProgress*>(&stale);
    context.previewDialog = reinterpret_cast<DlgPreview*>(&stale);
    context.messageDialog = reinterpret_cast<DlgMessages*>(&stale);

    testsupport::TraceCapture capture;
    EXPECT_TRUE(LoadResourceLibrary(context));

    EXPECT_EQ(capture.Lines(),
              std::vector<std::wstring>{L"[VRX RERAR UR] LoadResourceLibrary()\n"});
    ASSERT_NE(context.resourceModule, nullptr);
    EXPECT_EQ(context.resourceModule, GetModuleHandleW(InstalledResourceLibrary(L"en").c_str()));
    EXPECT_NE(context.fontHandle, nullptr);
    EXPECT_EQ(context.mainDialog, nullptr);
    EXPECT_EQ(context.progressDialog, nullptr);
    EXPECT_EQ(context.previewDialog, nullptr);
    EXPECT_EQ(context.messageDialog, nullptr);

    // COM is initialised on this thread: a second CoInitialize only counts up (S_FALSE).
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();
}

}  // namespace
}  // namespace quorveltwain
