#include "platform/BoundedText.h"

#include <windows.h>

#include <cstring>

namespace quorveltwain {

std::wstring_view FitBounded(std::wstring_view text, std::size_t capacity) noexcept {
    if (capacity == 0) return {};
    if (text.size() < capacity) return text;
    std::size_t length = capacity - 1;
    // A cut after the first half of a character would leave that half alone: cut before it.
    if (length != 0 && IS_HIGH_SURROGATE(text[length - 1])) --length;
    return text.substr(0, length);
}

std::size_t CopyBounded(wchar_t* destination, std::size_t capacity,
                        std::wstring_view source) noexcept {
    if (destination == nullptr || capacity == 0) return 0;
    const std::size_t count = FitBounded(source, capacity).size();
    if (count != 0) std::memcpy(destination, source.data(), count * sizeof(wchar_t));
    destination[count] = L'\0';
    return count;
}

std::size_t FormatByPosition(wchar_t* destination, std::size_t capacity, std::wstring_view pattern,
                             std::initializer_list<std::wstring_view> arguments) noexcept {
    if (destination == nullptr || capacity == 0) return 0;
    std::size_t written = 0;
    bool cut = false;
    const auto append = [&](std::wstring_view text) {
        const std::size_t copied = CopyBounded(destination + written, capacity - written, text);
        written += copied;
        cut = copied < text.size();
    };
    // The first cut ends the text: nothing after a dropped character may follow it.
    for (std::size_t i = 0; i < pattern.size() && !cut; ++i) {
        const wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
        if (pattern[i] == L'%' && next == L'%') {
            append(L"%");
            ++i;
        } else if (pattern[i] == L'%' && next >= L'1' && next <= L'9' &&
                   static_cast<std::size_t>(next - L'1') < arguments.size()) {
            append(arguments.begin()[next - L'1']);
            ++i;
        } else {
            // A character of the pattern goes whole or not at all.
            const std::size_t units = IS_SURROGATE_PAIR(pattern[i], next) ? 2 : 1;
            append(pattern.substr(i, units));
            i += units - 1;
        }
    }
    destination[written] = L'\0';
    return written;
}

}  // namespace quorveltwain
