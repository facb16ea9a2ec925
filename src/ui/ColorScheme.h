#pragma once
// The library's colour scheme, and the solid brushes that WM_CTLCOLOR... handlers return.
// Those brushes are made once per colour and live as long as the library: a handler's
// brush must outlive the painting that uses it, and making one per message would churn GDI.

#include <windows.h>

#include <cstddef>

namespace quorveltwain {

enum class SchemeColor : std::size_t {
    White,               // page background, secondary buttons, text on the primary button
    PanelGrey,           // side panels, unselected navigation items, button bands
    ListGrey,            // background of the profiles list
    DisabledGrey,        // Preview button fill while disabled or another window owns the UI
    LightGrey,           // secondary button fill when inactive or disabled; pressed text
    MidGrey,             // text of a disabled button
    BorderGrey,          // 1-pixel pen of the rounded button frame
    NearBlack,           // text of secondary buttons and unselected navigation labels
    AccentBlue,          // primary button; selected navigation item
    AccentBlueInactive,  // primary button when disabled or another window owns the UI
    AccentBluePressed,   // any button pressed
    AccentBlueHover,     // any button under the mouse
    Count_
};

class ColorScheme {
  public:
    static COLORREF Color(SchemeColor color) noexcept;
    // The shared solid brush of the colour; never delete it. Null only if GDI refused it.
    static HBRUSH Brush(SchemeColor color) noexcept;
};

}  // namespace quorveltwain
