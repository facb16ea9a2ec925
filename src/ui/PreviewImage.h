#pragma once
// The preview's picture: the image file decoded once and kept in memory, drawn from there
// on every scroll, pan and zoom, turned in steps of 90 degrees and written back to its file
// in its own bit depth.
//
// The file is read into memory before it is decoded, so the decoded image never holds the
// file open and a turn can rewrite it in place. GDI+ decodes, turns and encodes; images of
// fewer than 8 bits per pixel are turned and written here, because GDI+ under Wine refuses
// to turn them and a scanner's black-and-white previews are exactly such images.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/UniqueHandle.h"

namespace quorveltwain {

namespace preview {
enum class Turn;
}

class PreviewImage {
  public:
    PreviewImage() = default;
    PreviewImage(const PreviewImage&) = delete;
    PreviewImage& operator=(const PreviewImage&) = delete;
    ~PreviewImage() { Clear(); }

    // Decodes the file; false (and no image) when it cannot be read or decoded.
    bool Load(const wchar_t* path) noexcept;
    void Clear() noexcept;
    bool Loaded() const noexcept { return image_ != nullptr; }

    std::int32_t Width() const noexcept { return width_; }
    std::int32_t Height() const noexcept { return height_; }
    // Bits per pixel of the decoded file (1, 4, 8, 24, 32...), 0 without an image.
    int BitsPerPixel() const noexcept;

    // Turns the image in memory. False when it could not be turned (it is then unchanged).
    bool Turn(preview::Turn turn) noexcept;
    // Writes the image as a BMP file at `path`; false when nothing could be written.
    bool SaveBmp(const wchar_t* path) noexcept;

    // Draws the image pixels `source` (which may reach outside the image) scaled onto the
    // rectangle `target` of `dc`, which must already hold the background.
    void Draw(HDC dc, const RECT& source, const RECT& target) noexcept;

  private:
    bool TurnIndexed(preview::Turn turn) noexcept;
    bool SaveIndexed(const wchar_t* path) noexcept;
    // Forgets the scaled copy: the image changed.
    void DropScaledCopy() noexcept;
    bool MakeScaledCopy(double scale) noexcept;
    void Measure() noexcept;

    void* image_ = nullptr;  // GpBitmap, the decoded file in its own pixel format
    // The image at the scale it was last drawn, a GDI bitmap in a memory DC. Made once per
    // zoom by averaging the pixels, so text stays legible when reduced; a scroll or pan then
    // only copies pixels (a pan at 400 % redraws in a few milliseconds; GDI+ drawing the
    // whole image each time took 75 ms under Wine, and its reduction lost thin strokes).
    UniqueBitmap drawCopy_;
    UniqueMemoryDC drawDc_;
    HGDIOBJ drawDcDefault_ = nullptr;
    double drawScale_ = 0;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
};

}  // namespace quorveltwain
