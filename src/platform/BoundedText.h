#pragma once
// Fixed-size wide buffers are part of the binary interface (record fields, paths, texts).
// Every copy into one goes through here: it truncates and always terminates.

#include <cstddef>
#include <string_view>

namespace quorveltwain {

// Copies at most capacity - 1 units of `source` and a NUL. Returns the units copied.
// A zero capacity writes nothing.
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

}  // namespace quorveltwain
