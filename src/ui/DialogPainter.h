#pragma once
// Painting shared by the library's windows. Every operation takes the device context, the
// rectangle and what it draws, and nothing else, so a test can paint into a memory bitmap
// and read the pixels back.

#include <windows.h>

#include <string_view>

namespace quorveltwain {

struct FlatButtonState {
    bool primary = false;  // the button the window suggests (accent fill, white text)
    bool pressed = false;
    bool hot = false;  // under the mouse
    bool disabled = false;
    bool focused = false;  // keyboard focus, shown as a dotted frame inside the face
};

class DialogPainter {
  public:
    // Horizontal gap between a button's window and its painted face, so that buttons
    // placed edge to edge still read as separate buttons.
    static constexpr int kButtonFaceInset = 3;
    static constexpr int kButtonCornerDiameter = 6;

    // Settings pages and the profiles window: white, framed twice in white so that
    // nothing of an earlier paint survives along the edges.
    static void PaintPage(HDC dc, const RECT& client) noexcept;

    // Message and progress windows: a white content area and, from bandTop down, a panel
    // grey band for the buttons, divided by a one-pixel light grey line.
    static void PaintBandedBackground(HDC dc, const RECT& client, int bandTop) noexcept;

    // A flat push button of the colour scheme: a rounded face inset from the rectangle,
    // its text centred on one line in the given font (the DC's font when null).
    static void PaintFlatButton(HDC dc, const RECT& rect, std::wstring_view text, HFONT font,
                                const FlatButtonState& state) noexcept;
};

}  // namespace quorveltwain
