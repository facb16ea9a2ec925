#pragma once
// The one message window of the library: an error, a scan interruption or a question,
// chosen by a message code. The host shows it through ShowScanInterruptionUI and
// ShowErrorMessage; the library's own windows show it to refuse a value or ask a question.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string_view>

#include "platform/UniqueHandle.h"
#include "ui/DlgBase.h"

namespace quorveltwain {

class DlgMessages final : public DlgBase {
  public:
    static constexpr int kFieldChars = 256;

    // Message codes. 0 to 8 come from the host, 101 to 106 from the library's windows;
    // any other code shows the general error.
    static constexpr std::int32_t kInterruption = 0;
    static constexpr std::int32_t kEnableContinue = 1;
    static constexpr std::int32_t kDisableContinue = 2;
    static constexpr std::int32_t kScanError = 4;
    static constexpr std::int32_t kSettingsRefused = 5;
    static constexpr std::int32_t kDisableOwner = 6;
    static constexpr std::int32_t kConnectionLost = 7;
    static constexpr std::int32_t kScannerBusy = 8;
    static constexpr std::int32_t kConfirmDelete = 101;
    static constexpr std::int32_t kConfirmOverwrite = 102;
    static constexpr std::int32_t kValueNotAllowed = 103;
    static constexpr std::int32_t kConfirmDefaults = 104;
    static constexpr std::int32_t kConfirmPreviewReset = 105;
    static constexpr std::int32_t kReservedName = 106;

    // A new object's result, and the result of a window closed without an answer.
    static constexpr std::int32_t kNoAnswer = 1099;

    explicit DlgMessages(const DialogSetup& setup) noexcept : DlgBase(setup) {}
    ~DlgMessages() = default;

    void InitDialog() override;
    void SetTexts() override;

    // The name that the overwrite question (code 102) asks about, and its window title.
    void SetOverwriteQuestion(std::wstring_view name, std::wstring_view title) noexcept;
    // The window title of the reserved-name message (code 106).
    void SetReservedNameTitle(std::wstring_view title) noexcept;
    // Why a value is not allowed: a line below the refusal of code 103. Left out when
    // empty, or when the two do not fit the message together.
    void SetReason(std::wstring_view reason) noexcept;

    // Shows the message of `code`. A modal window returns the identifier of the button
    // that closed it; a modeless one, or a code that shows nothing, returns the result
    // as it stands.
    std::int32_t ShowMessage(std::int32_t code);
    // Closes the window: re-enables the owner, tells the host where the code asks for it,
    // and ends the window the way it was started.
    void CloseMessage();

    // The host's codes 1 and 2 and the closing code reach a shown message through these.
    void SetCode(std::int32_t code) noexcept { code_ = code; }
    std::int32_t Code() const noexcept { return code_; }
    void EnableContinue(bool enable) noexcept;
    // A kept object whose owner has gone is given another one; only while it shows nothing.
    void ChangeOwner(HWND owner) noexcept;
    void ChangeHostWindow(HWND hostWindow) noexcept;
    std::int32_t Result() const noexcept { return result_; }

    // True once a ShowMessage has returned and its window is gone: the slot may then
    // free the object.
    bool Retired() const noexcept { return finished_.load() && Window() == nullptr; }

  private:
    friend class DlgBase;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void EraseBackground(HDC dc, const RECT& client) const noexcept;
    HBRUSH ButtonColor(HDC dc, HWND control) const noexcept;
    void WindowDestroyed() noexcept;

    std::int32_t Show(std::int32_t code);
    void ApplyCode();
    void AppendReason() noexcept;
    void CreateExtraButtons(bool besideCancel);
    void SetImage(int bitmapId);
    void ShowButton(int id, bool visible) noexcept;
    void LoadField(wchar_t (&field)[kFieldChars], UINT stringId) noexcept;
    void Layout();
    void CentreOnOwner() noexcept;
    int PrimaryButton() const noexcept;
    void Answer(std::int32_t button);
    void OnCommand(int id);
    void OnClose();

    wchar_t title_[kFieldChars] = {};          // the window title
    wchar_t message_[kFieldChars] = {};        // the text of the message control
    wchar_t argument_[kFieldChars] = {};       // the name in the overwrite question
    wchar_t questionTitle_[kFieldChars] = {};  // the title of the overwrite question
    wchar_t nameTitle_[kFieldChars] = {};      // the title of the reserved-name message
    wchar_t reason_[kFieldChars] = {};         // the reason below the refusal of a value
    std::int32_t code_ = 0;                    // the code being shown
    std::int32_t result_ = kNoAnswer;          // the button that closed the window
    HWND firstExtraButton_ = nullptr;          // Yes, created for questions
    HWND secondExtraButton_ = nullptr;         // No, created for questions
    std::atomic<bool> finished_{false};
    bool modal_ = false;     // how the current window was started, for CloseMessage
    bool hasImage_ = false;  // the current window shows a bitmap beside the text
    int textGrowth_ = 0;     // pixels the text needs beyond the standard text area
    UniqueBitmap image_;
};

}  // namespace quorveltwain
