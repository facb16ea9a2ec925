#include "ui/PreviewImage.h"

#include <objidl.h>
#include <propidl.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <gdiplus.h>
#include <memory>

#include "platform/UniqueHandle.h"
#include "ui/PreviewGeometry.h"

namespace quorveltwain {

namespace gp = Gdiplus::DllExports;
using Gdiplus::GpBitmap;
using Gdiplus::GpImage;
using Gdiplus::Ok;

namespace {

GpBitmap* AsBitmap(void* image) {
    return static_cast<GpBitmap*>(image);
}

void Dispose(void*& image) noexcept {
    if (image != nullptr) gp::GdipDisposeImage(static_cast<GpImage*>(image));
    image = nullptr;
}

Gdiplus::PixelFormat FormatOf(void* image) {
    Gdiplus::PixelFormat format = 0;
    if (image == nullptr ||
        gp::GdipGetImagePixelFormat(static_cast<GpImage*>(image), &format) != Ok)
        return 0;
    return format;
}

// The whole file in memory, or nothing.
std::vector<BYTE> ReadWholeFile(const wchar_t* path) {
    UniqueFileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    LARGE_INTEGER size{};
    // A preview is a page at 200 dpi: a file beyond 1 GB is no preview.
    if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > (1LL << 30))
        return {};
    std::vector<BYTE> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size())
        return {};
    return bytes;
}

bool FindBmpEncoder(CLSID& encoder) {
    UINT count = 0;
    UINT size = 0;
    if (gp::GdipGetImageEncodersSize(&count, &size) != Ok || size == 0) return false;
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (gp::GdipGetImageEncoders(count, size, codecs) != Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType != nullptr && std::wcscmp(codecs[i].MimeType, L"image/bmp") == 0) {
            encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// Pixels of 1, 2 or 4 bits, most significant first, as in BMP and GDI+ rows.
int IndexAt(const BYTE* row, int x, int bits) {
    const int perByte = 8 / bits;
    const int shift = (perByte - 1 - x % perByte) * bits;
    return (row[x / perByte] >> shift) & ((1 << bits) - 1);
}

void SetIndex(BYTE* row, int x, int bits, int value) {
    const int perByte = 8 / bits;
    const int shift = (perByte - 1 - x % perByte) * bits;
    const int mask = ((1 << bits) - 1) << shift;
    row[x / perByte] = static_cast<BYTE>((row[x / perByte] & ~mask) | (value << shift));
}

// Locks the whole bitmap in its own format; unlocks on destruction.
class Locked {
  public:
    Locked(GpBitmap* bitmap, UINT mode, Gdiplus::PixelFormat format, INT width, INT height)
        : bitmap_(bitmap) {
        const Gdiplus::GpRect all(0, 0, width, height);
        locked_ = gp::GdipBitmapLockBits(bitmap, &all, mode, format, &data_) == Gdiplus::Ok;
    }
    ~Locked() {
        if (locked_) gp::GdipBitmapUnlockBits(bitmap_, &data_);
    }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
    bool Ok() const { return locked_; }
    BYTE* Row(int y) const {
        return static_cast<BYTE*>(data_.Scan0) + static_cast<std::ptrdiff_t>(y) * data_.Stride;
    }

  private:
    GpBitmap* bitmap_;
    Gdiplus::BitmapData data_{};
    bool locked_ = false;
};

// The image at `scale` into 32-bit top-down rows of `width` x `height`. Reduced, every
// target pixel is the average of the source pixels that fall on it, so thin strokes of text
// stay visible where sampling would drop them; enlarged, each source pixel is repeated.
void Resample(const Locked& source, int sourceWidth, int sourceHeight, BYTE* target, int width,
              int height, double scale) {
    std::vector<int> columnOf(static_cast<std::size_t>(sourceWidth));
    std::vector<int> columnCount(static_cast<std::size_t>(width), 0);
    for (int x = 0; x < sourceWidth; ++x) {
        columnOf[x] = std::min(width - 1, static_cast<int>(x * scale));
        ++columnCount[columnOf[x]];
    }
    if (scale >= 1.0) {
        for (int y = 0; y < height; ++y) {
            const auto* from = reinterpret_cast<const std::uint32_t*>(
                source.Row(std::min(sourceHeight - 1, static_cast<int>(y / scale))));
            auto* to =
                reinterpret_cast<std::uint32_t*>(target) + static_cast<std::ptrdiff_t>(y) * width;
            for (int x = 0; x < width; ++x)
                to[x] = from[std::min(sourceWidth - 1, static_cast<int>(x / scale))];
        }
        return;
    }
    std::vector<std::uint32_t> sums(static_cast<std::size_t>(width) * 3, 0);
    int rowsSummed = 0;
    int row = 0;
    const auto flush = [&] {
        if (rowsSummed == 0 || row >= height) return;
        BYTE* to = target + static_cast<std::ptrdiff_t>(row) * width * 4;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t count =
                static_cast<std::uint32_t>(std::max(1, columnCount[x] * rowsSummed));
            for (int c = 0; c < 3; ++c)
                to[x * 4 + c] = static_cast<BYTE>((sums[x * 3 + c] + count / 2) / count);
            to[x * 4 + 3] = 0xFF;
        }
        std::fill(sums.begin(), sums.end(), 0);
        rowsSummed = 0;
    };
    for (int y = 0; y < sourceHeight; ++y) {
        const int targetRow = std::min(height - 1, static_cast<int>(y * scale));
        if (targetRow != row) {
            flush();
            row = targetRow;
        }
        const BYTE* from = source.Row(y);
        for (int x = 0; x < sourceWidth; ++x) {
            std::uint32_t* sum = &sums[static_cast<std::size_t>(columnOf[x]) * 3];
            sum[0] += from[x * 4];
            sum[1] += from[x * 4 + 1];
            sum[2] += from[x * 4 + 2];
        }
        ++rowsSummed;
    }
    flush();
}

std::vector<BYTE> PaletteOf(void* image) {
    INT size = 0;
    auto* gpImage = static_cast<GpImage*>(image);
    if (gp::GdipGetImagePaletteSize(gpImage, &size) != Ok || size <= 0) return {};
    std::vector<BYTE> palette(static_cast<std::size_t>(size));
    if (gp::GdipGetImagePalette(gpImage, reinterpret_cast<Gdiplus::ColorPalette*>(palette.data()),
                                size) != Ok)
        return {};
    return palette;
}

}  // namespace

