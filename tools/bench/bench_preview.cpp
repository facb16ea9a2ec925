// Times the preview window under the budget "one redraw while panning an A4 page at
// 200 dpi at 400 %: 16 ms", and opening the preview (ShowPreviewImage until the window is
// shown and painted), and a zoom change. Pan is timed twice: the window's own redraw (image into
// the off-screen picture and onto the screen) and the whole mouse move as sent to the window.
// Medians of repeated runs; nothing here asserts a time.
//
// Usage: bench_preview.exe [runs]

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "ResourceIds.h"
#include "TestPage.h"
#include "api/UiContext.h"
#include "twain_ui.h"
#include "ui/DialogSlot.h"
#include "ui/DlgPreview.h"

using namespace quorveltwain;
using bench::Milliseconds;
using bench::Now;
using bench::Report;

namespace {

void Pump() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

HWND PreviewWindow() {
    const DlgPreview* preview = DialogSlot<DlgPreview>::Current();
    return preview != nullptr ? preview->Window() : nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int runs = argc > 1 ? std::max(5, _wtoi(argv[1])) : 20;
    const HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      nullptr, nullptr);
    static ScanSettingsRecord settings{};
    static std::uint32_t option = 1;
    if (InitializeUI(host, &settings, nullptr, &option, nullptr) != 0 ||
        CurrentUiContext() == nullptr || CurrentUiContext()->resourceModule == nullptr) {
        std::puts("the resource library is not installed");
        return 1;
    }
    const host::PageImage page = host::RenderTestPage(200, host::PagePixels::Color24, 1);
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"bench-preview.bmp";

    std::vector<double> open, zoom, redraw, move;
    for (int run = 0; run < runs; ++run) {
        if (!host::WriteBmp(path, page)) {
            std::puts("cannot write the page");
            return 1;
        }
        const LARGE_INTEGER start = Now();
        ShowPreviewImage(path.c_str());
        HWND window = nullptr;
        while (Milliseconds(start, Now()) < 10000) {
            window = PreviewWindow();
            if (window != nullptr && IsWindowVisible(window) &&
                GetUpdateRect(window, nullptr, FALSE) == FALSE) {
                break;
            }
            Pump();
            Sleep(0);
        }
        if (window == nullptr) {
            std::puts("the preview never opened");
            return 1;
        }
        open.push_back(Milliseconds(start, Now()));

        // 400 %, the hand tool, and a drag across the page in 30 steps.
        SetForegroundWindow(window);
        SendDlgItemMessageW(window, IDC_PREVIEW_ZOOM_LIST, CB_SETCURSEL, 6, 0);
        const LARGE_INTEGER zoomed = Now();
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_PREVIEW_ZOOM_LIST, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_PREVIEW_ZOOM_LIST)));
        zoom.push_back(Milliseconds(zoomed, Now()));
        SendMessageW(window, WM_COMMAND, IDC_PREVIEW_HAND_TOOL, 0);
        WINDOWPLACEMENT placement{};
        placement.length = sizeof(placement);
        GetWindowPlacement(GetDlgItem(window, IDC_PREVIEW_IMAGE), &placement);
        const RECT area = placement.rcNormalPosition;
        POINT at{area.right - 20, area.bottom - 20};
        SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        for (int step = 0; step < 30; ++step) {
            at.x -= 9;
            at.y -= 7;
            const LARGE_INTEGER sent = Now();
            SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(at.x, at.y));
            move.push_back(Milliseconds(sent, Now()));
            redraw.push_back(DialogSlot<DlgPreview>::Current()->LastRedrawMs());
        }
        SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        SendMessageW(window, WM_COMMAND, IDC_PREVIEW_CLOSE, 0);
        while (DialogSlot<DlgPreview>::Current()->Running()) {
            Pump();
            Sleep(1);
        }
    }
    Report("ShowPreviewImage until shown and painted", open);
    Report("zoom list to 400 %, sent and handled", zoom);
    Report("pan at 400 %: the window's redraw", redraw);
    Report("pan at 400 %: one mouse move, sent and handled", move);
    return 0;
}
