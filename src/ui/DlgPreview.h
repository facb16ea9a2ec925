#pragma once
// The preview window: the host's preview scan, to be scrolled, zoomed, turned in quarter
// turns and framed before the real scan. It runs on a thread of its own per preview. The
// frame and the turn reach the host's settings record only when the user presses Scan; the
// image file is the working copy, rewritten by every turn and deleted when the window ends.

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "config/DriverPaths.h"
#include "platform/UniqueHandle.h"
#include "settings/ScanSettingsRecord.h"
#include "ui/DlgBase.h"
#include "ui/PreviewGeometry.h"
#include "ui/PreviewImage.h"

namespace quorveltwain {

class DlgPreview final : public DlgBase {
  public:
    enum class Tool { None, Frame, Hand, Zoom };

    // Starts GDI+ for the object's life.
    explicit DlgPreview(const DialogSetup& setup) noexcept;
    ~DlgPreview();

    void InitDialog() override;
    void SetTexts() override;

    // What the next window shows and where its answer goes. Only while no window of this
    // object is open.
    void Prepare(HWND owner, HWND hostWindow, ScanSettingsRecord* settings,
                 const wchar_t* imagePath) noexcept;
    // Starts the preview thread, which creates the window and runs its loop.
    bool StartThread() noexcept;
    // Ends an open window from another thread (CloseUI, or a new preview replacing this
    // one): the preview thread closes its own window as its Close button would, deleting
    // the file and handing the UI back to the owner. Waits at most `timeoutMs` for the
    // thread to end, serving what it sends meanwhile.
    void CloseFromOtherThread(DWORD timeoutMs) noexcept;
    bool Running() const noexcept { return running_.load(); }
    bool Retired() const noexcept { return !running_.load() && Window() == nullptr; }

    // State the tests read.
    const preview::Frame& FrameMm() const noexcept { return frame_; }
    std::int32_t RotationDegrees() const noexcept { return rotation_; }
    double Zoom() const noexcept { return zoom_; }
    Tool ActiveTool() const noexcept { return tool_; }
    POINT Offsets() const noexcept { return {offsetX_, offsetY_}; }
    // Milliseconds of the last redraw of the image area (for the benchmark).
    double LastRedrawMs() const noexcept { return lastRedrawMs_; }

  private:
    friend class DlgBase;
    enum class Cause { Reset, Clamp, HorizontalScroll, VerticalScroll, Centre };

    static DWORD WINAPI ThreadRoutine(void* parameter) noexcept;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    HBRUSH StaticColor(HDC dc, HWND control) const noexcept;
    void WindowDestroyed() noexcept;

    void Reset();
    void OnCommand(int id);
    void OnScroll(int bar, int request, int track);
    // Keys for the image, seen by the preview thread's loop before the dialog manager.
    void OnKey(MSG& message);
    void OnMouseMove(POINT point);
    void OnButtonDown(POINT point);
    void OnButtonUp();
    void OnZoomClick(POINT point);
    void ShowToolMenu(int buttonId, const int* items, const UINT* texts, int count);
    void SelectTool(Tool tool);
    void Turn(preview::Turn turn, bool undoing);
    void AskReset();
    void Scan();
    // Close (and Scan, which leaves the owner disabled for the scan it asked for).
    void Close(bool enableOwner);

    // The image's size and millimetres after a load or a turn.
    void TakeImageSize();
    // Offsets by `cause` and the image into the off-screen picture; the caller shows it.
    void Redraw(Cause cause, POINT imagePoint = {});
    // The picture and the outline onto the screen.
    void Show();
    void Present(HDC dc);
    void SetUpScrollBars();
    void SelectZoomEntry(int entry);
    // The frame's outline from the frame in millimetres; hidden when it has no area.
    void OutlineFromFrame();
    void DrawOutline(HDC dc, const RECT& rect) const;
    RECT DrawnImage() const noexcept;
    bool InArea(POINT point) const noexcept;
    bool NearCorner(POINT point) const noexcept;
    void WritePositionTexts(bool startOnly);
    void ClearStatus();
    int ViewWidth() const noexcept { return area_.right - area_.left; }
    int ViewHeight() const noexcept { return area_.bottom - area_.top; }
    HWND Control(int id) const noexcept { return ::GetDlgItem(Window(), id); }

    std::atomic<bool> stop_{false};
    std::atomic<bool> running_{false};
    UniqueKernelHandle thread_;      // closed by the window's own end, as the host sees it
    UniqueKernelHandle joinHandle_;  // kept to wait for the thread from another one
    DWORD threadId_ = 0;
    std::int32_t rightToLeft_ = 0;
    wchar_t imagePath_[kPathChars] = {};
    ScanSettingsRecord* settings_ = nullptr;
    ULONG_PTR gdiplusToken_ = 0;

    RECT area_{};  // the image area in the dialog's client coordinates
    preview::Frame frame_;
    std::int32_t offsetX_ = 0;
    std::int32_t offsetY_ = 0;
    std::int32_t imageWidth_ = 0;
    std::int32_t imageHeight_ = 0;
    double widthMm_ = 0;
    double heightMm_ = 0;
    double zoom_ = preview::kZoomAt100;
    bool frameHidden_ = true;
    bool buttonDown_ = false;
    bool pointerInside_ = false;
    bool dragging_ = false;
    Tool tool_ = Tool::None;
    bool zoomIn_ = true;
    POINT outlineTopLeft_{};
    POINT last_{};
    POINT anchor_{};
    POINT outlineBottomRight_{};
    std::int32_t rotation_ = 0;
    double lastRedrawMs_ = 0;
    LARGE_INTEGER redrawStart_{};
    bool redrawPending_ = false;

    PreviewImage image_;
    UniqueBitmap picture_;  // the image area's off-screen picture
    UniqueMemoryDC pictureDc_;
    HGDIOBJ pictureDcDefault_ = nullptr;
    UniqueIcon toolIcons_[4];
    UniqueIcon zoomOutIcon_;
    UniqueIcon statusIcons_[2];
    // The hand and zoom pointers are the tools' icons at the pointer's size.
    UniqueIcon handCursor_;
    UniqueIcon grabCursor_;
    UniqueIcon zoomInCursor_;
    UniqueIcon zoomOutCursor_;
    HCURSOR resizeCursor_ = nullptr;
    HCURSOR crossCursor_ = nullptr;
    HCURSOR leavingCursor_ = nullptr;
};

}  // namespace quorveltwain
