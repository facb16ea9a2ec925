// The shared painting, checked pixel by pixel in a memory bitmap.

#include <gtest/gtest.h>

#include <windows.h>

#include "platform/ScopedSelect.h"
#include "ui/ColorScheme.h"
#include "ui/DialogPainter.h"

using namespace quorveltwain;

namespace {

// A 32-bit top-down memory bitmap with its own DC.
class Canvas {
  public:
    Canvas(int width, int height) : width_(width) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        RECT all{0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
    ~Canvas() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC dc() const { return dc_; }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const DWORD pixel = bits_[y * width_ + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }

  private:
    int width_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    DWORD* bits_ = nullptr;
};

COLORREF Scheme(SchemeColor color) {
    return ColorScheme::Color(color);
}

TEST(DialogPainter, BandedBackgroundIsWhiteAboveADividerAndPanelGreyBelow) {
    Canvas canvas(60, 40);
    DialogPainter::PaintBandedBackground(canvas.dc(), RECT{0, 0, 60, 40}, 20);
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(59, 19), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(30, 20), RGB(225, 225, 225));
    EXPECT_EQ(canvas.At(30, 21), RGB(242, 242, 242));
    EXPECT_EQ(canvas.At(59, 39), RGB(242, 242, 242));

    // A band below the window leaves it all white; one above it makes it all grey.
    Canvas noBand(10, 10);
    DialogPainter::PaintBandedBackground(noBand.dc(), RECT{0, 0, 10, 10}, 50);
    EXPECT_EQ(noBand.At(5, 9), RGB(255, 255, 255));
    Canvas allBand(10, 10);
    DialogPainter::PaintBandedBackground(allBand.dc(), RECT{0, 0, 10, 10}, -5);
    EXPECT_EQ(allBand.At(5, 0), RGB(225, 225, 225));
    EXPECT_EQ(allBand.At(5, 9), RGB(242, 242, 242));
}

TEST(DialogPainter, PageIsWhiteToTheEdges) {
    Canvas canvas(30, 20);
    DialogPainter::PaintPage(canvas.dc(), RECT{0, 0, 30, 20});
    for (const POINT p : {POINT{0, 0}, POINT{29, 19}, POINT{1, 1}, POINT{15, 10}}) {
        EXPECT_EQ(canvas.At(p.x, p.y), RGB(255, 255, 255)) << p.x << "," << p.y;
    }
}

TEST(DialogPainter, FlatButtonFacesFollowTheirState) {
    struct Case {
        FlatButtonState state;
        SchemeColor face;
        SchemeColor edge;
    };
    const Case cases[] = {
        {{.primary = true}, SchemeColor::AccentBlue, SchemeColor::AccentBlue},
        {{}, SchemeColor::White, SchemeColor::BorderGrey},
        {{.disabled = true}, SchemeColor::LightGrey, SchemeColor::BorderGrey},
        // A disabled primary button looks like any disabled button.
        {{.primary = true, .disabled = true}, SchemeColor::LightGrey, SchemeColor::BorderGrey},
        {{.pressed = true}, SchemeColor::AccentBluePressed, SchemeColor::AccentBluePressed},
        {{.hot = true}, SchemeColor::AccentBlueHover, SchemeColor::AccentBlueHover},
        {{.primary = true, .pressed = true, .hot = true},
         SchemeColor::AccentBluePressed,
         SchemeColor::AccentBluePressed},
    };
    const int inset = DialogPainter::kButtonFaceInset;
    for (const Case& c : cases) {
        Canvas canvas(91, 24);
        DialogPainter::PaintFlatButton(canvas.dc(), RECT{0, 0, 91, 24}, L"OK", nullptr, c.state);
        // The inset stays as it was (black here), so neighbouring buttons keep a gap.
        EXPECT_EQ(canvas.At(inset - 1, 12), RGB(0, 0, 0));
        EXPECT_EQ(canvas.At(91 - inset, 12), RGB(0, 0, 0));
        EXPECT_EQ(canvas.At(inset, 12), Scheme(c.edge));
        EXPECT_EQ(canvas.At(inset + 4, 12), Scheme(c.face));
        EXPECT_EQ(canvas.At(45, 1), Scheme(c.face));
        // Rounded corners leave the corner pixel unpainted.
        EXPECT_EQ(canvas.At(inset, 0), RGB(0, 0, 0));
    }
}

TEST(DialogPainter, ButtonTextIsDrawnInTheTextColourOfTheState) {
    Canvas canvas(91, 24);
    DialogPainter::PaintFlatButton(canvas.dc(), RECT{0, 0, 91, 24}, L"OK", nullptr,
                                   FlatButtonState{.primary = true});
    int whiteish = 0;
    for (int y = 4; y < 20; ++y) {
        for (int x = 30; x < 61; ++x) {
            const COLORREF c = canvas.At(x, y);
            whiteish += (GetRValue(c) > 200 && GetGValue(c) > 200 && GetBValue(c) > 200) ? 1 : 0;
        }
    }
    EXPECT_GT(whiteish, 5) << "white text on the accent face";

    Canvas empty(91, 24);
    DialogPainter::PaintFlatButton(empty.dc(), RECT{0, 0, 91, 24}, L"", nullptr,
                                   FlatButtonState{.primary = true});
    EXPECT_EQ(empty.At(45, 12), Scheme(SchemeColor::AccentBlue));
}

TEST(ColorScheme, BrushesAreMadeOncePerColourInThatColour) {
    const HBRUSH panel = ColorScheme::Brush(SchemeColor::PanelGrey);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(ColorScheme::Brush(SchemeColor::PanelGrey), panel);
    EXPECT_NE(ColorScheme::Brush(SchemeColor::White), panel);
    LOGBRUSH description{};
    ASSERT_EQ(GetObjectW(panel, sizeof(description), &description),
              static_cast<int>(sizeof(description)));
    EXPECT_EQ(description.lbColor, RGB(242, 242, 242));
    EXPECT_EQ(ColorScheme::Color(SchemeColor::AccentBlueHover), RGB(15, 128, 163));
    EXPECT_EQ(ColorScheme::Brush(SchemeColor::Count_), nullptr);
}

}  // namespace
