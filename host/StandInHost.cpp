// The stand-in host: plays the TWAIN data source that loads TWAIN_UI.dll. It owns a
// notification window, reads a sample device list, opens the settings window, and answers
// the host messages the way a data source would, with a simulated scan.
//
// --tour walks a scripted tour without a person and writes a BMP of every window it shows
// into FOLDER; the demo script turns them into PNG files. `--help` lists the options.

#include <windows.h>
#include <commctrl.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "HostLibrary.h"
#include "ModelDefaults.h"
#include "PreviewGesture.h"
#include "ScreenCapture.h"
#include "TestPage.h"

namespace {

using quorveltwain::host::PageImage;
using quorveltwain::host::PagePixels;
using quorveltwain::host::RenderTestPage;
using quorveltwain::host::WriteBmp;
using standin::HostLibrary;

constexpr UINT kStartScan = WM_APP + 1;  // wParam 1: preview
constexpr UINT kTourFinished = WM_APP + 2;
constexpr UINT_PTR kPageTimer = 1;
constexpr UINT_PTR kPaperTimer = 2;
constexpr UINT kPageMs = 800;
constexpr UINT kPaperMs = 1500;
constexpr int kMaxPages = 100;
// Generous: a tour step on a loaded machine under Xvfb takes well under a second.
constexpr DWORD kStepMs = 15000;
// Exit codes: 2 for options refused, 1 for a library that cannot be used, 3 for a tour step
// whose window never came.
constexpr int kRefused = 2;
constexpr int kTourFailed = 3;

constexpr wchar_t kUsage[] =
    L"Usage: twain_host.exe [options]\n"
    L"  --model NAME|PATH  sample model in devices\\ beside the program, or a device list file\n"
    L"                     (default mf7240-a3)\n"
    L"  --schema PATH      device-list schema (default devices\\DEVICELIST.xsd)\n"
    L"  --dll PATH         the TWAIN_UI.dll to load (default: beside the program)\n"
    L"  --option 0|1|2     the option value handed to InitializeUI (default 1)\n"
    L"  --pages N          pages per scan, 1 to 100 (default 3)\n"
    L"  --interrupt-at N   run out of paper before page N, 1 to the page count (default never)\n"
    L"  --error 5|7|8      message after the scan: settings refused, connection lost,\n"
    L"                     scanner busy (default none)\n"
    L"  --no-settings      scan at once, without the settings window\n"
    L"  --tour FOLDER      walk a scripted tour and write a BMP of every window into FOLDER\n"
    L"  --help             this text\n";

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
    bool previewScan = false;  // the running scan is a preview: one page, then the preview
    bool interruptedOnce = false;
    HANDLE watchThread = nullptr;  // the tour, or the watch for the settings window
};

Host g_host;

void Write(FILE* stream, const wchar_t* format, va_list args) {
    vfwprintf(stream, format, args);
    fputwc(L'\n', stream);
    fflush(stream);
}

void Log(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    Write(stdout, format, args);
    va_end(args);
}

void Complain(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    fputws(L"twain_host: ", stderr);
    Write(stderr, format, args);
    va_end(args);
}

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

