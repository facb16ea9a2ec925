#include "platform/ActivationContext.h"

#include <mutex>

#include "platform/LibraryModule.h"

namespace quorveltwain {

ActivationContext::ActivationContext(HMODULE module) noexcept {
    if (module == nullptr) return;
    ACTCTXW request{};
    request.cbSize = sizeof(request);
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.hModule = module;
    // ISOLATIONAWARE_MANIFEST_RESOURCE_ID, spelt as a number: MinGW defines it as a pointer.
    request.lpResourceName = MAKEINTRESOURCEW(2);
    ;
    handle_.reset(CreateActCtxW(&request));
}

const ActivationContext& ActivationContext::ForLibrary() noexcept {
    static std::mutex guard;
    static ActivationContext library;
    static bool made = false;
    const std::lock_guard<std::mutex> lock(guard);
    if (!made && LibraryModule() != nullptr) {
        library = ActivationContext(LibraryModule());
        made = true;
    }
    return library;
}

ActivationContext::Scope::Scope(const ActivationContext& context) noexcept {
    if (context.IsValid()) active_ = ActivateActCtx(context.get(), &cookie_) != FALSE;
}

ActivationContext::Scope::~Scope() {
    if (!active_) return;
    const DWORD lastError = GetLastError();
    DeactivateActCtx(0, cookie_);
    SetLastError(lastError);
}

}  // namespace quorveltwain
