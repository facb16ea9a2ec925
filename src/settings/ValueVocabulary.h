#pragma once
// The twelve value vocabularies: each setting code and the upper-case token that the XML
// files spell it with. Code 0 means "not set" in every vocabulary.

#include <cstdint>
#include <string_view>

namespace quorveltwain {

enum class Vocabulary {
    OriginalSize,
    OriginalOrientation,
    DuplexMode,
    ExposureLevel,
    OriginalImage,
    Resolution,
    ColorSelection,
    OnOff,
    SendingSize,
    Contrast,
    Rotation,
    ModelFamily,
};

// The code whose token equals `token` exactly (case-sensitive, no trimming); 0 if none.
std::int32_t TokenToCode(Vocabulary vocabulary, std::wstring_view token) noexcept;

// The token of `code`; empty for 0, negative or unknown codes. The view refers to static
// storage and stays valid for the life of the process.
std::wstring_view CodeToToken(Vocabulary vocabulary, std::int32_t code) noexcept;

// The highest code of the vocabulary (its codes run densely from 1).
std::int32_t LastCode(Vocabulary vocabulary) noexcept;

}  // namespace quorveltwain
