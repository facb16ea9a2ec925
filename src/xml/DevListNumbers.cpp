#include "xml/DevListNumbers.h"

#include <charconv>
#include <cwctype>
#include <utility>

namespace quorveltwain {

std::optional<std::int32_t> ParseMemorySize(std::wstring_view text) noexcept {
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    const std::size_t firstDigit = i;
    std::int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > std::int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (i == firstDigit) return std::nullopt;
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

double ParseFrameSize(std::wstring_view text) noexcept {
    // Read by hand rather than with wcstod: the C runtime is shared with the host, whose
    // locale may read a decimal comma.
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(text[i])) ++i;
    char number[64];
    std::size_t length = 0;
    auto take = [&](auto accept) {
        while (i < text.size() && length < sizeof(number) && accept(text[i])) {
            number[length++] = static_cast<char>(text[i++]);
        }
    };
    auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    take([first = true](wchar_t c) mutable {
        return std::exchange(first, false) && (c == L'+' || c == L'-');
    });
    take(isDigit);
    take([first = true](wchar_t c) mutable { return std::exchange(first, false) && c == L'.'; });
    take(isDigit);
    // An exponent counts only when digits follow it.
    if (i + 1 < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        const std::size_t digitAt = (text[i + 1] == L'+' || text[i + 1] == L'-') ? i + 2 : i + 1;
        if (digitAt < text.size() && isDigit(text[digitAt])) {
            while (i < digitAt && length < sizeof(number))
                number[length++] = static_cast<char>(text[i++]);
            take(isDigit);
        }
    }
    const char* begin = number;
    if (length > 0 && number[0] == '+') ++begin;  // from_chars takes no plus sign
    double value = 0.0;
    if (std::from_chars(begin, number + length, value).ec != std::errc{}) return 0.0;
    return value;
}

}  // namespace quorveltwain
