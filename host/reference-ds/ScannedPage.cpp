#include "ScannedPage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace reference {

using quorveltwain::host::PageImage;
using quorveltwain::host::PagePixels;
using quorveltwain::host::RenderTestPage;

namespace {

constexpr double kMmPerInch = 25.4;

int Pixels(double mm, int dpi) {
    return static_cast<int>(std::lround(mm * dpi / kMmPerInch));
}

bool Bit(const std::uint8_t* row, int x) {
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

void SetBit(std::uint8_t* row, int x, bool white) {
    const auto mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
    row[x >> 3] = white ? row[x >> 3] | mask : row[x >> 3] & ~mask;
}

}  // namespace

// The sheet is drawn at the horizontal resolution; rows are then picked for the vertical one.
// Outside the A4 sheet (an A3 scan area, say) the scanner sees its white lid.
ScannedPage::ScannedPage(int number, PagePixels pixels, int xDpi, int yDpi, const FrameMm& frame)
    : yDpi_(yDpi) {
    const PageImage sheet = RenderTestPage(xDpi, pixels, number);
    const int width = Pixels(frame.right - frame.left, xDpi);
    const int height = Pixels(frame.bottom - frame.top, yDpi);
    if (sheet.width == 0 || width <= 0 || height <= 0) return;
    const int bitsPerPixel = quorveltwain::host::BitsPerPixel(pixels);
    image_.width = width;
    image_.height = height;
    image_.dpi = xDpi;
    image_.pixels = pixels;
    image_.stride = ((width * bitsPerPixel + 31) / 32) * 4;
    // White paper; the bytes and bits past the last pixel of a row stay 0, as GDI leaves them.
    image_.bits.assign(static_cast<std::size_t>(image_.stride) * height, 0);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image_.bits.data() + static_cast<std::size_t>(y) * image_.stride;
        const std::size_t bits = static_cast<std::size_t>(width) * bitsPerPixel;
        std::memset(row, 0xff, bits / 8);
        if (bits % 8 != 0) row[bits / 8] = static_cast<std::uint8_t>(0xff00 >> (bits % 8));
    }

    const int left = Pixels(frame.left, xDpi);
    const int firstX = std::clamp(-left, 0, width);
    const int lastX = std::clamp(sheet.width - left, 0, width);  // exclusive
    for (int y = 0; y < height; ++y) {
        const double mm = frame.top + (y + 0.5) * kMmPerInch / yDpi;
        const int sheetY = static_cast<int>(std::floor(mm * xDpi / kMmPerInch));
        if (sheetY < 0 || sheetY >= sheet.height || firstX >= lastX) continue;
        const std::uint8_t* in =
            sheet.bits.data() + static_cast<std::size_t>(sheet.height - 1 - sheetY) * sheet.stride;
        std::uint8_t* out =
            image_.bits.data() + static_cast<std::size_t>(height - 1 - y) * image_.stride;
        if (bitsPerPixel == 1) {
            for (int x = firstX; x < lastX; ++x) SetBit(out, x, Bit(in, left + x));
        } else {
            const int bytes = bitsPerPixel / 8;
            std::memcpy(out + firstX * bytes, in + (left + firstX) * bytes,
                        static_cast<std::size_t>(lastX - firstX) * bytes);
        }
    }
}

int ScannedPage::BitsPerPixel() const {
    return quorveltwain::host::BitsPerPixel(image_.pixels);
}

std::size_t ScannedPage::BytesPerRow() const {
    return (static_cast<std::size_t>(image_.width) * BitsPerPixel() + 7) / 8;
}

HGLOBAL ScannedPage::ToDib() const {
    const int bits = BitsPerPixel();
    const DWORD paletteEntries = bits == 24 ? 0 : 1u << bits;
    const std::size_t header = sizeof(BITMAPINFOHEADER) + paletteEntries * sizeof(RGBQUAD);
    HGLOBAL dib = GlobalAlloc(GHND, header + image_.bits.size());
    auto* bytes = dib != nullptr ? static_cast<std::uint8_t*>(GlobalLock(dib)) : nullptr;
    if (bytes == nullptr) {
        if (dib != nullptr) GlobalFree(dib);
        return nullptr;
    }
    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = image_.width;
    info.biHeight = image_.height;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bits);
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(image_.bits.size());
    info.biXPelsPerMeter = std::lround(image_.dpi * 1000.0 / kMmPerInch);
    info.biYPelsPerMeter = std::lround(yDpi_ * 1000.0 / kMmPerInch);
    info.biClrUsed = paletteEntries;
    std::memcpy(bytes, &info, sizeof(info));
    auto* palette = reinterpret_cast<RGBQUAD*>(bytes + sizeof(info));
    for (DWORD i = 0; i < paletteEntries; ++i) {
        const auto level = static_cast<BYTE>(i * 255 / (paletteEntries - 1));
        palette[i] = RGBQUAD{level, level, level, 0};
    }
    std::memcpy(bytes + header, image_.bits.data(), image_.bits.size());
    GlobalUnlock(dib);
    return dib;
}

void ScannedPage::CopyRows(int firstRow, int rows, std::uint8_t* out, std::size_t stride) const {
    const std::size_t bytes = BytesPerRow();
    for (int y = firstRow; y < firstRow + rows && y < image_.height; ++y, out += stride) {
        const std::uint8_t* in =
            image_.bits.data() + static_cast<std::size_t>(image_.height - 1 - y) * image_.stride;
        if (BitsPerPixel() != 24) {
            std::memcpy(out, in, bytes);
            continue;
        }
        for (std::size_t x = 0; x < bytes; x += 3) {
            out[x] = in[x + 2];
            out[x + 1] = in[x + 1];
            out[x + 2] = in[x];
        }
    }
}

}  // namespace reference
