#include "ui/DlgMain.h"

#include <windowsx.h>

#include "ResourceIds.h"
#include "platform/UiThread.h"
#include "platform/ScopedSelect.h"
#include "platform/BoundedText.h"
#include "platform/ScopedWindowDC.h"
#include "twain_ui.h"
#include "ui/ColorScheme.h"
#include "ui/DlgAbout.h"
#include "ui/DialogSlot.h"
#include "ui/DlgDetailsPane.h"
#include "ui/DlgNavTabs.h"
#include "ui/DlgProfiles.h"
#include "ui/ResourceText.h"
#include "ui/SettingsList.h"
#include "ui/SettingsPages.h"
#include "ui/ToolTip.h"
#include "ui/UiMessages.h"
#include "ui/ValueTexts.h"

namespace quorveltwain {

namespace {

constexpr int kButtonIds[DlgMain::kButtonCount] = {IDC_SCAN, IDC_PREVIEW, IDC_ABOUT};
constexpr UINT kButtonTexts[DlgMain::kButtonCount] = {IDS_SCAN, IDS_PREVIEW, IDS_ABOUT};
constexpr int kButtonCorner = 5;
// How long a closing settings window waits for the profiles thread to end.
constexpr DWORD kProfilesStopMs = 5000;

struct ButtonColors {
    SchemeColor fill;
    SchemeColor text;
};

// The fill and text colours of a button in a state, as the colour scheme assigns them.
ButtonColors ColorsOf(DlgMain::Button button, DlgMain::ButtonState state, bool uiIsHere,
                      bool enabled) noexcept {
    using State = DlgMain::ButtonState;
    if (button == DlgMain::kScan) {
        if (!uiIsHere) return {SchemeColor::AccentBlueInactive, SchemeColor::White};
        switch (state) {
            case State::Disabled:
                return {SchemeColor::AccentBlueInactive, SchemeColor::White};
            case State::Hover:
                return {SchemeColor::AccentBlueHover, SchemeColor::White};
            case State::Pressed:
                return {SchemeColor::AccentBluePressed, SchemeColor::White};
            case State::Normal:
                break;
        }
        return {SchemeColor::AccentBlue, SchemeColor::White};
    }
    SchemeColor text = SchemeColor::NearBlack;
    switch (state) {
        case State::Disabled:
            text = SchemeColor::MidGrey;
            break;
        case State::Hover:
            text = SchemeColor::White;
            break;
        case State::Pressed:
            text = SchemeColor::LightGrey;
            break;
        case State::Normal:
            break;
    }
    if (button == DlgMain::kPreview && (!uiIsHere || !enabled || state == State::Disabled)) {
        return {SchemeColor::DisabledGrey, text};
    }
    if (!uiIsHere) return {SchemeColor::LightGrey, text};
    switch (state) {
        case State::Disabled:
            return {SchemeColor::LightGrey, text};
        case State::Hover:
            return {SchemeColor::AccentBlueHover, text};
        case State::Pressed:
            return {SchemeColor::AccentBluePressed, text};
        case State::Normal:
            break;
    }
    return {SchemeColor::White, text};
}

// A rounded, bordered face with one centred line of text.
void PaintButtonFace(HDC dc, const RECT& rect, const wchar_t* text, ButtonColors colors,
                     bool showAccelerator) noexcept {
    UniquePen border(::CreatePen(PS_SOLID, 1, ColorScheme::Color(SchemeColor::BorderGrey)));
    UniqueBrush fill(::CreateSolidBrush(ColorScheme::Color(colors.fill)));
    UniqueFont font(::CreateFontW(18, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                                  DEFAULT_PITCH, UI_FONT_FACE_NAME));
    ScopedSelect selectPen(dc, border.get());
    ScopedSelect selectBrush(dc, fill.get());
    ScopedSelect selectFont(dc, font.get());
    ::RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, kButtonCorner, kButtonCorner);
    ::SetTextColor(dc, ColorScheme::Color(colors.text));
    ::SetBkMode(dc, TRANSPARENT);
    // A mirrored button would mirror the access key's underline away from its letter. The
    // text is one centred line, so it lands on the same place drawn unmirrored.
    const DWORD layout = ::GetLayout(dc);
    if (layout != GDI_ERROR && (layout & LAYOUT_RTL) != 0) ::SetLayout(dc, layout & ~LAYOUT_RTL);
    RECT textRect = rect;
    ::DrawTextW(dc, text, -1, &textRect,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | (showAccelerator ? 0 : DT_HIDEPREFIX));
    if (layout != GDI_ERROR && (layout & LAYOUT_RTL) != 0) ::SetLayout(dc, layout);
}

}  // namespace

