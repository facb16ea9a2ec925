#pragma once
// What a data source starts a session with: each setting at the value that the model's
// device list marks as its default (or its first value), so the settings window opens on
// a scan the scanner can do.

#include <cstdint>

#include "twain_ui.h"

namespace standin {

inline void ApplyModelDefaults(const DevListRecord& device, ScanSettingsRecord& settings) {
    std::int32_t ScanSettingsRecord::*const fields[DEVLIST_SETTING_COUNT] = {
        &ScanSettingsRecord::original_size,   &ScanSettingsRecord::original_orientation,
        &ScanSettingsRecord::original_image,  &ScanSettingsRecord::resolution,
        &ScanSettingsRecord::exposure_level,  &ScanSettingsRecord::duplex,
        &ScanSettingsRecord::color_selection, &ScanSettingsRecord::prevent_bleed_through,
        &ScanSettingsRecord::sending_size,    &ScanSettingsRecord::contrast,
    };
    for (int setting = 0; setting < DEVLIST_SETTING_COUNT; ++setting) {
        const DevListValueList& values = device.values[setting];
        if (values.count == 0) continue;
        std::int32_t code = values.items[0].code;
        for (std::uint32_t i = 0; i < values.count; ++i) {
            if (values.items[i].is_default != 0) {
                code = values.items[i].code;
                break;
            }
        }
        settings.*fields[setting] = code;
    }
    settings.reverse_image = 1;  // off
    settings.rotation = 1;
}

}  // namespace standin