// A whole decimal number within [low, high]; nothing else ("abc", "2x", "-3" below 1).
bool ParseNumber(const wchar_t* text, long low, long high, int& out) {
    wchar_t* end = nullptr;
    errno = 0;
    const long value = std::wcstol(text, &end, 10);
    if (end == text || *end != L'\0' || errno == ERANGE || value < low || value > high) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

// The sample models beside the program: devices\NAME.xml.
std::vector<std::wstring> SampleModels(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"devices\\*.xml").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring file = found.cFileName;
        names.push_back(file.substr(0, file.size() - 4));
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// Nothing to run for -1; otherwise the exit code (0 after --help).
int ParseOptions(int argc, wchar_t** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--help" || arg == L"-h" || arg == L"/?") {
            fputws(kUsage, stdout);
            return 0;
        }
        if (arg == L"--no-settings") {
            options.openSettings = false;
            continue;
        }
        const bool takesValue = arg == L"--model" || arg == L"--schema" || arg == L"--dll" ||
                                arg == L"--tour" || arg == L"--option" || arg == L"--pages" ||
                                arg == L"--interrupt-at" || arg == L"--error";
        if (!takesValue) {
            Complain(L"unknown option %ls (--help lists the options)", arg.c_str());
            return kRefused;
        }
        if (i + 1 >= argc) {
            Complain(L"%ls needs a value (--help lists the options)", arg.c_str());
            return kRefused;
        }
        const wchar_t* value = argv[++i];
        int number = 0;
        if (arg == L"--model") {
            options.model = value;
        } else if (arg == L"--schema") {
            options.schema = value;
        } else if (arg == L"--dll") {
            options.dll = value;
        } else if (arg == L"--tour") {
            options.tourFolder = value;
        } else if (arg == L"--option") {
            if (!ParseNumber(value, 0, 2, number)) {
                Complain(L"--option %ls: the option value is 0, 1 or 2", value);
                return kRefused;
            }
            options.option = static_cast<std::uint32_t>(number);
        } else if (arg == L"--pages") {
            if (!ParseNumber(value, 1, kMaxPages, options.pages)) {
                Complain(L"--pages %ls: a scan has 1 to %d pages", value, kMaxPages);
                return kRefused;
            }
        } else if (arg == L"--interrupt-at") {
            if (!ParseNumber(value, 1, kMaxPages, options.interruptAt)) {
                Complain(L"--interrupt-at %ls: a page number from 1", value);
                return kRefused;
            }
        } else if (!ParseNumber(value, 5, 8, number) || number == 6) {  // --error
            Complain(
                L"--error %ls: the messages after a scan are 5 (settings refused), "
                L"7 (connection lost) and 8 (scanner busy)",
                value);
            return kRefused;
        } else {
            options.errorCode = number;
        }
    }
    if (options.interruptAt > options.pages) {
        Complain(L"--interrupt-at %d: the scan has only %d pages", options.interruptAt,
                 options.pages);
        return kRefused;
    }

    const std::wstring folder = ExeFolder();
    // A bare name is one of the sample models; anything with a path or extension is a file.
    if (options.model.find_first_of(L"\\/.") == std::wstring::npos) {
        const std::vector<std::wstring> models = SampleModels(folder);
        bool known = false;
        std::wstring list;
        for (const std::wstring& name : models) {
            known = known || _wcsicmp(name.c_str(), options.model.c_str()) == 0;
            list += (list.empty() ? L"" : L", ") + name;
        }
        if (!known) {
            Complain(
                L"--model %ls: no such sample model; the samples are %ls, or give the path "
                L"of a device list file",
                options.model.c_str(), list.empty() ? L"(none installed)" : list.c_str());
            return kRefused;
        }
        options.model = folder + L"devices\\" + options.model + L".xml";
    }
    if (options.schema.empty()) options.schema = folder + L"devices\\DEVICELIST.xsd";
    if (options.dll.empty()) options.dll = folder + L"TWAIN_UI.dll";
    return -1;
}

bool ReadDeviceList(Host& host) {
    XMLSCN_HANDLE handle = nullptr;
    const std::uint32_t opened = host.library.XMLSCNLST_Open(host.options.model.c_str(),
                                                             host.options.schema.c_str(), &handle);
    if (opened != 0) {
        Complain(L"XMLSCNLST_Open(%ls) failed: %u", host.options.model.c_str(), opened);
        return false;
    }
    const std::uint32_t read = host.library.XMLSCNLST_Read(handle, &host.device);
    host.library.XMLSCNLST_Close(handle);  // the record outlives the handle
    if (read != 0) {
        Complain(L"XMLSCNLST_Read(%ls) failed: %u", host.options.model.c_str(), read);
        return false;
    }
    Log(L"model: %ls", host.device->model_name);
    standin::ApplyModelDefaults(*host.device, host.settings);
    return true;
}

