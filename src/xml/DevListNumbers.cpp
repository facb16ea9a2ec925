#include "xml/DevListNumbers.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cwctype>
#include <string>
#include <utility>

namespace quorveltwain {

namespace {

// A number too large or too small for a double, as the C library reads it: infinity when
// its first significant digit stands at a decimal power of 0 or more, else zero.
double BeyondRange(const std::string& number, std::size_t mantissaLength) {
    const std::string_view mantissa(number.data(), mantissaLength);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == mantissa.npos) return 0.0;  // zero is never out of range
    long long power = first < point ? static_cast<long long>(point - first) - 1
                                    : -static_cast<long long>(first - point);
    if (mantissaLength < number.size()) {
        const char* exponent = number.c_str() + mantissaLength + 1;
        if (*exponent == '+') ++exponent;
        long long value = 0;
        // An exponent beyond 64 bits decides alone.
        if (std::from_chars(exponent, number.c_str() + number.size(), value).ec != std::errc{})
            value = *exponent == '-' ? LLONG_MIN / 2 : LLONG_MAX / 2;
        power += value;
    }
    const double magnitude = power >= 0 ? HUGE_VAL : 0.0;
    return mantissa.starts_with('-') ? -magnitude : magnitude;
}

}  // namespace

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

double ParseFrameSize(std::wstring_view text) {
    // Read by hand rather than with wcstod: the C runtime is shared with the host, whose
    // locale may read a decimal comma. The number is taken whole, however many digits it has.
    std::size_t i = 0;
    while (i < text.size() && std::iswspace(text[i])) ++i;
    std::string number;
    auto take = [&](auto accept) {
        while (i < text.size() && accept(text[i])) number += static_cast<char>(text[i++]);
    };
    auto isDigit = [](wchar_t c) { return c >= L'0' && c <= L'9'; };
    take([first = true](wchar_t c) mutable {
        return std::exchange(first, false) && (c == L'+' || c == L'-');
    });
    take(isDigit);
    take([first = true](wchar_t c) mutable { return std::exchange(first, false) && c == L'.'; });
    take(isDigit);
    // An exponent counts only when digits follow it.
    const std::size_t mantissaLength = number.size();
    if (i + 1 < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        const std::size_t digitAt = (text[i + 1] == L'+' || text[i + 1] == L'-') ? i + 2 : i + 1;
        if (digitAt < text.size() && isDigit(text[digitAt])) {
            while (i < digitAt) number += static_cast<char>(text[i++]);
            take(isDigit);
        }
    }
    const char* begin = number.c_str();
    if (number.starts_with('+')) ++begin;  // from_chars takes no plus sign
    double value = 0.0;
    const std::errc error = std::from_chars(begin, number.c_str() + number.size(), value).ec;
    if (error == std::errc::result_out_of_range) return BeyondRange(number, mantissaLength);
    return error == std::errc{} ? value : 0.0;
}

}  // namespace quorveltwain