bool PreviewImage::Load(const wchar_t* path) noexcept {
    Clear();
    try {
        const std::vector<BYTE> bytes = ReadWholeFile(path);
        if (bytes.empty()) return false;
        // The stream holds its own copy of the bytes and the bitmap holds the stream.
        IStream* stream = ::SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
        if (stream == nullptr) return false;
        GpBitmap* bitmap = nullptr;
        const auto status = gp::GdipCreateBitmapFromStream(stream, &bitmap);
        stream->Release();
        if (status != Ok || bitmap == nullptr) return false;
        image_ = bitmap;
        Measure();
        if (width_ <= 0 || height_ <= 0) {
            Clear();
            return false;
        }
        return true;
    } catch (...) {
        Clear();
        return false;
    }
}

void PreviewImage::Clear() noexcept {
    DropScaledCopy();
    Dispose(image_);
    width_ = height_ = 0;
}

void PreviewImage::Measure() noexcept {
    UINT width = 0;
    UINT height = 0;
    gp::GdipGetImageWidth(static_cast<GpImage*>(image_), &width);
    gp::GdipGetImageHeight(static_cast<GpImage*>(image_), &height);
    width_ = static_cast<std::int32_t>(width);
    height_ = static_cast<std::int32_t>(height);
}

int PreviewImage::BitsPerPixel() const noexcept {
    return static_cast<int>(Gdiplus::GetPixelFormatSize(FormatOf(image_)));
}

void PreviewImage::DropScaledCopy() noexcept {
    if (drawDc_) ::SelectObject(drawDc_.get(), drawDcDefault_);
    drawDc_.reset();
    drawCopy_.reset();
    drawScale_ = 0;
}

bool PreviewImage::MakeScaledCopy(double scale) noexcept {
    DropScaledCopy();
    const INT width = std::max(1, static_cast<INT>(width_ * scale + 0.999));
    const INT height = std::max(1, static_cast<INT>(height_ * scale + 0.999));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as Resample writes rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    drawCopy_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!drawCopy_ || bits == nullptr) {
        DropScaledCopy();
        return false;
    }
    {
        const Locked pixels(AsBitmap(image_), Gdiplus::ImageLockModeRead, PixelFormat32bppRGB,
                            width_, height_);
        if (!pixels.Ok()) {
            DropScaledCopy();
            return false;
        }
        Resample(pixels, width_, height_, static_cast<BYTE*>(bits), width, height, scale);
    }
    drawDc_.reset(::CreateCompatibleDC(nullptr));
    if (!drawDc_) {
        DropScaledCopy();
        return false;
    }
    drawDcDefault_ = ::SelectObject(drawDc_.get(), drawCopy_.get());
    drawScale_ = scale;
    return true;
}

