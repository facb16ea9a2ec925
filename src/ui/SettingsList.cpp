#include "ui/SettingsList.h"

#include <commctrl.h>

#include <string_view>

#include "ResourceIds.h"
#include "platform/BoundedText.h"
#include "platform/ScopedWindowDC.h"
#include "ui/ResourceText.h"
#include "ui/ValueTexts.h"

namespace quorveltwain {

namespace {

constexpr wchar_t kDefaultSettingsName[] = L"Default settings";

// Labels: headings are indented once, settings twice, under the name and detail rows.
enum class Indent { None, Heading, Setting };
struct RowLabel {
    UINT text;
    Indent indent;
};
constexpr RowLabel kLabels[kSettingsListRows] = {
    {IDS_CONFIG_NAME_LABEL, Indent::None},
    {IDS_CONFIG_DETAIL_LABEL, Indent::None},
    {IDS_NAV_BASIC, Indent::Heading},
    {IDS_ORIGINAL_SIZE_LABEL, Indent::Setting},
    {IDS_DUPLEX_LABEL, Indent::Setting},
    {IDS_ORIENTATION_LABEL, Indent::Setting},
    {IDS_SENDING_SIZE_LABEL, Indent::Setting},
    {IDS_OPTION_LABEL, Indent::Setting},
    {IDS_NAV_IMAGING, Indent::Heading},
    {IDS_COLOR_LABEL, Indent::Setting},
    {IDS_RESOLUTION_LABEL, Indent::Setting},
    {IDS_IMAGE_QUALITY_LABEL, Indent::Setting},
    {IDS_EXPOSURE_LABEL, Indent::Setting},
    {IDS_CONTRAST_LABEL, Indent::Setting},
    {IDS_NAV_ADVANCED, Indent::Heading},
    {IDS_REVERSE_IMAGE_LABEL, Indent::Setting},
    {IDS_PREVENT_BLEED_THROUGH_LABEL, Indent::Setting},
};

void InsertColumn(HWND list, int index, UINT title, HMODULE module, int width) {
    const ResourceText text(module, title);
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(text.c_str());
    column.iSubItem = index;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&column));
}

}  // namespace

void SetUpSettingsList(HMODULE module, HWND list) {
    RECT client{};
    ::GetClientRect(list, &client);
    // Each column takes 0.48 of the width, which leaves room for a scroll bar.
    const int width = static_cast<int>((client.right - client.left) * 0.48);
    InsertColumn(list, 0, IDS_DETAILS_SETTING_COLUMN, module, width);
    InsertColumn(list, 1, IDS_DETAILS_VALUE_COLUMN, module, width);
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (int row = 0; row < kSettingsListRows; ++row) {
        const ResourceText label(module, kLabels[row].text);
        wchar_t text[ResourceText::kChars] = {};
        switch (kLabels[row].indent) {
            case Indent::None:
                CopyToField(text, label.c_str());
                break;
            case Indent::Heading:
                FormatToField(text, L"   %1", {label.c_str()});
                break;
            case Indent::Setting:
                FormatToField(text, L"         %1", {label.c_str()});
                break;
        }
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row;
        item.pszText = text;
        item.lParam = 0;
        ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
}

std::wstring SettingsListValue(HMODULE module, int row, const ProfileEntry& entry,
                               const std::uint32_t* optionValue) {
    switch (row) {
        case 0: {
            const std::wstring_view name = FieldText(entry.name);
            if (name == kDefaultSettingsName) {
                return ResourceText(module, IDS_DEFAULT_SETTINGS_NAME).c_str();
            }
            return std::wstring(name);
        }
        case 1:
            return std::wstring(FieldText(entry.detail));
        case 3:
            return OriginalSizeText(module, &entry.original_size);
        case 4:
            return DuplexText(module, &entry.duplex);
        case 5:
            return OrientationText(module, &entry.original_orientation);
        case 6:
            return SendingSizeText(module, &entry.sending_size);
        case 7: {
            if (optionValue == nullptr) return {};
            const auto option = static_cast<std::int32_t>(*optionValue);
            return OptionText(module, &option);
        }
        case 9:
            return ColorText(module, &entry.color_selection);
        case 10:
            return ResolutionText(module, &entry.resolution);
        case 11:
            return OriginalImageText(module, &entry.original_image);
        case 12:
            return ExposureText(module, &entry.exposure_level);
        case 13:
            return ContrastText(module, &entry.contrast);
        case 15:
            return OnOffText(module, &entry.reverse_image);
        case 16:
            return OnOffText(module, &entry.prevent_bleed_through);
        default:
            return {};
    }
}

void FillSettingsList(HMODULE module, HWND list, const ProfileEntry& entry,
                      const std::uint32_t* optionValue) {
    for (int row = 0; row < kSettingsListRows; ++row) {
        if (!SettingsListHasValue(row)) continue;
        std::wstring text = SettingsListValue(module, row, entry, optionValue);
        LVITEMW item{};
        item.iSubItem = 1;
        item.pszText = text.data();
        ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&item));
    }
}

HFONT CreateHeadingFont(HWND window) noexcept {
    int dpi = 96;
    if (const ScopedWindowDC dc(window); dc.get() != nullptr) {
        dpi = ::GetDeviceCaps(dc.get(), LOGPIXELSY);
    }
    return ::CreateFontW(::MulDiv(16, dpi, 96), 0, 0, 0, 600, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH,
                         UI_FONT_FACE_NAME);
}

}  // namespace quorveltwain
