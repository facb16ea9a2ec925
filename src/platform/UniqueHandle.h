#pragma once
// One owner per handle: a move-only RAII holder parameterised by a traits type that knows
// the handle's empty value, how to release it, and which live count it belongs to.

#include <windows.h>

#include <type_traits>
#include <utility>

#include "platform/LiveObjects.h"

namespace quorveltwain {

template <typename Traits>
class UniqueHandle {
  public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    // Takes ownership; an empty value is accepted and owns nothing.
    explicit UniqueHandle(Type value) noexcept : value_(value) { Track(); }
    ~UniqueHandle() { reset(); }

    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    // A move hands the handle over; the live count does not change.
    UniqueHandle(UniqueHandle&& other) noexcept
        : value_(std::exchange(other.value_, Traits::Empty())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset();
            value_ = std::exchange(other.value_, Traits::Empty());
        }
        return *this;
    }

    Type get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return value_ != Traits::Empty(); }

    void reset(Type value = Traits::Empty()) noexcept {
        if (value_ != Traits::Empty()) {
            Traits::Close(value_);
            LiveObjects::Destroyed(Traits::kKind);
        }
        value_ = value;
        Track();
    }

    // Releases now and reports whether the release call succeeded, for callers that record
    // it. False when nothing was held.
    bool Close() noexcept {
        if (value_ == Traits::Empty()) return false;
        const Type value = std::exchange(value_, Traits::Empty());
        LiveObjects::Destroyed(Traits::kKind);
        if constexpr (std::is_void_v<decltype(Traits::Close(value))>) {
            Traits::Close(value);
            return true;
        } else {
            return Traits::Close(value) != 0;
        }
    }

    // Hands ownership out of the library's types (to the system or a caller), so it no
    // longer counts as live here.
    Type release() noexcept {
        if (value_ != Traits::Empty()) LiveObjects::Destroyed(Traits::kKind);
        return std::exchange(value_, Traits::Empty());
    }

  private:
    void Track() noexcept {
        if (value_ != Traits::Empty()) LiveObjects::Created(Traits::kKind);
    }

    Type value_ = Traits::Empty();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static constexpr LiveKind kKind = LiveKind::KernelHandle;
    static Type Empty() noexcept { return nullptr; }
    static BOOL Close(Type h) noexcept { return ::CloseHandle(h); }
};

// File handles use INVALID_HANDLE_VALUE for "none".
struct FileHandleTraits {
    using Type = HANDLE;
    static constexpr LiveKind kKind = LiveKind::KernelHandle;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::CloseHandle(h); }
};

// File searches (FindFirstFileW) end with FindClose.
struct FindHandleTraits {
    using Type = HANDLE;
    static constexpr LiveKind kKind = LiveKind::KernelHandle;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::FindClose(h); }
};

template <typename GdiType>
struct GdiObjectTraits {
    using Type = GdiType;
    static constexpr LiveKind kKind = LiveKind::GdiObject;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeleteObject(h); }
};

// Icons loaded at a size of their own (not shared) are destroyed, not deleted.
struct IconTraits {
    using Type = HICON;
    static constexpr LiveKind kKind = LiveKind::GdiObject;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyIcon(h); }
};

struct ModuleTraits {
    using Type = HMODULE;
    static constexpr LiveKind kKind = LiveKind::Module;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::FreeLibrary(h); }
};

// Memory device contexts (CreateCompatibleDC) are deleted, not released.
struct MemoryDcTraits {
    using Type = HDC;
    static constexpr LiveKind kKind = LiveKind::GdiObject;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DeleteDC(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueHandle<GdiObjectTraits<HPEN>>;
using UniqueBitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using UniqueMemoryDC = UniqueHandle<MemoryDcTraits>;
using UniqueIcon = UniqueHandle<IconTraits>;

}  // namespace quorveltwain
