#include "ui/DlgMessages.h"

#include <algorithm>

#include "platform/BoundedText.h"
#include "platform/ScopedSelect.h"
#include "platform/ScopedWindowDC.h"
#include "ResourceIds.h"
#include "ui/ColorScheme.h"
#include "ui/DialogPainter.h"
#include "ui/FlatButtons.h"
#include "ui/ResourceText.h"
#include "ui/UiMessages.h"

namespace quorveltwain {

namespace {

// The question buttons are placed in client pixels at fixed places, so the whole window is
// laid out in pixels around them: the buttons of the template take the same places, and
// the text and picture fill the white area above the grey button band.
constexpr int kClientWidth = 352;
constexpr int kClientHeight = 137;
constexpr int kButtonTop = 101;
constexpr int kButtonWidth = 91;
constexpr int kButtonHeight = 24;
constexpr int kLeftPlace = 68;     // first of three buttons
constexpr int kMiddlePlace = 160;  // first of two, second of three
constexpr int kRightPlace = 251;   // last button
constexpr int kBandTop = 89;
constexpr int kMargin = 20;
constexpr int kImageSize = 40;
constexpr int kImageTextGap = 16;
// A text taller than the standard area (a reason below a refusal, a long translation)
// pushes the band and the buttons down by what it needs, up to this much.
constexpr int kMaxTextGrowth = 240;

// The bitmap is part of a modeless message only; modal ones show the text alone.
bool ShowsImageWhenModeless(std::int32_t code) noexcept {
    return code == DlgMessages::kInterruption || code == DlgMessages::kSettingsRefused ||
           code == DlgMessages::kConnectionLost || code == DlgMessages::kScannerBusy;
}

bool IsQuestion(std::int32_t code) noexcept {
    return code == DlgMessages::kConfirmDelete || code == DlgMessages::kConfirmOverwrite ||
           code == DlgMessages::kConfirmDefaults || code == DlgMessages::kConfirmPreviewReset;
}

void PlaceButton(HWND dialog, int id, int x, int top) noexcept {
    const HWND button = ::GetDlgItem(dialog, id);
    if (button != nullptr) {
        ::SetWindowPos(button, nullptr, x, top, kButtonWidth, kButtonHeight,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Yes and No of a question: beside Cancel when there is one, else at the right.
struct QuestionPlaces {
    int yes;
    int no;
};
QuestionPlaces PlacesOfQuestion(bool besideCancel) noexcept {
    return besideCancel ? QuestionPlaces{kLeftPlace, kMiddlePlace}
                        : QuestionPlaces{kMiddlePlace, kRightPlace};
}

}  // namespace

void DlgMessages::SetOverwriteQuestion(std::wstring_view name, std::wstring_view title) noexcept {
    CopyToField(argument_, name);
    CopyToField(questionTitle_, title);
}

void DlgMessages::SetReservedNameTitle(std::wstring_view title) noexcept {
    CopyToField(nameTitle_, title);
}

void DlgMessages::SetReason(std::wstring_view reason) noexcept {
    CopyToField(reason_, reason);
}

void DlgMessages::EnableContinue(bool enable) noexcept {
    if (const HWND window = Window()) {
        ::EnableWindow(::GetDlgItem(window, IDC_MESSAGE_CONTINUE), enable ? TRUE : FALSE);
    }
}

void DlgMessages::ChangeOwner(HWND owner) noexcept {
    if (Window() == nullptr) owner_ = owner;
}

void DlgMessages::ChangeHostWindow(HWND hostWindow) noexcept {
    if (Window() == nullptr) hostWindow_ = hostWindow;
}

void DlgMessages::SetTexts() {
    const struct {
        int control;
        UINT text;
    } buttons[] = {
        {IDC_MESSAGE_CONTINUE, IDS_CONTINUE},
        {IDC_MESSAGE_CANCEL, IDS_CANCEL},
        {IDC_MESSAGE_OK, IDS_OK},
    };
    for (const auto& button : buttons) {
        ResourceText text(resourceModule_, button.text);
        ::SetDlgItemTextW(Window(), button.control, text.c_str());
    }
}

void DlgMessages::InitDialog() {
    SetTexts();
    Layout();
    ApplyCode();
}

void DlgMessages::LoadField(wchar_t (&field)[kFieldChars], UINT stringId) noexcept {
    ResourceText text(resourceModule_, stringId);
    CopyToField(field, text.c_str());
}

void DlgMessages::ShowButton(int id, bool visible) noexcept {
    const HWND button = ::GetDlgItem(Window(), id);
    if (button != nullptr) ::ShowWindow(button, visible ? SW_SHOW : SW_HIDE);
}

void DlgMessages::SetImage(int bitmapId) {
    image_.reset(::LoadBitmapW(resourceModule_, MAKEINTRESOURCEW(bitmapId)));
    ::SendDlgItemMessageW(Window(), IDC_MESSAGE_IMAGE, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(image_.get()));
    hasImage_ = static_cast<bool>(image_);
    Layout();
}

// The texts, picture and buttons of the current code; run for every window it opens.
void DlgMessages::ApplyCode() {
    LoadField(title_, IDS_MESSAGE_TITLE);
    int image = 0;
    switch (code_) {
        case kInterruption:
            LoadField(title_, IDS_INTERRUPTION_TITLE);
            LoadField(message_, IDS_INTERRUPTION_TEXT);
            ShowButton(IDC_MESSAGE_CONTINUE, true);
            ShowButton(IDC_MESSAGE_CANCEL, true);
            ShowButton(IDC_MESSAGE_OK, false);
            break;
        case kSettingsRefused:
        case kValueNotAllowed:
            LoadField(message_, IDS_SETTINGS_REFUSED_TEXT);
            if (code_ == kSettingsRefused) ShowButton(IDC_MESSAGE_OK, true);
            if (code_ == kValueNotAllowed) AppendReason();
            break;
        case kConnectionLost:
            LoadField(message_, IDS_CONNECTION_LOST_TEXT);
            ShowButton(IDC_MESSAGE_OK, true);
            break;
        case kScannerBusy:
            LoadField(message_, IDS_SCANNER_BUSY_TEXT);
            ShowButton(IDC_MESSAGE_OK, true);
            break;
        case kConfirmDelete:
            LoadField(title_, IDS_DELETE_TITLE);
            LoadField(message_, IDS_DELETE_TEXT);
            image = IDB_MESSAGE_QUESTION;
            break;
        case kConfirmOverwrite: {
            CopyToField(title_, FieldText(questionTitle_));
            ResourceText format(resourceModule_, IDS_OVERWRITE_TEXT);
            // Cut to the field, whatever the length of the name or of a translated text.
            FormatToField(message_, format.c_str(), {FieldText(argument_)});
            image = IDB_MESSAGE_QUESTION;
            ShowButton(IDC_MESSAGE_CANCEL, true);
            break;
        }
        case kConfirmDefaults:
            LoadField(title_, IDS_DEFAULTS_TITLE);
            LoadField(message_, IDS_DEFAULTS_TEXT);
            image = IDB_MESSAGE_QUESTION;
            break;
        case kConfirmPreviewReset:
            LoadField(title_, IDS_PREVIEW_RESET_TITLE);
            LoadField(message_, IDS_PREVIEW_RESET_TEXT);
            image = IDB_MESSAGE_QUESTION;
            break;
        case kReservedName:
            CopyToField(title_, FieldText(nameTitle_));
            LoadField(message_, IDS_RESERVED_NAME_TEXT);
            ShowButton(IDC_MESSAGE_CONTINUE, false);
            ShowButton(IDC_MESSAGE_CANCEL, false);
            ShowButton(IDC_MESSAGE_OK, true);
            break;
        default:
            LoadField(message_, IDS_SCAN_ERROR_TEXT);
            break;
    }
    if (!modal_ && ShowsImageWhenModeless(code_)) image = IDB_MESSAGE_WARNING;
    if (image != 0) SetImage(image);
    if (IsQuestion(code_)) {
        ShowButton(IDC_MESSAGE_OK, false);
        CreateExtraButtons(code_ == kConfirmOverwrite);
    }
    ::SetWindowTextW(Window(), title_);
    ::SetDlgItemTextW(Window(), IDC_MESSAGE_TEXT, message_);
    Layout();
}

// Only a whole reason is shown: a cut one could name the wrong setting or value.
void DlgMessages::AppendReason() noexcept {
    const std::wstring_view refusal = FieldText(message_);
    const std::wstring_view reason = FieldText(reason_);
    if (reason.empty() || refusal.size() + 1 + reason.size() >= kFieldChars) return;
    std::size_t length = refusal.size();
    message_[length++] = L'\n';
    reason.copy(message_ + length, reason.size());
    message_[length + reason.size()] = L'\0';
}

void DlgMessages::CreateExtraButtons(bool besideCancel) {
    // The dialog's own font, so the added buttons read like the template's.
    const auto dialogFont = static_cast<WPARAM>(::SendMessageW(Window(), WM_GETFONT, 0, 0));

    const QuestionPlaces places = PlacesOfQuestion(besideCancel);
    const struct {
        int id;
        UINT text;
        int x;
        HWND* field;
    } buttons[] = {
        {IDC_MESSAGE_YES, IDS_YES, places.yes, &firstExtraButton_},
        {IDC_MESSAGE_NO, IDS_NO, places.no, &secondExtraButton_},
    };
    for (const auto& button : buttons) {
        ResourceText text(resourceModule_, button.text);
        *button.field = CreatePlainWindow(
            0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_FLAT, button.x,
            kButtonTop + textGrowth_, kButtonWidth, kButtonHeight, Window(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(button.id)), resourceModule_, nullptr);
        if (*button.field != nullptr && dialogFont != 0) {
            ::SendMessageW(*button.field, WM_SETFONT, dialogFont, TRUE);
        }
    }
    // Questions start on Yes, whatever control the template put first.
    if (firstExtraButton_ != nullptr) {
        ::PostMessageW(Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(firstExtraButton_), TRUE);
    }
}

// Pins the client area and the template's controls to the pixel places of the buttons,
// moved down as far as the text needs. Mirrored (right-to-left) windows mirror these client
// coordinates by themselves.
void DlgMessages::Layout() {
    const HWND text = ::GetDlgItem(Window(), IDC_MESSAGE_TEXT);
    const int left = hasImage_ ? kMargin + kImageSize + kImageTextGap : kMargin;
    const int width = kClientWidth - kMargin - left;
    const int available = kBandTop - kMargin / 2 - (kMargin - 4);

    // A short text sits level with the middle of the picture; a long one uses the area, and
    // one longer still makes the area taller.
    int height = available;
    textGrowth_ = 0;
    if (text != nullptr) {
        ScopedWindowDC dc(text);
        if (dc.get() != nullptr) {
            ScopedSelect font(dc.get(),
                              reinterpret_cast<HFONT>(::SendMessageW(text, WM_GETFONT, 0, 0)));
            RECT measure{0, 0, width, 0};
            ::DrawTextW(dc.get(), message_, -1, &measure, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
            if (measure.bottom > available) {
                textGrowth_ =
                    std::min(static_cast<int>(measure.bottom) - available, kMaxTextGrowth);
                height = available + textGrowth_;
            } else if (measure.bottom > 0) {
                height = measure.bottom;
            }
        }
    }

    RECT frame{0, 0, kClientWidth, kClientHeight + textGrowth_};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(Window(), GWL_STYLE)),
                         FALSE, static_cast<DWORD>(::GetWindowLongPtrW(Window(), GWL_EXSTYLE)));
    ::SetWindowPos(Window(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    const int buttonTop = kButtonTop + textGrowth_;
    PlaceButton(Window(), IDC_MESSAGE_CONTINUE, kMiddlePlace, buttonTop);
    PlaceButton(Window(), IDC_MESSAGE_CANCEL, kRightPlace, buttonTop);
    PlaceButton(Window(), IDC_MESSAGE_OK, kRightPlace, buttonTop);
    const QuestionPlaces question = PlacesOfQuestion(code_ == kConfirmOverwrite);
    PlaceButton(Window(), IDC_MESSAGE_YES, question.yes, buttonTop);
    PlaceButton(Window(), IDC_MESSAGE_NO, question.no, buttonTop);

    const HWND image = ::GetDlgItem(Window(), IDC_MESSAGE_IMAGE);
    if (image != nullptr) {
        ::SetWindowPos(image, nullptr, kMargin, kMargin, kImageSize, kImageSize,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        // A mirrored window mirrors its children's drawing too; the picture keeps its
        // place on the reading side but must not be drawn back to front (a question mark).
        ::SetWindowLongPtrW(image, GWL_EXSTYLE,
                            ::GetWindowLongPtrW(image, GWL_EXSTYLE) & ~WS_EX_LAYOUTRTL);
        ::ShowWindow(image, hasImage_ ? SW_SHOWNA : SW_HIDE);
    }

    if (text == nullptr) return;
    int top = kMargin - 4;
    if (hasImage_ && height < kImageSize)
        top = kMargin + (kImageSize - height) / 2;
    else if (!hasImage_ && height < available)
        top = (kBandTop - height) / 2;
    ::SetWindowPos(text, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void DlgMessages::CentreOnOwner() noexcept {
    RECT ownerRect{};
    RECT own{};
    if (!::GetWindowRect(owner_, &ownerRect) || !::GetWindowRect(Window(), &own)) return;
    const int ownWidth = own.right - own.left;
    const int ownHeight = own.bottom - own.top;
    const int x = ownerRect.left + ((ownerRect.right - ownerRect.left) - ownWidth) / 2;
    const int y = ownerRect.top + ((ownerRect.bottom - ownerRect.top) - ownHeight) / 2;
    ::SetWindowPos(Window(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int DlgMessages::PrimaryButton() const noexcept {
    if (IsQuestion(code_)) return IDC_MESSAGE_YES;
    if (::IsWindowVisible(::GetDlgItem(Window(), IDC_MESSAGE_CONTINUE)))
        return IDC_MESSAGE_CONTINUE;
    return IDC_MESSAGE_OK;
}

std::int32_t DlgMessages::ShowMessage(std::int32_t code) {
    const std::int32_t result = Show(code);
    // Nothing of the object is touched after this: from here its slot may free it.
    finished_ = true;
    return result;
}

std::int32_t DlgMessages::Show(std::int32_t code) {
    code_ = code;
    if (owner_ != nullptr) {
        ::SendMessageW(owner_, UIM_ENABLE, 0, 0);
        ::EnableWindow(owner_, FALSE);
    }

    const bool ownedNotice = code == kSettingsRefused || code == kConnectionLost ||
                             code == kScannerBusy || code == kInterruption;
    if (ownedNotice && owner_ != nullptr) {
        modal_ = false;
        hasImage_ = false;
        if (CreateModeless(this, IDD_MESSAGES) == nullptr) {
            return result_;
        }
        // The window procedure has applied the code already; these are the settings the
        // modeless window must have whatever the template says.
        if (code == kInterruption) {
            ShowButton(IDC_MESSAGE_CONTINUE, true);
            ShowButton(IDC_MESSAGE_CANCEL, true);
            ShowButton(IDC_MESSAGE_OK, false);
        } else {
            ShowButton(IDC_MESSAGE_OK, true);
        }
        ShowButton(IDC_MESSAGE_NO, false);
        ShowButton(IDC_MESSAGE_YES, false);
        ::ShowWindow(Window(), SW_SHOW);
        return result_;
    }

    if (code == kDisableOwner) return result_;

    modal_ = true;
    hasImage_ = false;
    RunModal(this, IDD_MESSAGES);
    return result_;
}

void DlgMessages::CloseMessage() {
    if (owner_ != nullptr) {
        ::SendMessageW(owner_, UIM_ENABLE, 0, 1);
        ::EnableWindow(owner_, TRUE);
    }
    if (code_ == kConnectionLost ||
        (owner_ == nullptr && (code_ == kSettingsRefused || code_ == kScannerBusy))) {
        ::SendMessageW(hostWindow_, HM_UI_CLOSED, 0, 0);
    }
    const HWND window = Window();
    if (window == nullptr) return;
    if (modal_) {
        ::EndDialog(window, 1);
    } else {
        ::DestroyWindow(window);
    }
}

void DlgMessages::Answer(std::int32_t button) {
    result_ = button;
    CloseMessage();
}

void DlgMessages::OnCommand(int id) {
    switch (id) {
        case IDC_MESSAGE_CONTINUE:
            Answer(IDC_MESSAGE_CONTINUE);
            ::SendMessageW(hostWindow_, HM_CONTINUE, 0, 0);
            break;
        case IDC_MESSAGE_CANCEL:
            Answer(IDC_MESSAGE_CANCEL);
            ::SendMessageW(hostWindow_, HM_CANCEL, 0, 0);
            break;
        case IDC_MESSAGE_OK:
            CloseMessage();
            break;
        case IDC_MESSAGE_YES:
            Answer(IDC_MESSAGE_YES);
            if (code_ == kConfirmOverwrite) ::SendMessageW(owner_, UIM_OVERWRITE_CONFIRMED, 0, 0);
            if (code_ == kConfirmDelete) ::SendMessageW(owner_, UIM_DELETE_CONFIRMED, 0, 0);
            break;
        case IDC_MESSAGE_NO:
            Answer(IDC_MESSAGE_NO);
            if (code_ == kConfirmOverwrite)
                ::SendMessageW(owner_, WM_COMMAND, IDC_MESSAGE_CANCEL, 0);
            break;
        case IDCANCEL:
            // Escape: the same as the close box.
            OnClose();
            break;
        default:
            break;
    }
}

void DlgMessages::OnClose() {
    // While Continue is offered the message is an interruption, and closing it cancels.
    if (Window() != nullptr && ::IsWindowVisible(::GetDlgItem(Window(), IDC_MESSAGE_CONTINUE))) {
        OnCommand(IDC_MESSAGE_CANCEL);
    } else {
        CloseMessage();
    }
}

void DlgMessages::WindowDestroyed() noexcept {
    image_.reset();
    firstExtraButton_ = nullptr;
    secondExtraButton_ = nullptr;
}

void DlgMessages::EraseBackground(HDC dc, const RECT& client) const noexcept {
    DialogPainter::PaintBandedBackground(dc, client, kBandTop + textGrowth_);
}

HBRUSH DlgMessages::ButtonColor(HDC /*dc*/, HWND /*control*/) const noexcept {
    return ColorScheme::Brush(SchemeColor::PanelGrey);
}

INT_PTR DlgMessages::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SHOWWINDOW:
            if (wParam != FALSE && owner_ != nullptr) CentreOnOwner();
            return FALSE;

        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) OnCommand(LOWORD(wParam));
            return TRUE;

        case WM_CLOSE:
            OnClose();
            return MessageResult(Window(), 0);

        case WM_NOTIFY:
            return FlatButtons::OnNotify(Window(), lParam, PrimaryButton(), SchemeColor::PanelGrey);

        default:
            return FALSE;
    }
}

}  // namespace quorveltwain
