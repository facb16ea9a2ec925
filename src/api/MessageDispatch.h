#pragma once
// What ShowScanInterruptionUI and ShowErrorMessage do with a message code. Codes 1 and 2
// only switch the Continue button of a shown interruption; any other code shows its
// message, or, while a message is visible, closes it instead.

#include <windows.h>

#include <cstdint>

namespace quorveltwain {

enum class MessageAction {
    Show,             // show the message of the code
    EnableContinue,   // code 1: enable the Continue button, if a window exists
    DisableContinue,  // code 2: disable it
    CloseCurrent,     // another code while a message is visible: close that message
};

inline constexpr std::int32_t kMessageEnableContinue = 1;
inline constexpr std::int32_t kMessageDisableContinue = 2;

MessageAction DecideMessageAction(std::int32_t code, bool messageVisible) noexcept;

// The windows that may own the message window when it is first created.
struct MessageOwnerCandidates {
    bool settingsWindowOpen = false;
    HWND settingsActiveWindow = nullptr;  // the window that currently owns the settings UI
    HWND progressWindow = nullptr;
    HWND previewWindow = nullptr;
};

// The settings window's active window while it is open, else the progress window, else
// the preview window, else none.
HWND ChooseMessageOwner(const MessageOwnerCandidates& candidates) noexcept;

}  // namespace quorveltwain
