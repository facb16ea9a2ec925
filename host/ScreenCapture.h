#pragma once
#include <windows.h>

namespace standin {

// Copies what the screen shows of `window` (frame included) into a 24-bit BMP file.
bool CaptureWindow(HWND window, const wchar_t* bmpPath);

}  // namespace standin
