#include "ui/DlgProfiles.h"

#include <string>

#include "ResourceIds.h"
#include "platform/BoundedText.h"
#include "platform/Trace.h"
#include "platform/UiThread.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMessages.h"
#include "ui/DlgProfileEditor.h"
#include "ui/FlatButtons.h"
#include "ui/ResourceText.h"
#include "ui/SettingsList.h"
#include "ui/UiMessages.h"
#include "ui/ValueTexts.h"

namespace quorveltwain {

namespace {

constexpr int kNameColumnPercent = 40;
constexpr int kDetailColumnPercent = 60;

void InsertColumn(HWND list, int index, const wchar_t* title, int width) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = width;
    column.pszText = const_cast<wchar_t*>(title);
    column.iSubItem = index;
    ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&column));
}

void SetListColors(HWND list, SchemeColor color) {
    const COLORREF rgb = ColorScheme::Color(color);
    ::SendMessageW(list, LVM_SETBKCOLOR, 0, rgb);
    ::SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, rgb);
}

}  // namespace

bool DlgProfiles::StartThread() noexcept {
    thread_ = StartUiThread(&DlgProfiles::ThreadRoutine, this, &threadId_);
    if (!thread_) threadEnded_.store(true);
    return static_cast<bool>(thread_);
}

DWORD WINAPI DlgProfiles::ThreadRoutine(void* parameter) noexcept {
    auto* dialog = static_cast<DlgProfiles*>(parameter);
    try {
        const HWND window = dialog->CreateModeless(dialog, IDD_PROFILES);
        if (window == nullptr) {
            // Without a window nothing would ever hand the UI back.
            ::SendMessageW(dialog->owner_, UIM_ENABLE, 0, 1);
        } else {
            RunUiMessageLoop(
                dialog->stop_,
                [dialog](const MSG& message) {
                    const HWND remove = ::GetDlgItem(dialog->Window(), IDC_PROFILES_DELETE);
                    if (message.message == WM_KEYDOWN && message.wParam == VK_DELETE &&
                        remove != nullptr && ::IsWindowEnabled(remove)) {
                        ::SendMessageW(dialog->Window(), WM_COMMAND, IDC_PROFILES_DELETE, 0);
                    }
                },
                [dialog] { return dialog->Window(); });
            if (::IsWindow(window)) {
                ::SendMessageW(dialog->owner_, UIM_ENABLE, 0, 1);
                ::DestroyWindow(window);
            }
        }
    } catch (...) {
        Trace(L"Profiles thread: message loop refused after a failure; the thread ends");
    }
    dialog->threadEnded_.store(true);
    return 0;
}

void DlgProfiles::Stop(DWORD timeoutMs) noexcept {
    if (!thread_ || threadEnded_.load()) return;
    stop_.store(true);
    // Ends an editor or a question too: they are owned by the window.
    if (const HWND window = Window()) ::PostMessageW(window, WM_CLOSE, 0, 0);
    WakeUiThread(threadId_);
    // The profiles thread may wait on something it sent here (UIM_ENABLE).
    WaitForUiThread(thread_.get(), timeoutMs);
}

void DlgProfiles::InitDialog() {
    const HWND window = Window();
    profileResources_ = resourceModule_;
    ::SendMessageW(owner_, UIM_ENABLE, 0, 0);
    ::ShowWindow(window, SW_SHOW);
    ReloadProfiles();
    selected_ = 0;

    const HWND list = ::GetDlgItem(window, IDC_PROFILES_LIST);
    RECT client{};
    ::GetClientRect(list, &client);
    const ResourceText name(resourceModule_, IDS_CONFIG_NAME_LABEL);
    const ResourceText detail(resourceModule_, IDS_CONFIG_DETAIL_LABEL);
    InsertColumn(list, 0, name.c_str(), client.right * kNameColumnPercent / 100);
    InsertColumn(list, 1, detail.c_str(), client.right * kDetailColumnPercent / 100);
    FillProfileList();

    const HWND settingsList = ::GetDlgItem(window, IDC_PROFILES_SETTINGS);
    SetUpSettingsList(resourceModule_, settingsList);
    if (!entries_.empty()) {
        FillSettingsList(resourceModule_, settingsList, entries_.front(), data_.optionValue);
    }
    headingFont_.reset(CreateHeadingFont(Window()));

    profileBinder_ = std::make_unique<ProfileScanParameter>();
    profileBinder_->resourceModule = resourceModule_;
    profileBinder_->device = data_.device;
    profileBinder_->optionValue = data_.optionValue;

    SetTexts();
    SetListColors(list, SchemeColor::ListGrey);
    SetListColors(settingsList, SchemeColor::PanelGrey);
}

