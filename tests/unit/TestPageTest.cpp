// The shared test page, read back from the BMP files it writes as any picture reader would.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "TestPage.h"
#include "support/TestFiles.h"

using namespace quorveltwain::host;

namespace {

constexpr int kDpi = 200;

template <typename T>
T At(const std::string& bytes, std::size_t offset) {
    T value{};
    if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof(T));
    return value;
}

// A BMP file as written: headers, palette and the pixel at millimetres from the top-left corner
// (as black-to-white level, or as BGR for 24 bits), found through the headers alone.
struct BmpFile {
    explicit BmpFile(const std::string& data)
        : bytes(data),
          file(At<BITMAPFILEHEADER>(data, 0)),
          info(At<BITMAPINFOHEADER>(data, sizeof(BITMAPFILEHEADER))) {}

    RGBQUAD Pixel(double xMm, double yMm) const {
        const int x = MillimetresToPixels(xMm, kDpi), y = MillimetresToPixels(yMm, kDpi);
        const int stride = ((info.biWidth * info.biBitCount + 31) / 32) * 4;
        const std::size_t row = file.bfOffBits + std::size_t(info.biHeight - 1 - y) * stride;
        const auto byte = [&](std::size_t at) { return At<std::uint8_t>(bytes, row + at); };
        if (info.biBitCount == 24) return RGBQUAD{byte(x * 3), byte(x * 3 + 1), byte(x * 3 + 2), 0};
        const int index = info.biBitCount == 8 ? byte(x) : (byte(x / 8) >> (7 - x % 8)) & 1;
        return At<RGBQUAD>(bytes, sizeof(file) + sizeof(info) + index * sizeof(RGBQUAD));
    }
    int Level(double xMm, double yMm) const {
        const RGBQUAD pixel = Pixel(xMm, yMm);
        return (pixel.rgbRed * 77 + pixel.rgbGreen * 150 + pixel.rgbBlue * 29) >> 8;
    }

    // Dithered pixels vary one by one; a block of 4 by 4 pixels holds a whole pattern.
    int MeanLevel(double xMm, double yMm) const {
        int sum = 0;
        for (int dy = 0; dy < 4; ++dy) {
            for (int dx = 0; dx < 4; ++dx) sum += Level(xMm + dx * 0.127, yMm + dy * 0.127);
        }
        return sum / 16;
    }

    std::string bytes;
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
};

BmpFile Written(PagePixels pixels, int pageNumber, const wchar_t* name) {
    const std::wstring path = testsupport::BuildFolder(L"test-pages") + L"\\" + name;
    DeleteFileW(path.c_str());
    EXPECT_TRUE(WriteBmp(path, RenderTestPage(kDpi, pixels, pageNumber)));
    return BmpFile(testsupport::ReadBytes(path));
}

