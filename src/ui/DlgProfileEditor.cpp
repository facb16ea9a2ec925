#include "ui/DlgProfileEditor.h"

#include <string>

#include "ResourceIds.h"
#include "platform/BoundedText.h"
#include "ui/ColorScheme.h"
#include "ui/DlgMessages.h"
#include "ui/DlgProfiles.h"
#include "ui/EditorTexts.h"
#include "ui/FlatButtons.h"
#include "ui/ResourceText.h"
#include "ui/UiMessages.h"
#include "ui/ValueTexts.h"

namespace quorveltwain {

INT_PTR DlgProfileEditor::Run() noexcept {
    return RunModal(this, IDD_PROFILE_EDITOR);
}

void DlgProfileEditor::InitDialog() {
    const HWND window = Window();
    const auto& entries = profiles_.Profiles();
    const auto selected = static_cast<std::size_t>(profiles_.SelectedIndex());
    if (selected < entries.size()) {
        EntryToRecord(entries[selected], record_);
    } else if (profiles_.Data().settings != nullptr) {
        record_ = *profiles_.Data().settings;
    }
    ProfileScanParameter& binder = profiles_.ProfileBinder();
    binder.settings = &record_;
    binder.owner = binder.basicPage = binder.imagingPage = binder.advancedPage = window;
    binder.InitBasicControls();
    binder.InitImagingControls();
    binder.InitReverseImage();
    binder.InitPreventBleedThrough();
    const ResourceText title(resourceModule_,
                             mode_ == Mode::New ? IDS_EDITOR_NEW_TITLE : IDS_EDITOR_EDIT_TITLE);
    ::SetWindowTextW(window, title.c_str());
    SetTexts();
    LimitEditorFields(window);
    if (mode_ == Mode::New) {
        binder.Reload();
        ::EnableWindow(::GetDlgItem(window, IDC_PROFILE_SAVE), FALSE);
    } else {
        binder.ShowProfile(1);
        ::EnableWindow(::GetDlgItem(window, IDC_PROFILE_SAVE), TRUE);
    }
    titleFont_.reset(SetEditorHeadingFont(window));
}

void DlgProfileEditor::SetTexts() {
    SetProfileEditorTexts(resourceModule_, Window());
}

void DlgProfileEditor::End(INT_PTR result) noexcept {
    // The binder outlives the editor in the profiles window: it must not keep our record.
    profiles_.ProfileBinder().settings = nullptr;
    ::EndDialog(Window(), result);
}

void DlgProfileEditor::OnSave() {
    ProfileScanParameter& binder = profiles_.ProfileBinder();
    binder.ReadName();
    ProfileEntry typed{};
    RecordToEntry(record_, typed);
    const std::wstring name(FieldText(typed.name));
    if (!DlgProfileBase::IsUsableName(EditorField(Window(), IDC_PROFILE_NAME))) return;
    const auto& entries = profiles_.Profiles();
    const auto selected = static_cast<std::size_t>(profiles_.SelectedIndex());
    const bool ownName =
        mode_ == Mode::Edit && selected < entries.size() &&
        DlgProfileBase::SameNameIgnoringCase(name, FieldText(entries[selected].name));
    switch (profiles_.ClassifyName(name)) {
        case DlgProfileBase::NameClass::Reserved:
            profiles_.AskAboutName(DlgMessages::kReservedName, Window(), hostWindow_, name);
            return;
        case DlgProfileBase::NameClass::Taken:
            if (!ownName) {
                // Yes arrives as UIM_OVERWRITE_CONFIRMED, no as a Cancel command.
                profiles_.AskAboutName(DlgMessages::kConfirmOverwrite, Window(), hostWindow_, name);
                return;
            }
            Replace(profiles_.SelectedIndex());
            return;
        case DlgProfileBase::NameClass::Free:
            if (mode_ == Mode::New) {
                Add();
            } else {
                Replace(profiles_.SelectedIndex());
            }
            return;
    }
}

void DlgProfileEditor::Add() {
    profiles_.ProfileBinder().ReadDetail();
    ProfileEntry entry{};
    RecordToEntry(record_, entry);
    if (profiles_.AddProfile(entry)) profiles_.SaveProfiles();
    profiles_.ReadProfiles();
    End(1);
    profiles_.SetSelectedIndex(profiles_.Profiles().empty()
                                   ? 0
                                   : static_cast<std::int32_t>(profiles_.Profiles().size() - 1));
    profiles_.FillProfileList();
}

void DlgProfileEditor::Replace(int fallback, const std::wstring& giveWay) {
    profiles_.ProfileBinder().ReadDetail();
    ProfileEntry entry{};
    RecordToEntry(record_, entry);
    const auto replaced = profiles_.ReplaceProfile(entry, fallback);
    // The name vanished from the store since it was checked: keep the settings as a new
    // configuration rather than write them over another one.
    if (replaced == DlgProfileBase::Replaced::NoMatch) profiles_.AddProfile(entry);
    if (replaced != DlgProfileBase::Replaced::Failed) {
        // Removed only once its settings are safe under the other name, and saved in the
        // same write: the file never lacks both.
        if (!giveWay.empty()) profiles_.DeleteProfileByName(giveWay.c_str());
        profiles_.SaveProfiles();
    }
    profiles_.ReadProfiles();
    End(1);
    std::int32_t position = 0;
    const auto& entries = profiles_.Profiles();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (FieldText(entries[i].name) == FieldText(entry.name)) {
            position = static_cast<std::int32_t>(i);
            break;
        }
    }
    profiles_.SetSelectedIndex(position);
    profiles_.FillProfileList();
}

