#pragma once
// The default scanner's settings from its definition file. The library reads them only;
// of all fields, the unit alone drives its behaviour (millimetres or inches in the preview).

#include <cstddef>
#include <cstdint>

#include "config/DriverPaths.h"

namespace quorveltwain {

inline constexpr std::size_t kAccountIdChars = 9;    // at most 8 characters
inline constexpr std::size_t kPasswordChars = 3074;  // at most 3073 characters
inline constexpr std::size_t kPasswordReadChars = 6148;

struct DriverSettings {
    std::int32_t unit;  // 0: millimetres; anything else: inches
    std::int32_t compression;
    std::int32_t grayCompression;
    bool secureConnection;
    wchar_t scannerAddress[kPathChars];  // bracketed when it holds a colon (IPv6)
    std::int32_t scanMode;
    std::int32_t authentication;
    wchar_t userName[kPathChars];
    std::int32_t account;
    wchar_t accountId[kAccountIdChars];
    wchar_t password[kPasswordChars];
};

// Reads every key of the definition file that `paths` names, in file order. A missing
// file, section or key gives the key's default; an empty definition path gives all
// defaults (unit 1: inches). Always returns true.
bool ReadDriverSettings(const DriverPaths& paths, DriverSettings& settings) noexcept;

// The decimal value of the text's leading digits (sign allowed), 0 when there are none.
std::int32_t LeadingDecimal(const wchar_t* text) noexcept;

}  // namespace quorveltwain