void DlgProfiles::SetTexts() {
    const ResourceText title(resourceModule_, IDS_PROFILES_TITLE);
    ::SetWindowTextW(Window(), title.c_str());
    const struct {
        int control;
        UINT text;
    } texts[] = {{IDC_PROFILES_LIST_LABEL, IDS_PROFILES_LIST_LABEL},
                 {IDC_PROFILES_NEW, IDS_PROFILES_NEW},
                 {IDC_PROFILES_EDIT, IDS_PROFILES_EDIT},
                 {IDC_PROFILES_DELETE, IDS_PROFILES_DELETE},
                 {IDC_PROFILES_SETTINGS_LABEL, IDS_PROFILES_SETTINGS_LABEL},
                 {IDC_PROFILES_APPLY, IDS_PROFILES_APPLY},
                 {IDC_PROFILES_CANCEL, IDS_CANCEL}};
    for (const auto& item : texts) {
        const ResourceText text(resourceModule_, item.text);
        ::SetDlgItemTextW(Window(), item.control, text.c_str());
    }
}

void DlgProfiles::FillProfileList() {
    const HWND list = ::GetDlgItem(Window(), IDC_PROFILES_LIST);
    if (list == nullptr) return;
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        // The settings list's first row shows a name the same way: string 111 for the
        // defaults' stored name.
        std::wstring name = SettingsListValue(resourceModule_, 0, entries_[i], nullptr);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.lParam = static_cast<LPARAM>(i);
        item.pszText = name.data();
        const auto index = static_cast<int>(
            ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        std::wstring detail(FieldText(entries_[i].detail));
        LVITEMW sub{};
        sub.iSubItem = 1;
        sub.pszText = detail.data();
        ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(index),
                       reinterpret_cast<LPARAM>(&sub));
    }
    LVITEMW state{};
    state.stateMask = 0xF;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(selected_),
                   reinterpret_cast<LPARAM>(&state));
    ::SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    // No item at all sends no selection notice: the buttons still have to follow.
    if (entries_.empty()) OnSelectionChanged();
}

