#include "ScreenCapture.h"

#include <cstdio>
#include <vector>

namespace standin {

bool CaptureWindow(HWND window, const wchar_t* bmpPath) {
    RECT rect{};
    if (!GetWindowRect(window, &rect)) return false;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (bitmap != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, previous);
        const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
        const DWORD imageSize = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
        file.bfSize = file.bfOffBits + imageSize;
        FILE* out = ok ? _wfopen(bmpPath, L"wb") : nullptr;
        ok = out != nullptr && fwrite(&file, sizeof(file), 1, out) == 1 &&
             fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
             fwrite(bits, imageSize, 1, out) == 1;
        if (out != nullptr) ok = (fclose(out) == 0) && ok;
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace standin
