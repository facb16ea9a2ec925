#include "ui/DlgPreview.h"

#include <commctrl.h>
#include <objidl.h>
#include <propidl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <gdiplus.h>
#include <memory>

#include "ResourceIds.h"
#include "config/DriverSettings.h"
#include "platform/BoundedText.h"
#include "platform/Trace.h"
#include "platform/UiThread.h"
#include "twain_ui.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMessages.h"
#include "ui/ResourceText.h"
#include "ui/ToolTip.h"
#include "ui/UiMessages.h"

namespace quorveltwain {

using namespace preview;

namespace {

constexpr int kToolButtons[] = {IDC_PREVIEW_FRAME_TOOL, IDC_PREVIEW_HAND_TOOL,
                                IDC_PREVIEW_ZOOM_TOOL, IDC_PREVIEW_ROTATE};
constexpr int kToolIcons[] = {IDI_PREVIEW_FRAME_TOOL, IDI_PREVIEW_HAND, IDI_PREVIEW_ZOOM_IN,
                              IDI_PREVIEW_ROTATE};
constexpr int kButtonIconPixels = 20;
constexpr int kStatusIconPixels = 18;
constexpr int kCursorPixels = 32;
// A scroll bar's arrow moves the image by this many image pixels.
constexpr int kLineStep = 10;
// The pointer is on the outline's corner within this many pixels (exclusive).
constexpr int kCornerReach = 5;
constexpr int kStatusChars = 64;

HICON LoadSizedIcon(HMODULE module, int id, int pixels) {
    return static_cast<HICON>(
        ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON, pixels, pixels, 0));
}

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency{};
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

}  // namespace

DlgPreview::DlgPreview(const DialogSetup& setup) noexcept : DlgBase(setup) {
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    if (Gdiplus::GdiplusStartup(&gdiplusToken_, &input, nullptr) != Gdiplus::Ok) gdiplusToken_ = 0;
}

DlgPreview::~DlgPreview() {
    image_.Clear();
    if (gdiplusToken_ != 0) Gdiplus::GdiplusShutdown(gdiplusToken_);
}

void DlgPreview::Prepare(HWND owner, HWND hostWindow, ScanSettingsRecord* settings,
                         const wchar_t* imagePath) noexcept {
    owner_ = owner;
    hostWindow_ = hostWindow;
    settings_ = settings;
    CopyToField(imagePath_, imagePath != nullptr ? imagePath : L"");
}

bool DlgPreview::StartThread() noexcept {
    stop_.store(false);
    running_.store(true);
    thread_ = StartUiThread(&DlgPreview::ThreadRoutine, this, &threadId_);
    if (!thread_) {
        running_.store(false);
        return false;
    }
    HANDLE join = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), thread_.get(), ::GetCurrentProcess(), &join,
                      SYNCHRONIZE, FALSE, 0);
    joinHandle_.reset(join);
    return true;
}

DWORD WINAPI DlgPreview::ThreadRoutine(void* parameter) noexcept {
    auto* dialog = static_cast<DlgPreview*>(parameter);
    try {
        Trace(L"preview thread start");
        const HWND window = dialog->CreateModeless(dialog, IDD_PREVIEW);
        if (window == nullptr) {
            // Nothing would ever hand the UI back or remove the file: do both now.
            dialog->Close(true);
        } else {
            ::ShowWindow(window, SW_SHOW);
            RunUiMessageLoop(
                dialog->stop_, [dialog](MSG& message) { dialog->OnKey(message); },
                [dialog] { return dialog->Window(); });
            if (::IsWindow(window)) dialog->Close(true);
        }
    } catch (...) {
        Trace(L"Preview thread: message loop refused after a failure; the thread ends");
    }
    dialog->running_.store(false);
    return 0;
}

void DlgPreview::CloseFromOtherThread(DWORD timeoutMs) noexcept {
    if (!running_.load()) return;
    stop_.store(true);
    // The preview thread destroys its own window, as its Close button would.
    if (const HWND window = Window()) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL, timeoutMs, &ignored);
    }
    WakeUiThread(threadId_);
    WaitForUiThread(joinHandle_.get(), timeoutMs);
    ::DeleteFileW(imagePath_);
}

