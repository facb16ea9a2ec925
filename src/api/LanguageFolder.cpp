#include "api/LanguageFolder.h"

#include <windows.h>

namespace quorveltwain {

const wchar_t* const kLanguageFolders[kLanguageFolderCount] = {
    L"en",    L"ar", L"ca", L"cs", L"da", L"de", L"el",      L"es",      L"fi",
    L"fr",    L"he", L"hu", L"it", L"ja", L"ko", L"nl",      L"no",      L"pl",
    L"pt-PT", L"pt", L"ro", L"ru", L"sv", L"tr", L"zh-Hans", L"zh-Hant",
};

namespace {

constexpr std::size_t kEnglish = 0;
constexpr std::size_t kNorwegian = 16;
constexpr std::size_t kSimplifiedChinese = 24;
constexpr std::size_t kTraditionalChinese = 25;

bool StartsWith(std::wstring_view text, std::wstring_view prefix) noexcept {
    return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::size_t LanguageFolderIndex(std::wstring_view localeName) noexcept {
    for (std::size_t index = 0; index < kSearchedLanguageFolders; ++index) {
        const std::wstring_view entry = kLanguageFolders[index];
        const bool matches =
            entry.size() == 2 ? StartsWith(localeName, entry) : localeName == entry;
        if (matches) return index;
    }
    if (StartsWith(localeName, L"nb") || StartsWith(localeName, L"nn")) return kNorwegian;
    if (StartsWith(localeName, L"zh")) {
        const std::wstring_view region = localeName.size() >= 5 ? localeName.substr(3, 2) : L"";
        const bool traditional = region == L"HK" || region == L"MO" || region == L"TW";
        return traditional ? kTraditionalChinese : kSimplifiedChinese;
    }
    return kEnglish;
}

const wchar_t* LanguageFolderFor(std::wstring_view localeName) noexcept {
    return kLanguageFolders[LanguageFolderIndex(localeName)];
}

const wchar_t* UserLanguageFolder() noexcept {
    wchar_t localeName[kLocaleNameChars] = L"";
    // The language identifier serves as the locale identifier (default sort order).
    const LCID locale = GetUserDefaultLangID();
    if (LCIDToLocaleName(locale, localeName, static_cast<int>(kLocaleNameChars), 0) == 0) {
        localeName[0] = L'\0';
    }
    return LanguageFolderFor(localeName);
}

}  // namespace quorveltwain
