#include "api/SettingsWindow.h"

#include <memory>

#include "platform/Trace.h"
#include "platform/UiThread.h"
#include "platform/BoundedText.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMain.h"

namespace quorveltwain {

namespace {

constexpr DWORD kWaitSliceMs = 500;

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

    DlgMain* dialog = DialogSlot<DlgMain>::Install(std::make_unique<DlgMain>());
    dialog->hostWindow_ = context.hostWindow;
    dialog->resourceModule_ = context.resourceModule;
    dialog->settings_ = context.settings;
    dialog->device_ = context.device;
    if (context.device != nullptr) dialog->title_ = FieldText(context.device->model_name);
    dialog->optionValue_ = context.optionValue;
    dialog->hostParameter_ = hostParameter;
    context.mainDialog = dialog;

    dialog->msgLoopThreadHandle_ =
        StartUiThread(&DlgMain::ThreadRoutine, dialog, &dialog->threadId_);
    if (!dialog->msgLoopThreadHandle_) dialog->threadEnded_.store(true);
    Trace(L"Open UI");
}

void CloseSettingsWindow(UiContext& context) {
    DlgMain* dialog = context.mainDialog;
    if (dialog == nullptr) return;
    Trace(L"CloseUI() : isDlgClosed == %d", dialog->isDlgClosed.load() ? 1 : 0);

    // Setting the flag first makes this call the owner of the shutdown; when the user's
    // close got there first, its thread is already on the way out and is not waited for.
    if (!dialog->isDlgClosed.exchange(true) && dialog->msgLoopThreadHandle_) {
        for (;;) {
            WakeUiThread(dialog->threadId_);
            const DWORD result = WaitSlice(dialog->msgLoopThreadHandle_.get());
            Trace(L"WaitForSingleObject(msgLoopThreadHandle_ == 0x%x", result);
            if (result == WAIT_OBJECT_0) break;
        }
        const bool closed = dialog->msgLoopThreadHandle_.Close();
        Trace(L"CloseUI() : CloseHandle(msgLoopThreadHandle) == %d", closed ? 1 : 0);
    }
    // The thread's windows went with it, so this reports 0 once the thread has ended.
    const BOOL destroyed = ::DestroyWindow(dialog->window_);
    Trace(L"CloseUI() : DestroyWindow() == %d", destroyed);
    context.mainDialog = nullptr;
}

}  // namespace quorveltwain
