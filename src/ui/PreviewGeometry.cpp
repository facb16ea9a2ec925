#include "ui/PreviewGeometry.h"

#include <cmath>
#include <cwchar>
#include <utility>

namespace quorveltwain::preview {

int ScreenFromMm(double mm, std::int32_t offset, double zoom, int areaStart) noexcept {
    return static_cast<int>((PixelsFromMm(mm) - offset) * zoom + areaStart);
}

std::int32_t PixelFromScreen(int screen, int areaStart, double zoom, std::int32_t offset) noexcept {
    return static_cast<std::int32_t>((screen - areaStart) / zoom) + offset;
}

std::int32_t RoundedMm(double pixels) noexcept {
    return static_cast<std::int32_t>(MmFromPixels(pixels) + 0.5);
}

std::int32_t MaxOffset(std::int32_t imagePixels, int viewPixels, double zoom) noexcept {
    return imagePixels - static_cast<std::int32_t>(viewPixels / zoom);
}

std::int32_t ClampOffset(std::int32_t offset, std::int32_t imagePixels, int viewPixels,
                         double zoom) noexcept {
    if (imagePixels * zoom <= viewPixels) return 0;
    if (offset < 0) return 0;
    const std::int32_t most = MaxOffset(imagePixels, viewPixels, zoom);
    return offset > most ? most : offset;
}

int ZoomEntry(int percent) noexcept {
    for (std::size_t i = 0; i < kZoomSteps; ++i) {
        if (kZoomPercents[i] == percent) return static_cast<int>(i);
    }
    return -1;
}

int NextZoomEntry(int percent, bool zoomIn, int currentEntry) noexcept {
    const int entry = ZoomEntry(percent);
    if (entry < 0) return currentEntry;
    if (zoomIn) return entry + 1 < static_cast<int>(kZoomSteps) ? entry + 1 : entry;
    return entry > 0 ? entry - 1 : entry;
}

Frame TurnFrame(const Frame& old, Turn turn, double widthMm, double heightMm) noexcept {
    const auto w = [&](double v) { return static_cast<std::int32_t>(widthMm - v); };
    const auto h = [&](double v) { return static_cast<std::int32_t>(heightMm - v); };
    switch (turn) {
        case Turn::Clockwise:
            return {w(old.bottom), old.left, w(old.top), old.right};
        case Turn::CounterClockwise:
            return {old.top, h(old.right), old.bottom, h(old.left)};
        case Turn::HalfTurn:
            return {w(old.right), h(old.bottom), w(old.left), h(old.top)};
    }
    return old;
}

namespace {

// One axis of WithMinimumSize: `start` is where the drag began, `end` where it ended.
void Widen(std::int32_t& start, std::int32_t& end, double sizeMm) {
    const std::int32_t span = end - start;
    if (span < -(kMinFrameMm - 1) || span > kMinFrameMm - 1) return;
    if (span < 0) {
        end = start - kMinFrameMm;
        if (end < 0) {
            end = 0;
            start = kMinFrameMm;
        }
    } else {
        end = start + kMinFrameMm;
        if (end > sizeMm) {
            end = static_cast<std::int32_t>(std::lround(sizeMm));
            start = end - kMinFrameMm;
        }
    }
}

}  // namespace

Frame WithMinimumSize(const Frame& frame, double widthMm, double heightMm) noexcept {
    Frame result = frame;
    Widen(result.left, result.right, widthMm);
    Widen(result.top, result.bottom, heightMm);
    return result;
}

Frame Ordered(const Frame& frame) noexcept {
    Frame result = frame;
    if (result.left > result.right) std::swap(result.left, result.right);
    if (result.top > result.bottom) std::swap(result.top, result.bottom);
    return result;
}

Frame Mirrored(const Frame& frame, double widthMm) noexcept {
    Frame result = frame;
    result.left = static_cast<std::int32_t>(widthMm - frame.right);
    result.right = static_cast<std::int32_t>(widthMm - frame.left);
    return result;
}

std::int32_t RotationCode(std::int32_t degrees) noexcept {
    switch (degrees) {
        case 90:
            return 2;
        case 180:
            return 3;
        case 270:
            return 4;
        default:
            return 1;
    }
}

std::int32_t TurnDegrees(Turn turn) noexcept {
    switch (turn) {
        case Turn::Clockwise:
            return 90;
        case Turn::CounterClockwise:
            return 270;
        case Turn::HalfTurn:
            return 180;
    }
    return 0;
}

namespace {

void Pair(std::int32_t unit, const wchar_t* millimetres, const wchar_t* inches, std::int32_t a,
          std::int32_t b, wchar_t* text, std::size_t chars) {
    if (unit == 0) {
        std::swprintf(text, chars, millimetres, a, b);
    } else {
        std::swprintf(text, chars, inches, a / kMmPerInch, b / kMmPerInch);
    }
}

}  // namespace

void PositionText(std::int32_t unit, std::int32_t x, std::int32_t y, wchar_t* text,
                  std::size_t chars) noexcept {
    Pair(unit, L"X:%3dmm , Y:%3dmm", L"X:%5.2fin , Y:%5.2fin", x, y, text, chars);
}

void SizeText(std::int32_t unit, std::int32_t width, std::int32_t height, wchar_t* text,
              std::size_t chars) noexcept {
    Pair(unit, L"W:%3dmm , H:%3dmm", L"W:%5.2fin , H:%5.2fin", width, height, text, chars);
}

}  // namespace quorveltwain::preview
