#include "platform/UiThread.h"

namespace quorveltwain {

UniqueKernelHandle StartUiThread(LPTHREAD_START_ROUTINE routine, void* parameter,
                                 DWORD* threadId) noexcept {
    DWORD id = 0;
    UniqueKernelHandle thread(::CreateThread(nullptr, 0, routine, parameter, 0, &id));
    if (threadId != nullptr) *threadId = thread ? id : 0;
    return thread;
}

void WakeUiThread(DWORD threadId) noexcept {
    // Fails harmlessly while the thread has no message queue yet; the loop then sees the
    // flag before its first wait.
    if (threadId != 0) ::PostThreadMessageW(threadId, WM_NULL, 0, 0);
}

}  // namespace quorveltwain