namespace {

std::wstring ModelName(const DevListRecord* device) {
    return device != nullptr ? std::wstring(FieldText(device->model_name)) : std::wstring();
}

}  // namespace

namespace {

// The binder's table of pictures, in the order they are loaded: slot and bitmap.
struct PictureSlot {
    int slot;
    int bitmap;
};
constexpr PictureSlot kPictures[] = {
    {0, IDB_FULL_COLOR},
    {1, IDB_GRAYSCALE},
    {2, IDB_BLACK_AND_WHITE},
    {3, IDB_FULL_COLOR_SELECTED},
    {4, IDB_GRAYSCALE_SELECTED},
    {5, IDB_BLACK_AND_WHITE_SELECTED},
    {6, IDB_PORTRAIT_SHORT},
    {14, IDB_PORTRAIT_SHORT_DISABLED},
    {7, IDB_PORTRAIT_LONG},
    {8, IDB_LANDSCAPE_SHORT},
    {9, IDB_LANDSCAPE_LONG},
    {15, IDB_LANDSCAPE_LONG_DISABLED},
    {10, IDB_PORTRAIT_SHORT_SELECTED},
    {11, IDB_PORTRAIT_LONG_SELECTED},
    {12, IDB_LANDSCAPE_SHORT_SELECTED},
    {13, IDB_LANDSCAPE_LONG_SELECTED},
};

// Layout quantities in dialog units of the main window.
constexpr int kTopOffset = 13;
constexpr int kNavigationWidth = 67;
constexpr int kNavigationHeight = 229;
constexpr int kPageWidth = 193;
constexpr int kPageHeight = 116;
constexpr int kDetailsWidth = 193;
constexpr int kDetailsBackgroundWidth = 193;
constexpr int kDetailsOffset = 115;
constexpr int kDetailsHeight = 113;
constexpr int kMarginLeftToRight = 4;
constexpr int kMarginRightToLeft = 6;

}  // namespace

DlgMain::DlgMain(const DialogSetup& setup, const MainDialogData& data)
    : DlgBase(setup), data_(data), title_(ModelName(data.device)) {
    rightToLeft_ = UserReadsRightToLeft() ? 1 : 0;
    // The parts of the window are created with it; their owner is set once it exists.
    DialogSetup part = setup;
    part.owner = nullptr;
    navTabs_ = std::make_unique<DlgNavTabs>(part);
    basic_ = std::make_unique<DlgBasic>(part);
    imaging_ = std::make_unique<DlgImaging>(part);
    advanced_ = std::make_unique<DlgAdvanced>(part);
    detailsBackground_ = std::make_unique<DlgDetailsPaneBg>(part);
    details_ = std::make_unique<DlgDetailsPane>(part, data.optionValue);
    binder_.resourceModule = setup.resourceModule;
    binder_.device = data.device;
    binder_.settings = data.settings;
    binder_.optionValue = data.optionValue;
    scanParameter_ = &binder_;
}

DlgMain::~DlgMain() = default;

void DlgMain::StartThread() noexcept {
    msgLoopThreadHandle_ = StartUiThread(&DlgMain::ThreadRoutine, this, &threadId_);
    if (!msgLoopThreadHandle_) threadEnded_.store(true);
}

DWORD WINAPI DlgMain::ThreadRoutine(void* parameter) noexcept {
    auto* dialog = static_cast<DlgMain*>(parameter);
    try {
        const HWND window = dialog->CreateModeless(dialog, IDD_MAIN);
        if (window != nullptr) ::ShowWindow(window, SW_SHOW);
        // Keyboard navigation works in whichever window of the thread is active.
        RunUiMessageLoop(
            dialog->isDlgClosed,
            [dialog](const MSG& message) { dialog->PreHandleMessage(message); },
            [] { return ::GetActiveWindow(); });
        // The profiles window is owned by this one, on a thread of its own: it ends first.
        if (dialog->profiles_ != nullptr) dialog->profiles_->Stop(kProfilesStopMs);
        // The thread's windows would go with it anyway, but without their destruction
        // messages; ending them here lets everything they own be released in order.
        if (window != nullptr && ::IsWindow(window)) ::DestroyWindow(window);
    } catch (...) {
        // Nothing unwinds out of a thread routine; the thread simply ends.
        Trace(L"Settings thread: message loop refused after a failure; the thread ends");
    }
    dialog->threadEnded_.store(true);
    return 0;
}

