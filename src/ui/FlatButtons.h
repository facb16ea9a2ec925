#pragma once
// Push buttons in the colour scheme. The buttons stay ordinary BUTTON windows (keyboard,
// default-button and accessibility behaviour come from the system); their dialog paints
// them through the common controls' custom-draw notification.

#include <windows.h>

#include "ui/ColorScheme.h"

namespace quorveltwain {

class FlatButtons {
  public:
    // For a dialog procedure's WM_NOTIFY: paints an NM_CUSTOMDRAW push button of the
    // dialog and stores the notification result in DWLP_MSGRESULT. `primaryId` names the
    // button drawn as the suggested action (0: none), `background` the colour around the
    // buttons. Returns TRUE when it handled the notification.
    static INT_PTR OnNotify(HWND dialog, LPARAM lParam, int primaryId,
                            SchemeColor background) noexcept;
};

}  // namespace quorveltwain
