#pragma once
// One saved scan configuration as the profile windows hold it. The settings record is the
// host's binary form; this is the windows' own, converted by RecordToEntry and
// EntryToRecord (ValueTexts.h).

#include <cstdint>

#include "settings/ScanSettingsRecord.h"

namespace quorveltwain {

struct ProfileEntry {
    std::int32_t original_size = 0;
    std::int32_t original_orientation = 0;
    std::int32_t duplex = 0;
    std::int32_t exposure_level = 0;
    std::int32_t original_image = 0;
    std::int32_t resolution = 0;
    std::int32_t color_selection = 0;
    std::int32_t prevent_bleed_through = 0;
    std::int32_t sending_size = 0;
    std::int32_t contrast = 0;
    std::int32_t reverse_image = 0;
    std::uint8_t has_frame = 0;  // 1: the four coordinates are the scan area
    double left = 0.0;
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    std::int32_t rotation = 0;
    // Two levels the settings record does not carry, so every conversion from a record
    // gives them their middle value.
    std::int32_t extra1 = 50;
    std::int32_t extra2 = 50;
    wchar_t name[SCAN_CONFIG_NAME_CHARS] = {};
    wchar_t detail[SCAN_CONFIG_DETAIL_CHARS] = {};
    wchar_t aux_text[SCAN_AUX_TEXT_CHARS] = {};
};

}  // namespace quorveltwain