void DlgMain::InitDialog() {
    const HWND window = Window();
    navTabs_->SetOwner(window);
    basic_->SetOwner(window);
    imaging_->SetOwner(window);
    advanced_->SetOwner(window);
    detailsBackground_->SetOwner(window);
    details_->SetOwner(window);
    navTabs_->Create();
    basic_->Create();
    imaging_->Create();
    advanced_->Create();
    detailsBackground_->Create();
    details_->Create();
    // Children are stacked in the order they were made; the parts lie over the frame.
    for (const HWND part : {details_->Window(), detailsBackground_->Window(), advanced_->Window(),
                            imaging_->Window(), basic_->Window(), navTabs_->Window()}) {
        ::SetWindowPos(part, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    arrowCursor_ = ::LoadCursorW(nullptr, IDC_ARROW);
    RECT pane{};
    ::GetClientRect(details_->Window(), &pane);
    details_->LayOutChildren(pane.right, pane.bottom);
    activeWindow_ = window;
    SetTexts();
    for (const int id : kButtonIds) {
        // Tab, arrow keys and Return reach the buttons; the window draws them itself.
        const HWND button = ::GetDlgItem(window, id);
        ::SetWindowLongPtrW(button, GWL_STYLE, ::GetWindowLongPtrW(button, GWL_STYLE) | WS_TABSTOP);
    }
    const ResourceText aboutTip(resourceModule_, IDS_ABOUT_TOOLTIP);
    AddToolTip(resourceModule_, window, IDC_ABOUT, aboutTip.c_str());

    LoadBitmaps();
    binder_.basicPage = basic_->Window();
    binder_.imagingPage = imaging_->Window();
    binder_.advancedPage = advanced_->Window();
    binder_.owner = window;
    if (HasRecords()) {
        binder_.InitBasicControls();
        binder_.InitImagingControls();
        binder_.InitReverseImage();
        binder_.InitPreventBleedThrough();
        binder_.Reload();
        StartDetails();
    }

    const auto icon = [this](int id, int size) {
        return reinterpret_cast<LPARAM>(
            ::LoadImageW(resourceModule_, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_SHARED));
    };
    ::SendMessageW(window, WM_SETICON, ICON_SMALL,
                   icon(IDI_APP_SMALL, ::GetSystemMetrics(SM_CXSMICON)));
    ::SendMessageW(window, WM_SETICON, ICON_BIG,
                   icon(IDI_APP_LARGE, ::GetSystemMetrics(SM_CXICON)));
    for (int i = 0; i < kButtonCount; ++i) hover_[i] = accelerators_[i] = false;
    LayOut();
}

void DlgMain::LoadBitmaps() {
    for (const PictureSlot& picture : kPictures) {
        pictures_[picture.slot].reset(static_cast<HBITMAP>(::LoadImageW(
            resourceModule_, MAKEINTRESOURCEW(picture.bitmap), IMAGE_BITMAP, 0, 0, 0)));
        binder_.bitmaps[picture.slot] = pictures_[picture.slot].get();
    }
    const auto load = [this](int id) {
        return UniqueBitmap(static_cast<HBITMAP>(
            ::LoadImageW(resourceModule_, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, 0)));
    };
    background_ = load(IDB_MAIN_BACKGROUND);
    emblem_ = load(IDB_EMBLEM);
}

void DlgMain::OpenAbout() {
    // The previous window, if the user closed it, is only an object now.
    if (about_ != nullptr && about_->Window() != nullptr) return;
    DialogSetup setup;
    setup.resourceModule = resourceModule_;
    setup.owner = Window();
    setup.hostWindow = hostWindow_;
    about_ = std::make_unique<DlgAbout>(setup, rightToLeft_ != 0);
    if (const HWND about = about_->Create()) ::ShowWindow(about, SW_SHOW);
}

void DlgMain::StartDetails() {
    DlgDetailsPane& pane = *details_;
    const HWND list = pane.List();
    SetUpSettingsList(resourceModule_, list);
    RecordToEntry(*data_.settings, pane.currentEntry_);
    pane.MatchConfigurationName();
    CopyToField(data_.settings->config_name, FieldText(pane.currentEntry_.name));
    CopyToField(data_.settings->config_detail, FieldText(pane.currentEntry_.detail));
    RecordToEntry(*data_.settings, pane.currentEntry_);
    FillSettingsList(resourceModule_, list, pane.currentEntry_, data_.optionValue);
    pane.settings_ = data_.settings;
}

void DlgMain::WindowDestroyed() noexcept {
    // The pictures outlive the controls that showed them only until here.
    for (UniqueBitmap& picture : pictures_) picture.reset();
    background_.reset();
    emblem_.reset();
}

void DlgMain::SetTexts() {
    ::SetWindowTextW(Window(), title_.c_str());
    const ResourceText label(resourceModule_, IDS_MAIN_LABEL);
    ::SetDlgItemTextW(Window(), IDC_MAIN_LABEL, label.c_str());
    for (int i = 0; i < kButtonCount; ++i) {
        const ResourceText text(resourceModule_, kButtonTexts[i]);
        ::SetDlgItemTextW(Window(), kButtonIds[i], text.c_str());
    }
}

HBRUSH DlgMain::StaticColor(HDC dc, HWND control) const noexcept {
    const int id = ::GetDlgCtrlID(control);
    if (id == IDC_MAIN_FRAME) return ColorScheme::Brush(SchemeColor::White);
    if (id == IDC_MAIN_PANEL) return ColorScheme::Brush(SchemeColor::PanelGrey);
    // Everything else is the heading in the column's footer, white on the accent colour
    // that fills the whole control.
    ::SetTextColor(dc, ColorScheme::Color(SchemeColor::White));
    ::SetBkColor(dc, ColorScheme::Color(SchemeColor::AccentBlue));
    return ColorScheme::Brush(SchemeColor::AccentBlue);
}

void DlgMain::Paint() {
    PAINTSTRUCT paint;
    const HDC dc = ::BeginPaint(Window(), &paint);
    if (const HBITMAP background = background_.get()) {
        RECT window{};
        ::GetWindowRect(Window(), &window);
        UniqueMemoryDC source(::CreateCompatibleDC(dc));
        ScopedSelect select(source.get(), background);
        ::SetStretchBltMode(dc, HALFTONE);
        ::StretchBlt(dc, 0, 0, window.right - window.left, window.bottom - window.top, source.get(),
                     0, 0, 605, 700, SRCCOPY);
    }
    ::EndPaint(Window(), &paint);
}

void DlgMain::LayOut() {
    RECT window{};
    if (!::GetWindowRect(Window(), &window)) return;
    LayOutNavigation(window);
    RECT units{4, 8, 0, 0};
    ::MapDialogRect(Window(), &units);
    const int x = units.left;
    const int y = units.top;
    const auto across = [x](int n) { return ::MulDiv(x, n, 4); };
    const auto down = [y](int n) { return ::MulDiv(y, n, 8); };
    const int margin = across(rightToLeft_ ? kMarginRightToLeft : kMarginLeftToRight);
    const int pagesX = rightToLeft_ ? window.left + margin + across(kPageWidth)
                                    : window.left + margin + across(kNavigationWidth);
    const int detailsX = rightToLeft_ ? window.left + margin : pagesX;
    POINT pages{pagesX, window.top + down(kTopOffset)};
    ::ScreenToClient(Window(), &pages);
    for (const HWND page : {basic_->Window(), imaging_->Window(), advanced_->Window()}) {
        ::MoveWindow(page, pages.x, pages.y, across(kPageWidth), down(kPageHeight), FALSE);
    }
    const int detailsY = window.top + down(kTopOffset) + down(kDetailsOffset);
    // The pane and its background are children here: their screen rectangle is converted
    // whole, which keeps it where it is meant to be on a mirrored window too.
    const auto place = [this](HWND part, int left, int top, int width, int height) {
        RECT rect{left, top, left + width, top + height};
        ::MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&rect), 2);
        ::MoveWindow(part, std::min(rect.left, rect.right), rect.top, width, height, FALSE);
    };
    place(details_->Window(), detailsX, detailsY, across(kDetailsWidth), down(kDetailsHeight));
    details_->LayOutChildren(across(kDetailsWidth), down(kDetailsHeight));
    place(detailsBackground_->Window(), detailsX, detailsY, across(kDetailsBackgroundWidth),
          down(kDetailsHeight));
}

