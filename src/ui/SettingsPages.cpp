#include "ui/SettingsPages.h"

#include <commctrl.h>

#include <cstdlib>
#include <cwchar>
#include <regex>
#include <utility>

#include "ResourceIds.h"
#include "ui/ColorScheme.h"
#include "ui/ResourceText.h"
#include "ui/ToolTip.h"
#include "ui/UiMessages.h"

namespace quorveltwain {

namespace {

constexpr int kFieldChars = 256;
constexpr int kLowest = -3;
constexpr int kHighest = 3;

struct TextOf {
    int control;
    UINT text;
};

void SetTextsOf(HWND page, HMODULE module, std::initializer_list<TextOf> texts) {
    for (const TextOf& item : texts) {
        const ResourceText text(module, item.text);
        ::SetDlgItemTextW(page, item.control, text.c_str());
    }
}

void AddToolTips(HWND page, HMODULE module, UINT textId, std::initializer_list<int> controls) {
    // One buffer per group of tooltips: each tooltip copies the text.
    const ResourceText text(module, textId);
    for (const int control : controls) AddToolTip(module, page, control, text.c_str());
}

// The pages paint white: a picture label or a check box looks the same on all of them.
HBRUSH WhiteStatic(HDC dc) noexcept {
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ColorScheme::Color(SchemeColor::NearBlack));
    return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

void PaintWhite(HWND page) noexcept {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(page, &paint);
    RECT client{};
    ::GetClientRect(page, &client);
    const auto white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::FrameRect(dc, &client, white);
    RECT inner = client;
    ::InflateRect(&inner, -1, -1);
    ::FrameRect(dc, &inner, white);
    ::FillRect(dc, &client, white);
    ::EndPaint(page, &paint);
}

// A click on a picture selects the radio button under it, and only an enabled one.
struct LabelGroup {
    int label;
    int radio;
};
constexpr LabelGroup kOrientationLabels[] = {
    {IDC_ORIENTATION_1_PICTURE, IDC_ORIENTATION_1},
    {IDC_ORIENTATION_2_PICTURE, IDC_ORIENTATION_2},
    {IDC_ORIENTATION_3_PICTURE, IDC_ORIENTATION_3},
    {IDC_ORIENTATION_4_PICTURE, IDC_ORIENTATION_4},
};
constexpr LabelGroup kColorLabels[] = {
    {IDC_COLOR_1_PICTURE, IDC_COLOR_1},
    {IDC_COLOR_2_PICTURE, IDC_COLOR_2},
    {IDC_COLOR_3_PICTURE, IDC_COLOR_3},
};

template <std::size_t N>
void SelectByLabel(HWND page, int clicked, const LabelGroup (&group)[N]) {
    for (const LabelGroup& item : group) {
        if (item.label != clicked) continue;
        const HWND radio = ::GetDlgItem(page, item.radio);
        if (radio == nullptr || !::IsWindowEnabled(radio)) return;
        for (const LabelGroup& other : group) {
            ::SendDlgItemMessageW(page, other.radio, BM_SETCHECK,
                                  other.radio == item.radio ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        return;
    }
}

// The leading integer of a text, 0 when it does not start with one.
int LeadingInteger(const wchar_t* text) noexcept {
    return static_cast<int>(std::wcstol(text, nullptr, 10));
}

bool InRange(int value) noexcept {
    return value >= kLowest && value <= kHighest;
}

// Shown while the control's own style says so: the page itself may be hidden.
bool IsShown(HWND page, int control) noexcept {
    const HWND window = ::GetDlgItem(page, control);
    return window != nullptr && (::GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

}  // namespace

// ---- Basic page ----

void TemplatePictures::TakeFrom(HWND page) noexcept {
    for (HWND child = ::GetWindow(page, GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) continue;
        UniqueBitmap picture(
            reinterpret_cast<HBITMAP>(::SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0)));
        if (!picture) continue;
        try {
            pictures_.push_back(std::move(picture));
        } catch (...) {
            // Out of memory: `picture` still owns the bitmap and deletes it here.
        }
    }
}

void DlgBasic::InitDialog() {
    templatePictures_.TakeFrom(Window());
    ::ShowWindow(Window(), SW_SHOW);
    SetTexts();
    AddToolTips(
        Window(), resourceModule_, IDS_NOT_AVAILABLE_TIP,
        {IDC_ORIGINAL_SIZE_MARKER, IDC_DUPLEX_MARKER, IDC_SENDING_SIZE_MARKER, IDC_OPTION_MARKER});
}

void DlgBasic::SetTexts() {
    SetTextsOf(Window(), resourceModule_,
               {{IDC_ORIGINAL_SIZE_LABEL, IDS_ORIGINAL_SIZE_LABEL},
                {IDC_DUPLEX_LABEL, IDS_DUPLEX_LABEL},
                {IDC_OPTION_LABEL, IDS_OPTION_LABEL},
                {IDC_SENDING_SIZE_LABEL, IDS_SENDING_SIZE_LABEL},
                {IDC_ORIENTATION_LABEL, IDS_ORIENTATION_LABEL}});
}

HBRUSH DlgBasic::StaticColor(HDC dc, HWND /*control*/) const noexcept {
    return WhiteStatic(dc);
}

INT_PTR DlgBasic::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintWhite(Window());
            return 0;
        case WM_COMMAND:
            switch (HIWORD(wParam)) {
                case BN_CLICKED:
                    SelectByLabel(Window(), LOWORD(wParam), kOrientationLabels);
                    ::SendMessageW(owner_, UIM_CONTROL_CHANGED, wParam, lParam);
                    return TRUE;
                case CBN_SELCHANGE:
                    ::SendMessageW(owner_, UIM_CONTROL_CHANGED, wParam, lParam);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

// ---- Imaging page ----

void DlgImaging::InitDialog() {
    templatePictures_.TakeFrom(Window());
    ::ShowWindow(Window(), SW_HIDE);
    SetTexts();
    const HWND page = Window();
    AddToolTips(page, resourceModule_, IDS_NOT_AVAILABLE_TIP,
                {IDC_RESOLUTION_MARKER, IDC_IMAGE_QUALITY_MARKER, IDC_EXPOSURE_AUTO_MARKER,
                 IDC_EXPOSURE_MARKER, IDC_CONTRAST_MARKER});
    AddToolTips(page, resourceModule_, IDS_EXPOSURE_TIP, {IDC_EXPOSURE_LABEL});
    AddToolTips(page, resourceModule_, IDS_CONTRAST_TIP, {IDC_CONTRAST_LABEL});
    const auto icon = [this](int id) {
        return UniqueIcon(static_cast<HICON>(
            ::LoadImageW(resourceModule_, MAKEINTRESOURCEW(id), IMAGE_ICON, 11, 11, 0)));
    };
    stepUp_ = icon(IDI_STEP_UP);
    stepDown_ = icon(IDI_STEP_DOWN);
    for (const int id : {IDC_CONTRAST_UP, IDC_EXPOSURE_UP}) {
        ::SendDlgItemMessageW(page, id, BM_SETIMAGE, IMAGE_ICON,
                              reinterpret_cast<LPARAM>(stepUp_.get()));
    }
    for (const int id : {IDC_CONTRAST_DOWN, IDC_EXPOSURE_DOWN}) {
        ::SendDlgItemMessageW(page, id, BM_SETIMAGE, IMAGE_ICON,
                              reinterpret_cast<LPARAM>(stepDown_.get()));
    }
}

void DlgImaging::SetTexts() {
    SetTextsOf(Window(), resourceModule_,
               {{IDC_RESOLUTION_LABEL, IDS_RESOLUTION_LABEL},
                {IDC_IMAGE_QUALITY_LABEL, IDS_IMAGE_QUALITY_LABEL},
                {IDC_EXPOSURE_LABEL, IDS_EXPOSURE_LABEL},
                {IDC_CONTRAST_LABEL, IDS_CONTRAST_LABEL},
                {IDC_COLOR_LABEL, IDS_COLOR_LABEL},
                {IDC_EXPOSURE_AUTO, IDS_AUTO}});
}

HBRUSH DlgImaging::StaticColor(HDC dc, HWND /*control*/) const noexcept {
    return WhiteStatic(dc);
}

HBRUSH DlgImaging::ButtonColor(HDC /*dc*/, HWND /*control*/) const noexcept {
    return ColorScheme::Brush(SchemeColor::White);
}

void DlgImaging::WindowDestroyed() noexcept {
    // The buttons do not own the icons they show; they are gone now.
    stepUp_.reset();
    stepDown_.reset();
    templatePictures_.Release();
}

void DlgImaging::SliderToText(int sliderId, int fieldId) {
    const HWND page = Window();
    const auto position = static_cast<int>(::SendDlgItemMessageW(page, sliderId, TBM_GETPOS, 0, 0));
    wchar_t formatted[4] = {};
    std::swprintf(formatted, 4, L"%d", position);
    wchar_t text[kFieldChars] = {};
    ::GetDlgItemTextW(page, fieldId, text, kFieldChars);
    if (std::wcscmp(text, formatted) == 0) return;
    ::SetDlgItemTextW(page, fieldId, formatted);
    ::SendMessageW(owner_, UIM_CONTROL_CHANGED, static_cast<WPARAM>(sliderId), 0);
}

void DlgImaging::StepField(int fieldId, int step) {
    wchar_t text[kFieldChars] = {};
    ::GetDlgItemTextW(Window(), fieldId, text, kFieldChars);
    const int value = LeadingInteger(text) + step;
    if (!InRange(value)) return;
    wchar_t formatted[4] = {};
    std::swprintf(formatted, 4, L"%d", value);
    // Setting the text runs the field's check, which moves the slider.
    if (std::wcscmp(text, formatted) != 0) ::SetDlgItemTextW(Window(), fieldId, formatted);
}

void DlgImaging::CheckField(int fieldId, int sliderId) {
    const HWND page = Window();
    wchar_t text[kFieldChars] = {};
    ::GetDlgItemTextW(page, fieldId, text, kFieldChars);
    const int value = LeadingInteger(text);
    // Anything but a well-formed number made of 0 to 3 and one leading minus.
    static const std::wregex malformed(
        L"([^0-3-])|(--)|(-0)|(00)|(01)|(02)|(03)|(3-)|(2-)|(1-)|(0-)",
        std::regex_constants::ECMAScript);
    if (std::regex_search(text, malformed)) ::SetDlgItemTextW(page, fieldId, L"0");
    if (InRange(value)) {
        const HWND slider = ::GetDlgItem(page, sliderId);
        if (static_cast<int>(::SendMessageW(slider, TBM_GETPOS, 0, 0)) != value) {
            ::SendMessageW(slider, TBM_SETPOS, TRUE, value);
            ::PostMessageW(page, WM_COMMAND, MAKEWPARAM(sliderId, 1),
                           reinterpret_cast<LPARAM>(slider));
        }
    } else {
        SliderToText(sliderId, fieldId);
    }
}

void DlgImaging::OnAutomaticExposure() {
    const HWND page = Window();
    const bool automatic =
        ::SendDlgItemMessageW(page, IDC_EXPOSURE_AUTO, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (!automatic && IsShown(page, IDC_EXPOSURE_MARKER)) return;
    for (const int id :
         {IDC_EXPOSURE_FIELD, IDC_EXPOSURE_SLIDER, IDC_EXPOSURE_UP, IDC_EXPOSURE_DOWN}) {
        ::EnableWindow(::GetDlgItem(page, id), automatic ? FALSE : TRUE);
    }
    if (!automatic) SliderToText(IDC_EXPOSURE_SLIDER, IDC_EXPOSURE_FIELD);
}

INT_PTR DlgImaging::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintWhite(Window());
            return 0;
        case WM_HSCROLL: {
            const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id == IDC_EXPOSURE_SLIDER) SliderToText(IDC_EXPOSURE_SLIDER, IDC_EXPOSURE_FIELD);
            if (id == IDC_CONTRAST_SLIDER) SliderToText(IDC_CONTRAST_SLIDER, IDC_CONTRAST_FIELD);
            return 0;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            switch (id) {
                case IDC_EXPOSURE_UP:
                case IDC_EXPOSURE_DOWN:
                    if (HIWORD(wParam) == BN_CLICKED)
                        StepField(IDC_EXPOSURE_FIELD, id == IDC_EXPOSURE_UP ? 1 : -1);
                    break;
                case IDC_CONTRAST_UP:
                case IDC_CONTRAST_DOWN:
                    if (HIWORD(wParam) == BN_CLICKED)
                        StepField(IDC_CONTRAST_FIELD, id == IDC_CONTRAST_UP ? 1 : -1);
                    break;
                case IDC_EXPOSURE_FIELD:
                    CheckField(IDC_EXPOSURE_FIELD, IDC_EXPOSURE_SLIDER);
                    break;
                case IDC_CONTRAST_FIELD:
                    CheckField(IDC_CONTRAST_FIELD, IDC_CONTRAST_SLIDER);
                    break;
                default:
                    break;
            }
            if (HIWORD(wParam) == BN_CLICKED) {
                if (id == IDC_EXPOSURE_AUTO) {
                    OnAutomaticExposure();
                } else {
                    SelectByLabel(Window(), id, kColorLabels);
                }
                ::SendMessageW(owner_, UIM_CONTROL_CHANGED, wParam, lParam);
            } else if (HIWORD(wParam) == CBN_SELCHANGE) {
                ::SendMessageW(owner_, UIM_CONTROL_CHANGED, wParam, lParam);
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

// ---- Advanced page ----

void DlgAdvanced::InitDialog() {
    ::ShowWindow(Window(), SW_HIDE);
    SetTexts();
    const HWND page = Window();
    AddToolTips(page, resourceModule_, IDS_NOT_AVAILABLE_TIP,
                {IDC_PREVENT_BLEED_THROUGH_MARKER, IDC_REVERSE_IMAGE_MARKER});
    AddToolTips(page, resourceModule_, IDS_REVERSE_IMAGE_TIP, {IDC_REVERSE_IMAGE});
    AddToolTips(page, resourceModule_, IDS_PREVENT_BLEED_THROUGH_TIP, {IDC_PREVENT_BLEED_THROUGH});
}

void DlgAdvanced::SetTexts() {
    SetTextsOf(Window(), resourceModule_,
               {{IDC_REVERSE_IMAGE, IDS_REVERSE_IMAGE_LABEL},
                {IDC_PREVENT_BLEED_THROUGH, IDS_PREVENT_BLEED_THROUGH_LABEL}});
}

HBRUSH DlgAdvanced::StaticColor(HDC dc, HWND /*control*/) const noexcept {
    return WhiteStatic(dc);
}

INT_PTR DlgAdvanced::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            PaintWhite(Window());
            return 0;
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            ::SendMessageW(owner_, UIM_CONTROL_CHANGED, wParam, lParam);
            return MessageResult(Window(), 1);
        default:
            return FALSE;
    }
}

}  // namespace quorveltwain
