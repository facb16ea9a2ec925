#include "ui/DlgProfileSaveAs.h"

#include <string>

#include "ResourceIds.h"
#include "platform/BoundedText.h"
#include "ui/ColorScheme.h"
#include "ui/DlgDetailsPane.h"
#include "ui/DlgMessages.h"
#include "ui/EditorTexts.h"
#include "ui/FlatButtons.h"
#include "ui/ResourceText.h"
#include "ui/UiMessages.h"
#include "ui/ValueTexts.h"

namespace quorveltwain {

namespace {

// Each value text with the settings-list row that shows the same value.
constexpr struct {
    int control;
    int row;
} kValues[] = {
    {IDC_SAVE_AS_SIZE, 3},           {IDC_SAVE_AS_DUPLEX, 4},
    {IDC_SAVE_AS_ORIENTATION, 5},    {IDC_SAVE_AS_SENDING_SIZE, 6},
    {IDC_SAVE_AS_OPTION, 7},         {IDC_SAVE_AS_COLOR, 9},
    {IDC_SAVE_AS_RESOLUTION, 10},    {IDC_SAVE_AS_IMAGE_QUALITY, 11},
    {IDC_SAVE_AS_EXPOSURE, 12},      {IDC_SAVE_AS_CONTRAST, 13},
    {IDC_SAVE_AS_REVERSE_IMAGE, 15}, {IDC_SAVE_AS_PREVENT_BLEED_THROUGH, 16},
};

}  // namespace

INT_PTR DlgProfileSaveAs::Run() noexcept {
    return RunModal(this, IDD_PROFILE_SAVE_AS);
}

void DlgProfileSaveAs::InitDialog() {
    const HWND window = Window();
    const ResourceText title(resourceModule_, IDS_EDITOR_SAVE_AS_TITLE);
    ::SetWindowTextW(window, title.c_str());
    SetTexts();
    LimitEditorFields(window);
    pane_.ReloadProfiles();
    ::SendMessageW(owner_, UIM_ENABLE, 0, 0);
    if (pane_.settings_ == nullptr) ::SendMessageW(owner_, UIM_SYNC_DETAILS, 0, 0);
    if (pane_.settings_ != nullptr) RecordToEntry(*pane_.settings_, pane_.currentEntry_);
    ShowValues();
    titleFont_.reset(SetEditorHeadingFont(window));
}

void DlgProfileSaveAs::SetTexts() {
    SetProfileEditorTexts(resourceModule_, Window());
}

void DlgProfileSaveAs::ShowValues() {
    for (const auto& value : kValues) {
        const std::wstring text =
            SettingsListValue(resourceModule_, value.row, pane_.currentEntry_, pane_.OptionValue());
        ::SetDlgItemTextW(Window(), value.control, text.c_str());
    }
}

void DlgProfileSaveAs::TakeTexts() {
    CopyToField(pane_.currentEntry_.name, EditorField(Window(), IDC_PROFILE_NAME));
    CopyToField(pane_.currentEntry_.detail, EditorField(Window(), IDC_PROFILE_DETAIL));
}

void DlgProfileSaveAs::ApplySaved() {
    if (pane_.settings_ != nullptr) EntryToRecord(pane_.currentEntry_, *pane_.settings_);
    ::SendMessageW(owner_, UIM_RELOAD_SETTINGS, 0, 0);
}

void DlgProfileSaveAs::OnSave() {
    const std::wstring name = EditorField(Window(), IDC_PROFILE_NAME);
    if (!DlgProfileBase::IsUsableName(name)) return;
    switch (pane_.ClassifyName(name)) {
        case DlgProfileBase::NameClass::Reserved:
            pane_.AskAboutName(DlgMessages::kReservedName, Window(), hostWindow_, name);
            return;
        case DlgProfileBase::NameClass::Taken:
            // Yes arrives as UIM_OVERWRITE_CONFIRMED, no as a Cancel command.
            pane_.AskAboutName(DlgMessages::kConfirmOverwrite, Window(), hostWindow_, name);
            return;
        case DlgProfileBase::NameClass::Free:
            break;
    }
    TakeTexts();
    if (pane_.AddProfile(pane_.currentEntry_)) pane_.SaveProfiles();
    pane_.ReloadProfiles();
    ApplySaved();
    ::SendMessageW(owner_, UIM_ENABLE, 0, 1);
    ::EndDialog(Window(), 1);
}

void DlgProfileSaveAs::OnOverwriteConfirmed() {
    ::SendMessageW(owner_, UIM_ENABLE, 0, 1);
    ::EndDialog(Window(), 1);
    TakeTexts();
    // Never a position: when the name has gone from the store since it was checked, the
    // settings are added under it instead of landing on the default settings.
    const auto replaced = pane_.ReplaceProfile(pane_.currentEntry_, -1);
    if (replaced == DlgProfileBase::Replaced::NoMatch) pane_.AddProfile(pane_.currentEntry_);
    if (replaced != DlgProfileBase::Replaced::Failed) pane_.SaveProfiles();
    pane_.ReloadProfiles();
    ApplySaved();
}

HBRUSH DlgProfileSaveAs::ButtonColor(HDC /*dc*/, HWND /*control*/) const noexcept {
    return ColorScheme::Brush(SchemeColor::White);
}

void DlgProfileSaveAs::WindowDestroyed() noexcept {
    titleFont_.reset();
}

INT_PTR DlgProfileSaveAs::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = Window();
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (id == IDC_PROFILE_NAME && code == EN_CHANGE) {
                EnableSaveForTypedName(window);
                return TRUE;
            }
            if (code != BN_CLICKED) return FALSE;
            if (id == IDC_PROFILE_SAVE) {
                OnSave();
            } else if (id == IDC_PROFILE_CANCEL || id == IDCANCEL) {
                ::SendMessageW(owner_, UIM_ENABLE, 0, 1);
                ::EndDialog(window, 1);
            }
            return TRUE;
        }
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lParam)->code != NM_CUSTOMDRAW) return FALSE;
            return FlatButtons::OnNotify(window, lParam, IDC_PROFILE_SAVE, SchemeColor::White);
        case WM_CLOSE:
            ::SendMessageW(owner_, UIM_ENABLE, 0, 1);
            ::EndDialog(window, 1);
            return TRUE;
        case UIM_OVERWRITE_CONFIRMED:
            OnOverwriteConfirmed();
            return MessageResult(window, 1);
        default:
            return FALSE;
    }
}

}  // namespace quorveltwain
