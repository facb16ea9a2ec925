#include "api/SettingsWindow.h"

#include <memory>

#include "platform/Trace.h"
#include "platform/UiThread.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMain.h"
#include "ui/DlgPreview.h"

namespace quorveltwain {

namespace {

constexpr DWORD kWaitSliceMs = 500;
constexpr int kFailedWaitsBeforeGivingUp = 3;
// How long the preview thread may take to close its window.
constexpr DWORD kPreviewCloseMs = 5000;

// WaitForSingleObject(thread, 500) that lets messages sent to this thread through while it
// waits. The settings thread sends to the host's windows (a scan request, activation
// changes while its window is destroyed); a host thread blocked in a plain wait would hold
// it up for whole slices, or for ever. Returns WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED.
DWORD WaitSlice(HANDLE thread) noexcept {
    const ULONGLONG end = ::GetTickCount64() + kWaitSliceMs;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        const DWORD remaining = now >= end ? 0 : static_cast<DWORD>(end - now);
        const DWORD result =
            ::MsgWaitForMultipleObjectsEx(1, &thread, remaining, QS_SENDMESSAGE, 0);
        if (result != WAIT_OBJECT_0 + 1) return result;
        // Only sent messages are handled here; posted ones stay queued for the host.
        MSG message;
        ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace

void OpenSettingsWindow(UiContext& context, void* hostParameter) {
    // One settings window at a time: a second OpenUI while it is open changes nothing.
    if (context.mainDialog != nullptr && !context.mainDialog->isDlgClosed.load()) return;

    DialogSetup setup;
    setup.resourceModule = context.resourceModule;
    setup.hostWindow = context.hostWindow;
    MainDialogData data;
    data.settings = context.settings;
    data.device = context.device;
    data.optionValue = context.optionValue;
    data.hostParameter = hostParameter;
    DlgMain* dialog = DialogSlot<DlgMain>::Install(std::make_unique<DlgMain>(setup, data));
    context.mainDialog = dialog;

    dialog->StartThread();
    Trace(L"Open UI");
}

void CloseSettingsWindow(UiContext& context) {
    DlgMain* dialog = context.mainDialog;
    if (dialog == nullptr) return;
    Trace(L"CloseUI() : isDlgClosed == %d", dialog->isDlgClosed.load() ? 1 : 0);

    // Setting the flag first makes this call the owner of the shutdown; when the user's
    // close got there first, its thread is already on the way out and is not waited for.
    // An open preview is closed first, from here: its file is deleted and its thread told
    // to stop before the settings thread is waited for.
    if (!dialog->isDlgClosed.load() && dialog->preview_ != nullptr) {
        dialog->preview_->CloseFromOtherThread(kPreviewCloseMs);
    }
    if (!dialog->isDlgClosed.exchange(true) && dialog->msgLoopThreadHandle_) {
        int failedWaits = 0;
        for (;;) {
            dialog->WakeThread();
            dialog->CloseSecondaryWindows();
            const ULONGLONG sliceStart = ::GetTickCount64();
            const DWORD result = WaitSlice(dialog->msgLoopThreadHandle_.get());
            Trace(L"WaitForSingleObject(msgLoopThreadHandle_ == 0x%x", result);
            if (result == WAIT_OBJECT_0) break;
            if (result != WAIT_FAILED) {
                failedWaits = 0;
                continue;
            }
            // A wait that fails (a handle that is no longer a thread) fails at once and
            // would fail for ever: keep the slice's pace, try a few times, then give up on
            // the thread rather than hang the host.
            const DWORD error = ::GetLastError();
            if (++failedWaits >= kFailedWaitsBeforeGivingUp) {
                Trace(
                    L"CloseUI() : the settings thread cannot be waited for (error %lu); "
                    L"not waiting any longer",
                    error);
                break;
            }
            const ULONGLONG spent = ::GetTickCount64() - sliceStart;
            if (spent < kWaitSliceMs) ::Sleep(static_cast<DWORD>(kWaitSliceMs - spent));
        }
        const bool closed = dialog->msgLoopThreadHandle_.Close();
        Trace(L"CloseUI() : CloseHandle(msgLoopThreadHandle) == %d", closed ? 1 : 0);
    }
    // The thread's windows went with it, so this reports 0 once the thread has ended.
    const BOOL destroyed = ::DestroyWindow(dialog->Window());
    Trace(L"CloseUI() : DestroyWindow() == %d", destroyed);
    context.mainDialog = nullptr;
}

}  // namespace quorveltwain
