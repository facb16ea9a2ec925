// The language folder for the locales where a plain two-letter match would be wrong.

#include <gtest/gtest.h>

#include <string>

#include "api/LanguageFolder.h"

namespace quorveltwain {
namespace {

TEST(LanguageFolder, TrickyLocalesGetTheirFolder) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        // Bokmål and Nynorsk share Norwegian.
        {L"nb-NO", L"no"},
        {L"nn-NO", L"no"},
        // Traditional script for Hong Kong and Taiwan, simplified otherwise.
        {L"zh-HK", L"zh-Hant"},
        {L"zh-TW", L"zh-Hant"},
        {L"zh-CN", L"zh-Hans"},
        // Portugal has its own folder, ahead of the two-letter entry Brazil falls to.
        {L"pt-PT", L"pt-PT"},
        {L"pt-BR", L"pt"},
        // Unlisted languages and names too short to match fall back to English.
        {L"vi-VN", L"en"},
        {L"e", L"en"},
    };
    for (const auto& [locale, folder] : cases) {
        EXPECT_EQ(std::wstring(LanguageFolderFor(locale)), folder) << "locale " << locale;
    }
}

}  // namespace
}  // namespace quorveltwain
