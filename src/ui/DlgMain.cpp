#include "ui/DlgMain.h"

#include <windowsx.h>

#include "ResourceIds.h"
#include "platform/UiThread.h"
#include "platform/ScopedSelect.h"
#include "platform/BoundedText.h"
#include "platform/ScopedWindowDC.h"
#include "twain_ui.h"
#include "ui/ColorScheme.h"
#include "ui/ResourceText.h"
#include "ui/ToolTip.h"
#include "ui/UiMessages.h"

namespace quorveltwain {

namespace {

constexpr int kButtonIds[DlgMain::kButtonCount] = {IDC_SCAN, IDC_PREVIEW, IDC_ABOUT};
constexpr UINT kButtonTexts[DlgMain::kButtonCount] = {IDS_SCAN, IDS_PREVIEW, IDS_ABOUT};
constexpr int kButtonCorner = 5;

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

DlgMain::DlgMain(const DialogSetup& setup, const MainDialogData& data)
    : DlgBase(setup), data_(data), title_(ModelName(data.device)) {}

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
    arrowCursor_ = ::LoadCursorW(nullptr, IDC_ARROW);
    activeWindow_ = Window();
    SetTexts();
    for (const int id : kButtonIds) {
        // Tab, arrow keys and Return reach the buttons; the window draws them itself.
        ::SetWindowLongPtrW(
            ::GetDlgItem(Window(), id), GWL_STYLE,
            ::GetWindowLongPtrW(::GetDlgItem(Window(), id), GWL_STYLE) | WS_TABSTOP);
    }
    const auto icon = [this](int id, int size) {
        return reinterpret_cast<LPARAM>(
            ::LoadImageW(resourceModule_, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_SHARED));
    };
    ::SendMessageW(Window(), WM_SETICON, ICON_SMALL,
                   icon(IDI_APP_SMALL, ::GetSystemMetrics(SM_CXSMICON)));
    ::SendMessageW(Window(), WM_SETICON, ICON_BIG,
                   icon(IDI_APP_LARGE, ::GetSystemMetrics(SM_CXICON)));
    const ResourceText aboutTip(resourceModule_, IDS_ABOUT_TOOLTIP);
    AddToolTip(resourceModule_, Window(), IDC_ABOUT, aboutTip.c_str());
    for (int i = 0; i < kButtonCount; ++i) hover_[i] = accelerators_[i] = false;
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
    ::SetBkMode(dc, TRANSPARENT);
    if (id == IDC_MAIN_PANEL) return ColorScheme::Brush(SchemeColor::PanelGrey);
    ::SetTextColor(dc, ColorScheme::Color(id == IDC_MAIN_LABEL ? SchemeColor::MidGrey
                                                               : SchemeColor::NearBlack));
    return ColorScheme::Brush(SchemeColor::White);
}

INT_PTR DlgMain::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = Window();
    switch (message) {
        case WM_CLOSE:
            OnClose();
            return TRUE;
        case WM_DRAWITEM:
            DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return MessageResult(window, TRUE);
        case WM_SETCURSOR:
            if (IsActive()) OnSetCursor();
            return MessageResult(window, TRUE);
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_SCAN:
                    RequestScan(false);
                    return TRUE;
                case IDC_PREVIEW:
                    if (::IsWindowEnabled(ButtonWindow(kPreview))) RequestScan(true);
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
        case UIM_SCAN:
            // The preview window already wrote frame and rotation into the record.
            ::SendMessageW(hostWindow_, HM_SCAN, 0, 0);
            EnableUi(false);
            return MessageResult(window, 1);
        case UIM_SET_ACTIVE_WINDOW:
            activeWindow_ = reinterpret_cast<HWND>(wParam);
            return TRUE;
        default:
            return FALSE;
    }
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
    EnableUi(false);
}

void DlgMain::EnableUi(bool enable) {
    ::EnableWindow(Window(), enable ? TRUE : FALSE);
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
    const int focused = ::GetDlgCtrlID(::GetFocus());
    switch (virtualKey) {
        case VK_RETURN:
            if (focused == IDC_SCAN || focused == IDC_PREVIEW || focused == IDC_ABOUT) {
                ::SendMessageW(Window(), WM_COMMAND, static_cast<WPARAM>(focused), 0);
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
    UniqueBitmap emblem(static_cast<HBITMAP>(
        ::LoadImageW(resourceModule_, MAKEINTRESOURCEW(IDB_EMBLEM), IMAGE_BITMAP, 0, 0, 0)));
    if (!emblem) return;
    BITMAP info{};
    ::GetObjectW(emblem.get(), sizeof info, &info);
    UniqueMemoryDC source(::CreateCompatibleDC(dc));
    ScopedSelect select(source.get(), emblem.get());
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
