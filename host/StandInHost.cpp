// The stand-in host: plays the TWAIN data source that loads TWAIN_UI.dll. It owns a
// notification window, reads a sample device list, opens the settings window, and answers
// the host messages the way a data source would, with a simulated scan.
//
//   twain_host.exe [--model NAME|PATH] [--schema PATH] [--dll PATH] [--option 0|1|2]
//                  [--pages N] [--interrupt-at PAGE] [--error CODE] [--no-settings]
//                  [--tour FOLDER]
//
// --tour walks a scripted tour without a person and writes a BMP of every window it shows
// into FOLDER; the demo script turns them into PNG files.

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "HostLibrary.h"
#include "ScreenCapture.h"

namespace {

using standin::HostLibrary;

constexpr UINT kStartScan = WM_APP + 1;      // wParam 1: preview
constexpr UINT kTourFinished = WM_APP + 2;
constexpr UINT_PTR kPageTimer = 1;
constexpr UINT_PTR kPaperTimer = 2;

struct Options {
    std::wstring model = L"mf7240-a3";
    std::wstring schema;
    std::wstring dll;
    std::wstring tourFolder;
    std::uint32_t option = 1;
    int pages = 3;
    int interruptAt = 0;  // 0: never
    int errorCode = -1;   // -1: none
    bool openSettings = true;
};

struct Host {
    Options options;
    HostLibrary library;
    HWND window = nullptr;
    ScanSettingsRecord settings{};
    std::uint32_t optionValue = 1;
    DevListRecord* device = nullptr;
    enum class Scan { Idle, Running, Interrupted } scan = Scan::Idle;
    int page = 0;
    bool interruptedOnce = false;
    HANDLE tourThread = nullptr;
};

Host g_host;

void Log(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    vfwprintf(stdout, format, args);
    va_end(args);
    fputwc(L'\n', stdout);
    fflush(stdout);
}

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const wchar_t* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto needs = [&]() {
            if (value == nullptr) Log(L"%ls needs a value", arg.c_str());
            ++i;
            return value != nullptr;
        };
        if (arg == L"--model") {
            if (!needs()) return false;
            options.model = value;
        } else if (arg == L"--schema") {
            if (!needs()) return false;
            options.schema = value;
        } else if (arg == L"--dll") {
            if (!needs()) return false;
            options.dll = value;
        } else if (arg == L"--tour") {
            if (!needs()) return false;
            options.tourFolder = value;
        } else if (arg == L"--option") {
            if (!needs()) return false;
            options.option = static_cast<std::uint32_t>(_wtoi(value));
        } else if (arg == L"--pages") {
            if (!needs()) return false;
            options.pages = _wtoi(value) > 0 ? _wtoi(value) : 1;
        } else if (arg == L"--interrupt-at") {
            if (!needs()) return false;
            options.interruptAt = _wtoi(value);
        } else if (arg == L"--error") {
            if (!needs()) return false;
            options.errorCode = _wtoi(value);
        } else if (arg == L"--no-settings") {
            options.openSettings = false;
        } else {
            Log(L"unknown option %ls", arg.c_str());
            return false;
        }
    }
    const std::wstring folder = ExeFolder();
    if (options.model.find_first_of(L"\\/.") == std::wstring::npos) {
        options.model = folder + L"devices\\" + options.model + L".xml";
    }
    if (options.schema.empty()) options.schema = folder + L"devices\\DEVICELIST.xsd";
    if (options.dll.empty()) options.dll = folder + L"TWAIN_UI.dll";
    return true;
}