TEST(TestPage, EachPixelKindIsAnA4BmpWithHeadersPaletteAndVisibleContent) {
    const struct {
        PagePixels pixels;
        const wchar_t* name;
        WORD bits;
        DWORD palette;
    } kinds[] = {{PagePixels::BlackWhite1, L"page-bw.bmp", 1, 2},
                 {PagePixels::Gray8, L"page-gray.bmp", 8, 256},
                 {PagePixels::Color24, L"page-colour.bmp", 24, 0}};
    for (const auto& kind : kinds) {
        SCOPED_TRACE(testing::Message() << kind.bits << " bits");
        const BmpFile bmp = Written(kind.pixels, 1, kind.name);
        ASSERT_GT(bmp.bytes.size(), sizeof(bmp.file) + sizeof(bmp.info));
        EXPECT_EQ(bmp.file.bfType, 0x4D42);
        EXPECT_EQ(bmp.file.bfSize, bmp.bytes.size());
        EXPECT_EQ(bmp.file.bfOffBits, 54 + kind.palette * 4);
        EXPECT_EQ(bmp.info.biSize, 40u);
        EXPECT_EQ(bmp.info.biWidth, 1654);   // 210 mm at 200 dpi
        EXPECT_EQ(bmp.info.biHeight, 2339);  // 297 mm, positive: bottom-up rows
        EXPECT_EQ(bmp.info.biBitCount, kind.bits);
        EXPECT_EQ(bmp.info.biCompression, DWORD(BI_RGB));
        EXPECT_EQ(bmp.info.biClrUsed, kind.palette);
        EXPECT_EQ(bmp.info.biXPelsPerMeter, 7874);
        EXPECT_EQ(bmp.info.biYPelsPerMeter, 7874);
        EXPECT_EQ(bmp.info.biSizeImage, bmp.bytes.size() - bmp.file.bfOffBits);

        // The 1 cm tick of the top ruler is black; the margin beside the body text is white.
        EXPECT_EQ(bmp.Level(10.03, 1.0), 0);
        EXPECT_EQ(bmp.Level(10.03, 1.0 + 297 - 9), 255) << "the ruler lies at the bottom";
        EXPECT_EQ(bmp.Level(14.0, 105.0), 255);
        // The arrow points up: broad near its tip, only its shaft further down.
        EXPECT_LT(bmp.MeanLevel(156.0, 140.0), 128);
        EXPECT_EQ(bmp.MeanLevel(156.0, 165.0), 255);
        if (kind.bits == 24) {
            const RGBQUAD arrow = bmp.Pixel(170.0, 160.0);
            EXPECT_GT(arrow.rgbRed, 150) << "red and blue swapped?";
            EXPECT_LT(arrow.rgbBlue, 60);
        }
    }
}

TEST(TestPage, GreyIsTheColourPagesLuminanceAndBlackAndWhiteDithersThePicture) {
    const BmpFile colour = Written(PagePixels::Color24, 1, L"page-colour.bmp");
    const BmpFile gray = Written(PagePixels::Gray8, 1, L"page-gray.bmp");
    const BmpFile bw = Written(PagePixels::BlackWhite1, 1, L"page-bw.bmp");
    for (double x = 22; x < 135; x += 9.7) {
        EXPECT_EQ(gray.Level(x, 120), colour.Level(x, 120)) << x << " mm";
    }
    // The sky's gradient becomes a pattern of both levels, not one flat area.
    int white = 0, samples = 0;
    for (double x = 22; x < 60; x += 0.127, ++samples) white += bw.Level(x, 115) == 255;
    EXPECT_GT(white, samples / 10);
    EXPECT_LT(white, samples * 9 / 10);
}

TEST(TestPage, PagesDifferByTheirNumberOnly) {
    const PageImage one = RenderTestPage(100, PagePixels::Gray8, 1);
    const PageImage two = RenderTestPage(100, PagePixels::Gray8, 2);
    ASSERT_EQ(one.bits.size(), two.bits.size());
    ASSERT_NE(one.bits, two.bits);
    // Rows of the picture band (well below the heading, above the closing lines) are equal.
    const int fromTop = MillimetresToPixels(150, 100);
    const std::size_t row = std::size_t(one.height - 1 - fromTop) * one.stride;
    EXPECT_TRUE(std::equal(one.bits.begin() + row, one.bits.begin() + row + one.stride,
                           two.bits.begin() + row));
}

TEST(TestPage, RefusesWhatItCannotDrawOrWrite) {
    EXPECT_EQ(RenderTestPage(0, PagePixels::Color24, 1).width, 0);
    EXPECT_EQ(RenderTestPage(kMaxPageDpi + 1, PagePixels::Gray8, 1).bits.size(), 0u);
    const std::wstring folder = testsupport::BuildFolder(L"test-pages");
    EXPECT_FALSE(WriteBmp(folder + L"\\empty.bmp", PageImage{}));
    EXPECT_FALSE(testsupport::FileExists(folder + L"\\empty.bmp"));
    PageImage page = RenderTestPage(kMinPageDpi, PagePixels::BlackWhite1, 1);
    ASSERT_GT(page.width, 0);
    EXPECT_FALSE(WriteBmp(folder + L"\\no-such-folder\\page.bmp", page));
    page.bits.pop_back();  // rows that do not fill the stated size
    EXPECT_FALSE(WriteBmp(folder + L"\\short.bmp", page));
    EXPECT_FALSE(testsupport::FileExists(folder + L"\\short.bmp"));
}

}  // namespace
