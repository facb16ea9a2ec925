#include "platform/LiveObjects.h"

#include <atomic>

namespace quorveltwain {

namespace {
#ifdef TWAINUI_COUNT_LIVE_OBJECTS
std::atomic<long> g_live[static_cast<std::size_t>(LiveKind::Count_)];
#endif
}  // namespace

void LiveObjects::Created([[maybe_unused]] LiveKind kind) noexcept {
#ifdef TWAINUI_COUNT_LIVE_OBJECTS
    g_live[static_cast<std::size_t>(kind)].fetch_add(1, std::memory_order_relaxed);
#endif
}

void LiveObjects::Destroyed([[maybe_unused]] LiveKind kind) noexcept {
#ifdef TWAINUI_COUNT_LIVE_OBJECTS
    g_live[static_cast<std::size_t>(kind)].fetch_sub(1, std::memory_order_relaxed);
#endif
}

long LiveObjects::Count([[maybe_unused]] LiveKind kind) noexcept {
#ifdef TWAINUI_COUNT_LIVE_OBJECTS
    return g_live[static_cast<std::size_t>(kind)].load(std::memory_order_relaxed);
#else
    return 0;
#endif
}

}  // namespace quorveltwain
