#pragma once
// The one context of the window exports. InitializeUI creates it; it lives until the
// library is unloaded, and every export reaches it through CurrentUiContext().

#include <windows.h>

#include <cstdint>

#include "platform/LibraryModule.h"
#include "settings/ScanSettingsRecord.h"

namespace quorveltwain {

class DlgMain;
class DlgProgress;
class DlgPreview;
class DlgMessages;

// Field order is the documented order of the context; every field is pointer-sized.
struct UiContext {
    HMODULE module = nullptr;                // this library, as the entry point saw it
    HMODULE resourceModule = nullptr;        // resource library of the user's language
    HWND hostWindow = nullptr;               // receives the host messages
    HWND ownerWindow = nullptr;              // owns the progress window without settings
    ScanSettingsRecord* settings = nullptr;  // the host's record, edited in place
    DevListRecord* device = nullptr;         // the connected model's device record
    std::uint32_t* optionValue = nullptr;    // host-owned value of the two-entry list
    DlgMain* mainDialog = nullptr;           // null while no settings window exists
    DlgProgress* progressDialog = nullptr;   // progress window without settings window
    DlgPreview* previewDialog = nullptr;     // preview window without settings window
    DlgMessages* messageDialog = nullptr;    // created on first use, then reused
    HANDLE fontHandle = nullptr;             // the resource library's registered font
};

static_assert(sizeof(UiContext) == 12 * sizeof(void*));

// Null before the first InitializeUI.
UiContext* CurrentUiContext() noexcept;
void SetCurrentUiContext(UiContext* context) noexcept;

}  // namespace quorveltwain
