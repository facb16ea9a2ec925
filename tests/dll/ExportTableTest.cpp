// The real TWAIN_UI.dll as a host loads it: its export table and its resources. (Its
// InitializeUI with the installed product starts every host-level window test.)

#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "twain_ui.h"

namespace {

// A host may import by ordinal, so each name keeps its place: ordinals run from 1 in this
// order (the names' ASCII order), the ten restriction checks last.
constexpr const char* kExports =
    "CancelScanUI CloseScanProgress CloseUI InitializeUI OpenUI ShowErrorMessage "
    "ShowPreviewImage ShowScanInterruptionUI ShowScanProgress XMLSCNLST_Close XMLSCNLST_Open "
    "XMLSCNLST_Read XMLSCN_Add XMLSCN_Close XMLSCN_Delete XMLSCN_GetSize XMLSCN_Open "
    "XMLSCN_Read XMLSCN_ReadSet XMLSCN_Save XMLSCN_Update XMLSCN_UpdateSet "
    "XML_ValidateColorModeRestriction XML_ValidateContrastRestriction "
    "XML_ValidateDuplexModeRestriction XML_ValidateExposureLevelRestriction "
    "XML_ValidateImageQualityRestriction XML_ValidateOriginalOrientationRestriction "
    "XML_ValidateOriginalSizeRestriction XML_ValidatePreventBleedThroughRestriction "
    "XML_ValidateResolutionRestriction XML_ValidateSendingSizeRestriction";

TEST(ExportTable, NamesAndOrdinalsReachTheSameFunctions) {
    // Never freed, here and below: the context and its windows live until the process ends.
    const HMODULE library = LoadLibraryW(L"TWAIN_UI.dll");
    ASSERT_NE(library, nullptr) << "LoadLibraryW failed: " << GetLastError();
    WORD ordinal = 0;
    std::istringstream names(kExports);
    for (std::string name; names >> name;) {
        const FARPROC byName = GetProcAddress(library, name.c_str());
        EXPECT_NE(byName, nullptr) << name;
        EXPECT_EQ(byName, GetProcAddress(library, MAKEINTRESOURCEA(++ordinal))) << name;
    }
    EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCEA(ordinal + 1)), nullptr)
        << "an export beyond the table";
}

// Every name (ids as numbers) under one resource type, or the languages of one resource.
std::vector<ULONG_PTR> ResourceNames(HMODULE library, LPCWSTR type) {
    std::vector<ULONG_PTR> names;
    EnumResourceNamesW(
        library, type,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<ULONG_PTR>*>(found)->push_back(ULONG_PTR(name));
            return TRUE;
        },
        LONG_PTR(&names));
    return names;
}

std::vector<WORD> ResourceLanguages(HMODULE library, LPCWSTR type, LPCWSTR name) {
    std::vector<WORD> languages;
    EnumResourceLanguagesW(
        library, type, name,
        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
            return TRUE;
        },
        LONG_PTR(&languages));
    return languages;
}

TEST(InitializeUI, TheLibrarysResourcesAreItsManifestAndItsVersion) {
    const HMODULE library = LoadLibraryExW(L"TWAIN_UI.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(library, nullptr);
    // Everything a user sees lives in the resource libraries; beside the manifest the DLL
    // carries only its version, which installers and the file's properties read.
    std::vector<ULONG_PTR> types;
    const auto add = [](HMODULE, LPWSTR type, LONG_PTR found) -> BOOL {
        reinterpret_cast<std::vector<ULONG_PTR>*>(found)->push_back(ULONG_PTR(type));
        return TRUE;
    };
    EnumResourceTypesW(library, add, LONG_PTR(&types));
    EXPECT_EQ(types, (std::vector<ULONG_PTR>{ULONG_PTR(RT_VERSION), ULONG_PTR(RT_MANIFEST)}));
    EXPECT_EQ(ResourceNames(library, RT_VERSION), std::vector<ULONG_PTR>{VS_VERSION_INFO});

    const auto manifestId = ISOLATIONAWARE_MANIFEST_RESOURCE_ID;
    EXPECT_EQ(ResourceNames(library, RT_MANIFEST), std::vector<ULONG_PTR>{ULONG_PTR(manifestId)});
    EXPECT_EQ(ResourceLanguages(library, RT_MANIFEST, manifestId), std::vector<WORD>{1033});
    const HRSRC found = FindResourceW(library, manifestId, RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(library, found))),
                               SizeofResource(library, found));
    for (const char* required :
         {"level=\"asInvoker\"", "uiAccess=\"false\"", "name=\"Microsoft.Windows.Common-Controls\"",
          "version=\"6.0.0.0\"", "processorArchitecture=\"*\"",
          "publicKeyToken=\"6595b64144ccf1df\"", "language=\"*\""}) {
        EXPECT_NE(manifest.find(required), std::string::npos) << required;
    }
    FreeLibrary(library);
}

}  // namespace
