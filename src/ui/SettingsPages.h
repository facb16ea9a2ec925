#pragma once
// The three settings pages of the scan-settings window. A page never touches the settings
// record: it keeps its own controls consistent (radio groups with picture labels, sliders
// with their number fields, the automatic-exposure switch), corrects what the user types,
// and reports every change to the main window with UIM_CONTROL_CHANGED, where the binder
// decides whether the new value is allowed.

#include <windows.h>

#include <vector>

#include "platform/UniqueHandle.h"
#include "ui/DlgBase.h"

namespace quorveltwain {

// The window all three pages report to is their owner, the main window: the main window
// sets it when it is created, so pages are made with a setup whose owner is the main window.
// The pictures that a page's template names are loaded by their static controls, which
// never delete them: the page takes them over when it starts and deletes them when its
// window is gone (a leak of a few bitmaps per opened window otherwise).
class TemplatePictures {
  public:
    void TakeFrom(HWND page) noexcept;
    void Release() noexcept { pictures_.clear(); }

  private:
    std::vector<UniqueBitmap> pictures_;
};

class DlgBasic final : public DlgBase {
  public:
    explicit DlgBasic(const DialogSetup& setup) noexcept : DlgBase(setup) {}
    ~DlgBasic() = default;
    void InitDialog() override;
    void SetTexts() override;
    HWND Create() noexcept { return CreateModeless(this, kTemplate); }
    static constexpr int kTemplate = 124;
    void SetOwner(HWND owner) noexcept { owner_ = owner; }

  private:
    friend class DlgBase;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    HBRUSH StaticColor(HDC dc, HWND control) const noexcept;
    void WindowDestroyed() noexcept { templatePictures_.Release(); }

    TemplatePictures templatePictures_;
};

class DlgImaging final : public DlgBase {
  public:
    explicit DlgImaging(const DialogSetup& setup) noexcept : DlgBase(setup) {}
    ~DlgImaging() = default;
    void InitDialog() override;
    void SetTexts() override;
    HWND Create() noexcept { return CreateModeless(this, kTemplate); }
    static constexpr int kTemplate = 127;
    void SetOwner(HWND owner) noexcept { owner_ = owner; }

  private:
    friend class DlgBase;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    HBRUSH StaticColor(HDC dc, HWND control) const noexcept;
    HBRUSH ButtonColor(HDC dc, HWND control) const noexcept;
    void WindowDestroyed() noexcept;
    // The slider and number-field pairs.
    void SliderToText(int sliderId, int fieldId);
    void StepField(int fieldId, int step);
    void CheckField(int fieldId, int sliderId);
    void OnAutomaticExposure();

    UniqueIcon stepUp_;
    UniqueIcon stepDown_;
    TemplatePictures templatePictures_;
};

class DlgAdvanced final : public DlgBase {
  public:
    explicit DlgAdvanced(const DialogSetup& setup) noexcept : DlgBase(setup) {}
    ~DlgAdvanced() = default;
    void InitDialog() override;
    void SetTexts() override;
    HWND Create() noexcept { return CreateModeless(this, kTemplate); }
    static constexpr int kTemplate = 128;
    void SetOwner(HWND owner) noexcept { owner_ = owner; }

  private:
    friend class DlgBase;
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    HBRUSH StaticColor(HDC dc, HWND control) const noexcept;
};

}  // namespace quorveltwain
