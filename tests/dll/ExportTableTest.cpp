// Loads the real TWAIN_UI.dll as a host would and checks what the Windows loader sees.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/TraceCapture.h"

namespace {

struct Export {
    const char* name;
    WORD ordinal;
};

// A host may import by ordinal, so every name must keep this ordinal.
constexpr Export kWindowExports[] = {
    {"CancelScanUI", 1},     {"CloseScanProgress", 2}, {"CloseUI", 3},
    {"InitializeUI", 4},     {"OpenUI", 5},            {"ShowErrorMessage", 6},
    {"ShowPreviewImage", 7}, {"ShowScanInterruptionUI", 8}, {"ShowScanProgress", 9},
};

class Library {
public:
    Library() : module_(LoadLibraryW(L"TWAIN_UI.dll")) {}
    ~Library() {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

TEST(ExportTable, NamesAndOrdinalsReachTheSameFunctions) {
    Library library;
    ASSERT_NE(library.get(), nullptr) << "LoadLibraryW failed: " << GetLastError();
    for (const Export& entry : kWindowExports) {
        FARPROC byName = GetProcAddress(library.get(), entry.name);
        FARPROC byOrdinal = GetProcAddress(library.get(), MAKEINTRESOURCEA(entry.ordinal));
        EXPECT_NE(byName, nullptr) << entry.name;
        EXPECT_EQ(byName, byOrdinal) << entry.name << " @" << entry.ordinal;
    }
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
