// InitializeUI of the real TWAIN_UI.dll with the product installed in the test prefix: the
// English resource library is loaded, its font registered, and the DLL carries nothing
// but its manifest.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/TraceCapture.h"
#include "twain_ui.h"

namespace {

std::wstring InstalledResourceLibrary(const wchar_t* folder) {
    wchar_t windows[MAX_PATH];
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + L"\\TWAIN_64\\VRXTWAIN\\LANG\\" + folder + L"\\Resource.dll";
}

template <typename Function>
Function Export(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

TEST(InitializeUI, LoadsTheInstalledEnglishLibraryAndRegistersItsFont) {
    const std::wstring english = InstalledResourceLibrary(L"en");
    ASSERT_NE(GetFileAttributesW(english.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the install step did not run";
    // Nothing of the product is in the process before InitializeUI.
    EXPECT_EQ(GetModuleHandleW(english.c_str()), nullptr);

    HMODULE library = LoadLibraryW(L"TWAIN_UI.dll");
    ASSERT_NE(library, nullptr);
    auto initializeUI = Export<decltype(&InitializeUI)>(library, "InitializeUI");
    ASSERT_NE(initializeUI, nullptr);

    ScanSettingsRecord settings{};
    std::uint32_t option = 0;
    testsupport::TraceCapture capture;
    EXPECT_EQ(initializeUI(nullptr, &settings, nullptr, &option, nullptr), 0);

    EXPECT_EQ(capture.Lines(),
              (std::vector<std::wstring>{L"[VRX RERAR UR] InitializeUI()\n",
                                         L"[VRX RERAR UR] LoadResourceLibrary()\n"}));
    EXPECT_NE(GetModuleHandleW(english.c_str()), nullptr);
    // The font registration itself is checked where the context is visible (unit tests):
    // the shipped family is also a system font of the machines that build it.
    // The library stays loaded: the context and its windows live until the process ends.
}

BOOL CALLBACK CollectType(HMODULE, LPWSTR type, LONG_PTR types) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(types)->push_back(reinterpret_cast<ULONG_PTR>(type));
    return TRUE;
}
BOOL CALLBACK CollectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(names)->push_back(reinterpret_cast<ULONG_PTR>(name));
    return TRUE;
}
BOOL CALLBACK CollectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

TEST(InitializeUI, TheLibrarysOnlyResourceIsItsManifest) {
    HMODULE library = LoadLibraryExW(L"TWAIN_UI.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(library, nullptr);
    std::vector<ULONG_PTR> types, names;
    std::vector<WORD> languages;
    EnumResourceTypesW(library, CollectType, reinterpret_cast<LONG_PTR>(&types));
    EnumResourceNamesW(library, RT_MANIFEST, CollectName, reinterpret_cast<LONG_PTR>(&names));
    EnumResourceLanguagesW(library, RT_MANIFEST, MAKEINTRESOURCEW(2), CollectLanguage,
                           reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(types, std::vector<ULONG_PTR>{24}) << "RT_MANIFEST only";
    EXPECT_EQ(names, std::vector<ULONG_PTR>{2});
    EXPECT_EQ(languages, std::vector<WORD>{1033});

    HRSRC found = FindResourceW(library, MAKEINTRESOURCEW(2), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(library, found))),
                               SizeofResource(library, found));
    for (const char* part :
         {"level=\"asInvoker\"", "uiAccess=\"false\"", "name=\"Microsoft.Windows.Common-Controls\"",
          "version=\"6.0.0.0\"", "processorArchitecture=\"*\"", "language=\"*\"",
          "publicKeyToken=\"6595b64144ccf1df\""}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
    FreeLibrary(library);
}

}  // namespace