void DlgPreview::InitDialog() {
    const HWND window = Window();
    if (owner_ != nullptr) {
        ::SendMessageW(owner_, UIM_ENABLE, 0, 0);
        ::SendMessageW(owner_, UIM_SET_ACTIVE_WINDOW, reinterpret_cast<WPARAM>(window), 0);
    }
    SetTexts();
    const struct {
        int control;
        UINT text;
    } tips[] = {{IDC_PREVIEW_FRAME_TOOL, IDS_FRAME_TOOL_TIP},
                {IDC_PREVIEW_HAND_TOOL, IDS_HAND_TOOL_TIP},
                {IDC_PREVIEW_ZOOM_TOOL, IDS_ZOOM_TOOL_TIP},
                {IDC_PREVIEW_ROTATE, IDS_ROTATE_TIP},
                {IDC_PREVIEW_RESET, IDS_RESET_TIP}};
    for (const auto& tip : tips) {
        const ResourceText text(resourceModule_, tip.text);
        AddToolTip(resourceModule_, window, tip.control, text.c_str());
    }
    rightToLeft_ = UserReadsRightToLeft() ? 1 : 0;
    Reset();

    RECT client{};
    ::GetClientRect(window, &client);
    const int width = client.right;
    int edges[3] = {std::max(0, width - 600), std::max(0, width - 420), width};
    ::SendDlgItemMessageW(window, IDC_PREVIEW_STATUS, SB_SETPARTS, 3,
                          reinterpret_cast<LPARAM>(edges));

    for (int i = 0; i < 4; ++i) {
        // Laid out right to left, the buttons keep their places but not their pictures: a
        // mirrored turn arrow would point the other way.
        const HWND button = Control(kToolButtons[i]);
        ::SetWindowLongPtrW(button, GWL_EXSTYLE,
                            ::GetWindowLongPtrW(button, GWL_EXSTYLE) & ~WS_EX_LAYOUTRTL);
        toolIcons_[i].reset(LoadSizedIcon(resourceModule_, kToolIcons[i], kButtonIconPixels));
        ::SendDlgItemMessageW(window, kToolButtons[i], BM_SETIMAGE, IMAGE_ICON,
                              reinterpret_cast<LPARAM>(toolIcons_[i].get()));
    }
    zoomOutIcon_.reset(LoadSizedIcon(resourceModule_, IDI_PREVIEW_ZOOM_OUT, kButtonIconPixels));
    statusIcons_[0].reset(
        LoadSizedIcon(resourceModule_, IDI_PREVIEW_STATUS_POSITION, kStatusIconPixels));
    statusIcons_[1].reset(
        LoadSizedIcon(resourceModule_, IDI_PREVIEW_STATUS_SIZE, kStatusIconPixels));
    for (int part = 1; part <= 2; ++part) {
        ::SendDlgItemMessageW(window, IDC_PREVIEW_STATUS, SB_SETICON, part,
                              reinterpret_cast<LPARAM>(statusIcons_[part - 1].get()));
    }
    // Icons used as pointers point at their centre; shared system cursors are not freed.
    handCursor_.reset(LoadSizedIcon(resourceModule_, IDI_PREVIEW_HAND, kCursorPixels));
    grabCursor_.reset(LoadSizedIcon(resourceModule_, IDI_PREVIEW_HAND_GRABBING, kCursorPixels));
    zoomInCursor_.reset(LoadSizedIcon(resourceModule_, IDI_PREVIEW_ZOOM_IN, kCursorPixels));
    zoomOutCursor_.reset(LoadSizedIcon(resourceModule_, IDI_PREVIEW_ZOOM_OUT, kCursorPixels));
    resizeCursor_ = ::LoadCursorW(nullptr, rightToLeft_ ? IDC_SIZENESW : IDC_SIZENWSE);
    crossCursor_ = ::LoadCursorW(nullptr, IDC_CROSS);
    leavingCursor_ = ::LoadCursorW(resourceModule_, MAKEINTRESOURCEW(IDC_CURSOR_LEAVING));
    if (leavingCursor_ == nullptr) leavingCursor_ = ::LoadCursorW(nullptr, IDC_ARROW);

    const HWND list = Control(IDC_PREVIEW_ZOOM_LIST);
    ::SendMessageW(list, CB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < kZoomSteps; ++i) {
        const ResourceText text(resourceModule_, IDS_ZOOM_50 + static_cast<UINT>(i));
        const LRESULT index =
            ::SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        ::SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), kZoomPercents[i]);
    }
    SelectZoomEntry(static_cast<int>(kZoom100Entry));
}

void DlgPreview::SetTexts() {
    const HWND window = Window();
    const ResourceText title(resourceModule_, IDS_PREVIEW_TITLE);
    ::SetWindowTextW(window, title.c_str());
    const struct {
        int control;
        UINT text;
    } texts[] = {{IDC_PREVIEW_ZOOM_LABEL, IDS_ZOOM_LABEL},
                 {IDC_PREVIEW_RESET, IDS_DETAILS_DEFAULTS},
                 {IDC_PREVIEW_SCAN, IDS_SCAN},
                 {IDC_PREVIEW_CLOSE, IDS_OK}};
    for (const auto& entry : texts) {
        const ResourceText text(resourceModule_, entry.text);
        ::SetDlgItemTextW(window, entry.control, text.c_str());
    }
}

