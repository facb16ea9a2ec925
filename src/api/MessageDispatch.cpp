#include "api/MessageDispatch.h"

namespace quorveltwain {

MessageAction DecideMessageAction(std::int32_t code, bool messageVisible) noexcept {
    if (code == kMessageEnableContinue) return MessageAction::EnableContinue;
    if (code == kMessageDisableContinue) return MessageAction::DisableContinue;
    return messageVisible ? MessageAction::CloseCurrent : MessageAction::Show;
}

HWND ChooseMessageOwner(const MessageOwnerCandidates& candidates) noexcept {
    if (candidates.settingsWindowOpen) return candidates.settingsActiveWindow;
    if (candidates.progressWindow != nullptr) return candidates.progressWindow;
    return candidates.previewWindow;
}

}  // namespace quorveltwain
