#include "ui/DlgDetailsPane.h"

#include <commctrl.h>

#include <memory>

#include "ResourceIds.h"
#include "platform/BoundedText.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMessages.h"
#include "ui/DlgProfileSaveAs.h"
#include "ui/FlatButtons.h"
#include "ui/ResourceText.h"
#include "ui/ToolTip.h"
#include "ui/UiMessages.h"

namespace quorveltwain {

namespace {

constexpr COLORREF kListBackground = RGB(242, 242, 242);
constexpr COLORREF kChangedText = RGB(0, 153, 255);
constexpr COLORREF kText = RGB(0, 0, 0);
constexpr int kReadChars = 256;

// The eleven settings a saved configuration is compared by.
bool SameSettings(const ProfileEntry& a, const ProfileEntry& b) noexcept {
    return a.original_size == b.original_size && a.original_orientation == b.original_orientation &&
           a.duplex == b.duplex && a.exposure_level == b.exposure_level &&
           a.original_image == b.original_image && a.resolution == b.resolution &&
           a.color_selection == b.color_selection &&
           a.prevent_bleed_through == b.prevent_bleed_through && a.sending_size == b.sending_size &&
           a.contrast == b.contrast && a.reverse_image == b.reverse_image;
}

}  // namespace

HWND DlgDetailsPane::List() const noexcept {
    return ::GetDlgItem(Window(), IDC_DETAILS_LIST);
}

void DlgDetailsPane::InitDialog() {
    profileResources_ = resourceModule_;
    ::ShowWindow(Window(), SW_SHOW);
    ReloadProfiles();
    SetTexts();
    const ResourceText tip(resourceModule_, IDS_DETAILS_DEFAULTS_TIP);
    AddToolTip(resourceModule_, Window(), IDC_DETAILS_DEFAULTS, tip.c_str());
    const HWND list = List();
    ::SendMessageW(list, LVM_SETBKCOLOR, 0, kListBackground);
    ::SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, kListBackground);
    headingFont_.reset(CreateHeadingFont(list));
    EnableSaveAs();
}

void DlgDetailsPane::SetTexts() {
    const struct {
        int control;
        UINT text;
    } texts[] = {{IDC_DETAILS_DEFAULTS, IDS_DETAILS_DEFAULTS},
                 {IDC_DETAILS_PROFILES, IDS_DETAILS_PROFILES},
                 {IDC_DETAILS_SAVE_AS, IDS_DETAILS_SAVE_AS}};
    for (const auto& item : texts) {
        const ResourceText text(resourceModule_, item.text);
        ::SetDlgItemTextW(Window(), item.control, text.c_str());
    }
}

void DlgDetailsPane::RefreshSettingsList(HWND list, const ProfileEntry& entry) {
    for (std::int32_t& mark : changeMarks_) mark = 0;
    for (int row = 0; row < kSettingsListRows; ++row) {
        if (!SettingsListHasValue(row)) continue;
        wchar_t present[kReadChars] = {};
        LVITEMW read{};
        read.iSubItem = 1;
        read.pszText = present;
        read.cchTextMax = kReadChars;
        ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&read));
        std::wstring text = SettingsListValue(resourceModule_, row, entry, optionValue_);
        if (text != present) changeMarks_[row] = 1;
        LVITEMW write{};
        write.iSubItem = 1;
        write.pszText = text.data();
        ::SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(row),
                       reinterpret_cast<LPARAM>(&write));
        ::SendMessageW(list, LVM_REDRAWITEMS, static_cast<WPARAM>(row), row);
    }
}

void DlgDetailsPane::MatchConfigurationName() noexcept {
    for (const ProfileEntry& saved : entries_) {
        if (FieldText(saved.name) != FieldText(currentEntry_.name)) continue;
        if (!SameSettings(saved, currentEntry_)) {
            currentEntry_.name[0] = L'\0';
            currentEntry_.detail[0] = L'\0';
        }
        return;
    }
}

void DlgDetailsPane::LayOutChildren(int width, int height) noexcept {
    (void)height;
    const HWND pane = Window();
    RECT units{4, 8, 0, 0};
    ::MapDialogRect(pane, &units);
    const int x = units.left;
    const int y = units.top;
    // The buttons keep the template's width, which is sized for the longest language.
    RECT button{};
    ::GetWindowRect(::GetDlgItem(pane, IDC_DETAILS_SAVE_AS), &button);
    const int buttonWidth = button.right - button.left;
    const int buttonTop = ::MulDiv(y, 143, 8);
    const auto place = [pane](int id, int left, int top) {
        const HWND child = ::GetDlgItem(pane, id);
        RECT rect{};
        ::GetWindowRect(child, &rect);
        ::MoveWindow(child, left, top, rect.right - rect.left, rect.bottom - rect.top, FALSE);
    };
    place(IDC_DETAILS_SAVE_AS, width - buttonWidth - x, buttonTop);
    place(IDC_DETAILS_PROFILES, width - 2 * buttonWidth - 2 * x, buttonTop);
    const HWND list = List();
    RECT rect{};
    ::GetWindowRect(list, &rect);
    ::MapWindowPoints(nullptr, pane, reinterpret_cast<POINT*>(&rect), 2);
    ::MoveWindow(list, rect.left, rect.top, width - ::GetSystemMetrics(SM_CXVSCROLL),
                 ::MulDiv(y, 135, 8), FALSE);
}