HBRUSH DlgPreview::StaticColor(HDC dc, HWND control) const noexcept {
    ::SetTextColor(
        dc, ::GetDlgCtrlID(control) == IDC_PREVIEW_ZOOM_LABEL ? RGB(0, 0, 0) : RGB(255, 255, 255));
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

void DlgPreview::WindowDestroyed() noexcept {
    image_.Clear();
    if (pictureDc_ && pictureDcDefault_ != nullptr)
        ::SelectObject(pictureDc_.get(), pictureDcDefault_);
    pictureDc_.reset();
    picture_.reset();
    for (auto& icon : toolIcons_) icon.reset();
    zoomOutIcon_.reset();
    for (auto& icon : statusIcons_) icon.reset();
    for (UniqueIcon* cursor : {&handCursor_, &grabCursor_, &zoomInCursor_, &zoomOutCursor_}) {
        cursor->reset();
    }
}

// ---- Start and reset ----

void DlgPreview::Reset() {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    ::GetWindowPlacement(Control(IDC_PREVIEW_IMAGE), &placement);
    area_ = placement.rcNormalPosition;
    ClearStatus();
    frameHidden_ = true;
    outlineTopLeft_ = last_ = anchor_ = outlineBottomRight_ = POINT{};
    offsetX_ = offsetY_ = 0;
    imageWidth_ = imageHeight_ = 0;
    widthMm_ = heightMm_ = 0;
    frame_ = Frame{};
    rotation_ = 0;
    zoomIn_ = true;
    SelectTool(Tool::None);
    dragging_ = false;
    buttonDown_ = false;

    // The off-screen picture of the image area, made once per window.
    if (!picture_ && ViewWidth() > 0 && ViewHeight() > 0) {
        const HDC screen = ::GetDC(nullptr);
        picture_.reset(::CreateCompatibleBitmap(screen, ViewWidth(), ViewHeight()));
        pictureDc_.reset(::CreateCompatibleDC(screen));
        ::ReleaseDC(nullptr, screen);
        if (pictureDc_ && picture_)
            pictureDcDefault_ = ::SelectObject(pictureDc_.get(), picture_.get());
    }

    if (image_.Load(imagePath_)) {
        image_.SaveBmp(imagePath_);
        TakeImageSize();
    }
    zoom_ = kZoomAt100;
    Redraw(Cause::Reset);
    Show();
    SelectZoomEntry(static_cast<int>(kZoom100Entry));
    SetUpScrollBars();
}

void DlgPreview::TakeImageSize() {
    imageWidth_ = image_.Width();
    imageHeight_ = image_.Height();
    widthMm_ = MmFromPixels(imageWidth_);
    heightMm_ = MmFromPixels(imageHeight_);
}

// ---- Drawing ----

void DlgPreview::Redraw(Cause cause, POINT imagePoint) {
    LARGE_INTEGER start{};
    ::QueryPerformanceCounter(&start);
    const int viewWidth = ViewWidth();
    const int viewHeight = ViewHeight();
    switch (cause) {
        case Cause::Centre:
            offsetX_ = imagePoint.x - static_cast<std::int32_t>(viewWidth / (2 * zoom_));
            offsetY_ = imagePoint.y - static_cast<std::int32_t>(viewHeight / (2 * zoom_));
            [[fallthrough]];
        case Cause::Clamp:
            offsetX_ = ClampOffset(offsetX_, imageWidth_, viewWidth, zoom_);
            offsetY_ = ClampOffset(offsetY_, imageHeight_, viewHeight, zoom_);
            break;
        case Cause::HorizontalScroll:
            offsetX_ = offsetX_ < 1 ? 0 : ClampOffset(offsetX_, imageWidth_, viewWidth, zoom_);
            break;
        case Cause::VerticalScroll:
            offsetY_ = offsetY_ < 1 ? 0 : ClampOffset(offsetY_, imageHeight_, viewHeight, zoom_);
            break;
        case Cause::Reset:
            offsetX_ = offsetY_ = 0;
            break;
    }
    if (!pictureDc_) return;
    const RECT view{0, 0, viewWidth, viewHeight};
    ::FillRect(pictureDc_.get(), &view, static_cast<HBRUSH>(::GetStockObject(DKGRAY_BRUSH)));
    if (image_.Loaded()) {
        const LONG sourceWidth = static_cast<LONG>(viewWidth / zoom_);
        const LONG sourceHeight = static_cast<LONG>(viewHeight / zoom_);
        // Laid out right to left, the offset counts from the image's right edge, so the
        // image scrolls the way the window reads.
        const LONG sourceX =
            rightToLeft_ ? MaxOffset(imageWidth_, viewWidth, zoom_) - offsetX_ : offsetX_;
        const RECT source{sourceX, offsetY_, sourceX + sourceWidth, offsetY_ + sourceHeight};
        image_.Draw(pictureDc_.get(), source, view);
    }
    // The picture reaches the screen with the outline that the caller draws next.
    redrawStart_ = start;
    redrawPending_ = true;
}

void DlgPreview::Show() {
    if (const HWND control = Control(IDC_PREVIEW_IMAGE)) {
        const HDC dc = ::GetDC(control);
        Present(dc);
        ::ReleaseDC(control, dc);
    }
}

void DlgPreview::Present(HDC dc) {
    if (!pictureDc_) return;
    // The picture is copied as it is: a window laid out right to left must not mirror a
    // scanned page.
    ::BitBlt(dc, 0, 0, ViewWidth(), ViewHeight(), pictureDc_.get(), 0, 0,
             SRCCOPY | (rightToLeft_ ? NOMIRRORBITMAP : 0));
    const auto toControl = [this](POINT a, POINT b) {
        RECT rect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
        ::OffsetRect(&rect, -area_.left, -area_.top);
        return rect;
    };
    if (dragging_ && frameHidden_ && (last_.x != anchor_.x || last_.y != anchor_.y)) {
        DrawOutline(dc, toControl(anchor_, last_));
    } else if (!frameHidden_) {
        DrawOutline(dc, toControl(outlineTopLeft_, outlineBottomRight_));
    }
    const RECT border{0, 0, ViewWidth(), ViewHeight()};
    ::FrameRect(dc, &border, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    if (redrawPending_) {
        redrawPending_ = false;
        LARGE_INTEGER end{};
        ::QueryPerformanceCounter(&end);
        lastRedrawMs_ = Milliseconds(redrawStart_, end);
    }
}

void DlgPreview::DrawOutline(HDC dc, const RECT& rect) const {
    // A dotted line in inverted colours shows on any part of a page.
    const HPEN pen = ::CreatePen(PS_DOT, 1, RGB(0, 0, 0));
    const HGDIOBJ oldPen = ::SelectObject(dc, pen);
    const HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    const int oldRop = ::SetROP2(dc, R2_NOT);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const HRGN clip = ::CreateRectRgn(0, 0, ViewWidth(), ViewHeight());
    ::SelectClipRgn(dc, clip);
    ::Rectangle(dc, rect.left, rect.top, rect.right + 1, rect.bottom + 1);
    ::SelectClipRgn(dc, nullptr);
    ::DeleteObject(clip);
    ::SetBkMode(dc, oldMode);
    ::SetROP2(dc, oldRop);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, oldPen);
    ::DeleteObject(pen);
}

void DlgPreview::OutlineFromFrame() {
    if (frame_.right > frame_.left && frame_.bottom > frame_.top) {
        outlineTopLeft_ = {ScreenFromMm(frame_.left, offsetX_, zoom_, area_.left),
                           ScreenFromMm(frame_.top, offsetY_, zoom_, area_.top)};
        outlineBottomRight_ = {ScreenFromMm(frame_.right, offsetX_, zoom_, area_.left),
                               ScreenFromMm(frame_.bottom, offsetY_, zoom_, area_.top)};
        frameHidden_ = false;
    } else {
        frameHidden_ = true;
    }
    Show();
}

void DlgPreview::SetUpScrollBars() {
    const struct {
        int id;
        std::int32_t pixels;
        std::int32_t offset;
        bool horizontal;
    } bars[] = {{IDC_PREVIEW_HSCROLL, imageWidth_, offsetX_, true},
                {IDC_PREVIEW_VSCROLL, imageHeight_, offsetY_, false}};
    for (const auto& bar : bars) {
        const HWND control = Control(bar.id);
        RECT client{};
        ::GetClientRect(control, &client);
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
        info.nMin = 0;
        info.nMax = bar.pixels;
        info.nPage = static_cast<UINT>((bar.horizontal ? client.right : client.bottom) / zoom_);
        info.nPos = bar.offset;
        ::SetScrollInfo(control, SB_CTL, &info, TRUE);
    }
}

void DlgPreview::SelectZoomEntry(int entry) {
    ::SendDlgItemMessageW(Window(), IDC_PREVIEW_ZOOM_LIST, CB_SETCURSEL, entry, 0);
}

RECT DlgPreview::DrawnImage() const noexcept {
    RECT drawn = area_;
    drawn.right = std::min<LONG>(
        area_.right, area_.left + static_cast<LONG>((imageWidth_ - offsetX_) * zoom_ + 0.5));
    drawn.bottom = std::min<LONG>(
        area_.bottom, area_.top + static_cast<LONG>((imageHeight_ - offsetY_) * zoom_ + 0.5));
    return drawn;
}

bool DlgPreview::InArea(POINT point) const noexcept {
    return ::PtInRect(&area_, point) != 0;
}

bool DlgPreview::NearCorner(POINT point) const noexcept {
    return std::abs(point.x - outlineBottomRight_.x) < kCornerReach &&
           std::abs(point.y - outlineBottomRight_.y) < kCornerReach;
}

// ---- Status bar ----

void DlgPreview::ClearStatus() {
    for (int part = 1; part <= 2; ++part) {
        ::SendDlgItemMessageW(Window(), IDC_PREVIEW_STATUS, SB_SETTEXTW, part,
                              reinterpret_cast<LPARAM>(L""));
    }
}

void DlgPreview::WritePositionTexts(bool startOnly) {
    // Read every time: the user may switch the driver's unit while the window is open.
    DriverSettings driver{};
    ReadDriverSettings(GetDriverPaths(), driver);
    wchar_t text[kStatusChars] = {};
    const Frame shown = Ordered(frame_);
    PositionText(driver.unit, shown.left, shown.top, text, kStatusChars);
    ::SendDlgItemMessageW(Window(), IDC_PREVIEW_STATUS, SB_SETTEXTW, 1,
                          reinterpret_cast<LPARAM>(text));
    if (startOnly) {
        text[0] = L'\0';
    } else {
        const std::int32_t width = std::max(shown.right - shown.left, kMinFrameMm);
        const std::int32_t height = std::max(shown.bottom - shown.top, kMinFrameMm);
        SizeText(driver.unit, width, height, text, kStatusChars);
    }
    ::SendDlgItemMessageW(Window(), IDC_PREVIEW_STATUS, SB_SETTEXTW, 2,
                          reinterpret_cast<LPARAM>(text));
}

// ---- Commands ----

INT_PTR DlgPreview::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND window = Window();
    switch (message) {
        case WM_COMMAND:
            // The menus' commands do not fit a command's 16 bits: they come whole, from
            // the menus themselves (TrackPopupMenu returns them) or from a sender.
            if (lParam == 0 && wParam >= IDM_ROTATE_CLOCKWISE && wParam <= IDM_ZOOM_OUT) {
                OnCommand(static_cast<int>(wParam));
            } else if (LOWORD(wParam) == IDC_PREVIEW_ZOOM_LIST) {
                if (HIWORD(wParam) == CBN_SELCHANGE) OnCommand(IDC_PREVIEW_ZOOM_LIST);
            } else if (HIWORD(wParam) == BN_CLICKED || lParam == 0) {
                OnCommand(LOWORD(wParam));
            }
            return TRUE;
        case WM_CLOSE:
            Close(true);
            return TRUE;
        case WM_HSCROLL:
        case WM_VSCROLL:
            OnScroll(::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)), LOWORD(wParam),
                     HIWORD(wParam));
            return TRUE;
        case WM_MOUSEMOVE:
            OnMouseMove({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return TRUE;
        case WM_LBUTTONDOWN:
            OnButtonDown({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            return TRUE;
        case WM_LBUTTONUP:
            OnButtonUp();
            return TRUE;
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID != IDC_PREVIEW_IMAGE) return FALSE;
            Present(item->hDC);
            return MessageResult(window, TRUE);
        }
        case WM_SETCURSOR:
            // Over the image the tools choose the pointer (WM_MOUSEMOVE).
            if (tool_ != Tool::None && pointerInside_ && LOWORD(lParam) == HTCLIENT)
                return MessageResult(window, TRUE);
            return FALSE;
        default:
            return FALSE;
    }
}

