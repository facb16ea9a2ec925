#include "WindowTestHost.h"

#include <memory>

namespace windowtests {

namespace {

constexpr wchar_t kRecorderClass[] = L"WindowTestsRecorder";
constexpr UINT_PTR kDriveTimer = 0x5157;
constexpr int kDriveIntervalMs = 20;
constexpr int kDriveGiveUpTicks = 250;  // 5 s

bool IsRecorded(UINT message) {
    return (message >= HM_SCAN && message <= HM_UI_CLOSED) || message == UIM_ENABLE ||
           message == UIM_SET_ACTIVE_WINDOW;
}

void RegisterRecorderClass() {
    static const bool registered = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &DefWindowProcW;  // each window subclasses itself
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kRecorderClass;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        return RegisterClassW(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

RecordingWindow::RecordingWindow(const wchar_t* title) {
    RegisterRecorderClass();
    window_ = CreateWindowExW(0, kRecorderClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100,
                              640, 480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure));
}

RecordingWindow::~RecordingWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
}

int RecordingWindow::Count(UINT message) const {
    int count = 0;
    for (const Received& received : messages_) count += received.message == message ? 1 : 0;
    return count;
}

LRESULT CALLBACK RecordingWindow::Procedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && IsRecorded(message)) {
        self->messages_.push_back({message, wParam, lParam});
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

namespace {

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM list) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    // The input method window that the system gives each thread with windows is not ours.
    wchar_t className[8] = {};
    GetClassNameW(window, className, 8);
    if (process == GetCurrentProcessId() && lstrcmpW(className, L"IME") != 0) {
        reinterpret_cast<std::set<HWND>*>(list)->insert(window);
    }
    return TRUE;
}

std::set<HWND> ProcessTopLevelWindows() {
    std::set<HWND> windows;
    EnumWindows(&CollectTopLevel, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 128 ? static_cast<char>(c) : '?';
    return narrow;
}

template <typename Function>
void Resolve(HMODULE module, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

void WindowTest::SetUp() {
    windowsBefore_ = ProcessTopLevelWindows();
    host = std::make_unique<RecordingWindow>(L"Window tests: host");
    owner = std::make_unique<RecordingWindow>(L"Window tests: owner");
    ASSERT_NE(host->get(), nullptr);
    ASSERT_NE(owner->get(), nullptr);

    library = LoadLibraryW(L"TWAIN_UI.dll");
    ASSERT_NE(library, nullptr) << "LoadLibraryW: " << GetLastError();
    Resolve(library, "InitializeUI", ui.InitializeUI);
    Resolve(library, "ShowScanProgress", ui.ShowScanProgress);
    Resolve(library, "CloseScanProgress", ui.CloseScanProgress);
    Resolve(library, "CancelScanUI", ui.CancelScanUI);
    Resolve(library, "ShowScanInterruptionUI", ui.ShowScanInterruptionUI);
    Resolve(library, "ShowErrorMessage", ui.ShowErrorMessage);
    ASSERT_NE(ui.InitializeUI, nullptr);
    ASSERT_NE(ui.ShowErrorMessage, nullptr);

    ASSERT_EQ(ui.InitializeUI(host->get(), &settings, nullptr, &option, owner->get()), 0);
    ASSERT_NE(GetModuleHandleW(L"Resource.dll"), nullptr)
        << "the resource library was not loaded: is the product installed in the prefix?";
}

void WindowTest::TearDown() {
    // Every window the library made is gone again; a window left behind would also keep
    // a window procedure of the library that is about to be unloaded.
    std::set<HWND> after = ProcessTopLevelWindows();
    after.erase(host->get());
    after.erase(owner->get());
    std::vector<HWND> leftOver;
    for (HWND window : after) {
        if (windowsBefore_.count(window) == 0 && IsWindow(window)) leftOver.push_back(window);
    }
    for (HWND window : leftOver) {
        ADD_FAILURE() << "a window was left behind: \"" << Narrow(WindowText(window)) << "\"";
    }
    for (HWND window : leftOver) DestroyWindow(window);

    if (library != nullptr) FreeLibrary(library);
    library = nullptr;
    owner.reset();
    host.reset();
}

std::vector<HWND> WindowTest::ThreadDialogs() {
    std::vector<HWND> dialogs;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            wchar_t className[16] = {};
            GetClassNameW(window, className, 16);
            if (lstrcmpW(className, L"#32770") == 0) {
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

HWND WindowTest::FindDialogWith(int controlId) {
    for (HWND dialog : ThreadDialogs()) {
        if (IsWindowVisible(dialog) && GetDlgItem(dialog, controlId) != nullptr) return dialog;
    }
    return nullptr;
}

std::wstring WindowTest::ResourceString(UINT id) const {
    wchar_t text[512] = {};
    LoadStringW(GetModuleHandleW(L"Resource.dll"), id, text, 512);
    return text;
}

std::wstring WindowTest::WindowText(HWND window) {
    if (window == nullptr) return {};
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

bool WindowTest::ControlVisible(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    return control != nullptr && (GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool WindowTest::ControlEnabled(HWND dialog, int id) {
    const HWND control = GetDlgItem(dialog, id);
    return control != nullptr && IsWindowEnabled(control);
}

void WindowTest::Click(HWND dialog, int id) {
    const HWND button = GetDlgItem(dialog, id);
    ASSERT_NE(button, nullptr) << "no control " << id;
    SendMessageW(button, BM_CLICK, 0, 0);
}

void WindowTest::CloseBox(HWND window) {
    SendMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

namespace {

struct ModalDrive {
    const std::function<bool(HWND)>* drive = nullptr;
    int ticks = 0;
    bool finished = false;
};
ModalDrive* g_modalDrive = nullptr;

// The modal loop of the library dispatches this thread's timer messages, so the test
// acts from inside the loop, exactly as a user's clicks would arrive.
void CALLBACK DriveTick(HWND, UINT, UINT_PTR, DWORD) {
    ModalDrive* drive = g_modalDrive;
    if (drive == nullptr || drive->finished) return;
    ++drive->ticks;
    for (HWND dialog : WindowTest::ThreadDialogs()) {
        if (!IsWindowVisible(dialog)) continue;
        if ((*drive->drive)(dialog)) {
            drive->finished = true;
            return;
        }
    }
    if (drive->ticks >= kDriveGiveUpTicks) {
        for (HWND dialog : WindowTest::ThreadDialogs()) PostMessageW(dialog, WM_CLOSE, 0, 0);
    }
}

}  // namespace

bool WindowTest::DriveModal(const std::function<void()>& call,
                            const std::function<bool(HWND)>& drive) {
    ModalDrive state;
    state.drive = &drive;
    g_modalDrive = &state;
    const UINT_PTR timer = SetTimer(nullptr, kDriveTimer, kDriveIntervalMs, &DriveTick);
    call();
    KillTimer(nullptr, timer);
    g_modalDrive = nullptr;
    return state.finished;
}

}  // namespace windowtests
