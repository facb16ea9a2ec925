#include "ui/DlgProgress.h"

#include <commctrl.h>

#include <climits>

#include "ResourceIds.h"
#include "ui/ColorScheme.h"
#include "ui/DialogPainter.h"
#include "ui/FlatButtons.h"
#include "ui/ResourceText.h"
#include "ui/UiMessages.h"

namespace quorveltwain {

namespace {

constexpr UINT kMarqueeIntervalMs = 30;
// Space between the top of the button band and the top of the Cancel button.
constexpr int kBandPadding = 12;

void SetControlText(HWND dialog, int id, HMODULE module, UINT stringId) noexcept {
    ResourceText text(module, stringId);
    ::SetDlgItemTextW(dialog, id, text.c_str());
}

int ButtonBandTop(HWND dialog) noexcept {
    RECT button{};
    const HWND cancel = ::GetDlgItem(dialog, IDC_PROGRESS_CANCEL);
    if (cancel == nullptr || !::GetWindowRect(cancel, &button)) return INT_MAX;
    ::MapWindowPoints(HWND_DESKTOP, dialog, reinterpret_cast<POINT*>(&button), 2);
    return button.top - kBandPadding;
}

}  // namespace

void DlgProgress::InitDialog() {
    const HWND window = Window();
    if (owner_ != nullptr) {
        ::SendMessageW(owner_, UIM_SET_ACTIVE_WINDOW, reinterpret_cast<WPARAM>(window), 0);
    }
    const HWND bar = ::GetDlgItem(window, IDC_PROGRESS_BAR);
    if (bar != nullptr) {
        ::SetWindowLongPtrW(bar, GWL_STYLE, ::GetWindowLongPtrW(bar, GWL_STYLE) | PBS_MARQUEE);
        // Without a visual style the bar takes the scheme's colours; a theme keeps its own.
        ::SendMessageW(bar, PBM_SETBARCOLOR, 0, ColorScheme::Color(SchemeColor::AccentBlue));
        ::SendMessageW(bar, PBM_SETBKCOLOR, 0, ColorScheme::Color(SchemeColor::LightGrey));
        ::SendMessageW(bar, PBM_SETMARQUEE, TRUE, kMarqueeIntervalMs);
    }
    SetTexts();
}

void DlgProgress::SetTexts() {
    const HWND window = Window();
    ResourceText title(resourceModule_, IDS_PROGRESS_TITLE);
    ::SetWindowTextW(window, title.c_str());
    SetControlText(window, IDC_PROGRESS_LABEL, resourceModule_, IDS_PROGRESS_LABEL);
    SetControlText(window, IDC_PROGRESS_CANCEL, resourceModule_, IDS_CANCEL);
}

HWND DlgProgress::Open() noexcept {
    const HWND window = CreateModeless(this, IDD_PROGRESS);
    opened_.store(true);
    if (window != nullptr) ::ShowWindow(window, SW_SHOW);
    return window;
}

void DlgProgress::Close() noexcept {
    if (owner_ != nullptr) ::SendMessageW(owner_, UIM_ENABLE, 0, 1);
    if (const HWND window = Window()) ::DestroyWindow(window);
}

void DlgProgress::EraseBackground(HDC dc, const RECT& client) const noexcept {
    DialogPainter::PaintBandedBackground(dc, client, ButtonBandTop(Window()));
}

HBRUSH DlgProgress::ButtonColor(HDC /*dc*/, HWND /*control*/) const noexcept {
    return ColorScheme::Brush(SchemeColor::PanelGrey);
}

INT_PTR DlgProgress::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            // Escape (IDCANCEL) means Cancel too. Either way the window stays: the host ends
            // the scan and then removes it.
            if (HIWORD(wParam) == BN_CLICKED &&
                (LOWORD(wParam) == IDC_PROGRESS_CANCEL || LOWORD(wParam) == IDCANCEL)) {
                ::SendMessageW(hostWindow_, HM_CANCEL, 0, 0);
            }
            return TRUE;

        case WM_CLOSE:
            ::SendMessageW(hostWindow_, HM_CANCEL, 0, 0);
            return MessageResult(Window(), 0);

        case WM_NOTIFY:
            return FlatButtons::OnNotify(Window(), lParam, 0, SchemeColor::PanelGrey);

        default:
            return FALSE;
    }
}

}  // namespace quorveltwain
