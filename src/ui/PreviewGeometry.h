#pragma once
// The arithmetic of the preview window, apart from any window: the conversions between
// image pixels, millimetres and the screen, the scroll limits, the zoom steps, the frame's
// smallest size, its turn with the image, and the position texts of the status bar.
//
// Preview images are taken as 200 dots per inch whatever their header says: the frame is
// measured in whole millimetres of the scanner's page, and the host scans previews at 200.

#include <cstddef>
#include <cstdint>
#include <iterator>

namespace quorveltwain::preview {

inline constexpr double kDotsPerInch = 200.0;
inline constexpr double kMmPerInch = 25.4;
// Screen pixels per image pixel at the 100 % step: a 200-dpi page at 100 % is about the
// size of the paper on a usual screen.
inline constexpr double kZoomAt100 = 0.2;
// A frame is at least this wide and high once a drag has ended.
inline constexpr std::int32_t kMinFrameMm = 10;

// The zoom list's steps in percent, smallest first; the list's entries in this order.
inline constexpr int kZoomPercents[] = {50, 75, 100, 150, 200, 300, 400};
inline constexpr std::size_t kZoomSteps = std::size(kZoomPercents);
inline constexpr std::size_t kZoom100Entry = 2;

struct Frame {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;  // millimetres from the top left
    bool Empty() const noexcept { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool operator==(const Frame&) const = default;
};

enum class Turn { Clockwise, CounterClockwise, HalfTurn };

inline double MmFromPixels(double pixels) noexcept {
    return pixels * kMmPerInch / kDotsPerInch;
}
inline double PixelsFromMm(double mm) noexcept {
    return mm * kDotsPerInch / kMmPerInch;
}
inline double ZoomFromPercent(int percent) noexcept {
    return percent / 100.0 * kZoomAt100;
}
// The step a zoom belongs to (truncated), as the zoom tool compares it with the table.
inline int PercentFromZoom(double zoom) noexcept {
    return static_cast<int>(zoom / kZoomAt100 * 100.0 + 1e-9);
}

// The screen coordinate of a millimetre value on one axis of the image area.
int ScreenFromMm(double mm, std::int32_t offset, double zoom, int areaStart) noexcept;
// The image pixel under a screen coordinate on one axis.
std::int32_t PixelFromScreen(int screen, int areaStart, double zoom, std::int32_t offset) noexcept;
// Whole millimetres of a pixel position, rounded to the nearest.
std::int32_t RoundedMm(double pixels) noexcept;

// The farthest an axis can scroll: the image's pixels less what the view shows (can be
// negative when the whole image fits).
std::int32_t MaxOffset(std::int32_t imagePixels, int viewPixels, double zoom) noexcept;
// An offset kept within the axis: 0 when the zoomed image fits the view, else within
// 0 ... MaxOffset.
std::int32_t ClampOffset(std::int32_t offset, std::int32_t imagePixels, int viewPixels,
                         double zoom) noexcept;

// The entry of a percentage in the zoom list, or -1.
int ZoomEntry(int percent) noexcept;
// The zoom tool's next entry: one step in or out, staying at the ends; a percentage that
// is no step starts from the list's current entry.
int NextZoomEntry(int percent, bool zoomIn, int currentEntry) noexcept;

// The frame turned with its image; width and height are the turned image's millimetres.
Frame TurnFrame(const Frame& frame, Turn turn, double widthMm, double heightMm) noexcept;

// The frame after a drag that ended: an edge pair closer than 10 mm is pushed apart to
// 10 mm towards the side the drag went and kept inside the image (0 ... size).
Frame WithMinimumSize(const Frame& frame, double widthMm, double heightMm) noexcept;
// Edges in order: left <= right, top <= bottom.
Frame Ordered(const Frame& frame) noexcept;
// The frame seen from the image's other side (the window laid out right to left measures
// from the right edge).
Frame Mirrored(const Frame& frame, double widthMm) noexcept;

// The record's rotation code of an accumulated angle: 90 -> 2, 180 -> 3, 270 -> 4, else 1.
std::int32_t RotationCode(std::int32_t degrees) noexcept;
// The angle a turn adds, and the turn that undoes an accumulated angle.
std::int32_t TurnDegrees(Turn turn) noexcept;

// The status bar's texts: "X:%3dmm , Y:%3dmm" / "W:%3dmm , H:%3dmm" for unit 0, else
// inches with two decimals. Buffers of at least 64 characters.
void PositionText(std::int32_t unit, std::int32_t x, std::int32_t y, wchar_t* text,
                  std::size_t chars) noexcept;
void SizeText(std::int32_t unit, std::int32_t width, std::int32_t height, wchar_t* text,
              std::size_t chars) noexcept;

}  // namespace quorveltwain::preview
