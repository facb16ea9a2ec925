#include "platform/LibraryModule.h"

namespace quorveltwain {

namespace {
HMODULE g_libraryModule = nullptr;
}  // namespace

HMODULE LibraryModule() noexcept {
    return g_libraryModule;
}
void SetLibraryModule(HMODULE module) noexcept {
    g_libraryModule = module;
}

}  // namespace quorveltwain
