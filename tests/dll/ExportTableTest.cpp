// The real TWAIN_UI.dll as a host loads it: its export table and its only resource. (Its
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

TEST(InitializeUI, TheLibrarysOnlyResourceIsItsManifest) {
    const HMODULE library = LoadLibraryExW(L"TWAIN_UI.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(library, nullptr);
    // Everything else lives in the resource libraries.
    std::vector<ULONG_PTR> types;
    const auto add = [](HMODULE, LPWSTR type, LONG_PTR found) -> BOOL {
        reinterpret_cast<std::vector<ULONG_PTR>*>(found)->push_back(ULONG_PTR(type));
        return TRUE;
    };
    EnumResourceTypesW(library, add, LONG_PTR(&types));
    EXPECT_EQ(types, std::vector<ULONG_PTR>{reinterpret_cast<ULONG_PTR>(RT_MANIFEST)});
    EXPECT_NE(FindResourceW(library, ISOLATIONAWARE_MANIFEST_RESOURCE_ID, RT_MANIFEST), nullptr);
    FreeLibrary(library);
}

}  // namespace
