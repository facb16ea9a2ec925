#include "platform/WindowCreation.h"

#include <cstring>
#include <vector>

#include "platform/ActivationContext.h"
#include "platform/Trace.h"

namespace quorveltwain {

namespace {

// A copy of a template with WS_EX_LAYOUTRTL added, or empty when the template is missing
// (the plain call then reports that as Windows does). Copied into DWORDs: the dialog
// manager wants the template aligned.
std::vector<DWORD> MirroredTemplate(HMODULE module, int templateId) {
    const HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    const HGLOBAL loaded = found != nullptr ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    const DWORD size = found != nullptr ? ::SizeofResource(module, found) : 0;
    if (data == nullptr || size < sizeof(DLGTEMPLATE)) return {};
    std::vector<DWORD> copy((size + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
    std::memcpy(copy.data(), data, size);
    // DLGTEMPLATEEX starts with the version 1 and the signature 0xFFFF; its extended style
    // is its third DWORD. A plain DLGTEMPLATE has it second.
    const auto* words = reinterpret_cast<const WORD*>(copy.data());
    const bool extended = words[0] == 1 && words[1] == 0xFFFF;
    if (extended && size < 3 * sizeof(DWORD)) return {};
    copy[extended ? 2 : 1] |= WS_EX_LAYOUTRTL;
    return copy;
}

bool Mirrors(DialogLayout layout) noexcept {
    return layout == DialogLayout::RightToLeft ||
           (layout == DialogLayout::User && UserReadsRightToLeft());
}

// Runs `create` inside the library's context with the mirrored copy of the template, or
// with null for the template as the module holds it.
template <typename Result, typename Create>
Result CreateFromTemplate(HMODULE module, int templateId, DialogLayout layout, Result refused,
                          Create&& create) noexcept {
    try {
        const std::vector<DWORD> mirrored =
            Mirrors(layout) ? MirroredTemplate(module, templateId) : std::vector<DWORD>();
        return ActivationContext::ForLibrary().Run([&] {
            return create(mirrored.empty() ? nullptr
                                           : reinterpret_cast<const DLGTEMPLATE*>(mirrored.data()));
        });
    } catch (...) {
        Trace(L"Dialog %d refused: no memory for its mirrored template", templateId);
        return refused;
    }
}

}  // namespace

bool UserReadsRightToLeft() noexcept {
    wchar_t layout[256] = {};
    if (::GetLocaleInfoEx(nullptr, LOCALE_IREADINGLAYOUT, layout, 256) == 0) return false;
    return layout[0] == L'1' && layout[1] == L'\0';
}

HWND CreateModelessDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure,
                          LPARAM initParam, DialogLayout layout) noexcept {
    return CreateFromTemplate<HWND>(module, templateId, layout, nullptr, [&](const DLGTEMPLATE* t) {
        return t != nullptr ? ::CreateDialogIndirectParamW(module, t, owner, procedure, initParam)
                            : ::CreateDialogParamW(module, MAKEINTRESOURCEW(templateId), owner,
                                                   procedure, initParam);
    });
}

INT_PTR RunModalDialog(HMODULE module, int templateId, HWND owner, DLGPROC procedure,
                       LPARAM initParam, DialogLayout layout) noexcept {
    // The whole modal loop runs inside the context: windows that the dialog creates while
    // it runs (extra buttons, tool tips) get the same controls.
    return CreateFromTemplate<INT_PTR>(module, templateId, layout, -1, [&](const DLGTEMPLATE* t) {
        return t != nullptr ? ::DialogBoxIndirectParamW(module, t, owner, procedure, initParam)
                            : ::DialogBoxParamW(module, MAKEINTRESOURCEW(templateId), owner,
                                                procedure, initParam);
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
