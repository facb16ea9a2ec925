#pragma once
// Owner of one COM reference: released exactly once, on replacement or destruction, and
// counted as a live ComReference so tests can prove that nothing is left behind.
// Calling through an empty reference raises ComError(E_POINTER) instead of crashing.

#include <unknwn.h>

#include <utility>

#include "platform/LiveObjects.h"
#include "platform/ComError.h"

namespace quorveltwain {

template <typename T>
class ComPtr {
  public:
    ComPtr() noexcept = default;
    // Takes over one reference the caller already holds.
    explicit ComPtr(T* adopted) noexcept : pointer_(adopted) { Track(); }
    ~ComPtr() { Reset(); }

    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }

    // A reference of our own to an interface someone else holds.
    static ComPtr Borrow(T* borrowed) noexcept {
        if (borrowed != nullptr) borrowed->AddRef();
        return ComPtr(borrowed);
    }

    T* Get() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    T* operator->() const {
        if (pointer_ == nullptr) throw ComError(E_POINTER);
        return pointer_;
    }

    void Reset() noexcept {
        if (pointer_ != nullptr) {
            std::exchange(pointer_, nullptr)->Release();
            LiveObjects::Destroyed(LiveKind::ComReference);
        }
    }

    // Out-parameter for a call that hands back a reference: the old one is released first,
    // and the new one is owned (and counted) once the call's full expression ends.
    class OutParameter {
      public:
        explicit OutParameter(ComPtr& owner) noexcept : owner_(owner) {}
        ~OutParameter() {
            owner_.pointer_ = received_;
            owner_.Track();
        }
        OutParameter(const OutParameter&) = delete;
        OutParameter& operator=(const OutParameter&) = delete;
        operator T**() noexcept { return &received_; }
        operator void**() noexcept { return reinterpret_cast<void**>(&received_); }

      private:
        ComPtr& owner_;
        T* received_ = nullptr;
    };

    OutParameter Put() noexcept {
        Reset();
        return OutParameter(*this);
    }

    // The same object through another of its interfaces; raises ComError if it has none.
    template <typename U>
    ComPtr<U> As() const {
        ComPtr<U> result;
        ThrowIfFailed((*this)->QueryInterface(__uuidof(U), result.Put()));
        return result;
    }

  private:
    void Track() noexcept {
        if (pointer_ != nullptr) LiveObjects::Created(LiveKind::ComReference);
    }

    T* pointer_ = nullptr;
};

}  // namespace quorveltwain
