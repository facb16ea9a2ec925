#include "ui/DlgAbout.h"

#include "ResourceIds.h"
#include "config/DriverPaths.h"
#include "platform/BoundedText.h"
#include "platform/ScopedSelect.h"
#include "platform/ScopedWindowDC.h"
#include "ui/ResourceText.h"
#include "ui/UiMessages.h"

namespace quorveltwain {

namespace {

constexpr int kValueChars = 256;
constexpr wchar_t kSection[] = L"Version";

// The part of the background picture that is stretched over the window.
constexpr RECT kBackgroundPart{0, 5, 519, 320};

// String `format` with its %s replaced by `value` (wsprintfW, whose %s is a wide string
// and whose output never exceeds 1024 characters), cut to what a text line can hold.
void FormatLine(HMODULE module, UINT format, const wchar_t* value, wchar_t (&line)[kValueChars]) {
    const ResourceText pattern(module, format);
    wchar_t formatted[1025] = {};
    ::wsprintfW(formatted, pattern.c_str(), value);
    CopyToField(line, formatted);
}

}  // namespace

void DlgAbout::InitDialog() {
    const HWND window = Window();
    ::SendMessageW(owner_, UIM_ENABLE, 0, 0);
    ::SendMessageW(owner_, UIM_SET_ACTIVE_WINDOW, reinterpret_cast<WPARAM>(window), 0);
    RECT owner{};
    RECT own{};
    ::GetWindowRect(owner_, &owner);
    ::GetWindowRect(window, &own);
    const int x = owner.left + ((owner.right - owner.left) - (own.right - own.left)) / 2;
    const int y = owner.top + ((owner.bottom - owner.top) - (own.bottom - own.top)) / 2;
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetTexts();
    // The shipped face, like every other text: it is the one face whose coverage each
    // language's library answers for (Arabic and Hebrew glyphs, Han through font links).
    titleFont_.reset(::CreateFontW(30, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEVICE_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   FF_MODERN, UI_FONT_FACE_NAME));
    ::SendDlgItemMessageW(window, IDC_ABOUT_PRODUCT, WM_SETFONT,
                          reinterpret_cast<WPARAM>(titleFont_.get()), TRUE);
}

void DlgAbout::SetTexts() {
    const HWND window = Window();
    wchar_t path[kPathChars] = {};
    BuildVersionFilePath(path);
    wchar_t version[kValueChars] = {};
    wchar_t year[kValueChars] = {};
    // A missing file or key leaves the placeholders, never an empty line.
    ::GetPrivateProfileStringW(kSection, L"Version", L"X.XX", version, kValueChars, path);
    ::GetPrivateProfileStringW(kSection, L"Year", L"XXXX", year, kValueChars, path);
    wchar_t versionLine[kValueChars] = {};
    wchar_t yearLine[kValueChars] = {};
    FormatLine(resourceModule_, IDS_ABOUT_VERSION, version, versionLine);
    FormatLine(resourceModule_, IDS_ABOUT_YEAR, year, yearLine);
    const ResourceText title(resourceModule_, IDS_ABOUT_TITLE);
    const ResourceText product(resourceModule_, IDS_ABOUT_PRODUCT);
    ::SetWindowTextW(window, title.c_str());
    ::SetDlgItemTextW(window, IDC_ABOUT_PRODUCT, product.c_str());
    ::SetDlgItemTextW(window, IDC_ABOUT_VERSION, versionLine);
    ::SetDlgItemTextW(window, IDC_ABOUT_YEAR, yearLine);
}

HBRUSH DlgAbout::StaticColor(HDC dc, HWND /*control*/) const noexcept {
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void DlgAbout::Paint() {
    const HWND window = Window();
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(window, &paint);
    const UINT backgroundId = rightToLeft_ != 0 ? IDB_ABOUT_BACKGROUND_RTL : IDB_ABOUT_BACKGROUND;
    const UniqueBitmap background(static_cast<HBITMAP>(
        ::LoadImageW(resourceModule_, MAKEINTRESOURCEW(backgroundId), IMAGE_BITMAP, 0, 0, 0)));
    if (background) {
        RECT frame{};
        ::GetWindowRect(window, &frame);
        const UniqueMemoryDC source(::CreateCompatibleDC(dc));
        const ScopedSelect select(source.get(), background.get());
        ::SetStretchBltMode(dc, HALFTONE);
        ::StretchBlt(dc, 0, 0, frame.right - frame.left, frame.bottom - frame.top, source.get(),
                     kBackgroundPart.left, kBackgroundPart.top,
                     kBackgroundPart.right - kBackgroundPart.left,
                     kBackgroundPart.bottom - kBackgroundPart.top, SRCCOPY);
    }
    ::EndPaint(window, &paint);

    // The picture goes straight into its control, unscaled; then the texts go over the
    // fresh background.
    const HWND picture = ::GetDlgItem(window, IDC_ABOUT_PICTURE);
    const UniqueBitmap emblem(static_cast<HBITMAP>(
        ::LoadImageW(resourceModule_, MAKEINTRESOURCEW(IDB_ABOUT_PICTURE), IMAGE_BITMAP, 0, 0, 0)));
    if (picture != nullptr && emblem) {
        RECT area{};
        ::GetClientRect(picture, &area);
        const ScopedWindowDC target(picture);
        if (target.get() != nullptr) {
            const UniqueMemoryDC source(::CreateCompatibleDC(target.get()));
            const ScopedSelect select(source.get(), emblem.get());
            ::BitBlt(target.get(), 0, 0, area.right, area.bottom, source.get(), 0, 0, SRCCOPY);
        }
    }
    for (const int id : {IDC_ABOUT_YEAR, IDC_ABOUT_VERSION, IDC_ABOUT_PRODUCT}) {
        ::InvalidateRect(::GetDlgItem(window, id), nullptr, TRUE);
    }
}

INT_PTR DlgAbout::Handle(UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return TRUE;
        case WM_CLOSE:
            ::SendMessageW(owner_, UIM_ENABLE, 0, 1);
            ::DestroyWindow(Window());
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace quorveltwain
