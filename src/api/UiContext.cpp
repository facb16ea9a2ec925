#include "api/UiContext.h"

namespace quorveltwain {

namespace {
HMODULE g_libraryModule = nullptr;
UiContext* g_uiContext = nullptr;
}  // namespace

HMODULE LibraryModule() noexcept { return g_libraryModule; }
void SetLibraryModule(HMODULE module) noexcept { g_libraryModule = module; }

UiContext* CurrentUiContext() noexcept { return g_uiContext; }
void SetCurrentUiContext(UiContext* context) noexcept { g_uiContext = context; }

}  // namespace quorveltwain
