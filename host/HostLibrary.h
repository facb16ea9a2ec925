#pragma once
// TWAIN_UI.dll as the stand-in host sees it: loaded at run time and reached through
// GetProcAddress, as the data source that ships it does.

#include <windows.h>

#include "twain_ui.h"

namespace standin {

struct HostLibrary {
    HMODULE module = nullptr;
    decltype(&::InitializeUI) InitializeUI = nullptr;
    decltype(&::OpenUI) OpenUI = nullptr;
    decltype(&::CloseUI) CloseUI = nullptr;
    decltype(&::ShowScanProgress) ShowScanProgress = nullptr;
    decltype(&::CloseScanProgress) CloseScanProgress = nullptr;
    decltype(&::CancelScanUI) CancelScanUI = nullptr;
    decltype(&::ShowScanInterruptionUI) ShowScanInterruptionUI = nullptr;
    decltype(&::ShowErrorMessage) ShowErrorMessage = nullptr;
    decltype(&::ShowPreviewImage) ShowPreviewImage = nullptr;
    decltype(&::XMLSCNLST_Open) XMLSCNLST_Open = nullptr;
    decltype(&::XMLSCNLST_Read) XMLSCNLST_Read = nullptr;
    decltype(&::XMLSCNLST_Close) XMLSCNLST_Close = nullptr;

    // False, with the missing export's name in `missing`, when the DLL is incomplete.
    bool Load(const wchar_t* path, const char** missing);
    ~HostLibrary();
};

}  // namespace standin
