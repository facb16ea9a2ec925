#include "xml/RestrictionCheck.h"

#include "xml/DevListSetting.h"

namespace quorveltwain {

std::uint32_t CheckRestriction(int setting, std::uint32_t value, const DevListRecord* device,
                               const ScanSettingsRecord* settings) noexcept {
    if (device == nullptr || settings == nullptr || setting < 0 ||
        setting >= kDevListSettingCount) {
        return 0;
    }
    const DevListValueList& list = device->values[setting];
    const auto code = static_cast<std::int32_t>(value);

    // The first entry with the code decides, even when the same code is listed again.
    const DevListValue* found = nullptr;
    for (std::uint32_t i = 0; i < list.count; ++i) {
        if (list.items[i].code == code) {
            found = &list.items[i];
            break;
        }
    }
    if (found == nullptr) return 0;
    if (found->restricted != 1) return 1;

    for (int other = 0; other < kDevListSettingCount; ++other) {
        if (other == setting) continue;
        const CodeList& refused = found->restrictions[other];
        const std::int32_t current = settings->*kDevListSettings[other].field;
        for (std::uint32_t i = 0; i < refused.count; ++i) {
            if (refused.items[i] == current) return 0;
        }
    }
    return 1;
}

}  // namespace quorveltwain
