#include "ui/DlgNavTabs.h"

#include "ResourceIds.h"
#include "ui/ColorScheme.h"
#include "ui/ResourceText.h"
#include "ui/ToolTip.h"
#include "ui/UiMessages.h"

namespace quorveltwain {

namespace {

struct NavItem {
    int page;  // the item's control, which is also the page id
    int label;
    int icon;
    UINT text;
    UINT tip;
    int selectedPicture;
    int picture;
};

constexpr NavItem kItems[] = {
    {IDC_NAV_BASIC, IDC_NAV_BASIC_LABEL, IDC_NAV_BASIC_ICON, IDS_NAV_BASIC, IDS_NAV_BASIC_TIP,
     IDB_NAV_BASIC_SELECTED, IDB_NAV_BASIC},
    {IDC_NAV_IMAGING, IDC_NAV_IMAGING_LABEL, IDC_NAV_IMAGING_ICON, IDS_NAV_IMAGING,
     IDS_NAV_IMAGING_TIP, IDB_NAV_IMAGING_SELECTED, IDB_NAV_IMAGING},
    {IDC_NAV_ADVANCED, IDC_NAV_ADVANCED_LABEL, IDC_NAV_ADVANCED_ICON, IDS_NAV_ADVANCED,
     IDS_NAV_ADVANCED_TIP, IDB_NAV_ADVANCED_SELECTED, IDB_NAV_ADVANCED},
};

const NavItem* ItemOfPage(int page) noexcept {
    for (const NavItem& item : kItems) {
        if (item.page == page) return &item;
    }
    return nullptr;
}

}  // namespace

void DlgNavTabs::InitDialog() {
    SetTexts();
    const HWND window = Window();
    for (std::size_t i = 0; i < std::size(kItems); ++i) {
        const NavItem& item = kItems[i];
        const bool selected = item.page == selectedPage_;
        pictures_[i].reset(static_cast<HBITMAP>(::LoadImageW(
            resourceModule_, MAKEINTRESOURCEW(selected ? item.selectedPicture : item.picture),
            IMAGE_BITMAP, 0, 0, 0)));
        ::SendDlgItemMessageW(window, item.icon, STM_SETIMAGE, IMAGE_BITMAP,
                              reinterpret_cast<LPARAM>(pictures_[i].get()));
        if (!selected) {
            const ResourceText tip(resourceModule_, item.tip);
            AddToolTip(resourceModule_, window, item.page, tip.c_str());
        }
    }
    ::ShowWindow(window, SW_SHOW);
}

void DlgNavTabs::SetTexts() {
    for (const NavItem& item : kItems) {
        const ResourceText text(resourceModule_, item.text);
        ::SetDlgItemTextW(Window(), item.label, text.c_str());
    }
}

void DlgNavTabs::EraseBackground(HDC dc, const RECT& client) const noexcept {
    // The column is a child of the main window, which does not paint under its children.
    ::FillRect(dc, &client, ColorScheme::Brush(SchemeColor::PanelGrey));
}

HBRUSH DlgNavTabs::StaticColor(HDC dc, HWND control) const noexcept {
    const int id = ::GetDlgCtrlID(control);
    const NavItem* selected = ItemOfPage(selectedPage_);
    const bool accent = selected != nullptr &&
                        (id == selected->page || id == selected->label || id == selected->icon);
    const SchemeColor background = accent ? SchemeColor::AccentBlue : SchemeColor::PanelGrey;
    ::SetTextColor(dc, ColorScheme::Color(selected != nullptr && id == selected->label
                                              ? SchemeColor::White
                                              : SchemeColor::NearBlack));
    ::SetBkColor(dc, ColorScheme::Color(background));
    return ColorScheme::Brush(background);
}

void DlgNavTabs::WindowDestroyed() noexcept {
    for (UniqueBitmap& picture : pictures_) picture.reset();
}

INT_PTR DlgNavTabs::Handle(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    if (message != WM_COMMAND) return FALSE;
    const int id = LOWORD(wParam);
    if (ItemOfPage(id) == nullptr) return FALSE;
    ::SetFocus(owner_);
    // The switch recreates this window; nothing here touches it afterwards.
    if (id != selectedPage_) ::SendMessageW(owner_, UIM_SELECT_PAGE, static_cast<WPARAM>(id), 0);
    return TRUE;
}

}  // namespace quorveltwain
