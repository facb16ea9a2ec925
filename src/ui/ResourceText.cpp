#include "ui/ResourceText.h"

namespace quorveltwain {

ResourceText::ResourceText(HMODULE module, UINT id) noexcept {
    text_[0] = L'\0';
    // LoadStringW copies at most kChars - 1 characters and always terminates.
    if (module != nullptr) ::LoadStringW(module, id, text_, kChars);
}

}  // namespace quorveltwain