void DlgMain::LayOutNavigation(const RECT& window) {
    RECT units{4, 8, 0, 0};
    ::MapDialogRect(Window(), &units);
    const int margin =
        ::MulDiv(units.left, rightToLeft_ ? kMarginRightToLeft : kMarginLeftToRight, 4);
    const int left =
        window.left + margin + (rightToLeft_ ? ::MulDiv(units.left, kPageWidth, 4) : 0);
    const int width = ::MulDiv(units.left, kNavigationWidth, 4);
    RECT rect{left, window.top + ::MulDiv(units.top, kTopOffset, 8), left + width,
              window.top + ::MulDiv(units.top, kTopOffset, 8) +
                  ::MulDiv(units.top, kNavigationHeight, 8)};
    ::MapWindowPoints(nullptr, Window(), reinterpret_cast<POINT*>(&rect), 2);
    ::MoveWindow(navTabs_->Window(), std::min(rect.left, rect.right), rect.top, width,
                 rect.bottom - rect.top, FALSE);
}

HWND DlgMain::PageWindow(int page) const noexcept {
    switch (page) {
        case kBasicPage:
            return basic_->Window();
        case kImagingPage:
            return imaging_->Window();
        case kAdvancedPage:
            return advanced_->Window();
        default:
            return nullptr;
    }
}

