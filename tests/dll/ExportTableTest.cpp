// The real TWAIN_UI.dll as a host loads it: its export table and its only resource. (Its
// InitializeUI with the installed product starts every host-level window test.)

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/LoadedLibrary.h"
#include "twain_ui.h"

namespace {

// A host may import by ordinal, so each name keeps its place: ordinals run from 1 in this
// order (the names' ASCII order), the ten restriction checks last.
constexpr const char* kExports[] = {
    "CancelScanUI",     "CloseScanProgress", "CloseUI",          "InitializeUI",
    "OpenUI",           "ShowErrorMessage",  "ShowPreviewImage", "ShowScanInterruptionUI",
    "ShowScanProgress", "XMLSCNLST_Close",   "XMLSCNLST_Open",   "XMLSCNLST_Read",
    "XMLSCN_Add",       "XMLSCN_Close",      "XMLSCN_Delete",    "XMLSCN_GetSize",
    "XMLSCN_Open",      "XMLSCN_Read",       "XMLSCN_ReadSet",   "XMLSCN_Save",
    "XMLSCN_Update",    "XMLSCN_UpdateSet",
};
constexpr const char* kRestrictions[] = {
    "ColorMode",           "Contrast",     "DuplexMode",          "ExposureLevel", "ImageQuality",
    "OriginalOrientation", "OriginalSize", "PreventBleedThrough", "Resolution",    "SendingSize",
};

TEST(ExportTable, NamesAndOrdinalsReachTheSameFunctions) {
    testsupport::LoadedLibrary library;
    ASSERT_NE(library.get(), nullptr) << "LoadLibraryW failed: " << GetLastError();
    std::vector<std::string> names(std::begin(kExports), std::end(kExports));
    for (const char* check : kRestrictions) {
        names.push_back(std::string("XML_Validate") + check + "Restriction");
    }
    WORD ordinal = 0;
    for (const std::string& name : names) {
        ++ordinal;
        const FARPROC byName = GetProcAddress(library.get(), name.c_str());
        EXPECT_NE(byName, nullptr) << name;
        EXPECT_EQ(byName, GetProcAddress(library.get(), MAKEINTRESOURCEA(ordinal)))
            << name << " @" << ordinal;
    }
    EXPECT_EQ(ordinal, 32);
    EXPECT_EQ(GetProcAddress(library.get(), MAKEINTRESOURCEA(ordinal + 1)), nullptr)
        << "an export beyond the table";
}

TEST(InitializeUI, TheLibrarysOnlyResourceIsItsManifest) {
    const HMODULE library = LoadLibraryExW(L"TWAIN_UI.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(library, nullptr);
    // Everything else lives in the resource libraries.
    std::vector<ULONG_PTR> types;
    EnumResourceTypesW(
        library,
        [](HMODULE, LPWSTR type, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::vector<ULONG_PTR>*>(found)->push_back(
                reinterpret_cast<ULONG_PTR>(type));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&types));
    EXPECT_EQ(types, std::vector<ULONG_PTR>{reinterpret_cast<ULONG_PTR>(RT_MANIFEST)});
    EXPECT_NE(FindResourceW(library, ISOLATIONAWARE_MANIFEST_RESOURCE_ID, RT_MANIFEST), nullptr);
    FreeLibrary(library);
}

}  // namespace
