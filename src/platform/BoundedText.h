#pragma once
// Fixed-size wide buffers are part of the binary interface (record fields, paths, texts).
// Every copy into one goes through here: it truncates and always terminates.

#include <cstddef>
#include <initializer_list>
#include <string_view>

namespace quorveltwain {

// The longest part of `text` that fits a field of `capacity` units with its NUL, never
// ending in the first half of a surrogate pair.
std::wstring_view FitBounded(std::wstring_view text, std::size_t capacity) noexcept;

// Copies at most capacity - 1 units of `source` and a NUL, cut between characters: never
// between the two halves of a surrogate pair. Returns the units copied. A zero capacity
// writes nothing.
std::size_t CopyBounded(wchar_t* destination, std::size_t capacity,
                        std::wstring_view source) noexcept;

template <std::size_t N>
std::size_t CopyToField(wchar_t (&field)[N], std::wstring_view source) noexcept {
    return CopyBounded(field, N, source);
}

// The text of a NUL-terminated field, never reading past its capacity.
template <std::size_t N>
std::wstring_view FieldText(const wchar_t (&field)[N]) noexcept {
    std::size_t length = 0;
    while (length < N && field[length] != L'\0') ++length;
    return std::wstring_view(field, length);
}

// Formats a resource text whose arguments are named by position: %1 to %9 stand for the
// arguments in order and %% for a percent sign. A translation may move the arguments
// around, but it can never make the text read an argument that was not given: a position
// without an argument, and any other %, stay in the text as they are. The result is cut to
// the capacity between characters, at the first piece that does not fit whole, and always
// terminated. Returns the units written.
std::size_t FormatByPosition(wchar_t* destination, std::size_t capacity, std::wstring_view pattern,
                             std::initializer_list<std::wstring_view> arguments) noexcept;

template <std::size_t N>
std::size_t FormatToField(wchar_t (&field)[N], std::wstring_view pattern,
                          std::initializer_list<std::wstring_view> arguments) noexcept {
    return FormatByPosition(field, N, pattern, arguments);
}

}  // namespace quorveltwain
