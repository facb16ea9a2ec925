// The nine window exports. Each runs on the host's thread, writes its trace line, and
// returns 0 whatever happens: no failure and no exception ever reaches the host.

#include <windows.h>

#include <memory>
#include <new>
#include <cwchar>

#include "api/MessageDispatch.h"
#include "api/ResourceLibrary.h"
#include "api/SettingsWindow.h"
#include "platform/Trace.h"
#include "api/UiContext.h"
#include "twain_ui.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMain.h"
#include "ui/DlgMessages.h"
#include "ui/DlgPreview.h"
#include "ui/DlgProgress.h"
#include "ui/UiMessages.h"

using namespace quorveltwain;

namespace {

template <typename Body>
std::int32_t Guarded(const wchar_t* exportName, Body&& body) noexcept {
    try {
        body();
    } catch (...) {
        // A window export reports nothing; the host sees the same 0 as on success.
        Trace(L"%s refused: it failed before it was done", exportName);
    }
    return 0;
}

// The progress window of the host's scan. While the settings window is open the main
// dialog keeps it and its window owns it; otherwise the context keeps it and the host's
// owner window owns it.
void OpenProgress(UiContext& context) {
    DlgMain* main = context.mainDialog;
    DialogSetup setup;
    setup.resourceModule = main != nullptr ? main->ResourceModule() : context.resourceModule;
    setup.owner = main != nullptr ? main->Window() : context.ownerWindow;
    setup.hostWindow = main != nullptr ? main->HostWindow() : context.hostWindow;
    DlgProgress* shown = DialogSlot<DlgProgress>::Install(std::make_unique<DlgProgress>(setup));
    if (main != nullptr) {
        main->progress_ = shown;
    } else {
        context.progressDialog = shown;
    }
    shown->Open();
}

void CloseProgress(UiContext& context) {
    DlgMain* main = context.mainDialog;
    DlgProgress* progress = main != nullptr ? main->progress_ : context.progressDialog;
    if (progress == nullptr) return;
    progress->Close();
    if (main != nullptr) {
        main->progress_ = nullptr;
    } else {
        context.progressDialog = nullptr;
    }
}

MessageOwnerCandidates OwnerCandidates(const UiContext& context) {
    MessageOwnerCandidates candidates;
    candidates.settingsWindowOpen = context.mainDialog != nullptr;
    if (context.mainDialog != nullptr) {
        candidates.settingsActiveWindow = context.mainDialog->ActiveWindow();
    }
    candidates.progressWindow =
        context.progressDialog != nullptr ? context.progressDialog->Window() : nullptr;
    candidates.previewWindow =
        context.previewDialog != nullptr ? context.previewDialog->Window() : nullptr;
    return candidates;
}

// The message object of the exports: made at the first message and kept for the life of
// the library, with the owner chosen then.
DlgMessages* ExportsMessageDialog(UiContext& context) {
    if (DlgMessages* kept = context.messageDialog) {
        // The owner stays the one chosen at the first message while it exists. Once it is
        // gone (the progress window of an interrupted scan, say), no message could be shown
        // under it again, so the owner is chosen anew.
        if (kept->Owner() != nullptr && !::IsWindow(kept->Owner())) {
            kept->ChangeOwner(ChooseMessageOwner(OwnerCandidates(context)));
        }
        return kept;
    }

    DialogSetup setup;
    setup.resourceModule = context.resourceModule;
    setup.hostWindow = context.hostWindow;
    setup.owner = ChooseMessageOwner(OwnerCandidates(context));
    context.messageDialog =
        DialogSlot<DlgMessages>::InstallForLife(std::make_unique<DlgMessages>(setup));
    return context.messageDialog;
}

void DispatchMessageCode(std::int32_t code) {
    UiContext* context = CurrentUiContext();
    if (context == nullptr) return;
    DlgMessages* dialog = ExportsMessageDialog(*context);

    const HWND window = dialog->Window();
    const bool visible = window != nullptr && ::IsWindowVisible(window);
    switch (DecideMessageAction(code, visible)) {
        case MessageAction::Show:
            dialog->ShowMessage(code);
            break;
        case MessageAction::EnableContinue:
        case MessageAction::DisableContinue:
            dialog->SetCode(code);
            dialog->EnableContinue(code == kMessageEnableContinue);
            break;
        case MessageAction::CloseCurrent:
            dialog->SetCode(code);
            dialog->CloseMessage();
            break;
    }
}

// How long a preview still open from an earlier call may take to close.
constexpr DWORD kPreviewCloseMs = 5000;

// The preview of `imagePath` on a new preview thread: under the settings window with its
// one preview object, or on its own with a new one.
void OpenPreview(UiContext& context, const wchar_t* imagePath) {
    DlgMain* main = context.mainDialog;
    const bool usable =
        imagePath != nullptr && imagePath[0] != L'\0' && std::wcslen(imagePath) < kPathChars;
    if (!usable) {
        // Nothing to show: the settings window must not stay locked waiting for it.
        if (main != nullptr) ::SendMessageW(main->Window(), UIM_ENABLE, 0, 1);
        return;
    }
    DlgPreview* preview = nullptr;
    if (main != nullptr) {
        preview = main->preview_;
        if (preview == nullptr) {
            DialogSetup setup;
            setup.resourceModule = main->ResourceModule();
            setup.owner = main->Window();
            setup.hostWindow = main->HostWindow();
            preview = DialogSlot<DlgPreview>::Install(std::make_unique<DlgPreview>(setup));
            main->preview_ = preview;
        }
        // One preview at a time: a second one replaces the first.
        preview->CloseFromOtherThread(kPreviewCloseMs);
        preview->Prepare(main->Window(), main->HostWindow(), context.settings, imagePath);
    } else {
        if (context.previewDialog != nullptr) {
            context.previewDialog->CloseFromOtherThread(kPreviewCloseMs);
        }
        DialogSetup setup;
        setup.resourceModule = context.resourceModule;
        setup.hostWindow = context.hostWindow;
        preview = DialogSlot<DlgPreview>::Install(std::make_unique<DlgPreview>(setup));
        context.previewDialog = preview;
        preview->Prepare(nullptr, context.hostWindow, context.settings, imagePath);
    }
    preview->StartThread();
}

}  // namespace

