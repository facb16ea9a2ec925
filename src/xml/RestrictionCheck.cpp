#include "xml/RestrictionCheck.h"

#include "xml/DevListSetting.h"

namespace quorveltwain {

namespace {

// The first entry with the code decides, even when the same code is listed again.
const DevListValue* OfferedValue(int setting, std::uint32_t value, const DevListRecord* device,
                                 const ScanSettingsRecord* settings) noexcept {
    if (device == nullptr || settings == nullptr || setting < 0 ||
        setting >= kDevListSettingCount) {
        return nullptr;
    }
    const DevListValueList& list = device->values[setting];
    const auto code = static_cast<std::int32_t>(value);
    for (std::uint32_t i = 0; i < list.count; ++i) {
        if (list.items[i].code == code) return &list.items[i];
    }
    return nullptr;
}

int FirstRefusingSetting(const DevListValue& found, int setting,
                         const ScanSettingsRecord& settings) noexcept {
    if (found.restricted != 1) return -1;
    for (int other = 0; other < kDevListSettingCount; ++other) {
        if (other == setting) continue;
        const CodeList& refused = found.restrictions[other];
        const std::int32_t current = settings.*kDevListSettings[other].field;
        for (std::uint32_t i = 0; i < refused.count; ++i) {
            if (refused.items[i] == current) return other;
        }
    }
    return -1;
}

}  // namespace

std::uint32_t CheckRestriction(int setting, std::uint32_t value, const DevListRecord* device,
                               const ScanSettingsRecord* settings) noexcept {
    const DevListValue* found = OfferedValue(setting, value, device, settings);
    if (found == nullptr) return 0;
    return FirstRefusingSetting(*found, setting, *settings) < 0 ? 1 : 0;
}

int RefusingSetting(int setting, std::uint32_t value, const DevListRecord* device,
                    const ScanSettingsRecord* settings) noexcept {
    const DevListValue* found = OfferedValue(setting, value, device, settings);
    return found == nullptr ? -1 : FirstRefusingSetting(*found, setting, *settings);
}

}  // namespace quorveltwain
