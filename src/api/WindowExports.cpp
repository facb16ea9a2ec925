// The nine window exports. Each runs on the host's thread, writes its trace line, and
// returns 0 whatever happens: no failure and no exception ever reaches the host.

#include <windows.h>

#include <memory>
#include <new>

#include "api/MessageDispatch.h"
#include "api/ResourceLibrary.h"
#include "api/SettingsWindow.h"
#include "platform/Trace.h"
#include "api/UiContext.h"
#include "ResourceIds.h"
#include "twain_ui.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMain.h"
#include "ui/DlgMessages.h"
#include "ui/DlgProgress.h"
#include "platform/WindowCreation.h"

using namespace quorveltwain;

namespace {

template <typename Body>
std::int32_t Guarded(Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        // A window export reports nothing; the host sees the same 0 as on success.
    }
    return 0;
}

// The progress window of the host's scan. While the settings window is open the main
// dialog keeps it and its window owns it; otherwise the context keeps it and the host's
// owner window owns it.
void OpenProgress(UiContext& context) {
    DlgMain* main = context.mainDialog;
    auto progress = std::make_unique<DlgProgress>();
    progress->resourceModule_ = main != nullptr ? main->resourceModule_ : context.resourceModule;
    progress->owner_ = main != nullptr ? main->window_ : context.ownerWindow;
    progress->hostWindow_ = main != nullptr ? main->hostWindow_ : context.hostWindow;
    DlgProgress* shown = DialogSlot<DlgProgress>::Install(std::move(progress));
    if (main != nullptr) {
        main->progress_ = shown;
    } else {
        context.progressDialog = shown;
    }

    const HWND window = CreateModelessDialog(shown->resourceModule_, IDD_PROGRESS, shown->owner_,
                                             &DlgProgress::Procedure);
    if (window != nullptr) ::ShowWindow(window, SW_SHOW);
}

void CloseProgress(UiContext& context) {
    DlgMain* main = context.mainDialog;
    DlgProgress* progress = main != nullptr ? main->progress_ : context.progressDialog;
    if (progress == nullptr) return;
    if (progress->owner_ != nullptr) ::SendMessageW(progress->owner_, UIM_ENABLE, 0, 1);
    if (progress->window_ != nullptr) ::DestroyWindow(progress->window_);
    if (main != nullptr) {
        main->progress_ = nullptr;
    } else {
        context.progressDialog = nullptr;
    }
}

// The message object of the exports: made at the first message and kept for the life of
// the library, with the owner chosen then.
DlgMessages* ExportsMessageDialog(UiContext& context) {
    MessageOwnerCandidates candidates;
    candidates.settingsWindowOpen = context.mainDialog != nullptr;
    if (context.mainDialog != nullptr) {
        candidates.settingsActiveWindow = context.mainDialog->activeWindow_;
    }
    candidates.progressWindow =
        context.progressDialog != nullptr ? context.progressDialog->window_ : nullptr;
    // The preview window (field 10) joins the candidates with the preview dialog.

    if (DlgMessages* kept = context.messageDialog) {
        // The owner stays the one chosen at the first message while it exists. Once it is
        // gone (the progress window of an interrupted scan, say), no message could be shown
        // under it again, so the owner is chosen anew.
        if (kept->owner_ != nullptr && !::IsWindow(kept->owner_)) {
            kept->owner_ = ChooseMessageOwner(candidates);
        }
        return kept;
    }

    auto dialog = std::make_unique<DlgMessages>();
    dialog->result_ = DlgMessages::kNoAnswer;
    dialog->resourceModule_ = context.resourceModule;
    dialog->hostWindow_ = context.hostWindow;
    dialog->owner_ = ChooseMessageOwner(candidates);
    context.messageDialog = DialogSlot<DlgMessages>::InstallForLife(std::move(dialog));
    return context.messageDialog;
}

void DispatchMessageCode(std::int32_t code) {
    UiContext* context = CurrentUiContext();
    if (context == nullptr) return;
    DlgMessages* dialog = ExportsMessageDialog(*context);

    const bool visible = dialog->window_ != nullptr && ::IsWindowVisible(dialog->window_);
    switch (DecideMessageAction(code, visible)) {
        case MessageAction::Show:
            DialogSlot<DlgMessages>::MakeCurrent(dialog);
            dialog->ShowMessage(code);
            break;
        case MessageAction::EnableContinue:
        case MessageAction::DisableContinue:
            dialog->code_ = code;
            if (dialog->window_ != nullptr) {
                ::EnableWindow(::GetDlgItem(dialog->window_, IDC_MESSAGE_CONTINUE),
                               code == kMessageEnableContinue);
            }
            break;
        case MessageAction::CloseCurrent:
            dialog->code_ = code;
            DialogSlot<DlgMessages>::MakeCurrent(dialog);
            dialog->CloseMessage();
            break;
    }
}

}  // namespace

extern "C" {

std::int32_t InitializeUI(HWND host_window, ScanSettingsRecord* settings, DevListRecord* device,
                          std::uint32_t* option_value, HWND owner_window) {
    return Guarded([&] {
        Trace(L"InitializeUI()");
        // The context is never freed: windows of other threads may still reach it while
        // the library is loaded. A repeated call reuses it instead of leaking another.
        UiContext* context = CurrentUiContext();
        if (context == nullptr) {
            context = new (std::nothrow) UiContext{};
            if (context == nullptr) return;
        }
        // Also initialises COM on the host's thread and clears the four dialog fields.
        LoadResourceLibrary(*context);
        context->module = LibraryModule();
        context->hostWindow = host_window;
        context->settings = settings;
        context->device = device;
        context->optionValue = option_value;
        context->ownerWindow = owner_window;
        SetCurrentUiContext(context);
    });
}

std::int32_t OpenUI(void* reserved) {
    return Guarded([&] {
        Trace(L"OpenUI()");
        if (UiContext* context = CurrentUiContext()) OpenSettingsWindow(*context, reserved);
    });
}

std::int32_t CloseUI(void) {
    return Guarded([] {
        Trace(L"CloseUI()");
        UiContext* context = CurrentUiContext();
        if (context != nullptr) CloseSettingsWindow(*context);
    });
}

std::int32_t ShowScanProgress(void) {
    return Guarded([] {
        Trace(L"ShowScanProgress()");
        if (UiContext* context = CurrentUiContext()) OpenProgress(*context);
    });
}

std::int32_t CloseScanProgress(void) {
    return Guarded([] {
        Trace(L"CloseScanProgress()");
        if (UiContext* context = CurrentUiContext()) CloseProgress(*context);
    });
}

std::int32_t CancelScanUI(void) {
    return Guarded([] {
        Trace(L"CancelScanUI()");
        if (UiContext* context = CurrentUiContext()) CloseProgress(*context);
    });
}

std::int32_t ShowScanInterruptionUI(std::int32_t message_code) {
    return Guarded([&] {
        Trace(L"ShowScanInterruptionUI() error_code == %d", message_code);
        DispatchMessageCode(message_code);
    });
}

std::int32_t ShowErrorMessage(std::int32_t message_code) {
    return Guarded([&] {
        Trace(L"ShowErrorMessage() error_code == %d", message_code);
        DispatchMessageCode(message_code);
    });
}

std::int32_t ShowPreviewImage(const wchar_t* image_path) {
    return Guarded([&] {
        // The one export that traces last: the line records the path it went on to show.
        Trace(L"ShowPreviewImage() : %s", image_path != nullptr ? image_path : L"");
    });
}

}  // extern "C"