void DlgPreview::OnCommand(int id) {
    switch (id) {
        case IDC_PREVIEW_FRAME_TOOL:
            SelectTool(Tool::Frame);
            frameHidden_ = true;
            frame_ = Frame{};
            ClearStatus();
            OutlineFromFrame();
            break;
        case IDC_PREVIEW_HAND_TOOL:
            SelectTool(Tool::Hand);
            break;
        case IDC_PREVIEW_ZOOM_TOOL: {
            SelectTool(Tool::None);
            const int items[] = {IDM_ZOOM_IN, IDM_ZOOM_OUT};
            const UINT texts[] = {IDS_ZOOM_IN, IDS_ZOOM_OUT};
            ShowToolMenu(IDC_PREVIEW_ZOOM_TOOL, items, texts, 2);
            SelectTool(Tool::Zoom);
            break;
        }
        case IDC_PREVIEW_ROTATE: {
            const int items[] = {IDM_ROTATE_CLOCKWISE, IDM_ROTATE_COUNTERCLOCKWISE,
                                 IDM_ROTATE_HALF_TURN};
            const UINT texts[] = {IDS_ROTATE_CLOCKWISE, IDS_ROTATE_COUNTERCLOCKWISE,
                                  IDS_ROTATE_HALF_TURN};
            ShowToolMenu(IDC_PREVIEW_ROTATE, items, texts, 3);
            SelectTool(Tool::None);
            break;
        }
        case IDM_ROTATE_CLOCKWISE:
            Turn(preview::Turn::Clockwise, false);
            break;
        case IDM_ROTATE_COUNTERCLOCKWISE:
            Turn(preview::Turn::CounterClockwise, false);
            break;
        case IDM_ROTATE_HALF_TURN:
            Turn(preview::Turn::HalfTurn, false);
            break;
        case IDM_ZOOM_IN:
        case IDM_ZOOM_OUT:
            zoomIn_ = id == IDM_ZOOM_IN;
            ::SendDlgItemMessageW(
                Window(), IDC_PREVIEW_ZOOM_TOOL, BM_SETIMAGE, IMAGE_ICON,
                reinterpret_cast<LPARAM>(zoomIn_ ? toolIcons_[2].get() : zoomOutIcon_.get()));
            SelectTool(Tool::Zoom);
            break;
        case IDC_PREVIEW_ZOOM_LIST: {
            const HWND list = Control(IDC_PREVIEW_ZOOM_LIST);
            const LRESULT entry = ::SendMessageW(list, CB_GETCURSEL, 0, 0);
            if (entry == CB_ERR) break;
            zoom_ =
                ZoomFromPercent(static_cast<int>(::SendMessageW(list, CB_GETITEMDATA, entry, 0)));
            Redraw(Cause::Clamp);
            OutlineFromFrame();
            SetUpScrollBars();
            break;
        }
        case IDC_PREVIEW_SCAN:
            Scan();
            break;
        case IDC_PREVIEW_CLOSE:
        case IDCANCEL:
            Close(true);
            break;
        case IDC_PREVIEW_RESET:
            AskReset();
            break;
        default:
            break;
    }
}

