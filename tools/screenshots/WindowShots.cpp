// Opens one window of the library as a user would meet it, prints its title, and keeps it
// open until scripts/screenshots.sh has taken its picture (the script then creates the
// file named by the second argument). Usage: window_shots <case> <done-file>
// Cases: progress, message-0, message-5, message-101, message-102, message-104.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "api/UiContext.h"
#include "twain_ui.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMessages.h"
#include "ui/DlgProgress.h"

using namespace quorveltwain;

namespace {

std::wstring g_doneFile;
HWND g_shown = nullptr;
constexpr int kGiveUpTicks = 3000;  // 30 s at 10 ms
int g_ticks = 0;

void PrintTitle(HWND window) {
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof(utf8), nullptr, nullptr);
    std::printf("%s\n", utf8);
    std::fflush(stdout);
}

bool Done() {
    return GetFileAttributesW(g_doneFile.c_str()) != INVALID_FILE_ATTRIBUTES ||
           ++g_ticks > kGiveUpTicks;
}

// Runs inside the modal loop of a modal message: announce the window once, close it when
// the picture has been taken.
void CALLBACK ModalTick(HWND, UINT, UINT_PTR, DWORD) {
    const HWND window = DialogSlot<DlgMessages>::Current() != nullptr
                            ? DialogSlot<DlgMessages>::Current()->Window()
                            : nullptr;
    if (window == nullptr) return;
    if (g_shown != window) {
        g_shown = window;
        PrintTitle(window);
    }
    if (Done()) PostMessageW(window, WM_CLOSE, 0, 0);
}

void PumpUntilDone() {
    while (!Done()) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void ShowQuestion(std::int32_t code) {
    DialogSetup setup;
    setup.resourceModule = CurrentUiContext()->resourceModule;
    setup.hostWindow = CurrentUiContext()->hostWindow;
    auto created = std::make_unique<DlgMessages>(setup);
    // What the profile editor gives its overwrite question.
    created->SetOverwriteQuestion(L"Office documents, 300 dpi", L"Save Scan Configuration");
    DlgMessages* message = DialogSlot<DlgMessages>::Install(std::move(created));
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &ModalTick);
    message->ShowMessage(code);
    KillTimer(nullptr, timer);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_shots <case> <done-file>\n");
        return 2;
    }
    const std::wstring which = argv[1];
    g_doneFile = argv[2];

    const HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      nullptr, nullptr);
    ScanSettingsRecord settings{};
    std::uint32_t option = 0;
    InitializeUI(host, &settings, nullptr, &option, nullptr);
    if (CurrentUiContext() == nullptr || CurrentUiContext()->resourceModule == nullptr) {
        std::fprintf(stderr, "the resource library is not installed\n");
        return 1;
    }

    if (which == L"progress" || which == L"message-0" || which == L"message-5") {
        ShowScanProgress();
        if (which == L"message-0") ShowScanInterruptionUI(0);
        if (which == L"message-5") ShowErrorMessage(5);
        const bool progressOnly = which == L"progress";
        const HWND window = progressOnly ? CurrentUiContext()->progressDialog->Window()
                                         : CurrentUiContext()->messageDialog->Window();
        if (window == nullptr) return 1;
        // Give the keyboard focus somewhere neutral, as after the user's last click.
        SetFocus(nullptr);
        PrintTitle(window);
        PumpUntilDone();
        if (!progressOnly) ShowErrorMessage(4);  // closes the visible message
        CloseScanProgress();
    } else if (which.rfind(L"message-", 0) == 0) {
        ShowQuestion(std::stoi(which.substr(8)));
    } else {
        std::fprintf(stderr, "unknown case\n");
        return 2;
    }
    DestroyWindow(host);
    return 0;
}
