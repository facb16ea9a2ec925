#include "ui/DialogPainter.h"

#include "platform/ScopedSelect.h"
#include "platform/UniqueHandle.h"
#include "ui/ColorScheme.h"

namespace quorveltwain {

namespace {

struct ButtonColors {
    SchemeColor face;
    SchemeColor frame;
    SchemeColor text;
};

ButtonColors ColorsFor(const FlatButtonState& state) noexcept {
    if (state.disabled) {
        // A primary button waiting to be enabled (Continue while the paper is reloaded)
        // must read as unavailable at a glance; the inactive accent is too close to it.
        return ButtonColors{SchemeColor::LightGrey, SchemeColor::BorderGrey, SchemeColor::MidGrey};
    }
    if (state.pressed) {
        return {SchemeColor::AccentBluePressed, SchemeColor::AccentBluePressed,
                SchemeColor::LightGrey};
    }
    if (state.hot) {
        return {SchemeColor::AccentBlueHover, SchemeColor::AccentBlueHover, SchemeColor::White};
    }
    return state.primary
               ? ButtonColors{SchemeColor::AccentBlue, SchemeColor::AccentBlue, SchemeColor::White}
               : ButtonColors{SchemeColor::White, SchemeColor::BorderGrey, SchemeColor::NearBlack};
}

}  // namespace

void DialogPainter::PaintPage(HDC dc, const RECT& client) noexcept {
    const HBRUSH white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    RECT frame = client;
    ::FrameRect(dc, &frame, white);
    ::InflateRect(&frame, -1, -1);
    ::FrameRect(dc, &frame, white);
    ::FillRect(dc, &client, white);
}

void DialogPainter::PaintBandedBackground(HDC dc, const RECT& client, int bandTop) noexcept {
    RECT content = client;
    content.bottom =
        bandTop < client.top ? client.top : (bandTop > client.bottom ? client.bottom : bandTop);
    ::FillRect(dc, &content, ColorScheme::Brush(SchemeColor::White));
    if (content.bottom >= client.bottom) return;

    RECT divider = client;
    divider.top = content.bottom;
    divider.bottom = divider.top + 1;
    ::FillRect(dc, &divider, ColorScheme::Brush(SchemeColor::LightGrey));

    RECT band = client;
    band.top = divider.bottom;
    if (band.top < band.bottom) ::FillRect(dc, &band, ColorScheme::Brush(SchemeColor::PanelGrey));
}

void DialogPainter::PaintFlatButton(HDC dc, const RECT& rect, std::wstring_view text, HFONT font,
                                    const FlatButtonState& state) noexcept {
    const ButtonColors colors = ColorsFor(state);

    RECT face = rect;
    ::InflateRect(&face, -kButtonFaceInset, 0);
    if (face.right <= face.left || face.bottom <= face.top) return;

    {
        UniquePen framePen(::CreatePen(PS_SOLID, 1, ColorScheme::Color(colors.frame)));
        ScopedSelect pen(dc, framePen.get());
        ScopedSelect brush(dc, ColorScheme::Brush(colors.face));
        ::RoundRect(dc, face.left, face.top, face.right, face.bottom, kButtonCornerDiameter,
                    kButtonCornerDiameter);
    }

    ScopedSelect selectedFont(dc, font);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = ::SetTextColor(dc, ColorScheme::Color(colors.text));
    RECT textRect = face;
    ::DrawTextW(dc, text.data(), static_cast<int>(text.size()), &textRect,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_HIDEPREFIX | DT_END_ELLIPSIS);
    ::SetTextColor(dc, oldColor);
    ::SetBkMode(dc, oldMode);

    if (state.focused && !state.disabled) {
        RECT focus = face;
        ::InflateRect(&focus, -3, -3);
        const COLORREF oldFocusText = ::SetTextColor(dc, ColorScheme::Color(colors.text));
        const COLORREF oldFocusBack = ::SetBkColor(dc, ColorScheme::Color(colors.face));
        ::DrawFocusRect(dc, &focus);
        ::SetBkColor(dc, oldFocusBack);
        ::SetTextColor(dc, oldFocusText);
    }
}

}  // namespace quorveltwain