void DlgPreview::ShowToolMenu(int buttonId, const int* items, const UINT* texts, int count) {
    const HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr) return;
    for (int i = 0; i < count; ++i) {
        const ResourceText text(resourceModule_, texts[i]);
        ::AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(items[i]), text.c_str());
    }
    RECT button{};
    ::GetWindowRect(Control(buttonId), &button);
    const UINT align = rightToLeft_ ? TPM_RIGHTALIGN : TPM_LEFTALIGN;
    const int chosen = static_cast<int>(::TrackPopupMenu(
        menu, align | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
        rightToLeft_ ? button.right : button.left, button.bottom, 0, Window(), nullptr));
    ::DestroyMenu(menu);
    if (chosen != 0) OnCommand(chosen);
}

void DlgPreview::SelectTool(Tool tool) {
    tool_ = tool;
    const struct {
        int id;
        Tool tool;
    } buttons[] = {{IDC_PREVIEW_FRAME_TOOL, Tool::Frame},
                   {IDC_PREVIEW_HAND_TOOL, Tool::Hand},
                   {IDC_PREVIEW_ZOOM_TOOL, Tool::Zoom}};
    for (const auto& button : buttons) {
        ::SendDlgItemMessageW(Window(), button.id, BM_SETCHECK,
                              button.tool == tool ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

// ---- Scrolling ----

void DlgPreview::OnScroll(int bar, int request, int track) {
    if (bar != IDC_PREVIEW_HSCROLL && bar != IDC_PREVIEW_VSCROLL) return;
    if (buttonDown_) OnButtonUp();
    const bool horizontal = bar == IDC_PREVIEW_HSCROLL;
    const HWND control = Control(bar);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ::GetScrollInfo(control, SB_CTL, &info);
    const int page = static_cast<int>(info.nPage);
    int position = info.nPos;
    switch (request) {
        case SB_LINEUP:
            position -= kLineStep;
            break;
        case SB_LINEDOWN:
            if (position < info.nMax) position += kLineStep;
            break;
        case SB_PAGEUP:
            if (page == 0) return;
            position -= page;
            break;
        case SB_PAGEDOWN:
            if (page == 0) return;
            if (position < info.nMax) position += page;
            break;
        case SB_THUMBTRACK:
            if (track == position) return;
            position = track;
            break;
        case SB_TOP:
            position = 0;
            break;
        case SB_BOTTOM:
            position = info.nMax;
            break;
        default:
            return;
    }
    const std::int32_t pixels = horizontal ? imageWidth_ : imageHeight_;
    const int view = horizontal ? ViewWidth() : ViewHeight();
    position = std::min(position, MaxOffset(pixels, view, zoom_));
    if (position < 1) position = 0;
    (horizontal ? offsetX_ : offsetY_) = position;
    frameHidden_ = true;
    Redraw(horizontal ? Cause::HorizontalScroll : Cause::VerticalScroll);
    info.fMask = SIF_POS;
    info.nPos = horizontal ? offsetX_ : offsetY_;
    ::SetScrollInfo(control, SB_CTL, &info, TRUE);
    OutlineFromFrame();
    ::UpdateWindow(Window());
}

// ---- The keyboard ----

// The image moves with the arrow keys, Page Up and Down, Home and End, as the scroll bars
// would move it, and Ctrl with + or - steps through the zoom list; a key used here goes no
// further (the dialog would move the focus with the arrows). In the zoom list the keys keep
// their usual meaning.
void DlgPreview::OnKey(MSG& message) {
    const HWND window = Window();
    if (message.message != WM_KEYDOWN || window == nullptr) return;
    if (message.hwnd != window && !::IsChild(window, message.hwnd)) return;
    const HWND list = Control(IDC_PREVIEW_ZOOM_LIST);
    if (message.hwnd == list || ::IsChild(list, message.hwnd)) return;
    static constexpr struct {
        WPARAM key;
        int bar;
        int request;
    } kScrollKeys[] = {
        {VK_LEFT, IDC_PREVIEW_HSCROLL, SB_LINEUP},  {VK_RIGHT, IDC_PREVIEW_HSCROLL, SB_LINEDOWN},
        {VK_UP, IDC_PREVIEW_VSCROLL, SB_LINEUP},    {VK_DOWN, IDC_PREVIEW_VSCROLL, SB_LINEDOWN},
        {VK_PRIOR, IDC_PREVIEW_VSCROLL, SB_PAGEUP}, {VK_NEXT, IDC_PREVIEW_VSCROLL, SB_PAGEDOWN},
        {VK_HOME, IDC_PREVIEW_VSCROLL, SB_TOP},     {VK_END, IDC_PREVIEW_VSCROLL, SB_BOTTOM}};
    for (const auto& key : kScrollKeys) {
        if (key.key != message.wParam) continue;
        OnScroll(key.bar, key.request, 0);
        message.message = WM_NULL;
        return;
    }
    const WPARAM key = message.wParam;
    const bool zoomIn = key == VK_ADD || key == VK_OEM_PLUS;
    if ((!zoomIn && key != VK_SUBTRACT && key != VK_OEM_MINUS) ||
        (::GetKeyState(VK_CONTROL) & 0x8000) == 0)
        return;
    const int entry = static_cast<int>(::SendMessageW(list, CB_GETCURSEL, 0, 0));
    const int next = std::clamp(entry + (zoomIn ? 1 : -1), 0, static_cast<int>(kZoomSteps) - 1);
    if (next != entry) {
        SelectZoomEntry(next);
        OnCommand(IDC_PREVIEW_ZOOM_LIST);
    }
    message.message = WM_NULL;
}

// ---- The mouse ----

void DlgPreview::OnMouseMove(POINT point) {
    if (::GetActiveWindow() != Window() || tool_ == Tool::None) return;
    ::SetCapture(Window());
    if (InArea(point)) {
        pointerInside_ = true;
        if (tool_ == Tool::Hand) {
            ::SetCursor(buttonDown_ ? grabCursor_.get() : handCursor_.get());
        } else if (tool_ == Tool::Zoom) {
            ::SetCursor(zoomIn_ ? zoomInCursor_.get() : zoomOutCursor_.get());
        } else if (!dragging_) {
            if (!frameHidden_ && NearCorner(point)) {
                ::SetCursor(resizeCursor_);
            } else if (!buttonDown_) {
                ::SetCursor(crossCursor_);
            }
        }
    } else if (pointerInside_) {
        pointerInside_ = false;
        ::SetCursor(leavingCursor_);
    } else {
        ::ReleaseCapture();
        return;
    }
    if (!buttonDown_) return;

    if (tool_ == Tool::Frame && dragging_) {
        const RECT drawn = DrawnImage();
        point.x = std::clamp<LONG>(point.x, area_.left, std::max(area_.left, drawn.right - 1));
        point.y = std::clamp<LONG>(point.y, area_.top, std::max(area_.top, drawn.bottom - 1));
        last_ = point;
        frame_.right = RoundedMm(PixelFromScreen(point.x, area_.left, zoom_, offsetX_));
        frame_.bottom = RoundedMm(PixelFromScreen(point.y, area_.top, zoom_, offsetY_));
        WritePositionTexts(false);
        Show();
    } else if (tool_ == Tool::Hand) {
        ::SetCursor(grabCursor_.get());
        offsetX_ -= static_cast<std::int32_t>((point.x - last_.x) / zoom_);
        offsetY_ -= static_cast<std::int32_t>((point.y - last_.y) / zoom_);
        last_ = point;
        frameHidden_ = true;
        Redraw(Cause::Clamp);
        SetUpScrollBars();
        OutlineFromFrame();
    }
}

void DlgPreview::OnButtonDown(POINT point) {
    buttonDown_ = true;
    const RECT drawn = DrawnImage();
    if (!::PtInRect(&drawn, point)) return;
    last_ = point;
    if (!pointerInside_) return;
    if (tool_ == Tool::Zoom) {
        OnZoomClick(point);
        return;
    }
    if (tool_ != Tool::Frame) return;
    if (dragging_) {
        OnButtonUp();
        return;
    }
    dragging_ = true;
    if (!frameHidden_ && NearCorner(point)) {
        // Resizing: the far corner stays, the drag goes on from the old corner.
        anchor_ = outlineTopLeft_;
        last_ = outlineBottomRight_;
        frameHidden_ = true;
        return;
    }
    anchor_ = point;
    frame_.left = RoundedMm(PixelFromScreen(point.x, area_.left, zoom_, offsetX_));
    frame_.top = RoundedMm(PixelFromScreen(point.y, area_.top, zoom_, offsetY_));
    frame_.right = frame_.left;
    frame_.bottom = frame_.top;
    WritePositionTexts(true);
    OutlineFromFrame();  // a frame without area yet: the old outline goes
}

void DlgPreview::OnButtonUp() {
    buttonDown_ = false;
    if (tool_ != Tool::Frame || !dragging_) return;
    // The rubber band is on the screen once the pointer moved with the button held.
    const bool outlineShown = last_.x != anchor_.x || last_.y != anchor_.y;
    frame_ = WithMinimumSize(frame_, widthMm_, heightMm_);
    dragging_ = false;
    if (!outlineShown) {
        frame_ = Frame{};
        ClearStatus();
    } else {
        frame_ = Ordered(frame_);
        WritePositionTexts(false);
    }
    OutlineFromFrame();
}

void DlgPreview::OnZoomClick(POINT point) {
    const POINT imagePoint{PixelFromScreen(point.x, area_.left, zoom_, offsetX_),
                           PixelFromScreen(point.y, area_.top, zoom_, offsetY_)};
    const int current = static_cast<int>(
        ::SendDlgItemMessageW(Window(), IDC_PREVIEW_ZOOM_LIST, CB_GETCURSEL, 0, 0));
    const int entry = NextZoomEntry(PercentFromZoom(zoom_), zoomIn_, current);
    if (entry < 0) return;
    zoom_ = ZoomFromPercent(kZoomPercents[entry]);
    Redraw(Cause::Centre, imagePoint);
    OutlineFromFrame();
    SelectZoomEntry(entry);
    SetUpScrollBars();
}

// ---- Turning, reset, scan and close ----

void DlgPreview::Turn(preview::Turn turn, bool undoing) {
    const double oldWidthMm = widthMm_;
    if (!image_.Turn(turn)) return;
    image_.SaveBmp(imagePath_);
    TakeImageSize();
    zoom_ = kZoomAt100;
    Redraw(Cause::Reset);
    SelectZoomEntry(static_cast<int>(kZoom100Entry));
    SetUpScrollBars();
    if (frameHidden_ || undoing) {
        Show();
        ClearStatus();
    } else {
        // Laid out right to left, the frame is measured from the page's right edge: it turns
        // with the page as the page's own frame does.
        frame_ = rightToLeft_
                     ? Mirrored(TurnFrame(Mirrored(frame_, oldWidthMm), turn, widthMm_, heightMm_),
                                widthMm_)
                     : TurnFrame(frame_, turn, widthMm_, heightMm_);
        OutlineFromFrame();
        WritePositionTexts(false);
    }
    rotation_ = (rotation_ + TurnDegrees(turn)) % 360;
}

void DlgPreview::AskReset() {
    DialogSetup setup;
    setup.resourceModule = resourceModule_;
    setup.owner = Window();
    setup.hostWindow = hostWindow_;
    DlgMessages* question = DialogSlot<DlgMessages>::Install(std::make_unique<DlgMessages>(setup));
    if (question->ShowMessage(DlgMessages::kConfirmPreviewReset) != IDC_MESSAGE_YES) return;
    if (Window() == nullptr) return;  // closed while the question was open
    switch (rotation_) {
        case 90:
            Turn(preview::Turn::CounterClockwise, true);
            break;
        case 180:
            Turn(preview::Turn::HalfTurn, true);
            break;
        case 270:
            Turn(preview::Turn::Clockwise, true);
            break;
        default:
            break;
    }
    Reset();
}

void DlgPreview::Scan() {
    Frame frame = frame_;
    if (rightToLeft_) frame = Mirrored(frame, widthMm_);
    if (settings_ != nullptr) {
        if (!frame.Empty()) {
            settings_->has_frame_entry = 1;
            settings_->left = frame.left;
            settings_->top = frame.top;
            settings_->right = frame.right;
            settings_->bottom = frame.bottom;
        } else {
            settings_->has_frame_entry = 0;
            settings_->left = settings_->top = settings_->right = settings_->bottom = 0.0;
        }
        settings_->rotation = RotationCode(rotation_);
    }
    if (owner_ != nullptr) {
        ::SendMessageW(owner_, UIM_SCAN, 0, 0);
    } else {
        ::SendMessageW(hostWindow_, HM_SCAN, 0, 0);
    }
    Close(false);
}

void DlgPreview::Close(bool enableOwner) {
    stop_.store(true);
    thread_.reset();
    if (enableOwner && owner_ != nullptr) ::SendMessageW(owner_, UIM_ENABLE, 0, 1);
    if (const HWND window = Window()) ::DestroyWindow(window);
    ::DeleteFileW(imagePath_);
    // A close that came as a sent message leaves the loop waiting for a posted one.
    WakeUiThread(::GetCurrentThreadId());
}

}  // namespace quorveltwain
