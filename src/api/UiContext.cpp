#include "api/UiContext.h"

namespace quorveltwain {

namespace {
UiContext* g_uiContext = nullptr;
}  // namespace

UiContext* CurrentUiContext() noexcept {
    return g_uiContext;
}
void SetCurrentUiContext(UiContext* context) noexcept {
    g_uiContext = context;
}

}  // namespace quorveltwain
