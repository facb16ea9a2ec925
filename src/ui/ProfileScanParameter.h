#pragma once
// The binder of the profile editor, where every setting is a drop-down list: the lists of
// the settings pages under their own identifiers, and lists in place of the main window's
// radio buttons, sliders and check boxes. All three page fields name the editor's window.

#include "ui/ScanParameter.h"

namespace quorveltwain {

class ProfileScanParameter final : public ScanParameter {
  public:
    ProfileScanParameter() = default;
    ~ProfileScanParameter() = default;

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
};

}  // namespace quorveltwain
