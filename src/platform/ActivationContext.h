#pragma once
// The activation context of the library's own manifest. A DLL's manifest is not activated
// by the loader, and MinGW-w64 has no isolation-aware wrappers, so every call that creates
// a window or loads the resource library runs inside this context explicitly; otherwise
// the host's context decides, and its windows would get version 5 of the common controls.

#include <windows.h>

#include <utility>

#include "platform/UniqueHandle.h"

namespace quorveltwain {

struct ActivationContextTraits {
    using Type = HANDLE;
    static constexpr LiveKind kKind = LiveKind::KernelHandle;
    static Type Empty() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) noexcept { ::ReleaseActCtx(h); }
};

class ActivationContext {
  public:
    // Resource 2 (RT_MANIFEST) of `module`; invalid when the module has none.
    explicit ActivationContext(HMODULE module) noexcept;
    ActivationContext() noexcept = default;

    // The library's context, made once from LibraryModule(). While no module is known
    // (programs that link the code directly) it is invalid and made on a later call.
    static const ActivationContext& ForLibrary() noexcept;

    bool IsValid() const noexcept { return static_cast<bool>(handle_); }
    HANDLE get() const noexcept { return handle_.get(); }

    // Activates the context for the current thread until the end of the scope. The
    // deactivation keeps the thread's last-error value, so a call wrapped in a scope
    // reports its own error. An invalid context activates nothing.
    class Scope {
      public:
        explicit Scope(const ActivationContext& context) noexcept;
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

        bool IsActive() const noexcept { return active_; }

      private:
        ULONG_PTR cookie_ = 0;
        bool active_ = false;
    };

    // Runs `call` inside the context; the caller sees its result and last error unchanged.
    template <typename Call>
    decltype(auto) Run(Call&& call) const {
        Scope scope(*this);
        return std::forward<Call>(call)();
    }

  private:
    UniqueHandle<ActivationContextTraits> handle_;
};

}  // namespace quorveltwain