bool ReadDeviceList(Host& host) {
    XMLSCN_HANDLE handle = nullptr;
    const std::uint32_t opened =
        host.library.XMLSCNLST_Open(host.options.model.c_str(), host.options.schema.c_str(), &handle);
    if (opened != 0) {
        Log(L"XMLSCNLST_Open(%ls) failed: %u", host.options.model.c_str(), opened);
        return false;
    }
    const std::uint32_t read = host.library.XMLSCNLST_Read(handle, &host.device);
    host.library.XMLSCNLST_Close(handle);  // the record outlives the handle
    if (read != 0) {
        Log(L"XMLSCNLST_Read failed: %u", read);
        return false;
    }
    Log(L"model: %ls", host.device->model_name);
    return true;
}

// ---- The simulated scan: pages on a timer, an optional paper jam, an optional error. ----

void StartScan(Host& host, bool preview) {
    if (host.scan != Host::Scan::Idle) return;
    Log(preview ? L"preview scan" : L"scan: size %d, resolution %d, colour %d",
        host.settings.original_size, host.settings.resolution, host.settings.color_selection);
    host.scan = Host::Scan::Running;
    host.page = 0;
    host.interruptedOnce = false;
    host.library.ShowScanProgress();
    SetTimer(host.window, kPageTimer, 800, nullptr);
}

void StopScan(Host& host, bool cancelled) {
    KillTimer(host.window, kPageTimer);
    KillTimer(host.window, kPaperTimer);
    host.scan = Host::Scan::Idle;
    if (cancelled) {
        Log(L"scan cancelled");
        host.library.CancelScanUI();
        if (!host.options.openSettings) PostQuitMessage(0);
        return;
    }
    host.library.CloseScanProgress();
    Log(L"scan finished: %d pages", host.page);
    if (host.options.errorCode >= 0) host.library.ShowErrorMessage(host.options.errorCode);
    // Without a settings window the host has nothing left to wait for.
    if (!host.options.openSettings) PostQuitMessage(0);
}

void OnPageTimer(Host& host) {
    ++host.page;
    Log(L"page %d", host.page);
    if (host.page == host.options.interruptAt && !host.interruptedOnce) {
        KillTimer(host.window, kPageTimer);
        host.interruptedOnce = true;
        host.scan = Host::Scan::Interrupted;
        host.library.ShowScanInterruptionUI(0);
        host.library.ShowScanInterruptionUI(2);  // Continue waits for the paper
        SetTimer(host.window, kPaperTimer, 1500, nullptr);
        return;
    }
    if (host.page >= host.options.pages) StopScan(host, false);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Host& host = g_host;
    switch (message) {
        case HM_SCAN:
            // The settings thread waits inside this call; the scan itself runs afterwards.
            PostMessageW(window, kStartScan, wParam, 0);
            return 0;
        case kStartScan:
            StartScan(host, wParam == 1);
            return 0;
        case HM_CANCEL:
            Log(L"HM_CANCEL");
            if (host.scan != Host::Scan::Idle) StopScan(host, true);
            return 0;
        case HM_CONTINUE:
            Log(L"HM_CONTINUE");
            if (host.scan == Host::Scan::Interrupted) {
                host.scan = Host::Scan::Running;
                SetTimer(window, kPageTimer, 800, nullptr);
            }
            return 0;
        case HM_UI_CLOSED:
            Log(L"HM_UI_CLOSED");
            host.library.CloseUI();
            PostQuitMessage(0);
            return 0;
        case WM_TIMER:
            if (wParam == kPageTimer) OnPageTimer(host);
            if (wParam == kPaperTimer) {
                KillTimer(window, kPaperTimer);
                host.library.ShowScanInterruptionUI(1);  // paper reloaded: Continue enabled
            }
            return 0;
        case kTourFinished:
            if (!host.options.openSettings) PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// ---- The scripted tour, on its own thread so the host thread keeps pumping messages. ----

struct WindowList {
    DWORD process;
    HWND exclude;
    std::vector<HWND> windows;
};

std::vector<HWND> VisibleLibraryWindows(HWND host) {
    WindowList list{GetCurrentProcessId(), host, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* list = reinterpret_cast<WindowList*>(param);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == list->process && window != list->exclude && IsWindowVisible(window)) {
                list->windows.push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&list));
    return list.windows;
}

// Waits (bounded) for a visible library window that was not visible before.
HWND WaitForNewWindow(HWND host, const std::vector<HWND>& before, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        for (HWND window : VisibleLibraryWindows(host)) {
            bool seen = false;
            for (HWND old : before) seen = seen || old == window;
            if (!seen) return window;
        }
        Sleep(50);
    }
    return nullptr;
}

