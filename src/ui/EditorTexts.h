#pragma once
// The texts that the New, Edit and Save-as editors share: the name and description labels,
// the buttons, the section titles and the label of every setting.

#include <windows.h>

namespace quorveltwain {

void SetProfileEditorTexts(HMODULE module, HWND editor);

}  // namespace quorveltwain
