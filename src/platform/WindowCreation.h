#pragma once
// Every window of the library is created through these three functions. They run the
// Windows call inside the library's manifest activation context, so each window gets
// version 6 of the common controls whatever the host's own manifest says; the caller sees
// the call's result and last-error value exactly as Windows returned them.

#include <windows.h>

namespace quorveltwain {

// How a dialog is laid out. The library's windows mirror whenever the user reads right to
// left, whichever language's resource library they come from: a user of a right-to-left
// language whose library is missing gets English texts in the layout they read.
enum class DialogLayout { User, LeftToRight, RightToLeft };

// True when the user's default locale reads right to left (LOCALE_IREADINGLAYOUT is "1").
bool UserReadsRightToLeft() noexcept;

// A modeless dialog from a template of `module`; null when it could not be created.
// `initParam` reaches the procedure as WM_INITDIALOG's lParam: the dialog's own object, so
// that every window finds the object it belongs to.
HWND CreateModelessDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure,
                          LPARAM initParam = 0, DialogLayout layout = DialogLayout::User) noexcept;

// A modal dialog: returns the value given to EndDialog, or -1 when it was not created.
INT_PTR RunModalDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure,
                       LPARAM initParam = 0, DialogLayout layout = DialogLayout::User) noexcept;

// CreateWindowExW with the same arguments.
HWND CreatePlainWindow(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                       int x, int y, int width, int height, HWND parent, HMENU menu,
                       HINSTANCE instance, void* parameter) noexcept;

}  // namespace quorveltwain
