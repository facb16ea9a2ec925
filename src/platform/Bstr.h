#pragma once
// Owner of one BSTR, freed exactly once. Building one from text raises ComError
// (E_OUTOFMEMORY) when the system cannot allocate it.

#include <windows.h>
#include <oleauto.h>

#include <string_view>
#include <utility>

namespace quorveltwain {

class Bstr {
  public:
    Bstr() noexcept = default;
    explicit Bstr(std::wstring_view text);
    ~Bstr() { Reset(); }

    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        if (this != &other) {
            Reset();
            value_ = std::exchange(other.value_, nullptr);
        }
        return *this;
    }

    BSTR Get() const noexcept { return value_; }
    // The text by its stored length (a BSTR may hold NULs; a null BSTR is empty text).
    std::wstring_view View() const noexcept;

    void Reset() noexcept;
    // For a call that hands back a new BSTR: frees the old one first.
    BSTR* Put() noexcept {
        Reset();
        return &value_;
    }
    // Hands the string to a VARIANT or a callee that frees it.
    BSTR Release() noexcept { return std::exchange(value_, nullptr); }

  private:
    BSTR value_ = nullptr;
};

}  // namespace quorveltwain
