#pragma once
// Owner of one VARIANT, cleared exactly once. The DOM takes paths as text variants. The
// automation conversion of a number to text follows the user's locale, so file contents
// never go through it.

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>

namespace quorveltwain {

class Variant {
  public:
    Variant() noexcept { ::VariantInit(&value_); }
    ~Variant() { Clear(); }

    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept;
    Variant& operator=(Variant&& other) noexcept;

    // Raise ComError(E_OUTOFMEMORY) when the text cannot be allocated.
    static Variant FromText(std::wstring_view text);
    static Variant FromDouble(double number) noexcept;
    static Variant FromBool(bool value) noexcept;
    // Holds its own reference to the object (VT_DISPATCH), as putref_schemas expects.
    static Variant FromDispatch(IDispatch* object) noexcept;
    // Holds its own reference to the object (VT_UNKNOWN), e.g. a stream to load from.
    static Variant FromUnknown(IUnknown* object) noexcept;

    // Passed by value to COM methods: the callee borrows it, ownership stays here.
    const VARIANT& Get() const noexcept { return value_; }
    // For a call that fills a variant: clears the old value first.
    VARIANT* Put() noexcept;

    // VariantChangeType to text with no flags, so in the user's locale; raises ComError.
    std::wstring ToText() const;

    void Clear() noexcept;

  private:
    VARIANT value_;
};

}  // namespace quorveltwain