void DlgMain::SelectPage(int page) {
    const HWND shown = PageWindow(page);
    currentPage_ = page;
    navTabs_->SelectPage(page);
    if (shown != nullptr) {
        for (const int other : {kBasicPage, kImagingPage, kAdvancedPage}) {
            ::ShowWindow(PageWindow(other), other == page ? SW_SHOW : SW_HIDE);
        }
    }
    EraseNavigationFocus();
    if (navTabs_->Window() != nullptr) ::DestroyWindow(navTabs_->Window());
    const HWND navigation = navTabs_->Create();
    ::SetWindowPos(navigation, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RECT window{};
    ::GetWindowRect(Window(), &window);
    LayOutNavigation(window);
    if (shown != nullptr) ::SetFocus(shown);
}

void DlgMain::EnableWindows(bool enable) {
    const BOOL state = enable ? TRUE : FALSE;
    for (const HWND part :
         {basic_->Window(), advanced_->Window(), details_->Window(), detailsBackground_->Window(),
          imaging_->Window(), navTabs_->Window(), Window()}) {
        ::EnableWindow(part, state);
    }
}

void DlgMain::RefreshDetails() {
    if (!HasRecords()) return;
    DlgDetailsPane& pane = *details_;
    RecordToEntry(*binder_.settings, pane.currentEntry_);
    pane.RefreshSettingsList(pane.List(), pane.currentEntry_);
    pane.settings_ = binder_.settings;
}

void DlgMain::OpenProfiles() {
    if (profiles_ != nullptr && !profiles_->Retired()) {
        // One profiles window at a time: the open one comes to the front.
        if (const HWND open = profiles_->Window()) ::SetForegroundWindow(open);
        return;
    }
    DialogSetup setup;
    setup.resourceModule = resourceModule_;
    setup.owner = Window();
    setup.hostWindow = hostWindow_;
    ProfilesData data;
    data.settings = binder_.settings;
    data.device = binder_.device;
    data.optionValue = data_.optionValue;
    profiles_ = DialogSlot<DlgProfiles>::Install(std::make_unique<DlgProfiles>(setup, data));
    // Without its thread no window would ever hand the UI back.
    if (!profiles_->StartThread()) EnableUi(true);
}

void DlgMain::ApplyDefaults() {
    if (!HasRecords() || details_->Profiles().empty()) return;
    EntryToRecord(details_->Profiles().front(), *binder_.settings);
    if (data_.optionValue != nullptr && *data_.optionValue != 0) *data_.optionValue = 1;
    // Reload's steps, but the size list passes through A4 first so that the orientation
    // pictures are set up for a size that offers every orientation.
    std::int32_t size = 3;
    SelectByItemData(binder_.basicPage, IDC_ORIGINAL_SIZE, &size);
    std::int32_t sending = binder_.settings->sending_size;
    SelectByItemData(binder_.basicPage, IDC_SENDING_SIZE, &sending);
    binder_.ShowDuplex();
    binder_.ShowOrientation();
    size = binder_.settings->original_size;
    SelectByItemData(binder_.basicPage, IDC_ORIGINAL_SIZE, &size);
    binder_.ShowOption();
    binder_.ShowImaging();
    binder_.ShowReverseImage();
    binder_.ShowPreventBleedThrough();
}

INT_PTR DlgMain::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = Window();
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_CLOSE:
            OnClose();
            return TRUE;
        case WM_DRAWITEM:
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return MessageResult(window, TRUE);
        case WM_SETCURSOR:
            if (IsActive()) OnSetCursor();
            return MessageResult(window, TRUE);
        case WM_WINDOWPOSCHANGED:
            LayOut();
            return MessageResult(window, TRUE);
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_SCAN:
                    RequestScan(false);
                    return TRUE;
                case IDC_PREVIEW:
                    if (::IsWindowEnabled(ButtonWindow(kPreview))) RequestScan(true);
                    return TRUE;
                case IDC_ABOUT:
                    OpenAbout();
                    return TRUE;
                default:
                    return FALSE;
            }
        case WM_MENUCHAR: {
            // CharUpperW converts a single character passed in the pointer's low word.
            const auto key = static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
                ::CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(LOWORD(wParam))))));
            if (key == L'S' && accelerators_[kScan]) {
                ::SendMessageW(Window(), WM_COMMAND, IDC_SCAN, 0);
            } else if (key == L'P' && accelerators_[kPreview] &&
                       ::IsWindowEnabled(ButtonWindow(kPreview))) {
                ::SendMessageW(Window(), WM_COMMAND, IDC_PREVIEW, 0);
            } else if (key == L'A' && accelerators_[kAbout]) {
                ::SendMessageW(Window(), WM_COMMAND, IDC_ABOUT, 0);
            }
            return MessageResult(window, MAKELRESULT(0, MNC_CLOSE));
        }
        case UIM_ENABLE:
            EnableUi((lParam & 0xFF) != 0);
            return MessageResult(window, 1);
        case UIM_CONTROL_CHANGED:
            if (HasRecords()) {
                binder_.OnControlChanged(LOWORD(wParam));
                RefreshDetails();
            }
            return MessageResult(window, 1);
        case UIM_OPEN_PROFILES:
            OpenProfiles();
            return MessageResult(window, 1);
        case UIM_APPLY_DEFAULTS:
            ApplyDefaults();
            return MessageResult(window, 1);
        case UIM_RELOAD_SETTINGS:
            if (HasRecords()) {
                binder_.Reload();
                RefreshDetails();
            }
            return MessageResult(window, 1);
        case UIM_SCAN:
            // The preview window already wrote frame and rotation into the record.
            ::SendMessageW(hostWindow_, HM_SCAN, 0, 0);
            EnableWindows(false);
            return MessageResult(window, 1);
        case UIM_SELECT_PAGE:
            SelectPage(static_cast<int>(wParam));
            return MessageResult(window, 0);
        case UIM_SYNC_DETAILS:
            details_->settings_ = binder_.settings;
            return MessageResult(window, 0);
        case UIM_SET_ACTIVE_WINDOW:
            activeWindow_ = reinterpret_cast<HWND>(wParam);
            return MessageResult(window, 0);
        default:
            return FALSE;
    }
}