void DlgDetailsPane::EnableSaveAs() noexcept {
    ::EnableWindow(::GetDlgItem(Window(), IDC_DETAILS_SAVE_AS),
                   entries_.size() < kMaxConfigurations ? TRUE : FALSE);
}

void DlgDetailsPane::OnApplyDefaults() {
    DialogSetup setup;
    setup.resourceModule = resourceModule_;
    setup.owner = owner_;
    setup.hostWindow = hostWindow_;
    DlgMessages* question = DialogSlot<DlgMessages>::Install(std::make_unique<DlgMessages>(setup));
    if (question->ShowMessage(DlgMessages::kConfirmDefaults) != IDC_MESSAGE_YES) return;
    if (entries_.empty()) return;  // no store: there are no defaults to go back to
    currentEntry_ = entries_.front();
    ::SendMessageW(owner_, UIM_APPLY_DEFAULTS, 0, 0);
    RefreshSettingsList(List(), currentEntry_);
}

INT_PTR DlgDetailsPane::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
    const HWND pane = Window();
    switch (draw.nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return MessageResult(pane, CDRF_NOTIFYITEMDRAW);
        case CDDS_ITEMPREPAINT:
            if (IsSettingsListHeading(static_cast<int>(draw.nmcd.dwItemSpec)) && headingFont_) {
                ::SelectObject(draw.nmcd.hdc, headingFont_.get());
            }
            return MessageResult(pane, CDRF_NOTIFYSUBITEMDRAW | CDRF_NEWFONT);
        case CDDS_SUBITEM | CDDS_ITEMPREPAINT:
            draw.clrText =
                ChangeMark(static_cast<int>(draw.nmcd.dwItemSpec)) ? kChangedText : kText;
            return MessageResult(pane, CDRF_NEWFONT);
        default:
            return MessageResult(pane, CDRF_DODEFAULT);
    }
}

INT_PTR DlgDetailsPane::OnNotify(const NMHDR& header, LPARAM lParam) {
    if (header.idFrom == IDC_DETAILS_LIST && header.code == NM_CUSTOMDRAW) {
        return OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
    }
    if (header.code == NM_CUSTOMDRAW) {
        // The pane's push buttons: painting, not a change of the saved configurations.
        return FlatButtons::OnNotify(Window(), lParam, 0, SchemeColor::White);
    }
    // Any other notice may follow a change of the store by another window: read it again.
    ReloadProfiles();
    EnableSaveAs();
    return FALSE;
}

void DlgDetailsPane::WindowDestroyed() noexcept {
    headingFont_.reset();
}

HBRUSH DlgDetailsPane::ButtonColor(HDC /*dc*/, HWND /*control*/) const noexcept {
    return ColorScheme::Brush(SchemeColor::White);
}

INT_PTR DlgDetailsPane::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NOTIFY:
            return OnNotify(*reinterpret_cast<const NMHDR*>(lParam), lParam);
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            switch (LOWORD(wParam)) {
                case IDC_DETAILS_DEFAULTS:
                    OnApplyDefaults();
                    return TRUE;
                case IDC_DETAILS_PROFILES:
                    ::SendMessageW(owner_, UIM_OPEN_PROFILES, 0, 0);
                    return TRUE;
                case IDC_DETAILS_SAVE_AS: {
                    DialogSetup setup;
                    setup.resourceModule = resourceModule_;
                    setup.owner = owner_;
                    setup.hostWindow = hostWindow_;
                    DlgProfileSaveAs editor(setup, *this);
                    editor.Run();
                    EnableSaveAs();
                    return TRUE;
                }
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

void DlgDetailsPaneBg::InitDialog() {
    const HWND window = Window();
    // Half-transparent where the platform lets a child window be layered; plain white
    // (the erase default) everywhere else.
    if ((::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0) {
        ::SetLayeredWindowAttributes(window, 0, 127, LWA_ALPHA);
    }
    ::ShowWindow(window, SW_SHOW);
}

}  // namespace quorveltwain
