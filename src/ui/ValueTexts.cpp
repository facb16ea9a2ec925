#include "ui/ValueTexts.h"

#include <algorithm>
#include <iterator>
#include <span>

#include "platform/BoundedText.h"
#include "ResourceIds.h"
#include "ui/ResourceText.h"
#include "xml/DevListSetting.h"

namespace quorveltwain {

namespace {

// String identifiers of the resource library's value texts, indexed by code (entry 0 is
// code 0); 0 marks a code without a text. Sizes that an original and a sent page share
// share their text, so both size tables hold the same identifiers one code apart until the
// original-only custom size (229).
constexpr UINT kOriginalSize[] = {
    0,   IDS_AUTO, 183, 184, 185, 186, 187, 188, 189, 190, 191, 192, 193, 194, 195, 196, 197, 198,
    199, 227,      228, 229, 230, 244, 245, 246, 247, 248, 249, 250, 251, 243, 252, 253, 254,
};
// Code 1 is "the same as the original": no size of its own to name.
constexpr UINT kSendingSize[] = {
    0,   0,   IDS_AUTO, 183, 184, 185, 186, 187, 188, 189, 190, 191, 192, 193, 194, 195, 196, 197,
    198, 199, 227,      228, 230, 244, 245, 246, 247, 248, 249, 250, 251, 243, 252, 253, 254,
};
constexpr UINT kDuplex[] = {0, 224, 200, 0, 217, 225, IDS_AUTO};
constexpr UINT kOrientation[] = {0, 231, 232, 233, 234};
constexpr UINT kResolution[] = {0, 0, 211, 0, 210, 209, 208, 0, 289};
constexpr UINT kOriginalImage[] = {0, 212, 213, 214, 215, 0, 132};
// Only automatic exposure and the whole levels -3 to +3 have texts.
constexpr UINT kExposure[] = {
    0, IDS_AUTO, 0, 0, 0, 0, 0, 0, 0, 0, 122, 0, 123, 0, 124, 0, 125, 0, 126, 0, 140, 0, 153,
};
constexpr UINT kContrast[] = {0, 156, 157, 158, 160, 162, 165, 166};
constexpr UINT kColor[] = {0, 202, 203, 204};
constexpr UINT kOnOff[] = {0, 201, 136};
constexpr UINT kOption[] = {0, IDS_OPTION_VALUE_1, IDS_OPTION_VALUE_2};

std::wstring Lookup(HMODULE resourceModule, const std::int32_t* code,
                    std::span<const UINT> stringIds) {
    if (code == nullptr || *code < 0 || static_cast<std::size_t>(*code) >= stringIds.size()) {
        return {};
    }
    const UINT id = stringIds[static_cast<std::size_t>(*code)];
    if (id == 0) return {};
    const ResourceText text(resourceModule, id);
    return text.c_str();
}

}  // namespace

std::wstring OriginalSizeText(HMODULE resourceModule, const std::int32_t* code) {
    return Lookup(resourceModule, code, kOriginalSize);
}
std::wstring SendingSizeText(HMODULE resourceModule, const std::int32_t* code) {
    return Lookup(resourceModule, code, kSendingSize);
}
std::wstring DuplexText(HMODULE resourceModule, const std::int32_t* code) {
    return Lookup(resourceModule, code, kDuplex);
}
std::wstring OrientationText(HMODULE resourceModule, const std::int32_t* code) {
    return Lookup(resourceModule, code, kOrientation);
}
std::wstring ResolutionText(HMODULE resourceModule, const std::int32_t* code) {
    return Lookup(resourceModule, code, kResolution);
}
std::wstring OriginalImageText(HMODULE resourceModule, const std::int32_t* code) {
    return Lookup(resourceModule, code, kOriginalImage);
}
std::wstring ExposureText(HMODULE resourceModule, const std::int32_t* code) {
    return Lookup(resourceModule, code, kExposure);
}
std::wstring ContrastText(HMODULE resourceModule, const std::int32_t* code) {
    return Lookup(resourceModule, code, kContrast);
}
std::wstring ColorText(HMODULE resourceModule, const std::int32_t* code) {
    return Lookup(resourceModule, code, kColor);
}
std::wstring OnOffText(HMODULE resourceModule, const std::int32_t* code) {
    return Lookup(resourceModule, code, kOnOff);
}
std::wstring OptionText(HMODULE resourceModule, const std::int32_t* code) {
    return Lookup(resourceModule, code, kOption);
}

std::wstring SettingValueText(HMODULE resourceModule, int setting, std::int32_t code) {
    using Text = std::wstring (*)(HMODULE, const std::int32_t*);
    // In DevListSetting index order.
    constexpr Text kTexts[kDevListSettingCount] = {
        OriginalSizeText, OrientationText, OriginalImageText, ResolutionText,  ExposureText,
        DuplexText,       ColorText,       OnOffText,         SendingSizeText, ContrastText,
    };
    if (setting < 0 || setting >= kDevListSettingCount) return {};
    return kTexts[setting](resourceModule, &code);
}

void SelectByItemData(HWND window, int controlId, std::int32_t* value) {
    if (value == nullptr) return;
    const LRESULT count = ::SendDlgItemMessageW(window, controlId, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        // Item data holds the code sign-extended, as the lists are filled.
        if (::SendDlgItemMessageW(window, controlId, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) ==
            static_cast<LRESULT>(*value)) {
            ::SendDlgItemMessageW(window, controlId, CB_SETCURSEL, static_cast<WPARAM>(i), 0);
            return;
        }
    }
    ::SendDlgItemMessageW(window, controlId, CB_SETCURSEL, 0, 0);
    *value =
        static_cast<std::int32_t>(::SendDlgItemMessageW(window, controlId, CB_GETITEMDATA, 0, 0));
}

bool RecordToEntry(const ScanSettingsRecord& record, ProfileEntry& entry) {
    entry.original_size = record.original_size;
    entry.original_orientation = record.original_orientation;
    entry.duplex = record.duplex;
    entry.exposure_level = record.exposure_level;
    entry.original_image = record.original_image;
    entry.resolution = record.resolution;
    entry.color_selection = record.color_selection;
    entry.prevent_bleed_through = record.prevent_bleed_through;
    entry.sending_size = record.sending_size;
    entry.contrast = record.contrast;
    entry.reverse_image = record.reverse_image;

    CopyToField(entry.name, FieldText(record.config_name));
    CopyToField(entry.detail, FieldText(record.config_detail));
    CopyToField(entry.aux_text, FieldText(record.aux_text));

    const bool framed = record.has_frame_entry == 1;
    entry.has_frame = framed ? 1 : 0;
    entry.left = framed ? record.left : 0.0;
    entry.top = framed ? record.top : 0.0;
    entry.right = framed ? record.right : 0.0;
    entry.bottom = framed ? record.bottom : 0.0;

    entry.rotation = record.rotation;
    entry.extra1 = 50;
    entry.extra2 = 50;
    return true;
}

bool EntryToRecord(const ProfileEntry& entry, ScanSettingsRecord& record) {
    record.original_size = entry.original_size;
    record.original_orientation = entry.original_orientation;
    record.duplex = entry.duplex;
    record.exposure_level = entry.exposure_level;
    record.original_image = entry.original_image;
    record.resolution = entry.resolution;
    record.color_selection = entry.color_selection;
    record.prevent_bleed_through = entry.prevent_bleed_through;
    record.sending_size = entry.sending_size;
    record.contrast = entry.contrast;
    record.reverse_image = entry.reverse_image;

    // Cleared whole, so nothing of a longer earlier text stays behind the new terminator.
    std::fill(std::begin(record.config_name), std::end(record.config_name), L'\0');
    std::fill(std::begin(record.config_detail), std::end(record.config_detail), L'\0');
    CopyToField(record.config_name, FieldText(entry.name));
    CopyToField(record.config_detail, FieldText(entry.detail));

    if (entry.has_frame != 0) {
        record.left = entry.left;
        record.top = entry.top;
        record.right = entry.right;
        record.bottom = entry.bottom;
        record.has_frame_entry = 1;
    } else {
        // Without a frame the coordinates mean nothing; the record keeps whatever it held.
        record.has_frame_entry = 0;
    }

    record.rotation = entry.rotation;
    if (entry.aux_text[0] != L'\0') CopyToField(record.aux_text, FieldText(entry.aux_text));
    return true;
}

}  // namespace quorveltwain