bool PreviewImage::Turn(preview::Turn turn) noexcept {
    if (image_ == nullptr) return false;
    bool turned = false;
    if (BitsPerPixel() < 8 && (FormatOf(image_) & PixelFormatIndexed) != 0) {
        turned = TurnIndexed(turn);
    } else {
        const Gdiplus::RotateFlipType type =
            turn == preview::Turn::Clockwise          ? Gdiplus::Rotate90FlipNone
            : turn == preview::Turn::CounterClockwise ? Gdiplus::Rotate270FlipNone
                                                      : Gdiplus::Rotate180FlipNone;
        turned = gp::GdipImageRotateFlip(static_cast<GpImage*>(image_), type) == Ok;
    }
    if (!turned) return false;
    Measure();
    DropScaledCopy();
    return true;
}

bool PreviewImage::TurnIndexed(preview::Turn turn) noexcept {
    try {
        const Gdiplus::PixelFormat format = FormatOf(image_);
        const int bits = static_cast<int>(Gdiplus::GetPixelFormatSize(format));
        const bool quarter = turn != preview::Turn::HalfTurn;
        const INT newWidth = quarter ? height_ : width_;
        const INT newHeight = quarter ? width_ : height_;
        GpBitmap* turned = nullptr;
        if (gp::GdipCreateBitmapFromScan0(newWidth, newHeight, 0, format, nullptr, &turned) != Ok)
            return false;
        {
            const Locked from(AsBitmap(image_), Gdiplus::ImageLockModeRead, format, width_,
                              height_);
            const Locked to(turned, Gdiplus::ImageLockModeWrite, format, newWidth, newHeight);
            if (!from.Ok() || !to.Ok()) {
                gp::GdipDisposeImage(turned);
                return false;
            }
            for (INT y = 0; y < newHeight; ++y) {
                BYTE* row = to.Row(y);
                std::memset(row, 0, static_cast<std::size_t>((newWidth * bits + 7) / 8));
                for (INT x = 0; x < newWidth; ++x) {
                    // The source pixel that lands at (x, y).
                    INT sx = 0;
                    INT sy = 0;
                    switch (turn) {
                        case preview::Turn::Clockwise:
                            sx = y;
                            sy = height_ - 1 - x;
                            break;
                        case preview::Turn::CounterClockwise:
                            sx = width_ - 1 - y;
                            sy = x;
                            break;
                        case preview::Turn::HalfTurn:
                            sx = width_ - 1 - x;
                            sy = height_ - 1 - y;
                            break;
                    }
                    SetIndex(row, x, bits, IndexAt(from.Row(sy), sx, bits));
                }
            }
        }
        std::vector<BYTE> palette = PaletteOf(image_);
        if (!palette.empty()) {
            gp::GdipSetImagePalette(turned,
                                    reinterpret_cast<Gdiplus::ColorPalette*>(palette.data()));
        }
        Gdiplus::REAL dpiX = 0;
        Gdiplus::REAL dpiY = 0;
        gp::GdipGetImageHorizontalResolution(static_cast<GpImage*>(image_), &dpiX);
        gp::GdipGetImageVerticalResolution(static_cast<GpImage*>(image_), &dpiY);
        if (dpiX > 0 && dpiY > 0) gp::GdipBitmapSetResolution(turned, dpiY, dpiX);
        Dispose(image_);
        image_ = turned;
        return true;
    } catch (...) {
        return false;
    }
}

bool PreviewImage::SaveBmp(const wchar_t* path) noexcept {
    if (image_ == nullptr) return false;
    if ((FormatOf(image_) & PixelFormatIndexed) != 0) return SaveIndexed(path);
    CLSID encoder{};
    if (!FindBmpEncoder(encoder)) return false;
    return gp::GdipSaveImageToFile(static_cast<GpImage*>(image_), path, &encoder, nullptr) == Ok;
}

