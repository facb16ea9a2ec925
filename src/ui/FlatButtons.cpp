#include "ui/FlatButtons.h"

#include <commctrl.h>

#include "ui/DialogPainter.h"
#include "ui/ResourceText.h"

namespace quorveltwain {

namespace {

bool IsPushButton(HWND window) noexcept {
    wchar_t className[16] = {};
    if (::GetClassNameW(window, className, 16) == 0) return false;
    if (::lstrcmpiW(className, WC_BUTTONW) != 0) return false;
    const LONG_PTR type = ::GetWindowLongPtrW(window, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

INT_PTR FlatButtons::OnNotify(HWND dialog, LPARAM lParam, int primaryId,
                              SchemeColor background) noexcept {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header == nullptr || header->code != NM_CUSTOMDRAW) return FALSE;
    if (!IsPushButton(header->hwndFrom)) return FALSE;

    auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(lParam);
    LRESULT result = CDRF_DODEFAULT;
    if (draw->dwDrawStage == CDDS_PREPAINT) {
        const HWND button = header->hwndFrom;
        // The button's own state, not only the notification's: it is the same on every
        // version of the common controls.
        const LRESULT buttonState = ::SendMessageW(button, BM_GETSTATE, 0, 0);
        FlatButtonState state;
        state.primary = primaryId != 0 && static_cast<int>(header->idFrom) == primaryId;
        state.pressed = (buttonState & BST_PUSHED) != 0 || (draw->uItemState & CDIS_SELECTED) != 0;
        state.hot = (buttonState & BST_HOT) != 0 || (draw->uItemState & CDIS_HOT) != 0;
        state.disabled = !::IsWindowEnabled(button);
        state.focused = ::GetFocus() == button &&
                        (::SendMessageW(button, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;

        wchar_t text[ResourceText::kChars] = {};
        const int length = ::GetWindowTextW(button, text, ResourceText::kChars);
        const auto font = reinterpret_cast<HFONT>(::SendMessageW(button, WM_GETFONT, 0, 0));

        ::FillRect(draw->hdc, &draw->rc, ColorScheme::Brush(background));
        DialogPainter::PaintFlatButton(
            draw->hdc, draw->rc, std::wstring_view(text, length > 0 ? length : 0), font, state);
        result = CDRF_SKIPDEFAULT;
    }
    ::SetWindowLongPtrW(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace quorveltwain
