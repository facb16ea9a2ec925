// Times the settings window as a user meets it, under the budgets "OpenUI until the window
// is shown with every control filled: 50 ms" and "one control change until the details
// pane is refreshed: 2 ms". Beside them the floor: an empty dialog of the main window's
// size, created and shown on a fresh thread, which no settings window can beat; OpenUI is
// also given as a ratio to it. Medians of repeated runs; nothing here asserts a time.
//
// Usage: bench_settings.exe [runs]

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "ModelDefaults.h"
#include "ResourceIds.h"
#include "api/UiContext.h"
#include "twain_ui.h"
#include "ui/DlgMain.h"

using namespace quorveltwain;
using bench::Median;
using bench::Milliseconds;
using bench::Now;
using bench::Report;

namespace {

// Handles what the settings thread sends to the host while the caller waits.
void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

DevListRecord* ReadModel() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring folder(exe);
    folder.erase(folder.find_last_of(L'\\') + 1);
    XMLSCN_HANDLE handle = nullptr;
    DevListRecord* record = nullptr;
    if (XMLSCNLST_Open((folder + L"devices\\mf7240-a3.xml").c_str(),
                       (folder + L"devices\\DEVICELIST.xsd").c_str(), &handle) == 0) {
        XMLSCNLST_Read(handle, &record);
        XMLSCN_Close(handle);
    }
    return record;
}

struct Part {
    int id;
    HWND found;
};

HWND PartWith(HWND main, int id) {
    Part part{id, nullptr};
    EnumChildWindows(
        main,
        [](HWND child, LPARAM parameter) -> BOOL {
            auto* wanted = reinterpret_cast<Part*>(parameter);
            if (GetDlgItem(child, wanted->id) == nullptr) return TRUE;
            wanted->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&part));
    return part.found;
}

// Shown and filled: visible, the last part's list holds all its rows, nothing left to paint.
bool Filled(HWND main) {
    if (main == nullptr || !IsWindowVisible(main)) return false;
    const HWND pane = PartWith(main, IDC_DETAILS_LIST);
    if (pane == nullptr) return false;
    if (SendDlgItemMessageW(pane, IDC_DETAILS_LIST, LVM_GETITEMCOUNT, 0, 0) == 0) return false;
    return GetUpdateRect(main, nullptr, FALSE) == FALSE;
}

HWND MainWindow() {
    const DlgMain* dialog = CurrentUiContext()->mainDialog;
    return dialog != nullptr ? dialog->Window() : nullptr;
}

// One OpenUI until the window is filled, in ms (negative when it never was within 5 s);
// the window is closed afterwards, untimed.
double OpenOnce() {
    const LARGE_INTEGER start = Now();
    OpenUI(nullptr);
    bool filled = false;
    while (!filled && Milliseconds(start, Now()) < 5000) {
        const HWND main = MainWindow();
        if (main != nullptr) SendMessageW(main, WM_NULL, 0, 0);  // past WM_INITDIALOG
        filled = Filled(main);
        if (!filled) {
            Pump();
            Sleep(0);
        }
    }
    const double elapsed = Milliseconds(start, Now());
    CloseUI();
    return filled ? elapsed : -1.0;
}

struct FloorRun {
    SIZE size;
    HANDLE shown;
    HWND window;
};

INT_PTR CALLBACK EmptyDialog(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The least a settings window costs: a thread, an empty dialog of the same size, shown and
// painted once.
DWORD WINAPI FloorThread(void* parameter) {
    auto* run = static_cast<FloorRun*>(parameter);
    alignas(4) WORD buffer[64] = {};
    auto* dialogTemplate = reinterpret_cast<DLGTEMPLATE*>(buffer);
    dialogTemplate->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    dialogTemplate->cx = 10;
    dialogTemplate->cy = 10;
    const HWND window = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate,
                                                   nullptr, EmptyDialog, 0);
    SetWindowPos(window, nullptr, 0, 0, run->size.cx, run->size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    run->window = window;
    SetEvent(run->shown);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_APP) break;
        DispatchMessageW(&message);
    }
    DestroyWindow(window);
    return 0;
}

double FloorOnce(SIZE size) {
    FloorRun run{size, CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr};
    const LARGE_INTEGER start = Now();
    DWORD threadId = 0;
    const HANDLE thread = CreateThread(nullptr, 0, FloorThread, &run, 0, &threadId);
    WaitForSingleObject(run.shown, INFINITE);
    const double elapsed = Milliseconds(start, Now());
    PostThreadMessageW(threadId, WM_APP, 0, 0);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(run.shown);
    return elapsed;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(5, _wtoi(argv[1])) : 40;
    DevListRecord* model = ReadModel();
    if (model == nullptr) {
        std::puts("cannot read the sample model");
        return 1;
    }
    const HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      nullptr, nullptr);
    static ScanSettingsRecord settings{};
    static std::uint32_t option = 1;
    standin::ApplyModelDefaults(*model, settings);
    if (InitializeUI(host, &settings, model, &option, nullptr) != 0 ||
        CurrentUiContext() == nullptr || CurrentUiContext()->resourceModule == nullptr) {
        std::puts("the resource library is not installed");
        return 1;
    }

    const double first = OpenOnce();
    if (first < 0) {
        std::puts("the settings window was not shown and filled within 5 s");
        return 1;
    }
    std::printf("%-52s %7.3f ms (first in process)\n", "OpenUI until shown and filled, first",
                first);
    std::vector<double> open;
    for (int run = 0; run < runs; ++run) open.push_back(OpenOnce());

    // The main window's size, for the floor.
    OpenUI(nullptr);
    HWND main = nullptr;
    while (!Filled(main = MainWindow())) {
        Pump();
        Sleep(1);
    }
    RECT frame{};
    GetWindowRect(main, &frame);
    const SIZE size{frame.right - frame.left, frame.bottom - frame.top};

    // A change the model allows either way: resolution between 200 and 300 dpi.
    const HWND imaging = PartWith(main, IDC_RESOLUTION);
    const HWND list = GetDlgItem(imaging, IDC_RESOLUTION);
    const auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    std::vector<int> indexes;
    for (int i = 0; i < count; ++i) {
        const LRESULT code = SendMessageW(list, CB_GETITEMDATA, i, 0);
        if (code == 2 || code == 4) indexes.push_back(i);
    }
    std::vector<double> change;
    for (int run = 0; indexes.size() == 2 && run < runs * 10; ++run) {
        SendMessageW(list, CB_SETCURSEL, indexes[run % 2], 0);
        const LARGE_INTEGER start = Now();
        // The page's handler sends the change on and the pane refreshes before it returns.
        SendMessageW(imaging, WM_COMMAND, MAKEWPARAM(IDC_RESOLUTION, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        change.push_back(Milliseconds(start, Now()));
    }
    CloseUI();

    std::vector<double> floor;
    for (int run = 0; run < runs; ++run) floor.push_back(FloorOnce(size));

    Report("OpenUI until shown and filled", open);
    if (!change.empty()) Report("control change until the details pane is refreshed", change);
    Report("floor: empty dialog of that size on a fresh thread", floor);
    std::printf("%-52s %7.2f\n", "OpenUI / floor (medians)", Median(open) / Median(floor));
    std::printf("main window %ld x %ld\n", size.cx, size.cy);
    return 0;
}