extern "C" {

std::int32_t InitializeUI(HWND host_window, ScanSettingsRecord* settings, DevListRecord* device,
                          std::uint32_t* option_value, HWND owner_window) {
    return Guarded(L"InitializeUI", [&] {
        Trace(L"InitializeUI()");
        // The context is never freed: windows of other threads may still reach it while
        // the library is loaded. A repeated call keeps it with everything it already holds
        // (the resource library, the registered font, the message object and an open
        // settings window that CloseUI must still end) and takes the host's new arguments.
        UiContext* context = CurrentUiContext();
        if (context == nullptr) {
            context = new (std::nothrow) UiContext{};
            if (context == nullptr) return;
            // Also initialises COM on the host's thread and clears the four dialog fields.
            LoadResourceLibrary(*context);
        }
        context->module = LibraryModule();
        context->hostWindow = host_window;
        context->settings = settings;
        context->device = device;
        context->optionValue = option_value;
        context->ownerWindow = owner_window;
        if (context->messageDialog != nullptr) {
            context->messageDialog->ChangeHostWindow(host_window);
        }
        SetCurrentUiContext(context);
    });
}

std::int32_t OpenUI(void* reserved) {
    return Guarded(L"OpenUI", [&] {
        Trace(L"OpenUI()");
        if (UiContext* context = CurrentUiContext()) OpenSettingsWindow(*context, reserved);
    });
}

std::int32_t CloseUI(void) {
    return Guarded(L"CloseUI", [] {
        Trace(L"CloseUI()");
        UiContext* context = CurrentUiContext();
        if (context != nullptr) CloseSettingsWindow(*context);
    });
}

std::int32_t ShowScanProgress(void) {
    return Guarded(L"ShowScanProgress", [] {
        Trace(L"ShowScanProgress()");
        if (UiContext* context = CurrentUiContext()) OpenProgress(*context);
    });
}

std::int32_t CloseScanProgress(void) {
    return Guarded(L"CloseScanProgress", [] {
        Trace(L"CloseScanProgress()");
        if (UiContext* context = CurrentUiContext()) CloseProgress(*context);
    });
}

std::int32_t CancelScanUI(void) {
    return Guarded(L"CancelScanUI", [] {
        Trace(L"CancelScanUI()");
        if (UiContext* context = CurrentUiContext()) CloseProgress(*context);
    });
}

std::int32_t ShowScanInterruptionUI(std::int32_t message_code) {
    return Guarded(L"ShowScanInterruptionUI", [&] {
        Trace(L"ShowScanInterruptionUI() error_code == %d", message_code);
        DispatchMessageCode(message_code);
    });
}

std::int32_t ShowErrorMessage(std::int32_t message_code) {
    return Guarded(L"ShowErrorMessage", [&] {
        Trace(L"ShowErrorMessage() error_code == %d", message_code);
        DispatchMessageCode(message_code);
    });
}

std::int32_t ShowPreviewImage(const wchar_t* image_path) {
    return Guarded(L"ShowPreviewImage", [&] {
        if (UiContext* context = CurrentUiContext()) OpenPreview(*context, image_path);
        // The one export that traces last: the line records the path it went on to show.
        Trace(L"ShowPreviewImage() : %s", image_path != nullptr ? image_path : L"");
    });
}

}  // extern "C"
