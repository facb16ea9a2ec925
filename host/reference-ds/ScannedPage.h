#pragma once
// One image as the stand-in scanner delivers it: the shared test page, cut to the scan area
// and sampled at the scan's horizontal and vertical resolutions, in the two forms TWAIN
// transfers images: a packed DIB (native) and top-down strips of rows (memory).

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "Capabilities.h"
#include "TestPage.h"

namespace reference {

class ScannedPage {
  public:
    // Page `number` of the stack; an empty page (Width() 0) when it cannot be drawn.
    ScannedPage(int number, quorveltwain::host::PagePixels pixels, int xDpi, int yDpi,
                const FrameMm& frame);

    int Width() const { return image_.width; }
    int Height() const { return image_.height; }
    int BitsPerPixel() const;
    int XDpi() const { return image_.dpi; }
    int YDpi() const { return yDpi_; }
    // Bytes of one row in a memory transfer: no padding.
    std::size_t BytesPerRow() const;

    // A DIB in global memory (BITMAPINFOHEADER, palette, bottom-up rows) for a native
    // transfer; the application owns it. Null when memory runs out.
    HGLOBAL ToDib() const;
    // `rows` rows from `firstRow` (counted from the top) as TWAIN memory transfers carry
    // them: top-down, red before blue, `stride` bytes apart.
    void CopyRows(int firstRow, int rows, std::uint8_t* out, std::size_t stride) const;

  private:
    quorveltwain::host::PageImage image_;  // bottom-up, as in a BMP
    int yDpi_ = 0;
};

}  // namespace reference
