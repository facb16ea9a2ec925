#pragma once
// A scan area drawn in an open preview window as a user's drag draws it: the frame tool,
// then the left button held from one point of the image area to another. Shared by the
// stand-in host's tour and the screenshot tool.

#include <windows.h>

namespace standin {

// `from` and `to` are pixels from the image area's top-left corner, as the window reads
// them whichever way it is laid out.
inline void DragScanArea(HWND preview, POINT from, POINT to) {
    constexpr int kFrameTool = 1059, kImageArea = 1073, kSteps = 8;
    SendMessageW(preview, WM_COMMAND, kFrameTool, 0);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    GetWindowPlacement(GetDlgItem(preview, kImageArea), &placement);
    const RECT& area = placement.rcNormalPosition;
    // The window captures the mouse and also sees the real pointer's moves, which arrive
    // when its thread gets to them: the real pointer waits at the drag's end from the
    // start, so a late move of it agrees with where the drag ends. Mapped through the
    // image area's place on the screen, right whichever way the window is laid out.
    RECT onScreen{};
    GetWindowRect(GetDlgItem(preview, kImageArea), &onScreen);
    const bool mirrored = (GetWindowLongW(preview, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
    SetCursorPos(mirrored ? onScreen.right - 1 - to.x : onScreen.left + to.x, onScreen.top + to.y);
    const auto mouse = [&](UINT message, WPARAM buttons, POINT at) {
        SendMessageW(preview, message, buttons, MAKELPARAM(area.left + at.x, area.top + at.y));
    };
    mouse(WM_MOUSEMOVE, 0, from);
    mouse(WM_LBUTTONDOWN, MK_LBUTTON, from);
    for (int step = 1; step <= kSteps; ++step) {
        mouse(WM_MOUSEMOVE, MK_LBUTTON,
              {from.x + (to.x - from.x) * step / kSteps, from.y + (to.y - from.y) * step / kSteps});
    }
    mouse(WM_LBUTTONUP, 0, to);
}

}  // namespace standin
