#include "ui/ProfileScanParameter.h"

#include <vector>

#include "ResourceIds.h"
#include "ui/ValueTexts.h"

namespace quorveltwain {

// ---- Changes: the list's value is checked and stored, or the record's value goes back ----

void ProfileScanParameter::OnOriginalSizeChanged() {
    OnListChanged(basicPage, IDC_ORIGINAL_SIZE, DEVLIST_ORIGINAL_SIZE);
}

void ProfileScanParameter::OnOrientationChanged() {
    OnListChanged(basicPage, IDC_PROFILE_ORIENTATION, DEVLIST_ORIGINAL_ORIENTATION);
}

void ProfileScanParameter::OnExposureChanged() {
    OnListChanged(imagingPage, IDC_PROFILE_EXPOSURE, DEVLIST_EXPOSURE_LEVEL);
}

void ProfileScanParameter::OnContrastChanged() {
    OnListChanged(imagingPage, IDC_PROFILE_CONTRAST, DEVLIST_CONTRAST);
}

void ProfileScanParameter::OnColorModeChanged() {
    OnListChanged(imagingPage, IDC_PROFILE_COLOR, DEVLIST_COLOR_MODE);
}

void ProfileScanParameter::OnReverseImageChanged() {
    if (!Bound()) return;
    // Image reversal has no restrictions to check.
    if (const auto code = SelectedCode(advancedPage, IDC_PROFILE_REVERSE_IMAGE)) {
        settings->reverse_image = *code;
    }
}

void ProfileScanParameter::OnPreventBleedThroughChanged() {
    OnListChanged(advancedPage, IDC_PROFILE_PREVENT_BLEED_THROUGH, DEVLIST_PREVENT_BLEED_THROUGH);
}

// ---- Start-up: every code of the model's list gets an item, with or without a text ----

void ProfileScanParameter::InitOrientation() {
    if (!Bound()) return;
    FillList(basicPage, IDC_PROFILE_ORIENTATION, 0, DEVLIST_ORIGINAL_ORIENTATION, OrientationText);
}

void ProfileScanParameter::InitExposure() {
    if (!Bound()) return;
    FillList(imagingPage, IDC_PROFILE_EXPOSURE, 0, DEVLIST_EXPOSURE_LEVEL, ExposureText);
}

void ProfileScanParameter::InitContrast() {
    if (!Bound()) return;
    FillList(imagingPage, IDC_PROFILE_CONTRAST, IDC_CONTRAST_MARKER, DEVLIST_CONTRAST,
             ContrastText);
}

void ProfileScanParameter::InitColorMode() {
    if (!Bound()) return;
    FillList(imagingPage, IDC_PROFILE_COLOR, 0, DEVLIST_COLOR_MODE, ColorText);
}

void ProfileScanParameter::InitReverseImage() {
    if (!Bound()) return;
    const CodeList& list = device->reverse_image;
    std::vector<std::int32_t> codes;
    if (list.items != nullptr) codes.assign(list.items, list.items + list.count);
    FillList(advancedPage, IDC_PROFILE_REVERSE_IMAGE, 0, codes, OnOffText);
}

void ProfileScanParameter::InitPreventBleedThrough() {
    if (!Bound()) return;
    FillList(advancedPage, IDC_PROFILE_PREVENT_BLEED_THROUGH, IDC_PREVENT_BLEED_THROUGH_MARKER,
             DEVLIST_PREVENT_BLEED_THROUGH, OnOffText);
}

// ---- Showing the record ----

void ProfileScanParameter::ShowOrientation() {
    if (Bound()) Select(basicPage, IDC_PROFILE_ORIENTATION, settings->original_orientation);
}

void ProfileScanParameter::ShowExposure() {
    if (Bound()) Select(imagingPage, IDC_PROFILE_EXPOSURE, settings->exposure_level);
}

void ProfileScanParameter::ShowContrast() {
    if (Bound()) Select(imagingPage, IDC_PROFILE_CONTRAST, settings->contrast);
}

void ProfileScanParameter::ShowColorMode() {
    if (Bound()) Select(imagingPage, IDC_PROFILE_COLOR, settings->color_selection);
}

void ProfileScanParameter::ShowReverseImage() {
    if (Bound()) Select(advancedPage, IDC_PROFILE_REVERSE_IMAGE, settings->reverse_image);
}

void ProfileScanParameter::ShowPreventBleedThrough() {
    if (Bound()) {
        Select(advancedPage, IDC_PROFILE_PREVENT_BLEED_THROUGH, settings->prevent_bleed_through);
    }
}

}  // namespace quorveltwain