// An indexed image as a BMP of its own depth and palette: the platform's encoder writes
// them with more bits than they had.
bool PreviewImage::SaveIndexed(const wchar_t* path) noexcept {
    try {
        const Gdiplus::PixelFormat format = FormatOf(image_);
        const int bits = static_cast<int>(Gdiplus::GetPixelFormatSize(format));
        const std::vector<BYTE> paletteBytes = PaletteOf(image_);
        if (paletteBytes.empty()) return false;
        const auto* palette = reinterpret_cast<const Gdiplus::ColorPalette*>(paletteBytes.data());
        const UINT colours = std::min<UINT>(palette->Count, 1U << bits);

        const DWORD rowBytes = static_cast<DWORD>(((width_ * bits + 31) / 32) * 4);
        const DWORD headerBytes =
            sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + colours * sizeof(RGBQUAD);
        std::vector<BYTE> file(headerBytes + static_cast<std::size_t>(rowBytes) * height_);
        auto* fileHeader = reinterpret_cast<BITMAPFILEHEADER*>(file.data());
        fileHeader->bfType = 0x4D42;  // "BM"
        fileHeader->bfSize = static_cast<DWORD>(file.size());
        fileHeader->bfOffBits = headerBytes;
        auto* info = reinterpret_cast<BITMAPINFOHEADER*>(file.data() + sizeof(BITMAPFILEHEADER));
        info->biSize = sizeof(BITMAPINFOHEADER);
        info->biWidth = width_;
        info->biHeight = height_;
        info->biPlanes = 1;
        info->biBitCount = static_cast<WORD>(bits);
        info->biCompression = BI_RGB;
        info->biSizeImage = rowBytes * static_cast<DWORD>(height_);
        Gdiplus::REAL dpi = 0;
        gp::GdipGetImageHorizontalResolution(static_cast<GpImage*>(image_), &dpi);
        info->biXPelsPerMeter = info->biYPelsPerMeter = static_cast<LONG>(dpi / 0.0254 + 0.5);
        info->biClrUsed = colours;
        auto* quads = reinterpret_cast<RGBQUAD*>(info + 1);
        for (UINT i = 0; i < colours; ++i) {
            const Gdiplus::ARGB argb = palette->Entries[i];
            quads[i] = RGBQUAD{static_cast<BYTE>(argb), static_cast<BYTE>(argb >> 8),
                               static_cast<BYTE>(argb >> 16), 0};
        }
        {
            const Locked pixels(AsBitmap(image_), Gdiplus::ImageLockModeRead, format, width_,
                                height_);
            if (!pixels.Ok()) return false;
            const std::size_t used = static_cast<std::size_t>((width_ * bits + 7) / 8);
            for (std::int32_t y = 0; y < height_; ++y) {
                BYTE* to = file.data() + headerBytes +
                           static_cast<std::size_t>(rowBytes) * (height_ - 1 - y);
                std::memcpy(to, pixels.Row(y), used);
            }
        }
        UniqueFileHandle out(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                           FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) return false;
        DWORD written = 0;
        return ::WriteFile(out.get(), file.data(), static_cast<DWORD>(file.size()), &written,
                           nullptr) &&
               written == file.size();
    } catch (...) {
        return false;
    }
}

void PreviewImage::Draw(HDC dc, const RECT& source, const RECT& target) noexcept {
    if (image_ == nullptr) return;
    const LONG sourceWidth = source.right - source.left;
    const LONG sourceHeight = source.bottom - source.top;
    if (sourceWidth <= 0 || sourceHeight <= 0) return;
    const double scale = static_cast<double>(target.right - target.left) / sourceWidth;
    if (!drawDc_ || scale != drawScale_) {
        if (!MakeScaledCopy(scale)) return;
    }
    // Only the part of the source that is image is drawn, onto its share of the target.
    const LONG left = std::max<LONG>(source.left, 0);
    const LONG top = std::max<LONG>(source.top, 0);
    const LONG right = std::min<LONG>(source.right, width_);
    const LONG bottom = std::min<LONG>(source.bottom, height_);
    if (left >= right || top >= bottom) return;
    const auto scaled = [scale](LONG v) { return static_cast<int>(v * scale + 0.5); };
    const int toLeft = target.left + scaled(left - source.left);
    const int toTop = target.top + scaled(top - source.top);
    const int width = scaled(right - source.left) - scaled(left - source.left);
    const int height = scaled(bottom - source.top) - scaled(top - source.top);
    ::BitBlt(dc, toLeft, toTop, width, height, drawDc_.get(), scaled(left), scaled(top), SRCCOPY);
}

}  // namespace quorveltwain
