#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "settings/ValueVocabulary.h"

using namespace quorveltwain;
using namespace std::string_view_literals;

namespace {

TEST(ValueVocabulary, EveryCodeRoundTripsAndNothingElseMatches) {
    for (int v = 0; v <= static_cast<int>(Vocabulary::ModelFamily); ++v) {
        const auto vocabulary = static_cast<Vocabulary>(v);
        const std::int32_t last = LastCode(vocabulary);
        ASSERT_GT(last, 0) << v;
        for (std::int32_t code = 1; code <= last; ++code) {
            // Model family code 1 is an older family written with code 2's token.
            const bool olderFamily = vocabulary == Vocabulary::ModelFamily && code == 1;
            EXPECT_EQ(TokenToCode(vocabulary, CodeToToken(vocabulary, code)),
                      olderFamily ? 2 : code)
                << v << " code " << code;
        }
        for (std::int32_t code : {0, -1, INT_MIN, last + 1, INT_MAX}) {
            EXPECT_TRUE(CodeToToken(vocabulary, code).empty()) << v << " code " << code;
        }
    }
    // Tokens match exactly: no case folding, trimming, prefixes or text after a NUL.
    for (std::wstring_view near :
         {L"On"sv, L" ON"sv, L"ON "sv, L""sv, L"O"sv, L"ONN"sv, L"ON\0X"sv}) {
        EXPECT_EQ(TokenToCode(Vocabulary::OnOff, near), 0) << std::wstring(near);
    }
    // The level vocabularies are centred where the files expect them; half levels exist
    // only for exposure.
    EXPECT_EQ(CodeToToken(Vocabulary::ExposureLevel, 16), L"NEUTRAL_0");
    EXPECT_EQ(CodeToToken(Vocabulary::ExposureLevel, 30), L"POSITIVE_7");
    EXPECT_EQ(CodeToToken(Vocabulary::Contrast, 4), L"NEUTRAL_0");
    EXPECT_EQ(TokenToCode(Vocabulary::Contrast, L"POSITIVE_1_5"), 0);
}

TEST(ValueVocabulary, SendingSizesShiftByOneUntilTheMissingCustomSize) {
    EXPECT_EQ(TokenToCode(Vocabulary::SendingSize, L"SAME_AS_ORIGINAL"), 1);
    EXPECT_EQ(TokenToCode(Vocabulary::SendingSize, L"CUSTOM"), 0);
    for (std::int32_t code = 1; code <= LastCode(Vocabulary::OriginalSize); ++code) {
        const std::wstring_view token = CodeToToken(Vocabulary::OriginalSize, code);
        if (token == L"CUSTOM") continue;
        // Up to OUFUKU_HAGAKI (20) one code higher; from ENVELOPE_MONARCH (22) the same.
        EXPECT_EQ(TokenToCode(Vocabulary::SendingSize, token), code <= 20 ? code + 1 : code)
            << code;
    }
}

}  // namespace
