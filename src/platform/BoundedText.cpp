#include "platform/BoundedText.h"

#include <cstring>

namespace quorveltwain {

std::size_t CopyBounded(wchar_t* destination, std::size_t capacity,
                        std::wstring_view source) noexcept {
    if (destination == nullptr || capacity == 0) return 0;
    const std::size_t count = source.size() < capacity - 1 ? source.size() : capacity - 1;
    if (count != 0) std::memcpy(destination, source.data(), count * sizeof(wchar_t));
    destination[count] = L'\0';
    return count;
}

}  // namespace quorveltwain
