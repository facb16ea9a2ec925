#include "WindowTestHost.h"

#include <commctrl.h>

namespace windowtests {

std::set<HWND> ProcessTopLevelWindows() {
    std::set<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            // The input method window that the system gives each thread is not ours.
            wchar_t className[8] = {};
            GetClassNameW(window, className, 8);
            if (process == GetCurrentProcessId() && lstrcmpW(className, L"IME") != 0) {
                reinterpret_cast<std::set<HWND>*>(list)->insert(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (!done()) {
        if (GetTickCount64() > end) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
}

RecordingWindow::RecordingWindow(const wchar_t* title) {
    static const ATOM registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"WindowTestsRecorder";
        return RegisterClassW(&windowClass);
    }();
    window_ =
        CreateWindowExW(0, MAKEINTATOM(registered), title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100,
                        100, 640, 480, nullptr, nullptr, GetModuleHandleW(nullptr), this);
}

int RecordingWindow::Count(UINT message) const {
    int count = 0;
    for (const Received& received : messages_) count += received.message == message ? 1 : 0;
    return count;
}

LRESULT CALLBACK RecordingWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const bool recorded = (message >= HM_SCAN && message <= HM_UI_CLOSED) ||
                          message == UIM_ENABLE || message == UIM_SET_ACTIVE_WINDOW;
    if (self != nullptr && recorded) {
        self->messages_.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::vector<HWND> ThreadDialogs() {
    std::vector<HWND> dialogs;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (lstrcmpW(className, L"#32770") == 0 && IsWindowVisible(window)) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

HWND FindDialogWith(int controlId) {
    for (HWND dialog : ThreadDialogs()) {
        if (GetDlgItem(dialog, controlId) != nullptr) return dialog;
    }
    return nullptr;
}

int SelectedCode(HWND dialog, int id) {
    const LRESULT index = ::SendDlgItemMessageW(dialog, id, CB_GETCURSEL, 0, 0);
    return static_cast<int>(::SendDlgItemMessageW(dialog, id, CB_GETITEMDATA, index, 0));
}

std::wstring ListViewText(HWND list, int row, int column) {
    wchar_t text[256] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = 256;
    ::SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return text;
}

std::wstring WindowText(HWND window) {
    wchar_t text[512] = {};
    if (window != nullptr) GetWindowTextW(window, text, 512);
    return text;
}

bool ControlVisible(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    return control != nullptr && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Click(HWND dialog, int id) {
    const HWND button = GetDlgItem(dialog, id);
    ASSERT_NE(button, nullptr) << "no control " << id;
    SendMessageW(button, BM_CLICK, 0, 0);
}

namespace {

struct ModalDrive {
    const std::function<bool(HWND)>* drive = nullptr;
    int ticks = 0;
    bool finished = false;
} g_drive;

// The library's modal loop dispatches this thread's timer messages, so the test acts from
// inside the loop, as a user's clicks would arrive.
void CALLBACK DriveTick(HWND, UINT, UINT_PTR, DWORD) {
    if (g_drive.drive == nullptr || g_drive.finished) return;
    for (HWND dialog : ThreadDialogs()) {
        if ((*g_drive.drive)(dialog)) {
            g_drive.finished = true;
            return;
        }
    }
    if (++g_drive.ticks >= 250) {
        for (HWND dialog : ThreadDialogs()) PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
}

}  // namespace

bool DriveModal(const std::function<void()>& call, const std::function<bool(HWND)>& drive) {
    g_drive = ModalDrive{&drive, 0, false};
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, &DriveTick);
    call();
    KillTimer(nullptr, timer);
    g_drive.drive = nullptr;
    return g_drive.finished;
}

void WindowTest::SetUp() {
    windowsBefore_ = ProcessTopLevelWindows();
    library = LoadLibraryW(L"TWAIN_UI.dll");
    ASSERT_NE(library, nullptr) << "LoadLibraryW: " << GetLastError();
    ShowScanProgress = Export<decltype(ShowScanProgress)>("ShowScanProgress");
    CloseScanProgress = Export<decltype(CloseScanProgress)>("CloseScanProgress");
    CancelScanUI = Export<decltype(CancelScanUI)>("CancelScanUI");
    ShowScanInterruptionUI = Export<decltype(ShowScanInterruptionUI)>("ShowScanInterruptionUI");
    ShowErrorMessage = Export<decltype(ShowErrorMessage)>("ShowErrorMessage");
    const auto initialize = Export<decltype(&::InitializeUI)>("InitializeUI");
    ASSERT_NE(initialize, nullptr);
    ASSERT_EQ(initialize(host.get(), &settings, nullptr, &option, owner.get()), 0);
    ASSERT_NE(GetModuleHandleW(L"Resource.dll"), nullptr)
        << "the resource library was not loaded: is the product installed in the prefix?";
}

void WindowTest::TearDown() {
    // Every window the library made is gone again; one left behind would also keep a
    // window procedure of the library that is about to be unloaded.
    for (HWND window : ProcessTopLevelWindows()) {
        if (windowsBefore_.count(window) != 0 || window == host.get() || window == owner.get()) {
            continue;
        }
        ADD_FAILURE() << "a window was left behind";
        DestroyWindow(window);
    }
    if (library != nullptr) FreeLibrary(library);
}

std::wstring WindowTest::ResourceString(UINT id) const {
    wchar_t text[512] = {};
    LoadStringW(GetModuleHandleW(L"Resource.dll"), id, text, 512);
    return text;
}

}  // namespace windowtests
