#pragma once
// What the New, Edit and Save-as editors share: the name and description labels, the
// buttons, the section titles and the label of every setting, and the two text fields.

#include <windows.h>

#include <string>

namespace quorveltwain {

void SetProfileEditorTexts(HMODULE module, HWND editor);
// The name and description fields hold no more than a saved configuration keeps.
void LimitEditorFields(HWND editor) noexcept;
// The text of a name or description field.
std::wstring EditorField(HWND editor, int id);
// Save is offered only while the typed name is usable.
void EnableSaveForTypedName(HWND editor);
// The section titles in the heading font, made for the editor's screen; the caller keeps
// the font for as long as the window lives.
HFONT SetEditorHeadingFont(HWND editor);

}  // namespace quorveltwain
