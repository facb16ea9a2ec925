#pragma once
// The page every stand-in scanner "scans": an A4 sheet drawn with GDI at the scan's resolution,
// with content that makes zoom, rotation and bit depth obvious at a glance. Shared by the
// stand-in host's preview and the reference data source's transfers, so both show one page.

#include <cstdint>
#include <string>
#include <vector>

namespace quorveltwain::host {

enum class PagePixels { BlackWhite1, Gray8, Color24 };

struct PageImage {
    int width = 0, height = 0, dpi = 0;
    PagePixels pixels = PagePixels::Color24;
    int stride = 0;                  // bytes per row, a multiple of 4
    std::vector<std::uint8_t> bits;  // bottom-up rows, as in a BMP file
};

constexpr int kMinPageDpi = 10;
constexpr int kMaxPageDpi = 1200;

// Bits per pixel of a page kind: 1, 8 or 24.
int BitsPerPixel(PagePixels pixels);

// Pixels across `mm` millimetres at `dpi`, rounded to the nearest pixel.
int MillimetresToPixels(double mm, int dpi);

// An A4 page (210 x 297 mm) at `dpi`: a heading with the page number, body text, a photo-like
// colour gradient, millimetre rulers along the top and left edges and an arrow pointing up.
// 1-bit pages are dithered so the gradient stays visible. A `dpi` outside kMinPageDpi to
// kMaxPageDpi, or a page GDI cannot allocate, gives an empty image (width 0).
PageImage RenderTestPage(int dpi, PagePixels pixels, int pageNumber);

// Writes the page as a BMP file (BITMAPFILEHEADER, BITMAPINFOHEADER, a grey or black-and-white
// palette for 1 and 8 bits, the rows); biXPelsPerMeter comes from dpi. False on any failure,
// including an empty or inconsistent image.
bool WriteBmp(const std::wstring& path, const PageImage& page);

}  // namespace quorveltwain::host