// ---- The simulated scan: pages on a timer, an optional paper jam, an optional error. ----

void StartScan(Host& host, bool preview) {
    if (host.scan != Host::Scan::Idle) return;
    const ScanSettingsRecord& s = host.settings;
    if (preview) {
        Log(L"preview scan");
    } else if (s.has_frame_entry != 0) {
        Log(L"scan: size %d, resolution %d, colour %d, area %g,%g to %g,%g mm, rotation %d",
            s.original_size, s.resolution, s.color_selection, s.left, s.top, s.right, s.bottom,
            s.rotation);
    } else {
        Log(L"scan: size %d, resolution %d, colour %d, rotation %d", s.original_size, s.resolution,
            s.color_selection, s.rotation);
    }
    host.previewScan = preview;
    host.scan = Host::Scan::Running;
    host.page = 0;
    host.interruptedOnce = false;
    host.library.ShowScanProgress();
    SetTimer(host.window, kPageTimer, kPageMs, nullptr);
}

// A preview is the test page at 200 dpi in a file the library owns from here on: it turns
// the file in place and deletes it when its window closes.
void ShowPreview(Host& host) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    wchar_t path[MAX_PATH] = {};
    swprintf(path, MAX_PATH, L"%lsstand-in-preview-%lu.bmp", folder, GetCurrentProcessId());
    const PageImage page = RenderTestPage(200, PagePixels::Color24, 1);
    if (!WriteBmp(path, page)) {
        Complain(L"cannot write the preview image %ls", path);
        host.library.ShowErrorMessage(4);
        return;
    }
    Log(L"preview image: %d x %d pixels", page.width, page.height);
    host.library.ShowPreviewImage(path);
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
    if (host.previewScan) {
        ShowPreview(host);
        return;
    }
    Log(L"scan finished: %d %ls", host.page, host.page == 1 ? L"page" : L"pages");
    if (host.options.errorCode >= 0) host.library.ShowErrorMessage(host.options.errorCode);
    // Without a settings window the host has nothing left to wait for.
    if (!host.options.openSettings) PostQuitMessage(0);
}

// The paper runs out before page --interrupt-at is scanned, so the scan still has exactly
// --pages pages.
void OnPageTimer(Host& host) {
    if (!host.previewScan && host.page + 1 == host.options.interruptAt && !host.interruptedOnce) {
        KillTimer(host.window, kPageTimer);
        host.interruptedOnce = true;
        host.scan = Host::Scan::Interrupted;
        Log(L"out of paper before page %d", host.page + 1);
        host.library.ShowScanInterruptionUI(0);
        host.library.ShowScanInterruptionUI(2);  // Continue waits for the paper
        SetTimer(host.window, kPaperTimer, kPaperMs, nullptr);
        return;
    }
    ++host.page;
    Log(L"page %d", host.page);
    if (host.page >= (host.previewScan ? 1 : host.options.pages)) StopScan(host, false);
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
                SetTimer(window, kPageTimer, kPageMs, nullptr);
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

// Waits for a visible library window that was not visible before.
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

template <typename Condition>
bool WaitFor(Condition condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(50);
    }
    return true;
}

// A step that never comes ends the host: the library's windows are in a state nobody
// scripted, so there is nothing sensible left to wait for (the demo must not hang).
[[noreturn]] void FailStep(const wchar_t* step, DWORD timeoutMs) {
    Complain(L"tour: gave up waiting for %ls after %lu s", step, timeoutMs / 1000);
    ExitProcess(kTourFailed);
}