void DlgProfileEditor::OnOverwriteConfirmed() {
    if (mode_ == Mode::New) {
        // Only the configuration of the typed name may go, never the selected one.
        Replace(-1);
        return;
    }
    // The configuration of the typed name takes the edited settings, and the edited one
    // gives way.
    const auto& entries = profiles_.Profiles();
    const auto selected = static_cast<std::size_t>(profiles_.SelectedIndex());
    if (selected == 0 || selected >= entries.size()) return;
    Replace(-1, std::wstring(FieldText(entries[selected].name)));
}

HBRUSH DlgProfileEditor::ButtonColor(HDC /*dc*/, HWND /*control*/) const noexcept {
    return ColorScheme::Brush(SchemeColor::White);
}

void DlgProfileEditor::WindowDestroyed() noexcept {
    profiles_.ProfileBinder().settings = nullptr;
}

INT_PTR DlgProfileEditor::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = Window();
    switch (message) {
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            const int code = HIWORD(wParam);
            if (id == IDC_PROFILE_NAME && code == EN_CHANGE) {
                EnableSaveForTypedName(window);
                return TRUE;
            }
            if (code == CBN_SELCHANGE && lParam != 0) {
                profiles_.ProfileBinder().OnControlChanged(static_cast<std::uint16_t>(id));
                return TRUE;
            }
            if (code != BN_CLICKED) return FALSE;
            if (id == IDC_PROFILE_SAVE) {
                OnSave();
            } else if (id == IDC_PROFILE_CANCEL || id == IDCANCEL) {
                End(0);
            }
            return TRUE;
        }
        case WM_NOTIFY:
            if (reinterpret_cast<const NMHDR*>(lParam)->code != NM_CUSTOMDRAW) return FALSE;
            return FlatButtons::OnNotify(window, lParam, IDC_PROFILE_SAVE, SchemeColor::White);
        case WM_CLOSE:
            End(0);
            return TRUE;
        case UIM_OVERWRITE_CONFIRMED:
            OnOverwriteConfirmed();
            return MessageResult(window, 1);
        default:
            return FALSE;
    }
}

}  // namespace quorveltwain