void DlgProfiles::OnSelectionChanged() {
    const HWND window = Window();
    const HWND list = ::GetDlgItem(window, IDC_PROFILES_LIST);
    const auto item = static_cast<int>(
        ::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    const HWND edit = ::GetDlgItem(window, IDC_PROFILES_EDIT);
    const HWND remove = ::GetDlgItem(window, IDC_PROFILES_DELETE);
    if (item < 0 || static_cast<std::size_t>(item) >= entries_.size()) {
        ::EnableWindow(edit, FALSE);
        ::EnableWindow(remove, FALSE);
    } else {
        selected_ = item;
        FillSettingsList(resourceModule_, ::GetDlgItem(window, IDC_PROFILES_SETTINGS),
                         entries_[static_cast<std::size_t>(item)], data_.optionValue);
        // The default settings can be applied, never changed.
        ::EnableWindow(edit, item > 0 ? TRUE : FALSE);
        ::EnableWindow(remove, item > 0 ? TRUE : FALSE);
    }
    ::EnableWindow(::GetDlgItem(window, IDC_PROFILES_NEW),
                   entries_.size() < kMaxConfigurations ? TRUE : FALSE);
}

void DlgProfiles::OnDelete() {
    DialogSetup setup;
    setup.resourceModule = resourceModule_;
    setup.owner = Window();
    setup.hostWindow = hostWindow_;
    DlgMessages* question = DialogSlot<DlgMessages>::Install(std::make_unique<DlgMessages>(setup));
    // A yes comes back as UIM_DELETE_CONFIRMED while the question is still up.
    question->ShowMessage(DlgMessages::kConfirmDelete);
    FillProfileList();
}

void DlgProfiles::DeleteSelected() {
    const HWND list = ::GetDlgItem(Window(), IDC_PROFILES_LIST);
    for (;;) {
        const auto item = static_cast<int>(
            ::SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        if (item <= 0 || static_cast<std::size_t>(item) >= entries_.size()) break;
        const std::wstring name(FieldText(entries_[static_cast<std::size_t>(item)].name));
        DeleteProfileByName(name.c_str());
        ::SendMessageW(list, LVM_DELETEITEM, static_cast<WPARAM>(item), 0);
        ReadAll();
    }
    SaveProfiles();
    selected_ = 0;
}

void DlgProfiles::RunEditor(bool edit) {
    // New works on an empty store too (one the host never seeded with the default
    // settings): it then starts from the settings in the window.
    if (edit && static_cast<std::size_t>(selected_) >= entries_.size()) return;
    DialogSetup setup;
    setup.resourceModule = resourceModule_;
    setup.owner = Window();
    setup.hostWindow = hostWindow_;
    DlgProfileEditor editor(setup, *this,
                            edit ? DlgProfileEditor::Mode::Edit : DlgProfileEditor::Mode::New);
    editor.Run();
}

void DlgProfiles::Close() {
    stop_.store(true);
    ::SendMessageW(owner_, UIM_ENABLE, 0, 1);
    const HWND window = Window();
    if (window != nullptr) ::DestroyWindow(window);
}

void DlgProfiles::OnCommand(int id) {
    switch (id) {
        case IDC_PROFILES_NEW:
            if (entries_.size() < kMaxConfigurations) RunEditor(false);
            break;
        case IDC_PROFILES_EDIT:
            if (selected_ > 0) RunEditor(true);
            break;
        case IDC_PROFILES_DELETE:
            OnDelete();
            break;
        case IDC_PROFILES_APPLY: {
            // Copied before the window goes: its destruction ends nothing of the list,
            // but the selection is only meaningful while the window shows it.
            const std::size_t index = static_cast<std::size_t>(selected_);
            const bool chosen = index < entries_.size();
            const ProfileEntry entry = chosen ? entries_[index] : ProfileEntry{};
            Close();
            if (chosen && data_.settings != nullptr) {
                EntryToRecord(entry, *data_.settings);
                ::SendMessageW(owner_, UIM_RELOAD_SETTINGS, 0, 0);
            }
            break;
        }
        case IDC_PROFILES_CANCEL:
        case IDCANCEL:
            Close();
            break;
        default:
            break;
    }
}

INT_PTR DlgProfiles::OnSettingsCustomDraw(NMLVCUSTOMDRAW& draw) {
    const HWND window = Window();
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return MessageResult(window, CDRF_NOTIFYITEMDRAW);
        case CDDS_ITEMPREPAINT:
            if (IsSettingsListHeading(static_cast<int>(draw.nmcd.dwItemSpec)) && headingFont_) {
                ::SelectObject(draw.nmcd.hdc, headingFont_.get());
            }
            return MessageResult(window, CDRF_NOTIFYSUBITEMDRAW | CDRF_NEWFONT);
        case CDDS_SUBITEM | CDDS_ITEMPREPAINT:
            return MessageResult(window, CDRF_NEWFONT);
        default:
            return MessageResult(window, CDRF_DODEFAULT);
    }
}

INT_PTR DlgProfiles::OnNotify(const NMHDR& header, LPARAM lParam) {
    if (header.idFrom == IDC_PROFILES_SETTINGS && header.code == NM_CUSTOMDRAW) {
        return OnSettingsCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
    }
    if (header.idFrom == IDC_PROFILES_LIST &&
        (header.code == LVN_ITEMCHANGING || header.code == LVN_ITEMCHANGED)) {
        OnSelectionChanged();
        return MessageResult(Window(), FALSE);  // a change is never refused
    }
    if (header.code == NM_CUSTOMDRAW && header.idFrom != IDC_PROFILES_LIST) {
        return FlatButtons::OnNotify(Window(), lParam, IDC_PROFILES_APPLY, SchemeColor::White);
    }
    return FALSE;
}

void DlgProfiles::WindowDestroyed() noexcept {
    headingFont_.reset();
}

HBRUSH DlgProfiles::ButtonColor(HDC /*dc*/, HWND /*control*/) const noexcept {
    return ColorScheme::Brush(SchemeColor::White);
}

INT_PTR DlgProfiles::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam), lParam);
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            OnCommand(LOWORD(wParam));
            return TRUE;
        case WM_CLOSE:
            Close();
            return TRUE;
        case WM_SHOWWINDOW:
            if (wParam != 0) ::SetFocus(::GetDlgItem(Window(), IDC_PROFILES_LIST));
            return FALSE;
        case UIM_DELETE_CONFIRMED:
            DeleteSelected();
            return MessageResult(Window(), 1);
        default:
            return FALSE;
    }
}

}  // namespace quorveltwain
