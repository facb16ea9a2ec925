// The shared painting, checked pixel by pixel in a memory bitmap.

#include <gtest/gtest.h>

#include <windows.h>

#include "platform/ScopedSelect.h"
#include "platform/UniqueHandle.h"
#include "ui/ColorScheme.h"
#include "ui/DialogPainter.h"

using namespace quorveltwain;

namespace {

// A memory bitmap, black until painted.
class Canvas {
  public:
    Canvas(int width, int height)
        : dc_(CreateCompatibleDC(nullptr)),
          bitmap_(CreateBitmap(width, height, 1, 32, nullptr)),
          select_(dc_.get(), bitmap_.get()) {
        const RECT all{0, 0, width, height};
        FillRect(dc_.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    HDC dc() const { return dc_.get(); }
    COLORREF At(int x, int y) const { return GetPixel(dc_.get(), x, y); }

  private:
    UniqueMemoryDC dc_;
    UniqueBitmap bitmap_;
    ScopedSelect select_;
};

COLORREF Scheme(SchemeColor color) {
    return ColorScheme::Color(color);
}

TEST(DialogPainter, BandedBackgroundIsWhiteAboveADividerAndPanelGreyBelow) {
    Canvas canvas(60, 40);
    DialogPainter::PaintBandedBackground(canvas.dc(), RECT{0, 0, 60, 40}, 20);
    EXPECT_EQ(canvas.At(0, 0), Scheme(SchemeColor::White));
    EXPECT_EQ(canvas.At(59, 19), Scheme(SchemeColor::White));
    EXPECT_EQ(canvas.At(30, 20), Scheme(SchemeColor::LightGrey));
    EXPECT_EQ(canvas.At(30, 21), Scheme(SchemeColor::PanelGrey));
    EXPECT_EQ(canvas.At(59, 39), Scheme(SchemeColor::PanelGrey));
}

TEST(DialogPainter, FlatButtonFacesFollowTheirState) {
    const struct {
        FlatButtonState state;
        SchemeColor face, edge;
    } cases[] = {
        {{.primary = true}, SchemeColor::AccentBlue, SchemeColor::AccentBlue},
        {{}, SchemeColor::White, SchemeColor::BorderGrey},
        // A disabled primary button looks like any disabled button.
        {{.primary = true, .disabled = true}, SchemeColor::LightGrey, SchemeColor::BorderGrey},
        {{.pressed = true, .hot = true},
         SchemeColor::AccentBluePressed,
         SchemeColor::AccentBluePressed},
    };
    const int inset = DialogPainter::kButtonFaceInset;
    for (const auto& c : cases) {
        Canvas canvas(91, 24);
        DialogPainter::PaintFlatButton(canvas.dc(), RECT{0, 0, 91, 24}, L"OK", nullptr, c.state);
        // The inset stays unpainted, so buttons placed edge to edge keep a gap.
        EXPECT_EQ(canvas.At(inset - 1, 12), RGB(0, 0, 0));
        EXPECT_EQ(canvas.At(91 - inset, 12), RGB(0, 0, 0));
        EXPECT_EQ(canvas.At(inset, 12), Scheme(c.edge));
        EXPECT_EQ(canvas.At(inset + 4, 12), Scheme(c.face));
        EXPECT_EQ(canvas.At(inset, 0), RGB(0, 0, 0)) << "rounded corners";
    }
}

}  // namespace
