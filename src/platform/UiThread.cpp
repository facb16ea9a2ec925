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

bool WaitForUiThread(HANDLE thread, DWORD timeoutMs) noexcept {
    if (thread == nullptr) return true;
    const ULONGLONG until = ::GetTickCount64() + timeoutMs;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        if (now >= until) return false;
        const DWORD result = ::MsgWaitForMultipleObjects(
            1, &thread, FALSE, static_cast<DWORD>(until - now), QS_SENDMESSAGE);
        if (result != WAIT_OBJECT_0 + 1) return result == WAIT_OBJECT_0;
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace quorveltwain
