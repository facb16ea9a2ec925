// The preview's arithmetic: where the frame's millimetres land, how far the image scrolls,
// what the zoom tool steps to, and what a quarter turn does to a frame.

#include <gtest/gtest.h>

#include <string>

#include "ui/PreviewGeometry.h"

using namespace quorveltwain::preview;

TEST(PreviewGeometry, ScreenPixelAndMillimetreConversionsRoundTrip) {
    // 254 mm is exactly 2000 pixels at 200 dpi; at 100 % (0.2) that is 400 screen pixels.
    EXPECT_EQ(ScreenFromMm(254, 0, kZoomAt100, 10), 410);
    EXPECT_EQ(ScreenFromMm(254, 500, ZoomFromPercent(400), 10), 10 + (2000 - 500) * 4 / 5);
    EXPECT_EQ(PixelFromScreen(410, 10, kZoomAt100, 0), 2000);
    EXPECT_EQ(PixelFromScreen(10, 10, ZoomFromPercent(400), 123), 123);
    EXPECT_EQ(RoundedMm(2000), 254);
    EXPECT_EQ(RoundedMm(3.9), 0);  // 0.495 mm
    EXPECT_EQ(RoundedMm(4.0), 1);  // 0.508 mm
    for (int percent : kZoomPercents) EXPECT_EQ(PercentFromZoom(ZoomFromPercent(percent)), percent);
}

TEST(PreviewGeometry, OffsetsStayWithinTheImage) {
    // A4 at 200 dpi is 1654 pixels wide; a 800-pixel view at 100 % shows 4000 pixels: fits.
    EXPECT_EQ(ClampOffset(300, 1654, 800, kZoomAt100), 0);
    const double z400 = ZoomFromPercent(400);  // 0.8: the view shows 1000 image pixels
    EXPECT_EQ(MaxOffset(1654, 800, z400), 654);
    EXPECT_EQ(ClampOffset(-5, 1654, 800, z400), 0);
    EXPECT_EQ(ClampOffset(700, 1654, 800, z400), 654);
    EXPECT_EQ(ClampOffset(321, 1654, 800, z400), 321);
}

TEST(PreviewGeometry, ZoomToolStepsAndStopsAtTheEnds) {
    EXPECT_EQ(NextZoomEntry(100, true, 2), 3);
    EXPECT_EQ(NextZoomEntry(100, false, 2), 1);
    EXPECT_EQ(NextZoomEntry(400, true, 6), 6);
    EXPECT_EQ(NextZoomEntry(50, false, 0), 0);
    // A percentage that is no step keeps the list's entry.
    EXPECT_EQ(NextZoomEntry(120, true, 4), 4);
}

TEST(PreviewGeometry, FramesTurnWithTheImageAndBackAgain) {
    // A4 portrait, 210 x 297 mm; a frame near the top left.
    const Frame frame{10, 20, 60, 100};
    // Clockwise onto the landscape page (297 x 210): the left edge becomes the top.
    const Frame clockwise = TurnFrame(frame, Turn::Clockwise, 297, 210);
    EXPECT_EQ(clockwise, (Frame{197, 10, 277, 60}));
    EXPECT_EQ(TurnFrame(clockwise, Turn::CounterClockwise, 210, 297), frame);
    const Frame half = TurnFrame(frame, Turn::HalfTurn, 210, 297);
    EXPECT_EQ(half, (Frame{150, 197, 200, 277}));
    EXPECT_EQ(TurnFrame(half, Turn::HalfTurn, 210, 297), frame);
    // Rotation codes of the record: a full circle is no turn.
    EXPECT_EQ(RotationCode((3 * TurnDegrees(Turn::Clockwise)) % 360), 4);
    EXPECT_EQ(
        RotationCode((TurnDegrees(Turn::Clockwise) + TurnDegrees(Turn::CounterClockwise)) % 360),
        1);
    EXPECT_EQ(RotationCode(180), 3);
    EXPECT_EQ(RotationCode(90), 2);
}

TEST(PreviewGeometry, ShortDragsGrowToTenMillimetresInsideTheImage) {
    // Rightwards and down, in the middle of the page.
    EXPECT_EQ(WithMinimumSize({50, 50, 53, 52}, 210, 297), (Frame{50, 50, 60, 60}));
    // Leftwards and up: the frame grows towards the drag.
    EXPECT_EQ(Ordered(WithMinimumSize({50, 50, 47, 48}, 210, 297)), (Frame{40, 40, 50, 50}));
    // At the right and bottom edges it is pushed back inside.
    EXPECT_EQ(WithMinimumSize({205, 295, 207, 296}, 210, 297), (Frame{200, 287, 210, 297}));
    // At the left and top edges, dragging outwards.
    EXPECT_EQ(Ordered(WithMinimumSize({3, 4, 1, 2}, 210, 297)), (Frame{0, 0, 10, 10}));
    // A frame of 10 mm or more stays as drawn.
    EXPECT_EQ(WithMinimumSize({20, 30, 120, 40}, 210, 297), (Frame{20, 30, 120, 40}));
    EXPECT_EQ(Mirrored({20, 30, 120, 40}, 210), (Frame{90, 30, 190, 40}));
}

TEST(PreviewGeometry, StatusTextsInMillimetresAndInches) {
    wchar_t text[64] = {};
    PositionText(0, 7, 123, text, 64);
    EXPECT_EQ(std::wstring(text), L"X:  7mm , Y:123mm");
    SizeText(0, 1000, 10, text, 64);
    EXPECT_EQ(std::wstring(text), L"W:1000mm , H: 10mm");
    PositionText(1, 254, 0, text, 64);
    EXPECT_EQ(std::wstring(text), L"X:10.00in , Y: 0.00in");
    SizeText(2, 127, 25, text, 64);
    EXPECT_EQ(std::wstring(text), L"W: 5.00in , H: 0.98in");
}