void Capture(const Host& host, HWND window, const wchar_t* name) {
    if (window == nullptr) {
        Log(L"tour: no window for %ls", name);
        return;
    }
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(300);  // let the X server show what was just painted
    const std::wstring path = host.options.tourFolder + L"\\" + name + L".bmp";
    Log(standin::CaptureWindow(window, path.c_str()) ? L"tour: wrote %ls" : L"tour: failed %ls",
        path.c_str());
}

DWORD WINAPI TourThread(void*) {
    Host& host = g_host;
    std::vector<HWND> before = VisibleLibraryWindows(host.window);
    HWND settings = nullptr;
    if (host.options.openSettings) {
        settings = WaitForNewWindow(host.window, before, 10000);
        Capture(host, settings, L"01-settings");
        before = VisibleLibraryWindows(host.window);
    }
    PostMessageW(host.window, kStartScan, 0, 0);
    Capture(host, WaitForNewWindow(host.window, before, 5000), L"02-progress");
    before = VisibleLibraryWindows(host.window);
    if (host.options.interruptAt > 0) {
        HWND interruption = WaitForNewWindow(host.window, before, 10000);
        Capture(host, interruption, L"03-interruption");
        // Wait for the paper to be "reloaded", then press Continue as a user would.
        if (interruption != nullptr) {
            const DWORD start = GetTickCount();
            HWND continueButton = GetDlgItem(interruption, 1077);
            while (continueButton != nullptr && !IsWindowEnabled(continueButton) &&
                   GetTickCount() - start < 5000) {
                Sleep(50);
            }
            PostMessageW(interruption, WM_COMMAND, 1077, 0);
        }
        before = VisibleLibraryWindows(host.window);
    }
    if (host.options.errorCode >= 0) {
        HWND error = WaitForNewWindow(host.window, before, 15000);
        Capture(host, error, L"04-error");
        if (error != nullptr) PostMessageW(error, WM_CLOSE, 0, 0);
    }
    Sleep(500);
    if (settings != nullptr) PostMessageW(settings, WM_CLOSE, 0, 0);
    PostMessageW(host.window, kTourFinished, 0, 0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Host& host = g_host;
    if (!ParseOptions(argc, argv, host.options)) return 2;
    const char* missing = nullptr;
    if (!host.library.Load(host.options.dll.c_str(), &missing)) {
        Log(L"cannot use %ls: %hs", host.options.dll.c_str(), missing);
        return 1;
    }
    if (!ReadDeviceList(host)) return 1;

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"StandInTwainHost";
    RegisterClassW(&windowClass);
    // A message-only window: the data source has no window of its own to show.
    host.window = CreateWindowExW(0, windowClass.lpszClassName, L"Stand-in TWAIN host", 0, 0,
                                  0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    if (host.window == nullptr) return 1;

    host.optionValue = host.options.option;
    host.library.InitializeUI(host.window, &host.settings, host.device, &host.optionValue,
                              nullptr);
    if (host.options.openSettings) host.library.OpenUI(nullptr);

    if (!host.options.tourFolder.empty()) {
        host.tourThread = CreateThread(nullptr, 0, TourThread, nullptr, 0, nullptr);
    } else if (!host.options.openSettings) {
        PostMessageW(host.window, kStartScan, 0, 0);
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (host.tourThread != nullptr) {
        WaitForSingleObject(host.tourThread, 5000);
        CloseHandle(host.tourThread);
    }
    DestroyWindow(host.window);
    return 0;
}
