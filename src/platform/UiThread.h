#pragma once
// The message loop shared by the library's own UI threads (settings window, preview,
// profiles). Each thread runs one dialog; the loop ends on WM_QUIT, on a failed
// GetMessageW, or after the message during which the thread's stop flag was set.

#include <windows.h>

#include <atomic>

#include "platform/UniqueHandle.h"

namespace quorveltwain {

// `preHandle(MSG&)` sees every message first; `dialogOf()` names the window whose
// IsDialogMessageW gets it (null: plain translation and dispatch).
//
// A flag set before the loop starts (a close that arrived while the dialog was still being
// created) ends it before the first wait, so no close request is ever lost. A flag set
// from another thread takes effect when the next message reaches this thread: the setter
// posts one (WakeUiThread).
template <typename PreHandle, typename DialogOf>
void RunUiMessageLoop(const std::atomic<bool>& stopFlag, PreHandle&& preHandle,
                      DialogOf&& dialogOf) {
    MSG message;
    while (!stopFlag.load()) {
        const BOOL got = ::GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) break;
        preHandle(message);
        const HWND dialog = dialogOf();
        if (dialog == nullptr || !::IsDialogMessageW(dialog, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

// Starts `routine(parameter)` on a new thread (default security and stack, no flags).
// Returns the owned thread handle (empty on failure) and the thread's identifier.
UniqueKernelHandle StartUiThread(LPTHREAD_START_ROUTINE routine, void* parameter,
                                 DWORD* threadId) noexcept;

// Makes an idle UI thread look at its stop flag: posts it a message that does nothing.
void WakeUiThread(DWORD threadId) noexcept;

// Waits at most `timeoutMs` for the UI thread `thread` to end, serving meanwhile what it
// sends to this thread (its window's owner lives here: UIM_ENABLE on the way out). True
// when the thread ended.
bool WaitForUiThread(HANDLE thread, DWORD timeoutMs) noexcept;

}  // namespace quorveltwain
