// Loads the real TWAIN_UI.dll as a host would and checks what the Windows loader sees.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/LoadedLibrary.h"
#include "support/TraceCapture.h"

namespace {

struct Export {
    const char* name;
    WORD ordinal;
};

// A host may import by ordinal, so every name must keep this ordinal.
constexpr Export kExports[] = {
    {"CancelScanUI", 1},
    {"CloseScanProgress", 2},
    {"CloseUI", 3},
    {"InitializeUI", 4},
    {"OpenUI", 5},
    {"ShowErrorMessage", 6},
    {"ShowPreviewImage", 7},
    {"ShowScanInterruptionUI", 8},
    {"ShowScanProgress", 9},
    {"XMLSCNLST_Close", 10},
    {"XMLSCNLST_Open", 11},
    {"XMLSCNLST_Read", 12},
    {"XMLSCN_Add", 13},
    {"XMLSCN_Close", 14},
    {"XMLSCN_Delete", 15},
    {"XMLSCN_GetSize", 16},
    {"XMLSCN_Open", 17},
    {"XMLSCN_Read", 18},
    {"XMLSCN_ReadSet", 19},
    {"XMLSCN_Save", 20},
    {"XMLSCN_Update", 21},
    {"XMLSCN_UpdateSet", 22},
    {"XML_ValidateColorModeRestriction", 23},
    {"XML_ValidateContrastRestriction", 24},
    {"XML_ValidateDuplexModeRestriction", 25},
    {"XML_ValidateExposureLevelRestriction", 26},
    {"XML_ValidateImageQualityRestriction", 27},
    {"XML_ValidateOriginalOrientationRestriction", 28},
    {"XML_ValidateOriginalSizeRestriction", 29},
    {"XML_ValidatePreventBleedThroughRestriction", 30},
    {"XML_ValidateResolutionRestriction", 31},
    {"XML_ValidateSendingSizeRestriction", 32},
};

using Library = testsupport::LoadedLibrary;

TEST(ExportTable, NamesAndOrdinalsReachTheSameFunctions) {
    Library library;
    ASSERT_NE(library.get(), nullptr) << "LoadLibraryW failed: " << GetLastError();
    for (const Export& entry : kExports) {
        FARPROC byName = GetProcAddress(library.get(), entry.name);
        FARPROC byOrdinal = GetProcAddress(library.get(), MAKEINTRESOURCEA(entry.ordinal));
        EXPECT_NE(byName, nullptr) << entry.name;
        EXPECT_EQ(byName, byOrdinal) << entry.name << " @" << entry.ordinal;
    }
    // One close for both kinds of store, one placeholder under two names.
    EXPECT_EQ(GetProcAddress(library.get(), "XMLSCNLST_Close"),
              GetProcAddress(library.get(), "XMLSCN_Close"));
    EXPECT_EQ(GetProcAddress(library.get(), "XMLSCN_Update"),
              GetProcAddress(library.get(), "XMLSCN_Read"));
    // Names are undecorated: no leading underscore, no @N suffix.
    EXPECT_EQ(GetProcAddress(library.get(), "_InitializeUI"), nullptr);
    EXPECT_EQ(GetProcAddress(library.get(), "InitializeUI@40"), nullptr);
}

TEST(ExportTable, TheLoadedLibraryTracesThroughItsExports) {
    Library library;
    ASSERT_NE(library.get(), nullptr);
    using ShowCode = int(__cdecl*)(int);
    auto showError = reinterpret_cast<ShowCode>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "ShowErrorMessage")));
    ASSERT_NE(showError, nullptr);

    testsupport::TraceCapture capture;
    // Code 1 opens no window even when another test has initialised the library (a
    // message without an owner would be modal and wait for the user).
    EXPECT_EQ(showError(1), 0);
    const auto lines = capture.Lines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], L"[VRX RERAR UR] ShowErrorMessage() error_code == 1\n");
}

}  // namespace
