// The language folder chosen for each locale name, including the rules beyond the plain
// two-letter match: Norwegian, Chinese scripts, Portugal's Portuguese and the fallback.

#include <gtest/gtest.h>

#include <string>

#include "api/LanguageFolder.h"

namespace quorveltwain {
namespace {

TEST(LanguageFolder, EachLocaleGetsItsFolder) {
    const struct {
        const wchar_t* locale;
        const wchar_t* folder;
    } cases[] = {
        {L"en-US", L"en"},
        {L"en-GB", L"en"},
        {L"de-AT", L"de"},
        {L"fr-CA", L"fr"},
        {L"ar-SA", L"ar"},
        {L"he-IL", L"he"},
        {L"ca-ES-valencia", L"ca"},
        // Norwegian: "no" itself matches its entry; Bokmål and Nynorsk are sent there.
        {L"no", L"no"},
        {L"nb-NO", L"no"},
        {L"nn-NO", L"no"},
        // Chinese: traditional script for Hong Kong, Macao and Taiwan, simplified otherwise.
        {L"zh-HK", L"zh-Hant"},
        {L"zh-MO", L"zh-Hant"},
        {L"zh-TW", L"zh-Hant"},
        {L"zh-CN", L"zh-Hans"},
        {L"zh-SG", L"zh-Hans"},
        {L"zh", L"zh-Hans"},
        // Portugal has its own folder, standing before the two-letter entry.
        {L"pt-PT", L"pt-PT"},
        {L"pt-BR", L"pt"},
        {L"pt", L"pt"},
        // Unlisted languages, and names too short to match, fall back to English.
        {L"vi-VN", L"en"},
        {L"e", L"en"},
        {L"", L"en"},
        // Matching is by the exact letters LCIDToLocaleName gives.
        {L"EN-us", L"en"},
        {L"pt-pt", L"pt"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(std::wstring(LanguageFolderFor(c.locale)), c.folder)
            << "locale \"" << c.locale << "\"";
    }
}

TEST(LanguageFolder, TheTableKeepsItsOrderAndTheChineseFoldersOutOfTheSearch) {
    EXPECT_EQ(LanguageFolderIndex(L"en-US"), 0u);
    EXPECT_EQ(LanguageFolderIndex(L"no"), 16u);
    EXPECT_EQ(LanguageFolderIndex(L"pt-PT"), 18u);
    EXPECT_EQ(LanguageFolderIndex(L"pt-BR"), 19u);
    EXPECT_EQ(LanguageFolderIndex(L"tr-TR"), 23u);
    EXPECT_EQ(LanguageFolderIndex(L"zh-CN"), 24u);
    EXPECT_EQ(LanguageFolderIndex(L"zh-TW"), 25u);
    // A locale named like the Chinese folders is not matched by the search itself.
    EXPECT_EQ(LanguageFolderIndex(L"zh-Hant"), 24u) << "its 4th and 5th letters are \"Ha\"";
}

}  // namespace
}  // namespace quorveltwain
