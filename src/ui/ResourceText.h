#pragma once
// One text of the resource library, read into the library's 512-character text buffer.
// A longer text is cut to 511 characters; a missing text or module gives an empty text.

#include <windows.h>

namespace quorveltwain {

class ResourceText {
  public:
    static constexpr int kChars = 512;

    ResourceText(HMODULE module, UINT id) noexcept;

    const wchar_t* c_str() const noexcept { return text_; }
    bool empty() const noexcept { return text_[0] == L'\0'; }

  private:
    wchar_t text_[kChars];
};

}  // namespace quorveltwain
