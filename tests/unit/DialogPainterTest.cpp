// The shared painting, checked pixel by pixel in a memory bitmap.

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "platform/ScopedSelect.h"
#include "platform/UniqueHandle.h"
#include "ui/ColorScheme.h"
#include "ui/DialogPainter.h"

using namespace quorveltwain;

namespace {

// A memory bitmap, black until painted.
struct Canvas {
    Canvas(int width, int height)
        : bitmap(CreateBitmap(width, height, 1, 32, nullptr)), select(dc.get(), bitmap.get()) {
        const RECT all{0, 0, width, height};
        FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    COLORREF At(int x, int y) const { return GetPixel(dc.get(), x, y); }
    UniqueMemoryDC dc{CreateCompatibleDC(nullptr)};
    UniqueBitmap bitmap;
    ScopedSelect select;
};

using enum SchemeColor;
constexpr auto Scheme = ColorScheme::Color;
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST(DialogPainter, BandedBackgroundIsWhiteAboveADividerAndPanelGreyBelow) {
    Canvas canvas(60, 40);
    DialogPainter::PaintBandedBackground(canvas.dc.get(), RECT{0, 0, 60, 40}, 20);
    EXPECT_EQ(
        std::vector({canvas.At(59, 19), canvas.At(30, 20), canvas.At(30, 21), canvas.At(59, 39)}),
        std::vector({Scheme(White), Scheme(LightGrey), Scheme(PanelGrey), Scheme(PanelGrey)}));
}

TEST(DialogPainter, FlatButtonFacesFollowTheirState) {
    const struct {
        FlatButtonState state;
        SchemeColor face, edge;
    } cases[] = {
        {{.primary = true}, AccentBlue, AccentBlue},
        {{}, White, BorderGrey},
        // A disabled primary button looks like any disabled button.
        {{.primary = true, .disabled = true}, LightGrey, BorderGrey},
        {{.pressed = true, .hot = true}, AccentBluePressed, AccentBluePressed},
    };
    const int inset = DialogPainter::kButtonFaceInset;
    for (const auto& c : cases) {
        Canvas canvas(91, 24);
        DialogPainter::PaintFlatButton(canvas.dc.get(), RECT{0, 0, 91, 24}, L"OK", nullptr,
                                       c.state);
        // The inset stays unpainted, so buttons placed edge to edge keep a gap; the corners
        // are rounded.
        EXPECT_EQ(
            std::vector({canvas.At(inset - 1, 12), canvas.At(91 - inset, 12), canvas.At(inset, 0),
                         canvas.At(inset, 12), canvas.At(inset + 4, 12)}),
            std::vector({kBlack, kBlack, kBlack, Scheme(c.edge), Scheme(c.face)}));
    }
}

}  // namespace
