#include "settings/ValueVocabulary.h"

#include <array>
#include <span>

namespace quorveltwain {

namespace {

using namespace std::string_view_literals;

// Each table lists the tokens by code: entry i is the token of code i + 1.
constexpr std::array kOriginalSize = {
    L"AUTO"sv,        L"A3"sv,
    L"A4"sv,          L"A5"sv,
    L"A6"sv,          L"B4"sv,
    L"B5"sv,          L"B6"sv,
    L"LEDGER"sv,      L"LETTER"sv,
    L"LEGAL"sv,       L"STATEMENT"sv,
    L"_11_X_15"sv,    L"_8_5_X_13_5"sv,
    L"OFICIO_II"sv,   L"FOLIO"sv,
    L"_8K"sv,         L"_16K"sv,
    L"HAGAKI"sv,      L"OUFUKU_HAGAKI"sv,
    L"CUSTOM"sv,      L"ENVELOPE_MONARCH"sv,
    L"ENVELOPE_10"sv, L"ENVELOPE_9"sv,
    L"ENVELOPE_6"sv,  L"ENVELOPE_DL"sv,
    L"ENVELOPE_C5"sv, L"ISO_B5"sv,
    L"YOUKEI_2"sv,    L"YOUKEI_4"sv,
    L"_216X340"sv,    L"EXECUTIVE"sv,
    L"CARD"sv,        L"NAME_CARD"sv,
};

// No CUSTOM here: up to OUFUKU_HAGAKI the sizes sit one code higher than as originals,
// from ENVELOPE_MONARCH on they share the original's code.
constexpr std::array kSendingSize = {
    L"SAME_AS_ORIGINAL"sv,
    L"AUTO"sv,
    L"A3"sv,
    L"A4"sv,
    L"A5"sv,
    L"A6"sv,
    L"B4"sv,
    L"B5"sv,
    L"B6"sv,
    L"LEDGER"sv,
    L"LETTER"sv,
    L"LEGAL"sv,
    L"STATEMENT"sv,
    L"_11_X_15"sv,
    L"_8_5_X_13_5"sv,
    L"OFICIO_II"sv,
    L"FOLIO"sv,
    L"_8K"sv,
    L"_16K"sv,
    L"HAGAKI"sv,
    L"OUFUKU_HAGAKI"sv,
    L"ENVELOPE_MONARCH"sv,
    L"ENVELOPE_10"sv,
    L"ENVELOPE_9"sv,
    L"ENVELOPE_6"sv,
    L"ENVELOPE_DL"sv,
    L"ENVELOPE_C5"sv,
    L"ISO_B5"sv,
    L"YOUKEI_2"sv,
    L"YOUKEI_4"sv,
    L"_216X340"sv,
    L"EXECUTIVE"sv,
    L"CARD"sv,
    L"NAME_CARD"sv,
};

constexpr std::array kOriginalOrientation = {
    L"PORTRAIT_SHORT_EDGE_ALIGNED"sv,
    L"PORTRAIT_LONG_EDGE_ALIGNED"sv,
    L"LANDSCAPE_SHORT_EDGE_ALIGNED"sv,
    L"LANDSCAPE_LONG_EDGE_ALIGNED"sv,
};

constexpr std::array kDuplexMode = {
    L"SIMPLEX"sv, L"DUPLEX"sv, L"BOOK"sv, L"DUPLEX_TOP"sv, L"DP"sv, L"AUTO"sv,
};

// Code = 16 + 2 x level for the levels -7 ... +7 in half steps.
constexpr std::array kExposureLevel = {
    L"AUTO"sv,         L"NEGATIVE_7"sv,   L"NEGATIVE_6_5"sv, L"NEGATIVE_6"sv,   L"NEGATIVE_5_5"sv,
    L"NEGATIVE_5"sv,   L"NEGATIVE_4_5"sv, L"NEGATIVE_4"sv,   L"NEGATIVE_3_5"sv, L"NEGATIVE_3"sv,
    L"NEGATIVE_2_5"sv, L"NEGATIVE_2"sv,   L"NEGATIVE_1_5"sv, L"NEGATIVE_1"sv,   L"NEGATIVE_0_5"sv,
    L"NEUTRAL_0"sv,    L"POSITIVE_0_5"sv, L"POSITIVE_1"sv,   L"POSITIVE_1_5"sv, L"POSITIVE_2"sv,
    L"POSITIVE_2_5"sv, L"POSITIVE_3"sv,   L"POSITIVE_3_5"sv, L"POSITIVE_4"sv,   L"POSITIVE_4_5"sv,
    L"POSITIVE_5"sv,   L"POSITIVE_5_5"sv, L"POSITIVE_6"sv,   L"POSITIVE_6_5"sv, L"POSITIVE_7"sv,
};

// Code = 4 + level for the levels -3 ... +3.
constexpr std::array kContrast = {
    L"NEGATIVE_3"sv, L"NEGATIVE_2"sv, L"NEGATIVE_1"sv, L"NEUTRAL_0"sv,
    L"POSITIVE_1"sv, L"POSITIVE_2"sv, L"POSITIVE_3"sv,
};

constexpr std::array kOriginalImage = {
    L"TEXT"sv, L"TEXT_AND_PHOTO"sv, L"PHOTO"sv, L"FOR_OCR"sv, L"MAP"sv, L"LIGHT_TEXT"sv,
};

// Not in ascending order of resolution: the codes are fixed by the host interface.
constexpr std::array kResolution = {
    L"RESOLUTION_200X100"sv, L"RESOLUTION_200X200"sv,   L"RESOLUTION_200X400"sv,
    L"RESOLUTION_300X300"sv, L"RESOLUTION_400X400"sv,   L"RESOLUTION_600X600"sv,
    L"RESOLUTION_150X150"sv, L"RESOLUTION_1200X1200"sv,
};

constexpr std::array kColorSelection = {
    L"FULL_COLOR"sv,           L"GRAYSCALE"sv,      L"BLACK_AND_WHITE"sv, L"AUTO"sv,
    L"AUTO_BLACK_AND_WHITE"sv, L"AUTO_GRAYSCALE"sv,
};

constexpr std::array kOnOff = {L"OFF"sv, L"ON"sv};

constexpr std::array kRotation = {
    L"_0"sv,
    L"_90_CLOCKWISE"sv,
    L"_180_CLOCKWISE"sv,
    L"_270_CLOCKWISE"sv,
};

// Code 1 is an older family written with code 2's token; reading that token gives 2.
constexpr std::array kModelFamily = {
    L"MODEL_ASPEN3"sv,      L"MODEL_ASPEN3"sv,  L"MODEL_BIRCH"sv,        L"MODEL_CEDAR"sv,
    L"MODEL_DAHLIA"sv,      L"MODEL_ELDER"sv,   L"MODEL_FERN"sv,         L"MODEL_CEDAR_ZETAL"sv,
    L"MODEL_GROVE_30_35"sv, L"MODEL_HAZEL"sv,   L"MODEL_DAHLIA_ZETAL"sv, L"MODEL_ELDER_ZETAL"sv,
    L"MODEL_IVY2"sv,        L"MODEL_JUNIPER"sv, L"MODEL_MAPLE"sv,        L"MODEL_KALE"sv,
    L"MODEL_LINDEN"sv,
};

struct Table {
    std::span<const std::wstring_view> tokens;
    std::int32_t firstReadableCode;  // codes below it are written but never read back
};

constexpr Table TableOf(Vocabulary vocabulary) noexcept {
    switch (vocabulary) {
        case Vocabulary::OriginalSize:
            return {kOriginalSize, 1};
        case Vocabulary::OriginalOrientation:
            return {kOriginalOrientation, 1};
        case Vocabulary::DuplexMode:
            return {kDuplexMode, 1};
        case Vocabulary::ExposureLevel:
            return {kExposureLevel, 1};
        case Vocabulary::OriginalImage:
            return {kOriginalImage, 1};
        case Vocabulary::Resolution:
            return {kResolution, 1};
        case Vocabulary::ColorSelection:
            return {kColorSelection, 1};
        case Vocabulary::OnOff:
            return {kOnOff, 1};
        case Vocabulary::SendingSize:
            return {kSendingSize, 1};
        case Vocabulary::Contrast:
            return {kContrast, 1};
        case Vocabulary::Rotation:
            return {kRotation, 1};
        case Vocabulary::ModelFamily:
            return {kModelFamily, 2};
    }
    return {};
}

static_assert(kOriginalSize.size() == 34 && kSendingSize.size() == 34);
static_assert(kExposureLevel.size() == 30 && kContrast.size() == 7);
static_assert(kModelFamily.size() == 17 && kResolution.size() == 8);

}  // namespace

std::int32_t TokenToCode(Vocabulary vocabulary, std::wstring_view token) noexcept {
    if (token.empty()) return 0;
    const Table table = TableOf(vocabulary);
    for (std::size_t i = static_cast<std::size_t>(table.firstReadableCode) - 1;
         i < table.tokens.size(); ++i) {
        if (table.tokens[i] == token) return static_cast<std::int32_t>(i + 1);
    }
    return 0;
}

std::wstring_view CodeToToken(Vocabulary vocabulary, std::int32_t code) noexcept {
    const Table table = TableOf(vocabulary);
    if (code < 1 || static_cast<std::size_t>(code) > table.tokens.size()) return {};
    return table.tokens[static_cast<std::size_t>(code) - 1];
}

std::int32_t LastCode(Vocabulary vocabulary) noexcept {
    return static_cast<std::int32_t>(TableOf(vocabulary).tokens.size());
}

}  // namespace quorveltwain
