#include "TestPage.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <cwchar>
#include <iterator>

namespace quorveltwain::host {
namespace {

constexpr double kA4WidthMm = 210.0;
constexpr double kA4HeightMm = 297.0;
constexpr double kMmPerInch = 25.4;

// The host programs do not link the library's RAII types; this owner is the same idea for the
// few GDI and file handles drawing a page needs.
template <typename Handle, auto Free>
class Owned {
  public:
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) Free(handle_);
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }

  private:
    Handle handle_;
};

BOOL DeleteGdiObject(HGDIOBJ object) {
    return DeleteObject(object);
}
using OwnedDc = Owned<HDC, DeleteDC>;
using OwnedBitmap = Owned<HBITMAP, DeleteGdiObject>;
using OwnedFont = Owned<HFONT, DeleteGdiObject>;
using OwnedBrush = Owned<HBRUSH, DeleteGdiObject>;
using OwnedPen = Owned<HPEN, DeleteGdiObject>;
using OwnedFile = Owned<HANDLE, CloseHandle>;

// Restores the DC's previous object when the drawing step that selected another one ends.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

int StrideOf(int width, int bitsPerPixel) {
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

// Drawing in millimetres from the page's top-left corner, at the page's resolution.
class PagePainter {
  public:
    PagePainter(HDC dc, int dpi) : dc_(dc), dpi_(dpi) {}

    int Px(double mm) const { return MillimetresToPixels(mm, dpi_); }

    void Fill(double left, double top, double right, double bottom, COLORREF colour) const {
        const RECT rect{Px(left), Px(top), Px(right), Px(bottom)};
        OwnedBrush brush(CreateSolidBrush(colour));
        FillRect(dc_, &rect, brush.get());
    }

    // A pixel-exact filled rectangle: ruler ticks must keep their width at low resolutions.
    void Bar(int left, int top, int width, int height) const {
        PatBlt(dc_, left, top, width, height, BLACKNESS);
    }

    OwnedFont Font(double heightMm, int weight) const {
        return OwnedFont(CreateFontW(-std::max(1, Px(heightMm)), 0, 0, 0, weight, FALSE, FALSE,
                                     FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                     CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH,
                                     L"Tahoma"));
    }

    void Text(const wchar_t* text, double left, double top, double right, double bottom,
              double heightMm, int weight, COLORREF colour, UINT format) const {
        OwnedFont font = Font(heightMm, weight);
        Selection selected(dc_, font.get());
        SetTextColor(dc_, colour);
        RECT rect{Px(left), Px(top), Px(right), Px(bottom)};
        DrawTextW(dc_, text, -1, &rect, format | DT_NOPREFIX);
    }

    HDC dc() const { return dc_; }

  private:
    HDC dc_;
    int dpi_;
};

constexpr double kRulerMm = 9.0;

// Ticks every millimetre, longer every 5 and 10, numbered in centimetres; the left ruler
// counts down the page so a rotated page shows at once which edge was the top.
void DrawRulers(const PagePainter& page, int width, int height) {
    constexpr COLORREF kRulerBack = RGB(255, 244, 196);
    page.Fill(0, 0, kA4WidthMm, kRulerMm, kRulerBack);
    page.Fill(0, 0, kRulerMm, kA4HeightMm, kRulerBack);
    const int thickness = std::max(1, page.Px(0.15));
    for (int mm = 1; mm < static_cast<int>(kA4WidthMm); ++mm) {
        const double length = mm % 10 == 0 ? 5.0 : mm % 5 == 0 ? 3.5 : 2.0;
        page.Bar(page.Px(mm), 0, thickness, page.Px(length));
    }
    for (int mm = 1; mm < static_cast<int>(kA4HeightMm); ++mm) {
        const double length = mm % 10 == 0 ? 5.0 : mm % 5 == 0 ? 3.5 : 2.0;
        page.Bar(0, page.Px(mm), page.Px(length), thickness);
    }
    // The rulers' inner edges.
    page.Bar(0, page.Px(kRulerMm), width, thickness);
    page.Bar(page.Px(kRulerMm), 0, thickness, height);
    wchar_t label[8];
    for (int cm = 1; cm * 10 < static_cast<int>(kA4WidthMm); ++cm) {
        _snwprintf_s(label, _TRUNCATE, L"%d", cm);
        page.Text(label, cm * 10 + 0.6, 4.6, cm * 10 + 8.0, kRulerMm, 3.2, FW_NORMAL, RGB(0, 0, 0),
                  DT_LEFT | DT_SINGLELINE);
    }
    for (int cm = 1; cm * 10 < static_cast<int>(kA4HeightMm); ++cm) {
        _snwprintf_s(label, _TRUNCATE, L"%d", cm);
        page.Text(label, 5.2, cm * 10 + 0.4, kRulerMm, cm * 10 + 4.0, 3.2, FW_NORMAL, RGB(0, 0, 0),
                  DT_LEFT | DT_SINGLELINE);
    }
}

// Sky, a sun and two hills: smooth gradients and hard edges, as a photo has.
void DrawPicture(const PagePainter& page, double left, double top, double right, double bottom) {
    auto vertex = [&](double x, double y, COLORREF colour) {
        return TRIVERTEX{page.Px(x),
                         page.Px(y),
                         static_cast<COLOR16>(GetRValue(colour) << 8),
                         static_cast<COLOR16>(GetGValue(colour) << 8),
                         static_cast<COLOR16>(GetBValue(colour) << 8),
                         0};
    };
    TRIVERTEX corners[] = {
        vertex(left, top, RGB(30, 60, 160)),
        vertex(right, top, RGB(120, 200, 255)),
        vertex(right, bottom, RGB(250, 160, 40)),
        vertex(left, bottom, RGB(200, 30, 90)),
    };
    GRADIENT_TRIANGLE triangles[] = {{0, 1, 2}, {0, 2, 3}};
    GradientFill(page.dc(), corners, 4, triangles, 2, GRADIENT_FILL_TRIANGLE);

    const HRGN clip = CreateRectRgn(page.Px(left), page.Px(top), page.Px(right), page.Px(bottom));
    SelectClipRgn(page.dc(), clip);
    DeleteObject(clip);
    OwnedPen noPen(CreatePen(PS_NULL, 0, 0));
    Selection pen(page.dc(), noPen.get());
    {
        OwnedBrush sun(CreateSolidBrush(RGB(255, 230, 60)));
        Selection brush(page.dc(), sun.get());
        const double cx = right - (right - left) * 0.28, cy = top + (bottom - top) * 0.3;
        const double r = (bottom - top) * 0.14;
        Ellipse(page.dc(), page.Px(cx - r), page.Px(cy - r), page.Px(cx + r), page.Px(cy + r));
    }
    const double w = right - left, h = bottom - top;
    const POINT farHill[] = {{page.Px(left), page.Px(bottom)},
                             {page.Px(left + w * 0.35), page.Px(top + h * 0.45)},
                             {page.Px(left + w * 0.7), page.Px(bottom)}};
    const POINT nearHill[] = {{page.Px(left + w * 0.3), page.Px(bottom)},
                              {page.Px(left + w * 0.72), page.Px(top + h * 0.6)},
                              {page.Px(right + w * 0.1), page.Px(bottom)}};
    {
        OwnedBrush green(CreateSolidBrush(RGB(40, 110, 50)));
        Selection brush(page.dc(), green.get());
        Polygon(page.dc(), farHill, static_cast<int>(std::size(farHill)));
    }
    {
        OwnedBrush darkGreen(CreateSolidBrush(RGB(15, 70, 30)));
        Selection brush(page.dc(), darkGreen.get());
        Polygon(page.dc(), nearHill, static_cast<int>(std::size(nearHill)));
    }
    SelectClipRgn(page.dc(), nullptr);
}

void DrawUpArrow(const PagePainter& page, double left, double top, double right, double bottom) {
    const double cx = (left + right) / 2, w = right - left, h = bottom - top;
    const POINT arrow[] = {
        {page.Px(cx), page.Px(top)},
        {page.Px(right), page.Px(top + h * 0.4)},
        {page.Px(cx + w * 0.18), page.Px(top + h * 0.4)},
        {page.Px(cx + w * 0.18), page.Px(bottom - 10)},
        {page.Px(cx - w * 0.18), page.Px(bottom - 10)},
        {page.Px(cx - w * 0.18), page.Px(top + h * 0.4)},
        {page.Px(left), page.Px(top + h * 0.4)},
    };
    OwnedPen noPen(CreatePen(PS_NULL, 0, 0));
    OwnedBrush red(CreateSolidBrush(RGB(190, 20, 30)));
    Selection pen(page.dc(), noPen.get());
    Selection brush(page.dc(), red.get());
    Polygon(page.dc(), arrow, static_cast<int>(std::size(arrow)));
    page.Text(L"UP", left, bottom - 9, right, bottom, 7, FW_BOLD, RGB(190, 20, 30),
              DT_CENTER | DT_SINGLELINE);
}

void DrawPage(const PagePainter& page, int width, int height, int dpi, int pageNumber) {
    page.Fill(0, 0, kA4WidthMm + 1, kA4HeightMm + 1, RGB(255, 255, 255));
    SetBkMode(page.dc(), TRANSPARENT);
    DrawRulers(page, width, height);

    wchar_t text[96];
    _snwprintf_s(text, _TRUNCATE, L"Test page %d", pageNumber);
    page.Text(text, 20, 16, 200, 32, 12, FW_BOLD, RGB(20, 40, 110), DT_LEFT | DT_SINGLELINE);
    _snwprintf_s(text, _TRUNCATE, L"A4, 210 x 297 mm, scanned at %d dpi", dpi);
    page.Text(text, 20, 33, 200, 40, 5, FW_NORMAL, RGB(90, 90, 90), DT_LEFT | DT_SINGLELINE);
    page.Text(
        L"This page stands in for the paper a networked scanner would feed. The heading names "
        L"its number in the scan, so a transfer that loses, repeats or reorders pages shows it. "
        L"The rulers count millimetres from the top-left corner of the sheet: a scan area "
        L"chosen in the preview can be read off them. The picture below holds smooth colour "
        L"gradients and hard edges, the arrow beside it points to the top of the page, and "
        L"this paragraph is set in a size that is still legible at low resolutions.",
        20, 46, 190, 100, 4.6, FW_NORMAL, RGB(0, 0, 0), DT_LEFT | DT_WORDBREAK);
    DrawPicture(page, 20, 110, 135, 200);
    DrawUpArrow(page, 150, 110, 190, 200);
    for (int line = 0; line < 8; ++line) {
        _snwprintf_s(text, _TRUNCATE,
                     L"Line %d of the closing text on page %d: the quick grey scanner reads "
                     L"every page.",
                     line + 1, pageNumber);
        page.Text(text, 20, 212 + line * 7.5, 190, 219 + line * 7.5, 4.2, FW_NORMAL, RGB(0, 0, 0),
                  DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
    _snwprintf_s(text, _TRUNCATE, L"- %d -", pageNumber);
    page.Text(text, 0, 280, kA4WidthMm, 290, 5, FW_BOLD, RGB(0, 0, 0), DT_CENTER | DT_SINGLELINE);
}

std::uint8_t Luminance(const std::uint8_t* bgr) {
    return static_cast<std::uint8_t>((bgr[2] * 77 + bgr[1] * 150 + bgr[0] * 29) >> 8);
}

// Ordered dithering keeps the picture's gradients as patterns; text, black on white, stays
// exactly as drawn.
void ToBlackWhite(const std::uint8_t* colour, int colourStride, PageImage& page) {
    static constexpr std::uint8_t kBayer[4][4] = {
        {0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    for (int y = 0; y < page.height; ++y) {
        const std::uint8_t* in = colour + static_cast<std::size_t>(y) * colourStride;
        std::uint8_t* out = page.bits.data() + static_cast<std::size_t>(y) * page.stride;
        for (int x = 0; x < page.width; ++x, in += 3) {
            if (Luminance(in) > kBayer[y & 3][x & 3] * 16 + 8) out[x >> 3] |= 0x80 >> (x & 7);
        }
    }
}

void ToGray(const std::uint8_t* colour, int colourStride, PageImage& page) {
    for (int y = 0; y < page.height; ++y) {
        const std::uint8_t* in = colour + static_cast<std::size_t>(y) * colourStride;
        std::uint8_t* out = page.bits.data() + static_cast<std::size_t>(y) * page.stride;
        for (int x = 0; x < page.width; ++x, in += 3) out[x] = Luminance(in);
    }
}

}  // namespace

int BitsPerPixel(PagePixels pixels) {
    switch (pixels) {
        case PagePixels::BlackWhite1:
            return 1;
        case PagePixels::Gray8:
            return 8;
        case PagePixels::Color24:
            break;
    }
    return 24;
}

int MillimetresToPixels(double mm, int dpi) {
    return static_cast<int>(std::lround(mm * dpi / kMmPerInch));
}

PageImage RenderTestPage(int dpi, PagePixels pixels, int pageNumber) {
    PageImage page;
    if (dpi < kMinPageDpi || dpi > kMaxPageDpi) return page;
    const int width = MillimetresToPixels(kA4WidthMm, dpi);
    const int height = MillimetresToPixels(kA4HeightMm, dpi);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    OwnedDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return page;
    OwnedBitmap bitmap(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) return page;
    {
        Selection selected(dc.get(), bitmap.get());
        DrawPage(PagePainter(dc.get(), dpi), width, height, dpi, pageNumber);
        GdiFlush();
    }

    const int colourStride = StrideOf(width, 24);
    const auto* colour = static_cast<const std::uint8_t*>(bits);
    page.width = width;
    page.height = height;
    page.dpi = dpi;
    page.pixels = pixels;
    page.stride = StrideOf(width, BitsPerPixel(pixels));
    const std::size_t size = static_cast<std::size_t>(page.stride) * height;
    if (pixels == PagePixels::Color24) {
        page.bits.assign(colour, colour + size);
    } else {
        page.bits.assign(size, 0);
        if (pixels == PagePixels::Gray8) {
            ToGray(colour, colourStride, page);
        } else {
            ToBlackWhite(colour, colourStride, page);
        }
    }
    return page;
}

bool WriteBmp(const std::wstring& path, const PageImage& page) {
    const int bitsPerPixel = BitsPerPixel(page.pixels);
    if (page.width <= 0 || page.height <= 0 || page.dpi <= 0 ||
        page.stride != StrideOf(page.width, bitsPerPixel) ||
        page.bits.size() != static_cast<std::size_t>(page.stride) * page.height) {
        return false;
    }
    const DWORD paletteEntries = bitsPerPixel == 24 ? 0 : 1u << bitsPerPixel;
    std::vector<RGBQUAD> palette(paletteEntries);
    for (DWORD i = 0; i < paletteEntries; ++i) {
        const auto level = static_cast<BYTE>(i * 255 / (paletteEntries - 1));
        palette[i] = RGBQUAD{level, level, level, 0};
    }

    BITMAPINFOHEADER info{};
    info.biSize = sizeof(info);
    info.biWidth = page.width;
    info.biHeight = page.height;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(page.bits.size());
    info.biXPelsPerMeter = std::lround(page.dpi * 1000.0 / kMmPerInch);
    info.biYPelsPerMeter = info.biXPelsPerMeter;
    info.biClrUsed = paletteEntries;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits =
        static_cast<DWORD>(sizeof(file) + sizeof(info) + paletteEntries * sizeof(RGBQUAD));
    file.bfSize = file.bfOffBits + info.biSizeImage;

    OwnedFile out(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!out) return false;
    auto write = [&](const void* data, std::size_t bytes) {
        DWORD written = 0;
        return WriteFile(out.get(), data, static_cast<DWORD>(bytes), &written, nullptr) &&
               written == bytes;
    };
    const bool ok = write(&file, sizeof(file)) && write(&info, sizeof(info)) &&
                    (palette.empty() || write(palette.data(), palette.size() * sizeof(RGBQUAD))) &&
                    write(page.bits.data(), page.bits.size());
    if (!ok) {
        // Half a picture is worse than none: a reader would take it for the whole page.
        FILE_DISPOSITION_INFO discard{TRUE};
        SetFileInformationByHandle(out.get(), FileDispositionInfo, &discard, sizeof(discard));
    }
    return ok;
}

}  // namespace quorveltwain::host
