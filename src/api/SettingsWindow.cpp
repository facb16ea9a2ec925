#include "api/SettingsWindow.h"

#include <memory>

#include "api/Trace.h"
#include "api/UiThread.h"
#include "common/BoundedText.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMain.h"

namespace quorveltwain {

namespace {
constexpr DWORD kWaitSliceMs = 500;
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
            const DWORD result =
                ::WaitForSingleObject(dialog->msgLoopThreadHandle_.get(), kWaitSliceMs);
            Trace(L"WaitForSingleObject(msgLoopThreadHandle_ == 0x%x", result);
            if (result == WAIT_OBJECT_0) break;
            // The settings thread may be inside a synchronous message to the host's window
            // (a scan request); let it through, or each thread would wait for the other.
            MSG message;
            ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
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
