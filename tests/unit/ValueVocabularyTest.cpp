#include <gtest/gtest.h>

#include <string>

#include "settings/ValueVocabulary.h"

using namespace quorveltwain;

namespace {

constexpr Vocabulary kAll[] = {
    Vocabulary::OriginalSize,   Vocabulary::OriginalOrientation,
    Vocabulary::DuplexMode,     Vocabulary::ExposureLevel,
    Vocabulary::OriginalImage,  Vocabulary::Resolution,
    Vocabulary::ColorSelection, Vocabulary::OnOff,
    Vocabulary::SendingSize,    Vocabulary::Contrast,
    Vocabulary::Rotation,       Vocabulary::ModelFamily,
};

TEST(ValueVocabulary, SharedTokensKeepTheCodeOfTheirOwnVocabulary) {
    EXPECT_EQ(TokenToCode(Vocabulary::OriginalSize, L"AUTO"), 1);
    EXPECT_EQ(TokenToCode(Vocabulary::SendingSize, L"AUTO"), 2);
    EXPECT_EQ(TokenToCode(Vocabulary::DuplexMode, L"AUTO"), 6);
    EXPECT_EQ(TokenToCode(Vocabulary::ExposureLevel, L"AUTO"), 1);
    EXPECT_EQ(TokenToCode(Vocabulary::ColorSelection, L"AUTO"), 4);
    EXPECT_EQ(TokenToCode(Vocabulary::Resolution, L"AUTO"), 0);

    EXPECT_EQ(TokenToCode(Vocabulary::ExposureLevel, L"NEUTRAL_0"), 16);
    EXPECT_EQ(TokenToCode(Vocabulary::Contrast, L"NEUTRAL_0"), 4);
    EXPECT_EQ(TokenToCode(Vocabulary::ExposureLevel, L"POSITIVE_1"), 18);
    EXPECT_EQ(TokenToCode(Vocabulary::Contrast, L"POSITIVE_1"), 5);
    // Half levels exist only for exposure.
    EXPECT_EQ(TokenToCode(Vocabulary::Contrast, L"POSITIVE_1_5"), 0);

    EXPECT_EQ(TokenToCode(Vocabulary::OriginalSize, L"CUSTOM"), 21);
    EXPECT_EQ(TokenToCode(Vocabulary::SendingSize, L"CUSTOM"), 0);
    EXPECT_EQ(TokenToCode(Vocabulary::SendingSize, L"SAME_AS_ORIGINAL"), 1);
    EXPECT_EQ(TokenToCode(Vocabulary::OriginalSize, L"SAME_AS_ORIGINAL"), 0);
}

TEST(ValueVocabulary, SendingSizesShiftByOneUntilTheMissingCustomSize) {
    // Sizes up to OUFUKU_HAGAKI sit one code above their original-size code; from
    // ENVELOPE_MONARCH on both vocabularies agree.
    for (std::int32_t code = 1; code <= 20; ++code) {
        const std::wstring_view token = CodeToToken(Vocabulary::OriginalSize, code);
        EXPECT_EQ(TokenToCode(Vocabulary::SendingSize, token), code + 1) << code;
    }
    for (std::int32_t code = 22; code <= 34; ++code) {
        const std::wstring_view token = CodeToToken(Vocabulary::OriginalSize, code);
        EXPECT_EQ(TokenToCode(Vocabulary::SendingSize, token), code) << code;
    }
    EXPECT_EQ(CodeToToken(Vocabulary::SendingSize, 21), L"OUFUKU_HAGAKI");
    EXPECT_EQ(CodeToToken(Vocabulary::SendingSize, 34), L"NAME_CARD");
}

TEST(ValueVocabulary, LevelsFollowTheirFormulas) {
    EXPECT_EQ(CodeToToken(Vocabulary::ExposureLevel, 2), L"NEGATIVE_7");
    EXPECT_EQ(CodeToToken(Vocabulary::ExposureLevel, 15), L"NEGATIVE_0_5");
    EXPECT_EQ(CodeToToken(Vocabulary::ExposureLevel, 16 + 2 * 3), L"POSITIVE_3");
    EXPECT_EQ(CodeToToken(Vocabulary::ExposureLevel, 30), L"POSITIVE_7");
    EXPECT_EQ(CodeToToken(Vocabulary::Contrast, 4 - 3), L"NEGATIVE_3");
    EXPECT_EQ(CodeToToken(Vocabulary::Contrast, 7), L"POSITIVE_3");
    EXPECT_EQ(CodeToToken(Vocabulary::Resolution, 7), L"RESOLUTION_150X150");
    EXPECT_EQ(CodeToToken(Vocabulary::Resolution, 8), L"RESOLUTION_1200X1200");
    EXPECT_EQ(CodeToToken(Vocabulary::Rotation, 1), L"_0");
    EXPECT_EQ(CodeToToken(Vocabulary::Rotation, 4), L"_270_CLOCKWISE");
}

TEST(ValueVocabulary, TokensMatchExactly) {
    EXPECT_EQ(TokenToCode(Vocabulary::OnOff, L"OFF"), 1);
    EXPECT_EQ(TokenToCode(Vocabulary::OnOff, L"ON"), 2);
    EXPECT_EQ(TokenToCode(Vocabulary::OnOff, L"On"), 0);
    EXPECT_EQ(TokenToCode(Vocabulary::OnOff, L"on"), 0);
    EXPECT_EQ(TokenToCode(Vocabulary::OnOff, L" ON"), 0);
    EXPECT_EQ(TokenToCode(Vocabulary::OnOff, L"ON "), 0);
    EXPECT_EQ(TokenToCode(Vocabulary::OnOff, L""), 0);
    EXPECT_EQ(TokenToCode(Vocabulary::ColorSelection, L"full_color"), 0);
    // A prefix or an extension of a token is not that token.
    EXPECT_EQ(TokenToCode(Vocabulary::OriginalSize, L"A"), 0);
    EXPECT_EQ(TokenToCode(Vocabulary::OriginalSize, L"A44"), 0);
    EXPECT_EQ(TokenToCode(Vocabulary::Rotation, L"0"), 0);
    // An embedded NUL makes a different text, not the token before it.
    EXPECT_EQ(TokenToCode(Vocabulary::OnOff, std::wstring_view(L"ON\0X", 4)), 0);
}

TEST(ValueVocabulary, CodesOutsideTheVocabularyHaveNoToken) {
    for (Vocabulary vocabulary : kAll) {
        EXPECT_TRUE(CodeToToken(vocabulary, 0).empty());
        EXPECT_TRUE(CodeToToken(vocabulary, -1).empty());
        EXPECT_TRUE(CodeToToken(vocabulary, INT32_MIN).empty());
        EXPECT_TRUE(CodeToToken(vocabulary, LastCode(vocabulary) + 1).empty());
        EXPECT_TRUE(CodeToToken(vocabulary, INT32_MAX).empty());
        EXPECT_FALSE(CodeToToken(vocabulary, LastCode(vocabulary)).empty());
    }
    EXPECT_TRUE(CodeToToken(Vocabulary::OriginalSize, 35).empty());
    EXPECT_TRUE(CodeToToken(Vocabulary::Rotation, 5).empty());
    EXPECT_EQ(LastCode(Vocabulary::OnOff), 2);
    EXPECT_EQ(LastCode(Vocabulary::ModelFamily), 17);
}

TEST(ValueVocabulary, EveryCodeSurvivesARoundTripExceptModelFamilyOne) {
    for (Vocabulary vocabulary : kAll) {
        for (std::int32_t code = 1; code <= LastCode(vocabulary); ++code) {
            const std::wstring_view token = CodeToToken(vocabulary, code);
            const std::int32_t expected =
                (vocabulary == Vocabulary::ModelFamily && code == 1) ? 2 : code;
            EXPECT_EQ(TokenToCode(vocabulary, token), expected)
                << static_cast<int>(vocabulary) << " code " << code;
        }
    }
}

TEST(ValueVocabulary, ModelFamilyCodeOneIsWrittenAsAspen3AndReadBackAsTwo) {
    EXPECT_EQ(CodeToToken(Vocabulary::ModelFamily, 1), L"MODEL_ASPEN3");
    EXPECT_EQ(CodeToToken(Vocabulary::ModelFamily, 2), L"MODEL_ASPEN3");
    EXPECT_EQ(TokenToCode(Vocabulary::ModelFamily, L"MODEL_ASPEN3"), 2);
    // From 15 on the codes do not follow the alphabetical order of the tokens.
    EXPECT_EQ(TokenToCode(Vocabulary::ModelFamily, L"MODEL_MAPLE"), 15);
    EXPECT_EQ(TokenToCode(Vocabulary::ModelFamily, L"MODEL_KALE"), 16);
    EXPECT_EQ(TokenToCode(Vocabulary::ModelFamily, L"MODEL_LINDEN"), 17);
    EXPECT_EQ(TokenToCode(Vocabulary::ModelFamily, L"MODEL_GROVE_30_35"), 9);
}

}  // namespace
