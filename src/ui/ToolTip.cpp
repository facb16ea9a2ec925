#include "ui/ToolTip.h"

#include <commctrl.h>

#include "platform/WindowCreation.h"

namespace quorveltwain {

namespace {
constexpr int kInitialDelayMs = 150;
constexpr int kVisibleMs = 5000;
}  // namespace

void AddToolTip(HMODULE module, HWND dialog, int controlId, const wchar_t* text) noexcept {
    const HWND tip = CreatePlainWindow(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                       dialog, nullptr, module, nullptr);
    if (tip == nullptr) return;

    ::SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOMATIC, MAKELPARAM(kInitialDelayMs, 0));
    ::SendMessageW(tip, TTM_SETDELAYTIME, TTDT_AUTOPOP, MAKELPARAM(kVisibleMs, 0));

    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(dialog, controlId));
    tool.hinst = nullptr;
    tool.lpszText = const_cast<wchar_t*>(text);
    ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

}  // namespace quorveltwain
