#pragma once
// The two-column list of every setting and its value that the details pane and the
// profiles window show: seventeen rows in a fixed order, three of them group headings.

#include <windows.h>

#include <cstdint>
#include <string>

#include "ui/ProfileEntry.h"

namespace quorveltwain {

inline constexpr int kSettingsListRows = 17;

// The group headings, drawn in the bold face.
constexpr bool IsSettingsListHeading(int row) noexcept {
    return row == 2 || row == 8 || row == 14;
}
// Rows without a value: the headings.
constexpr bool SettingsListHasValue(int row) noexcept {
    return row >= 0 && row < kSettingsListRows && !IsSettingsListHeading(row);
}

// Inserts the two columns and the seventeen labels, replacing any rows.
void SetUpSettingsList(HMODULE module, HWND list);
// The value text that `row` shows for `entry` (empty for a heading or a code without text).
std::wstring SettingsListValue(HMODULE module, int row, const ProfileEntry& entry,
                               const std::uint32_t* optionValue);
// Writes every row's value for `entry` into the second column.
void FillSettingsList(HMODULE module, HWND list, const ProfileEntry& entry,
                      const std::uint32_t* optionValue);
// The bold face of the group headings, 16 pixels at 96 dpi and as much larger as the
// screen's resolution (`window`'s) is, so headings keep their size beside the template's
// text; the caller deletes it.
HFONT CreateHeadingFont(HWND window) noexcept;

}  // namespace quorveltwain
