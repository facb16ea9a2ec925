#include "ui/DlgProgress.h"

#include <commctrl.h>

#include <climits>

#include "platform/LiveObjects.h"
#include "ResourceIds.h"
#include "ui/ColorScheme.h"
#include "ui/DialogPainter.h"
#include "ui/DialogSlot.h"
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
    if (owner_ != nullptr) {
        ::SendMessageW(owner_, UIM_SET_ACTIVE_WINDOW, reinterpret_cast<WPARAM>(window_), 0);
    }
    const HWND bar = ::GetDlgItem(window_, IDC_PROGRESS_BAR);
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
    ResourceText title(resourceModule_, IDS_PROGRESS_TITLE);
    ::SetWindowTextW(window_, title.c_str());
    SetControlText(window_, IDC_PROGRESS_LABEL, resourceModule_, IDS_PROGRESS_LABEL);
    SetControlText(window_, IDC_PROGRESS_CANCEL, resourceModule_, IDS_CANCEL);
}

INT_PTR CALLBACK DlgProgress::Procedure(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam) noexcept {
    return ServeFromSlot(&DlgProgress::Handle, window, message, wParam, lParam);
}

INT_PTR DlgProgress::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            window_ = window;
            hadWindow_ = true;
            LiveObjects::Created(LiveKind::Window);
            InitDialog();
            return TRUE;

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
            ::SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
            return TRUE;

        case WM_ERASEBKGND: {
            RECT client{};
            ::GetClientRect(window, &client);
            DialogPainter::PaintBandedBackground(reinterpret_cast<HDC>(wParam), client,
                                                 ButtonBandTop(window));
            ::SetWindowLongPtrW(window, DWLP_MSGRESULT, 1);
            return TRUE;
        }

        case WM_CTLCOLORSTATIC:
            ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<INT_PTR>(::GetStockObject(NULL_BRUSH));

        case WM_CTLCOLORBTN:
            return reinterpret_cast<INT_PTR>(ColorScheme::Brush(SchemeColor::PanelGrey));

        case WM_NOTIFY:
            return FlatButtons::OnNotify(window, lParam, 0, SchemeColor::PanelGrey);

        case WM_NCDESTROY:
            // An older progress window of a replaced object also ends here; it must not clear
            // the current object's handle.
            if (window_ == window) window_ = nullptr;
            LiveObjects::Destroyed(LiveKind::Window);
            return FALSE;

        default:
            return FALSE;
    }
}

}  // namespace quorveltwain
