#include "xml/DevListSetting.h"

namespace quorveltwain {

int DevListSettingOfElement(std::wstring_view name) noexcept {
    for (int i = 0; i < kDevListSettingCount; ++i) {
        if (kDevListSettings[i].element == name) return i;
    }
    return -1;
}

int DevListSettingOfRestriction(std::wstring_view name) noexcept {
    for (int i = 0; i < kDevListSettingCount; ++i) {
        if (kDevListSettings[i].restrictElement == name) return i;
    }
    return -1;
}

}  // namespace quorveltwain
