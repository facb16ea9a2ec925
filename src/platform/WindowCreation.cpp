#include "platform/WindowCreation.h"

#include "platform/ActivationContext.h"

namespace quorveltwain {

HWND CreateModelessDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure,
                          LPARAM initParam) noexcept {
    return ActivationContext::ForLibrary().Run([&] {
        return ::CreateDialogParamW(module, MAKEINTRESOURCEW(templateId), owner, procedure,
                                    initParam);
    });
}

INT_PTR RunModalDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure,
                       LPARAM initParam) noexcept {
    // The whole modal loop runs inside the context: windows that the dialog creates while
    // it runs (extra buttons, tool tips) get the same controls.
    return ActivationContext::ForLibrary().Run([&] {
        return ::DialogBoxParamW(module, MAKEINTRESOURCEW(templateId), owner, procedure, initParam);
    });
}

HWND CreatePlainWindow(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                       int x, int y, int width, int height, HWND parent, HMENU menu,
                       HINSTANCE instance, void* parameter) noexcept {
    return ActivationContext::ForLibrary().Run([&] {
        return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent,
                                 menu, instance, parameter);
    });
}

}  // namespace quorveltwain
