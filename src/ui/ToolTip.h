#pragma once
// Tool tips for dialog controls.

#include <windows.h>

namespace quorveltwain {

// Creates one new tooltip window, owned by `dialog`, that shows `text` over the control
// `controlId`. The tooltip copies the text, so the caller may reuse its buffer at once. The
// window goes with its owner; a second call for the same control adds a second tooltip.
void AddToolTip(HMODULE module, HWND dialog, int controlId, const wchar_t* text) noexcept;

}  // namespace quorveltwain
