#pragma once
// The ten restrictable settings in their fixed index order, shared by the device-list
// reader and the restriction checks: the element names the file uses, the vocabulary of
// their tokens, and the settings-record field that holds each one's current value.

#include <array>
#include <cstdint>
#include <string_view>

#include "settings/ScanSettingsRecord.h"
#include "settings/ValueVocabulary.h"

namespace quorveltwain {

inline constexpr int kDevListSettingCount = DEVLIST_SETTING_COUNT;

struct DevListSettingInfo {
    std::wstring_view element;          // setting element of the device list
    std::wstring_view restrictElement;  // restriction element naming this setting
    Vocabulary vocabulary;
    std::int32_t ScanSettingsRecord::*field;  // where a settings record keeps its value
};

// The device list says image_quality, duplex_mode and color_mode where the settings record
// says original_image, duplex and color_selection.
inline constexpr std::array<DevListSettingInfo, kDevListSettingCount> kDevListSettings = {{
    {L"original_size", L"restrict_original_size", Vocabulary::OriginalSize,
     &ScanSettingsRecord::original_size},
    {L"original_orientation", L"restrict_original_orientation", Vocabulary::OriginalOrientation,
     &ScanSettingsRecord::original_orientation},
    {L"image_quality", L"restrict_image_quality", Vocabulary::OriginalImage,
     &ScanSettingsRecord::original_image},
    {L"resolution", L"restrict_resolution", Vocabulary::Resolution,
     &ScanSettingsRecord::resolution},
    {L"exposure_level", L"restrict_exposure_level", Vocabulary::ExposureLevel,
     &ScanSettingsRecord::exposure_level},
    {L"duplex_mode", L"restrict_duplex_mode", Vocabulary::DuplexMode, &ScanSettingsRecord::duplex},
    {L"color_mode", L"restrict_color_mode", Vocabulary::ColorSelection,
     &ScanSettingsRecord::color_selection},
    {L"prevent_bleed_through", L"restrict_prevent_bleed_through", Vocabulary::OnOff,
     &ScanSettingsRecord::prevent_bleed_through},
    {L"sending_size", L"restrict_sending_size", Vocabulary::SendingSize,
     &ScanSettingsRecord::sending_size},
    {L"contrast", L"restrict_contrast", Vocabulary::Contrast, &ScanSettingsRecord::contrast},
}};

// Index of the setting element `name`, or -1.
int DevListSettingOfElement(std::wstring_view name) noexcept;
// Index of the setting that restriction element `name` designates, or -1.
int DevListSettingOfRestriction(std::wstring_view name) noexcept;

}  // namespace quorveltwain
