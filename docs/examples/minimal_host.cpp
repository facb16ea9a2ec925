// The smallest data source that drives TWAIN_UI.dll: it loads the library, reads a device list,
// opens the settings window and answers the host messages until the user closes the window or
// the given time is up. Usage: minimal_host <device list> <schema> [milliseconds until closing]
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "twain_ui.h"

namespace {
decltype(&InitializeUI) initializeUI;
decltype(&OpenUI) openUI;
decltype(&CloseUI) closeUI;
decltype(&ShowScanProgress) showScanProgress;
decltype(&CloseScanProgress) closeScanProgress;
decltype(&XMLSCNLST_Open) deviceListOpen;
decltype(&XMLSCNLST_Read) deviceListRead;
decltype(&XMLSCNLST_Close) deviceListClose;

template <typename Function>
bool Get(HMODULE library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return function != nullptr;
}

ScanSettingsRecord settings{};  // the host's record: the settings window edits it in place
uint32_t option = 0;            // 0: the two-entry option list is not offered
constexpr UINT kScanNow = WM_APP + 1;

LRESULT CALLBACK HostWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case HM_SCAN:  // the settings thread waits in here: read the record, scan later
            std::wprintf(L"%ls at resolution code %d\n", wParam == 1 ? L"preview" : L"scan",
                         settings.resolution);
            PostMessageW(window, kScanNow, wParam, 0);
            return 0;
        case kScanNow:  // a real data source transfers its images between these two calls
            showScanProgress();
            closeScanProgress();  // also enables the settings window again
            return 0;
        case HM_UI_CLOSED:  // the user closed the settings window
        case WM_TIMER:      // the application asked the data source to close it
            PostQuitMessage(0);
            return 0;
        default:  // HM_CANCEL, HM_CONTINUE: this host's scans end at once
            return DefWindowProcW(window, message, wParam, lParam);
    }
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fputws(L"usage: minimal_host <device list> <schema> [milliseconds]\n", stderr);
        return 2;
    }
    wchar_t path[MAX_PATH] = {};
    GetSystemWindowsDirectoryW(path, MAX_PATH);
    wcscat_s(path, L"\\TWAIN_64\\VRXTWAIN\\TWAIN_UI.dll");
    const HMODULE library = LoadLibraryW(path);
    if (library == nullptr || !Get(library, "InitializeUI", initializeUI) ||
        !Get(library, "OpenUI", openUI) || !Get(library, "CloseUI", closeUI) ||
        !Get(library, "ShowScanProgress", showScanProgress) ||
        !Get(library, "CloseScanProgress", closeScanProgress) ||
        !Get(library, "XMLSCNLST_Open", deviceListOpen) ||
        !Get(library, "XMLSCNLST_Read", deviceListRead) ||
        !Get(library, "XMLSCNLST_Close", deviceListClose)) {
        std::fwprintf(stderr, L"cannot use %ls\n", path);
        return 1;
    }
    XMLSCN_HANDLE list = nullptr;
    DevListRecord* device = nullptr;  // the library's, valid while it stays loaded
    uint32_t status = deviceListOpen(argv[1], argv[2], &list);
    if (status == XMLSCN_OK) {
        status = deviceListRead(list, &device);
        deviceListClose(list);  // the record outlives the handle
    }
    if (status != XMLSCN_OK) {
        std::fwprintf(stderr, L"cannot read %ls: status %u\n", argv[1], status);
        return 3;
    }
    std::wprintf(L"model: %ls\n", device->model_name);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HostWindow;
    windowClass.lpszClassName = L"MinimalTwainHost";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, nullptr, nullptr);  // message-only: never shown
    initializeUI(window, &settings, device, &option, nullptr);
    openUI(nullptr);  // returns at once; the window opens on the library's own thread
    if (argc > 3) SetTimer(window, 1, static_cast<UINT>(_wtoi(argv[3])), nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    closeUI();  // waits for the settings thread unless the user closed the window
    std::wprintf(L"closed; resolution code %d\n", settings.resolution);
    DestroyWindow(window);
    return 0;
}
