#pragma once
// The settings window's life cycle behind OpenUI and CloseUI.

#include "api/UiContext.h"

namespace quorveltwain {

// Builds the main dialog object from the context and starts the settings-window thread,
// which creates and shows the window. Returns at once.
void OpenSettingsWindow(UiContext& context, void* hostParameter);

// Ends the settings window: when it is still open, stops its thread and waits for it in
// 500 ms slices; then destroys the window and forgets the main dialog. Returns only once
// the thread has ended, unless the user had closed the window first.
void CloseSettingsWindow(UiContext& context);

}  // namespace quorveltwain