HWND ExpectNewWindow(const Host& host, const std::vector<HWND>& before, const wchar_t* step,
                     DWORD timeoutMs) {
    HWND window = WaitForNewWindow(host.window, before, timeoutMs);
    if (window == nullptr) FailStep(step, timeoutMs);
    return window;
}

void Capture(const Host& host, HWND window, const wchar_t* name) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
    Sleep(300);  // let the X server show what was just painted
    const std::wstring path = host.options.tourFolder + L"\\" + name + L".bmp";
    if (!standin::CaptureWindow(window, path.c_str())) {
        Complain(L"tour: cannot write %ls", path.c_str());
        ExitProcess(kTourFailed);
    }
    Log(L"tour: %ls", name);
}

// The settings window's parts are dialogs inside it; the tour finds each by a control only
// it holds, as a test tool would, and acts as the user's clicks do.
constexpr int kNavBasic = 1016, kNavImaging = 1010, kNavAdvanced = 1013;
constexpr int kResolutionList = 1022, kBlackAndWhite = 1028;
constexpr LPARAM kResolution600 = 6;

struct PartSearch {
    int id;
    HWND found;
};

HWND PartWith(HWND settings, int id) {
    PartSearch search{id, nullptr};
    EnumChildWindows(
        settings,
        [](HWND child, LPARAM param) -> BOOL {
            auto* wanted = reinterpret_cast<PartSearch*>(param);
            if (GetDlgItem(child, wanted->id) == nullptr) return TRUE;
            wanted->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Clicks a page's item in the navigation column and waits until the page is shown.
HWND ShowPage(HWND settings, int navItem, int controlOnPage, const wchar_t* step) {
    if (HWND nav = PartWith(settings, kNavBasic)) {
        PostMessageW(nav, WM_COMMAND, MAKEWPARAM(navItem, STN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(nav, navItem)));
    }
    HWND page = nullptr;
    if (!WaitFor(
            [&] {
                page = PartWith(settings, controlOnPage);
                return page != nullptr && IsWindowVisible(page);
            },
            kStepMs)) {
        FailStep(step, kStepMs);
    }
    return page;
}

// The pages, one change the pane marks, and one the model refuses with its reason.
void TourPages(const Host& host, HWND settings) {
    HWND imaging = ShowPage(settings, kNavImaging, kResolutionList, L"the imaging page");
    const HWND list = GetDlgItem(imaging, kResolutionList);
    const auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (SendMessageW(list, CB_GETITEMDATA, i, 0) != kResolution600) continue;
        SendMessageW(list, CB_SETCURSEL, i, 0);
        const std::vector<HWND> shown = VisibleLibraryWindows(host.window);
        // A model that refuses 600 dpi answers with a modal message: close it and go on.
        if (SendMessageTimeoutW(imaging, WM_COMMAND, MAKEWPARAM(kResolutionList, CBN_SELCHANGE),
                                reinterpret_cast<LPARAM>(list), SMTO_NORMAL, 2000, nullptr) == 0) {
            if (HWND refused = WaitForNewWindow(host.window, shown, kStepMs)) {
                PostMessageW(refused, WM_CLOSE, 0, 0);
            }
        }
    }
    Capture(host, settings, L"02-imaging");
    // Black and white at 600 dpi is refused on the sample models; the message says why.
    // A model that allows it shows no message, and the tour goes on.
    const std::vector<HWND> before = VisibleLibraryWindows(host.window);
    if (HWND blackAndWhite = GetDlgItem(imaging, kBlackAndWhite);
        blackAndWhite != nullptr && IsWindowEnabled(blackAndWhite)) {
        PostMessageW(blackAndWhite, BM_CLICK, 0, 0);
        if (HWND refused = WaitForNewWindow(host.window, before, 2000)) {
            Capture(host, refused, L"03-refused");
            PostMessageW(refused, WM_CLOSE, 0, 0);
            if (!WaitFor([&] { return !IsWindowVisible(refused); }, kStepMs)) {
                FailStep(L"the refusal message to close", kStepMs);
            }
        }
    }
    ShowPage(settings, kNavAdvanced, 1025, L"the advanced page");
    Capture(host, settings, L"04-advanced");
    ShowPage(settings, kNavBasic, 1031, L"the basic page");
}

// Waits for a new visible library window holding control `id` (the one window of several
// that appear together, such as the preview after its progress window).
HWND ExpectNewWindowWith(const Host& host, const std::vector<HWND>& before, int id,
                         const wchar_t* step, DWORD timeoutMs) {
    HWND found = nullptr;
    const bool shown = WaitFor(
        [&] {
            for (HWND window : VisibleLibraryWindows(host.window)) {
                bool seen = false;
                for (HWND old : before) seen = seen || old == window;
                if (!seen && GetDlgItem(window, id) != nullptr) found = window;
            }
            return found != nullptr;
        },
        timeoutMs);
    if (!shown) FailStep(step, timeoutMs);
    return found;
}

void ExpectGone(HWND window, const wchar_t* step) {
    if (!WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, kStepMs)) {
        FailStep(step, kStepMs);
    }
}

constexpr int kDetailsProfiles = 1020, kProfilesList = 1088, kProfilesNew = 1063;
constexpr int kProfilesDelete = 1065, kProfilesApply = 1091, kProfilesCancel = 1092;
constexpr int kProfileName = 1099, kProfileDetail = 1102, kProfileSave = 1097;
constexpr int kResolutionChoice = 1022, kMessageYes = 1103, kMessageText = 1146;
constexpr wchar_t kDemoProfile[] = L"Demo: 300 dpi";

void Click(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

// Selects the configuration called `name`; false when the list has none of that name.
bool SelectRow(HWND profiles, const wchar_t* name) {
    const HWND list = GetDlgItem(profiles, kProfilesList);
    const auto rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        wchar_t text[64] = {};
        LVITEMW item{};
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        if (wcscmp(text, name) != 0) continue;
        LVITEMW state{};
        state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
        return true;
    }
    return false;
}

HWND OpenProfiles(const Host& host, HWND settings) {
    const HWND pane = PartWith(settings, kDetailsProfiles);
    const std::vector<HWND> before = VisibleLibraryWindows(host.window);
    Click(pane, kDetailsProfiles);
    return ExpectNewWindowWith(host, before, kProfilesList, L"the profiles window", kStepMs);
}

// New, a name and a description, 300 dpi, Save; a name already saved is replaced.
void SaveProfile(const Host& host, HWND profiles, const wchar_t* name, const wchar_t* capture) {
    std::vector<HWND> before = VisibleLibraryWindows(host.window);
    Click(profiles, kProfilesNew);
    const HWND editor =
        ExpectNewWindowWith(host, before, kProfileSave, L"the New profile editor", kStepMs);
    SendDlgItemMessageW(editor, kProfileName, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name));
    SendDlgItemMessageW(editor, kProfileDetail, WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(L"Saved by the demo tour"));
    const HWND resolution = GetDlgItem(editor, kResolutionChoice);
    const auto count = static_cast<int>(SendMessageW(resolution, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (SendMessageW(resolution, CB_GETITEMDATA, i, 0) != 4) continue;  // 300 dpi
        SendMessageW(resolution, CB_SETCURSEL, i, 0);
        SendMessageW(editor, WM_COMMAND, MAKEWPARAM(kResolutionChoice, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(resolution));
    }
    if (capture != nullptr) Capture(host, editor, capture);
    before = VisibleLibraryWindows(host.window);
    Click(editor, kProfileSave);
    // A name from an earlier run: the overwrite question, answered yes.
    HWND question = nullptr;
    WaitFor(
        [&] {
            for (HWND window : VisibleLibraryWindows(host.window)) {
                if (GetDlgItem(window, kMessageText) != nullptr) question = window;
            }
            return question != nullptr || !IsWindowVisible(editor);
        },
        2000);
    if (question != nullptr) {
        Log(L"tour: %ls was saved before; replacing it", name);
        Click(question, kMessageYes);
    }
    ExpectGone(editor, L"the profile editor to save");
}

// A profile saved, applied and deleted again, as a user keeps settings for later. The
// first configuration of a store can never be deleted (it is the default settings a data
// source ships); a store that has none gets one of the demo's own first.
void TourProfiles(const Host& host, HWND settings) {
    HWND profiles = OpenProfiles(host, settings);
    if (SendDlgItemMessageW(profiles, kProfilesList, LVM_GETITEMCOUNT, 0, 0) == 0) {
        SaveProfile(host, profiles, L"Everyday", nullptr);
    }
    SaveProfile(host, profiles, kDemoProfile, L"05-profile-new");
    SelectRow(profiles, kDemoProfile);
    Capture(host, profiles, L"06-profiles");
    Click(profiles, kProfilesApply);
    ExpectGone(profiles, L"the profiles window to apply");
    Log(L"profile applied: resolution %d", host.settings.resolution);

    profiles = OpenProfiles(host, settings);
    if (!SelectRow(profiles, kDemoProfile)) FailStep(L"the saved profile in the list", kStepMs);
    const std::vector<HWND> before = VisibleLibraryWindows(host.window);
    Click(profiles, kProfilesDelete);
    const HWND question =
        ExpectNewWindowWith(host, before, kMessageText, L"the delete question", kStepMs);
    Click(question, kMessageYes);
    ExpectGone(question, L"the delete question to close");
    if (SelectRow(profiles, kDemoProfile)) FailStep(L"the profile to be deleted", kStepMs);
    Click(profiles, kProfilesCancel);
    ExpectGone(profiles, L"the profiles window to close");
    Log(L"profile deleted");
}

constexpr int kPreviewButton = 1058, kPreviewImage = 1073;
constexpr int kZoomList = 1065, kPreviewScan = 1062;
constexpr WPARAM kRotateClockwise = 110001;

// A preview scan, a frame drawn over the page, a zoom and a turn, then the scan of the frame.
void TourPreview(const Host& host, HWND settings) {
    const std::vector<HWND> before = VisibleLibraryWindows(host.window);
    PostMessageW(settings, WM_COMMAND, kPreviewButton, 0);
    const DWORD previewMs = kStepMs + kPageMs;
    const HWND preview =
        ExpectNewWindowWith(host, before, kPreviewImage, L"the preview window", previewMs);
    SetForegroundWindow(preview);
    WaitFor([&] { return GetForegroundWindow() == preview; }, 2000);
    standin::DragScanArea(preview, {60, 90}, {250, 330});
    Capture(host, preview, L"07-preview");
    const HWND zoom = GetDlgItem(preview, kZoomList);
    SendMessageW(zoom, CB_SETCURSEL, 4, 0);  // 200 %
    SendMessageW(preview, WM_COMMAND, MAKEWPARAM(kZoomList, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(zoom));
    Capture(host, preview, L"08-preview-zoomed");
    SendMessageW(preview, WM_COMMAND, kRotateClockwise, 0);
    Capture(host, preview, L"09-preview-rotated");
    PostMessageW(preview, WM_COMMAND, kPreviewScan, 0);
    ExpectGone(preview, L"the preview window to scan");
}

DWORD WINAPI TourThread(void*) {
    Host& host = g_host;
    // Steps that follow the simulated pages wait for them on top of the usual bound.
    const DWORD scanMs = kStepMs + kPaperMs + kPageMs * static_cast<DWORD>(host.options.pages);
    std::vector<HWND> before = VisibleLibraryWindows(host.window);
    HWND settings = nullptr;
    if (host.options.openSettings) {
        settings = ExpectNewWindow(host, before, L"the settings window", kStepMs);
        Capture(host, settings, L"01-settings");
        TourPages(host, settings);
        TourProfiles(host, settings);
        before = VisibleLibraryWindows(host.window);
        // The preview's Scan asks for the scan of its frame.
        TourPreview(host, settings);
    } else {
        PostMessageW(host.window, kStartScan, 0, 0);
    }
    HWND progress = ExpectNewWindow(host, before, L"the progress window", kStepMs);
    Capture(host, progress, L"10-progress");
    before = VisibleLibraryWindows(host.window);
    if (host.options.interruptAt > 0) {
        HWND interruption = ExpectNewWindow(host, before, L"the out-of-paper message", scanMs);
        Capture(host, interruption, L"11-interruption");
        // Wait for the paper to be "reloaded", then press Continue as a user would.
        HWND continueButton = GetDlgItem(interruption, 1077);
        if (!WaitFor([&] { return continueButton != nullptr && IsWindowEnabled(continueButton); },
                     kStepMs)) {
            FailStep(L"the Continue button to be enabled", kStepMs);
        }
        PostMessageW(interruption, WM_COMMAND, 1077, 0);
        before = VisibleLibraryWindows(host.window);
    }
    if (!WaitFor([&] { return !IsWindowVisible(progress); }, scanMs)) {
        FailStep(L"the end of the scan", scanMs);
    }
    if (host.options.errorCode >= 0) {
        HWND error = ExpectNewWindow(host, before, L"the error message", kStepMs);
        Capture(host, error, L"12-error");
        PostMessageW(error, WM_CLOSE, 0, 0);
        if (!WaitFor([&] { return !IsWindowVisible(error); }, kStepMs)) {
            FailStep(L"the error message to close", kStepMs);
        }
    }
    // Closing the settings window makes the library send HM_UI_CLOSED, on which the host quits.
    if (settings != nullptr) PostMessageW(settings, WM_CLOSE, 0, 0);
    PostMessageW(host.window, kTourFinished, 0, 0);
    if (settings != nullptr) {
        if (!WaitFor([&] { return !IsWindow(settings); }, kStepMs)) {
            FailStep(L"the settings window to close", kStepMs);
        }
    }
    return 0;
}

// Without a tour a person closes the settings window; one that never opens would leave them
// waiting for nothing.
DWORD WINAPI WatchSettingsWindow(void*) {
    ExpectNewWindow(g_host, {}, L"the settings window", kStepMs);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Host& host = g_host;
    const int refused = ParseOptions(argc, argv, host.options);
    if (refused >= 0) return refused;
    const char* missing = nullptr;
    if (!host.library.Load(host.options.dll.c_str(), &missing)) {
        Complain(L"cannot use %ls: %hs", host.options.dll.c_str(), missing);
        return 1;
    }
    if (!ReadDeviceList(host)) return 1;

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"StandInTwainHost";
    RegisterClassW(&windowClass);
    // A message-only window: the data source has no window of its own to show.
    host.window = CreateWindowExW(0, windowClass.lpszClassName, L"Stand-in TWAIN host", 0, 0, 0, 0,
                                  0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    if (host.window == nullptr) return 1;

    host.optionValue = host.options.option;
    host.library.InitializeUI(host.window, &host.settings, host.device, &host.optionValue, nullptr);
    if (host.options.openSettings) host.library.OpenUI(nullptr);

    if (!host.options.tourFolder.empty()) {
        host.watchThread = CreateThread(nullptr, 0, TourThread, nullptr, 0, nullptr);
    } else if (host.options.openSettings) {
        host.watchThread = CreateThread(nullptr, 0, WatchSettingsWindow, nullptr, 0, nullptr);
    } else {
        PostMessageW(host.window, kStartScan, 0, 0);
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (host.watchThread != nullptr) {
        WaitForSingleObject(host.watchThread, 5000);
        CloseHandle(host.watchThread);
    }
    DestroyWindow(host.window);
    return 0;
}
