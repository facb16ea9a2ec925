#pragma once
// Which language folder's resource library serves a user: a pure function of the locale
// name, so every rule can be tested without changing the machine's locale.

#include <cstddef>
#include <string_view>

namespace quorveltwain {

inline constexpr std::size_t kLanguageFolderCount = 26;
// Entries 0 to 23 are searched in order; 24 and 25 are reached only by the Chinese rule.
inline constexpr std::size_t kSearchedLanguageFolders = 24;
inline constexpr std::size_t kLocaleNameChars = 85;  // LOCALE_NAME_MAX_LENGTH

extern const wchar_t* const kLanguageFolders[kLanguageFolderCount];

// The index into kLanguageFolders for a locale name such as "en-US", "pt-BR" or "zh-TW".
// Two-letter entries match the name's first two characters, longer entries the whole
// name; Norwegian Bokmål and Nynorsk share "no"; Chinese picks traditional for Hong Kong,
// Macao and Taiwan and simplified otherwise; everything else falls back to "en".
std::size_t LanguageFolderIndex(std::wstring_view localeName) noexcept;

// The folder name for a locale name: kLanguageFolders[LanguageFolderIndex(localeName)].
const wchar_t* LanguageFolderFor(std::wstring_view localeName) noexcept;

// The folder for the user's default language (GetUserDefaultLangID as a locale).
const wchar_t* UserLanguageFolder() noexcept;

}  // namespace quorveltwain
