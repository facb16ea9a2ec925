#pragma once
// The binder of the main window's three settings pages: orientation and colour mode are
// radio buttons with pictures, exposure and contrast sliders with number fields, image
// reversal and bleed-through prevention check boxes; the rest are drop-down lists.

#include <windows.h>

#include <cstdint>

#include "platform/UniqueHandle.h"
#include "ui/ScanParameter.h"

namespace quorveltwain {

class MainScanParameter final : public ScanParameter {
  public:
    // The pictures of the colour and orientation choices, by slot: 0-2 colour modes (full
    // colour, grayscale, black and white), 3-5 the same selected; 6-9 orientations 1-4,
    // 10-13 the same selected; 14 orientation 1 and 15 orientation 4 disabled. Filled by
    // the main dialog, which owns what it loads there; InitOrientation and InitColorMode
    // put the pictures of offered choices into slots 0-2 and 6-9, and those stay the
    // binder's: the binder must outlive the pages that show them.
    HBITMAP bitmaps[16] = {};

    MainScanParameter() = default;
    MainScanParameter(const MainScanParameter&) = delete;
    MainScanParameter& operator=(const MainScanParameter&) = delete;
    ~MainScanParameter() = default;

    void OnOriginalSizeChanged() override;
    void OnOrientationChanged() override;
    void OnExposureChanged() override;
    void OnContrastChanged() override;
    void OnColorModeChanged() override;
    void OnReverseImageChanged() override;
    void OnPreventBleedThroughChanged() override;
    void InitOrientation() override;
    void InitExposure() override;
    void InitContrast() override;
    void InitColorMode() override;
    void InitReverseImage() override;
    void InitPreventBleedThrough() override;
    void ShowOrientation() override;
    void ShowExposure() override;
    void ShowContrast() override;
    void ShowColorMode() override;
    void ShowReverseImage() override;
    void ShowPreventBleedThrough() override;

  private:
    // Orientations 1 and 4 exist only for some sizes, and only on models that take A3.
    bool IsFourOrientationSize(std::int32_t originalSize) const noexcept;
    void SetPicture(HWND page, int pictureId, int slot) const noexcept;
    // Loads `bitmapId` into `slot`, keeping it for the life of the binder.
    void LoadIntoSlot(int slot, int bitmapId);
    // Orientations 1 and 4 with their pictures, as the original size allows them.
    void EnableOuterOrientations(bool enable) const noexcept;
    static void Check(HWND page, int buttonId, bool checked) noexcept;
    static int SliderPosition(HWND page, int sliderId) noexcept;
    static void SetSlider(HWND page, int sliderId, int fieldId, int position);
    static void SetUpSlider(HWND page, int sliderId, int fieldId) noexcept;

    UniqueBitmap loaded_[16];
};

}  // namespace quorveltwain