void DlgMain::CloseSecondaryWindows() const noexcept {
    ::EnumThreadWindows(
        threadId_,
        [](HWND window, LPARAM main) -> BOOL {
            if (window != reinterpret_cast<HWND>(main) && ::IsWindowVisible(window)) {
                ::PostMessageW(window, WM_CLOSE, 0, 0);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(Window()));
}

void DlgMain::OnClose() {
    // Whoever sets the flag first owns the shutdown: when CloseUI got here first it waits
    // for this thread and closes the handle itself, and the host needs no word from us.
    if (isDlgClosed.exchange(true)) return;
    msgLoopThreadHandle_.reset();
    ::SendMessageW(hostWindow_, HM_UI_CLOSED, 0, 0);
}

void DlgMain::RequestScan(bool preview) {
    if (data_.settings != nullptr) {
        data_.settings->has_frame_entry = 0;
        data_.settings->left = data_.settings->top = data_.settings->right =
            data_.settings->bottom = 0.0;
        data_.settings->rotation = 1;
    }
    if (!preview) {
        for (int i = 0; i < kButtonCount; ++i)
            DrawButton(static_cast<Button>(i), ButtonState::Disabled);
    }
    ::SendMessageW(hostWindow_, HM_SCAN, preview ? 1 : 0, 0);
    EnableWindows(false);
}

void DlgMain::EnableUi(bool enable) {
    EnableWindows(enable);
    if (!enable) return;
    activeWindow_ = Window();
    DrawButton(kScan, ButtonState::Normal);
    DrawButton(kAbout, ButtonState::Normal);
    if (::IsWindowEnabled(ButtonWindow(kPreview))) DrawButton(kPreview, ButtonState::Normal);
}

void DlgMain::PreHandleMessage(const MSG& message) {
    if (message.message == WM_KEYDOWN && Window() != nullptr && ::GetActiveWindow() == Window()) {
        OnKeyDown(message.wParam);
    } else if (message.message == WM_SYSKEYDOWN && LOWORD(message.wParam) == VK_MENU) {
        // Alt shows the underlined access keys and arms the plain S and P keys.
        for (bool& flag : accelerators_) flag = true;
        if (::IsWindowEnabled(ButtonWindow(kPreview))) DrawButton(kPreview, ButtonState::Normal);
        DrawButton(kScan, ButtonState::Normal);
        DrawButton(kAbout, ButtonState::Normal);
    }
}

void DlgMain::OnKeyDown(WPARAM virtualKey) {
    const HWND focus = ::GetFocus();
    // Only the main window's own controls: the pages reuse some of these numbers.
    const int focused = ::GetParent(focus) == Window() ? ::GetDlgCtrlID(focus) : 0;
    switch (virtualKey) {
        case VK_TAB:
            // The focus is about to move on from `focused`: the navigation item that the
            // next stand-in speaks for gets the focus rectangle.
            switch (focused) {
                case IDC_SCAN:
                    MoveNavigationFocus(IDC_NAV_BASIC);
                    break;
                case IDC_NAV_KEY_BASIC:
                    MoveNavigationFocus(IDC_NAV_IMAGING);
                    break;
                case IDC_NAV_KEY_IMAGING:
                    MoveNavigationFocus(IDC_NAV_ADVANCED);
                    break;
                case IDC_NAV_KEY_ADVANCED:
                    EraseNavigationFocus();
                    break;
                default:
                    break;
            }
            break;
        case VK_RETURN:
            switch (focused) {
                case IDC_SCAN:
                case IDC_PREVIEW:
                case IDC_ABOUT:
                    ::SendMessageW(Window(), WM_COMMAND, static_cast<WPARAM>(focused), 0);
                    break;
                case IDC_NAV_KEY_BASIC:
                    SelectPage(kBasicPage);
                    break;
                case IDC_NAV_KEY_IMAGING:
                    SelectPage(kImagingPage);
                    break;
                case IDC_NAV_KEY_ADVANCED:
                    SelectPage(kAdvancedPage);
                    break;
                default:
                    break;
            }
            break;
        case 'P':
            if (accelerators_[kPreview] && ::IsWindowEnabled(ButtonWindow(kPreview))) {
                ::SendMessageW(Window(), WM_COMMAND, IDC_PREVIEW, 0);
            }
            break;
        case 'S':
            if (accelerators_[kScan]) ::SendMessageW(Window(), WM_COMMAND, IDC_SCAN, 0);
            break;
        default:
            break;
    }
}

void DlgMain::MoveNavigationFocus(int item) {
    EraseNavigationFocus();
    const HWND window = ::GetDlgItem(navTabs_->Window(), item);
    if (window == nullptr) return;
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    const HDC dc = ::GetDC(window);
    ::DrawFocusRect(dc, &rect);
    ::ReleaseDC(window, dc);
    focusItem_ = window;
    focusRect_ = rect;
}

void DlgMain::EraseNavigationFocus() {
    // The rectangle was drawn with XOR: drawing it again takes it away, as long as the
    // item window is still the one it was drawn on (a page switch makes new items).
    if (focusItem_ != nullptr && ::IsWindow(focusItem_)) {
        const HDC dc = ::GetDC(focusItem_);
        ::DrawFocusRect(dc, &focusRect_);
        ::ReleaseDC(focusItem_, dc);
    }
    focusItem_ = nullptr;
}

void DlgMain::OnSetCursor() {
    ::SetCursor(arrowCursor_);
    POINT cursor{};
    ::GetCursorPos(&cursor);
    int over = -1;
    for (int i = 0; i < kButtonCount && over < 0; ++i) {
        const HWND button = ButtonWindow(static_cast<Button>(i));
        if (i == kPreview && !::IsWindowEnabled(button)) continue;
        RECT rect{};
        ::GetWindowRect(button, &rect);
        // Edges included.
        if (cursor.x >= rect.left && cursor.x <= rect.right && cursor.y >= rect.top &&
            cursor.y <= rect.bottom) {
            over = i;
        }
    }
    for (int i = 0; i < kButtonCount; ++i) {
        const auto button = static_cast<Button>(i);
        if (i == over && !hover_[i]) {
            hover_[i] = true;
            DrawButton(button, ButtonState::Hover);
        } else if (i != over && hover_[i]) {
            hover_[i] = false;
            if (i != kPreview || ::IsWindowEnabled(ButtonWindow(kPreview))) {
                DrawButton(button, ButtonState::Normal);
            }
        }
    }
}

HWND DlgMain::ButtonWindow(Button button) const noexcept {
    return ::GetDlgItem(Window(), kButtonIds[button]);
}

void DlgMain::DrawButton(Button button, ButtonState state) {
    const HWND control = ButtonWindow(button);
    if (control == nullptr) return;
    ScopedWindowDC dc(control);
    RECT rect{};
    ::GetClientRect(control, &rect);
    const ResourceText text(resourceModule_, kButtonTexts[button]);
    PaintButtonFace(dc.get(), rect, text.c_str(),
                    ColorsOf(button, state, IsActive(), ::IsWindowEnabled(control) != FALSE),
                    accelerators_[button]);
}

void DlgMain::PaintEmblem(HDC dc, const RECT& rect) const {
    ::FillRect(dc, &rect, ColorScheme::Brush(SchemeColor::PanelGrey));
    const HBITMAP emblem = emblem_.get();
    if (emblem == nullptr) return;
    BITMAP info{};
    ::GetObjectW(emblem, sizeof info, &info);
    UniqueMemoryDC source(::CreateCompatibleDC(dc));
    ScopedSelect select(source.get(), emblem);
    // Native size, centred: the picture is drawn for its pixel size and would blur.
    const int x = rect.left + (rect.right - rect.left - info.bmWidth) / 2;
    const int y = rect.top + (rect.bottom - rect.top - info.bmHeight) / 2;
    ::BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
}

void DlgMain::DrawItem(const DRAWITEMSTRUCT& item) {
    const ButtonState state =
        (item.itemState & ODS_SELECTED) ? ButtonState::Pressed : ButtonState::Normal;
    const bool accelerator = (item.itemState & ODS_NOACCEL) == 0;
    for (int i = 0; i < kButtonCount; ++i) {
        if (static_cast<int>(item.CtlID) != kButtonIds[i]) continue;
        const auto button = static_cast<Button>(i);
        accelerators_[i] = accelerator;
        const bool enabled = ::IsWindowEnabled(item.hwndItem) != FALSE;
        const ButtonState drawn = (button == kPreview && !enabled) ? ButtonState::Disabled : state;
        const ResourceText text(resourceModule_, kButtonTexts[i]);
        PaintButtonFace(item.hDC, item.rcItem, text.c_str(),
                        ColorsOf(button, drawn, IsActive(), enabled), accelerator);
    }
    if (item.CtlID == IDC_MAIN_FRAME) {
        ::FillRect(item.hDC, &item.rcItem, ColorScheme::Brush(SchemeColor::White));
        UniquePen white(::CreatePen(PS_SOLID, 1, ColorScheme::Color(SchemeColor::White)));
        ScopedSelect pen(item.hDC, white.get());
        ScopedSelect hollow(item.hDC, ::GetStockObject(NULL_BRUSH));
        ::RoundRect(item.hDC, item.rcItem.left, item.rcItem.top, item.rcItem.right,
                    item.rcItem.bottom, kButtonCorner, kButtonCorner);
    } else if (item.CtlID == IDC_MAIN_EMBLEM) {
        PaintEmblem(item.hDC, item.rcItem);
    }
    if (item.itemState & ODS_FOCUS) {
        RECT focus = item.rcItem;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(item.hDC, &focus);
    }
}

}  // namespace quorveltwain
