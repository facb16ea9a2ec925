#pragma once
// Number texts of the device list.

#include <cstdint>
#include <optional>
#include <string_view>

namespace quorveltwain {

// A decimal integer with an optional sign after optional white space; characters after the
// digits are ignored. No digits, or a value outside the signed 32-bit range: no value.
std::optional<std::int32_t> ParseMemorySize(std::wstring_view text) noexcept;

// The C runtime's reading of a decimal number in the classic locale: leading white space
// skipped, stops at the first character that cannot continue the number, 0 without one,
// every digit counted; beyond a double's range infinity or zero. May throw std::bad_alloc.
double ParseFrameSize(std::wstring_view text);

}  // namespace quorveltwain
