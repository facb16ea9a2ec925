#pragma once
// The library's own window messages. Dialogs talk to the main window (and a message window
// to its owner) only through these, always with SendMessageW, also across threads, so the
// handler runs on the receiving window's thread while the sender waits.
//
// They lie above WM_APP's range on purpose: numbers that no system control or host
// framework uses. UIM_ENABLE and UIM_SET_ACTIVE_WINDOW are also defined by the host header,
// because a host's owner window receives them while no settings window is open.

#include "twain_ui.h"

// lParam low byte: 0 disable, 1 enable the main window, its pages and panes.
static_assert(UIM_ENABLE == 100001);
// wParam: the WM_COMMAND wParam of a page control (its identifier in the low word).
#define UIM_CONTROL_CHANGED 100002
// Open the saved configurations window.
#define UIM_OPEN_PROFILES 100003
// Load the default settings into the record.
#define UIM_APPLY_DEFAULTS 100004
// The settings record was replaced: reload the page controls.
#define UIM_RELOAD_SETTINGS 100005
// Start a scan as if Scan were pressed.
#define UIM_SCAN 100006
// Sent by a message window to its owner: the user answered Yes to the overwrite question.
#define UIM_OVERWRITE_CONFIRMED 100007
// Sent by a message window to its owner: the user confirmed the deletion question.
#define UIM_DELETE_CONFIRMED 100008
// wParam: the page to show.
#define UIM_SELECT_PAGE 100009
// The details pane takes the binder's record.
#define UIM_SYNC_DETAILS 100010
// wParam: the window that now owns the UI.
static_assert(UIM_SET_ACTIVE_WINDOW == 100011);
