#include "ui/MainScanParameter.h"

#include <commctrl.h>

#include <array>
#include <string>
#include <utility>

#include "ResourceIds.h"
#include "ui/ResourceText.h"
#include "ui/ToolTip.h"
#include "ui/ValueTexts.h"
#include "xml/DevListSetting.h"
#include "xml/RestrictionCheck.h"

namespace quorveltwain {

namespace {

// Slots of the picture table.
constexpr int kColorSlot = 0;                 // + colour code - 1
constexpr int kColorSelectedSlot = 3;         // + colour code - 1
constexpr int kOrientationSlot = 6;           // + orientation code - 1
constexpr int kOrientationSelectedSlot = 10;  // + orientation code - 1
constexpr int kOrientation1DisabledSlot = 14;
constexpr int kOrientation4DisabledSlot = 15;

// Orientations 1 to 4 and colour modes 1 to 3, by code - 1.
struct Choice {
    int button;
    int picture;
    int offeredBitmap;  // the picture of a choice the model offers
};
constexpr std::array<Choice, 4> kOrientations = {{
    {IDC_ORIENTATION_1, IDC_ORIENTATION_1_PICTURE, IDB_PORTRAIT_SHORT},
    {IDC_ORIENTATION_2, IDC_ORIENTATION_2_PICTURE, IDB_PORTRAIT_LONG_OFFERED},
    {IDC_ORIENTATION_3, IDC_ORIENTATION_3_PICTURE, IDB_LANDSCAPE_SHORT_OFFERED},
    {IDC_ORIENTATION_4, IDC_ORIENTATION_4_PICTURE, IDB_LANDSCAPE_LONG},
}};
constexpr std::array<Choice, 3> kColorModes = {{
    {IDC_COLOR_1, IDC_COLOR_1_PICTURE, IDB_FULL_COLOR_OFFERED},
    {IDC_COLOR_2, IDC_COLOR_2_PICTURE, IDB_GRAYSCALE_OFFERED},
    {IDC_COLOR_3, IDC_COLOR_3_PICTURE, IDB_BLACK_AND_WHITE_OFFERED},
}};

// A3 is what tells a model with a wide enough path for the outer orientations.
constexpr std::int32_t kA3 = 2;

constexpr int kSliderMin = -3;
constexpr int kSliderMax = 3;
constexpr std::int32_t kExposureAuto = 1;
// Exposure codes step by two per level (half levels between), contrast codes by one.
constexpr std::int32_t ExposureCode(int position) {
    return 16 + 2 * position;
}
constexpr std::int32_t ContrastCode(int position) {
    return 4 + position;
}

constexpr std::int32_t kOff = 1;
constexpr std::int32_t kOn = 2;

// The code of the first checked radio button of `choices`, looked at in `order`; 0 when
// none is checked.
template <std::size_t N>
std::int32_t CheckedChoice(HWND page, const std::array<Choice, N>& choices,
                           const std::array<std::int32_t, N>& order) noexcept {
    for (const std::int32_t code : order) {
        const auto index = static_cast<std::size_t>(code - 1);
        if (index < N && ::IsDlgButtonChecked(page, choices[index].button) == BST_CHECKED) {
            return code;
        }
    }
    return 0;
}

}  // namespace

bool MainScanParameter::IsFourOrientationSize(std::int32_t originalSize) const noexcept {
    if (!Offers(DEVLIST_ORIGINAL_SIZE, kA3)) return false;
    if (originalSize < 1 || originalSize > 32) return true;
    switch (originalSize) {
        case 3:   // A4
        case 4:   // A5
        case 7:   // B5
        case 8:   // B6
        case 10:  // LETTER
        case 12:  // STATEMENT
        case 18:  // _16K
        case 21:  // CUSTOM
        case 28:  // ISO_B5
            return true;
        default:
            return false;
    }
}

void MainScanParameter::SetPicture(HWND page, int pictureId, int slot) const noexcept {
    ::SendDlgItemMessageW(page, pictureId, STM_SETIMAGE, IMAGE_BITMAP,
                          reinterpret_cast<LPARAM>(bitmaps[slot]));
}

void MainScanParameter::LoadIntoSlot(int slot, int bitmapId) {
    // A picture that cannot be loaded leaves the main dialog's in place rather than none.
    UniqueBitmap bitmap(::LoadBitmapW(resourceModule, MAKEINTRESOURCEW(bitmapId)));
    if (!bitmap) return;
    loaded_[slot] = std::move(bitmap);
    bitmaps[slot] = loaded_[slot].get();
}

void MainScanParameter::Check(HWND page, int buttonId, bool checked) noexcept {
    ::CheckDlgButton(page, buttonId, checked ? BST_CHECKED : BST_UNCHECKED);
}

int MainScanParameter::SliderPosition(HWND page, int sliderId) noexcept {
    return static_cast<int>(::SendDlgItemMessageW(page, sliderId, TBM_GETPOS, 0, 0));
}

void MainScanParameter::SetSlider(HWND page, int sliderId, int fieldId, int position) {
    ::SendDlgItemMessageW(page, sliderId, TBM_SETPOS, TRUE, position);
    ::SetDlgItemTextW(page, fieldId, std::to_wstring(position).c_str());
}

void MainScanParameter::SetUpSlider(HWND page, int sliderId, int fieldId) noexcept {
    ::SendDlgItemMessageW(page, sliderId, TBM_SETRANGE, TRUE,
                          MAKELPARAM(static_cast<WORD>(kSliderMin), kSliderMax));
    ::SendDlgItemMessageW(page, fieldId, EM_LIMITTEXT, 2, 0);
}

void MainScanParameter::EnableOuterOrientations(bool enable) const noexcept {
    for (const Choice& outer : {kOrientations[0], kOrientations[3]}) {
        Enable(basicPage, outer.button, enable);
        Enable(basicPage, outer.picture, enable);
    }
    SetPicture(basicPage, IDC_ORIENTATION_1_PICTURE,
               enable ? kOrientationSlot : kOrientation1DisabledSlot);
    SetPicture(basicPage, IDC_ORIENTATION_4_PICTURE,
               enable ? kOrientationSlot + 3 : kOrientation4DisabledSlot);
}

// ---- Start-up ----

void MainScanParameter::InitOrientation() {
    if (!Bound()) return;
    bool offered[kOrientations.size()] = {};
    for (const DevListValue& value : Values(DEVLIST_ORIGINAL_ORIENTATION)) {
        const std::int32_t code = value.code;
        if (code < 1 || code > 4 || offered[code - 1]) continue;
        offered[code - 1] = true;
        const Choice& choice = kOrientations[code - 1];
        Enable(basicPage, choice.button, true);
        Enable(basicPage, choice.picture, true);
        LoadIntoSlot(kOrientationSlot + code - 1, choice.offeredBitmap);
        SetPicture(basicPage, choice.picture, kOrientationSlot + code - 1);
        // The picture's tip names the orientation in the words of the orientation list.
        AddToolTip(resourceModule, basicPage, choice.picture,
                   OrientationText(resourceModule, &code).c_str());
    }
    const ResourceText notAvailable(resourceModule, IDS_NOT_AVAILABLE_TIP);
    for (std::size_t i = 0; i < kOrientations.size(); ++i) {
        if (!offered[i]) {
            AddToolTip(resourceModule, basicPage, kOrientations[i].picture, notAvailable.c_str());
        }
    }
}

void MainScanParameter::InitExposure() {
    if (!Bound()) return;
    SetUpSlider(imagingPage, IDC_EXPOSURE_SLIDER, IDC_EXPOSURE_FIELD);
    for (const DevListValue& value : Values(DEVLIST_EXPOSURE_LEVEL)) {
        if (value.code == kExposureAuto) {
            Enable(imagingPage, IDC_EXPOSURE_AUTO, true);
            Hide(imagingPage, IDC_EXPOSURE_AUTO_MARKER);
        } else if (value.code >= ExposureCode(kSliderMin) &&
                   value.code <= ExposureCode(kSliderMax) && value.code % 2 == 0) {
            // Only whole levels the slider can reach; half levels and levels beyond it
            // have no position.
            for (const int id :
                 {IDC_EXPOSURE_SLIDER, IDC_EXPOSURE_FIELD, IDC_EXPOSURE_DOWN, IDC_EXPOSURE_UP}) {
                Enable(imagingPage, id, true);
            }
            Hide(imagingPage, IDC_EXPOSURE_MARKER);
        }
    }
}

void MainScanParameter::InitContrast() {
    if (!Bound()) return;
    SetUpSlider(imagingPage, IDC_CONTRAST_SLIDER, IDC_CONTRAST_FIELD);
    for (const DevListValue& value : Values(DEVLIST_CONTRAST)) {
        // The neutral level alone leaves nothing to slide to.
        if (value.code < ContrastCode(kSliderMin) || value.code > ContrastCode(kSliderMax) ||
            value.code == ContrastCode(0)) {
            continue;
        }
        for (const int id :
             {IDC_CONTRAST_SLIDER, IDC_CONTRAST_FIELD, IDC_CONTRAST_DOWN, IDC_CONTRAST_UP}) {
            Enable(imagingPage, id, true);
        }
        Hide(imagingPage, IDC_CONTRAST_MARKER);
    }
}

void MainScanParameter::InitColorMode() {
    if (!Bound()) return;
    bool offered[kColorModes.size()] = {};
    for (const DevListValue& value : Values(DEVLIST_COLOR_MODE)) {
        const std::int32_t code = value.code;
        if (code < 1 || code > 3 || offered[code - 1]) continue;  // automatic modes: no button
        offered[code - 1] = true;
        const Choice& choice = kColorModes[code - 1];
        Enable(imagingPage, choice.button, true);
        Enable(imagingPage, choice.picture, true);
        LoadIntoSlot(kColorSlot + code - 1, choice.offeredBitmap);
        SetPicture(imagingPage, choice.picture, kColorSlot + code - 1);
        AddToolTip(resourceModule, imagingPage, choice.picture,
                   ColorText(resourceModule, &code).c_str());
    }
    const ResourceText notAvailable(resourceModule, IDS_NOT_AVAILABLE_TIP);
    for (std::size_t i = 0; i < kColorModes.size(); ++i) {
        if (!offered[i]) {
            AddToolTip(resourceModule, imagingPage, kColorModes[i].picture, notAvailable.c_str());
        }
    }
}

void MainScanParameter::InitReverseImage() {
    if (!Bound()) return;
    const CodeList& codes = device->reverse_image;
    for (std::uint32_t i = 0; i < codes.count && codes.items != nullptr; ++i) {
        if (codes.items[i] == kOn) {
            Enable(advancedPage, IDC_REVERSE_IMAGE, true);
            Hide(advancedPage, IDC_REVERSE_IMAGE_MARKER);
            return;
        }
    }
}

void MainScanParameter::InitPreventBleedThrough() {
    if (!Bound() || !Offers(DEVLIST_PREVENT_BLEED_THROUGH, kOn)) return;
    Enable(advancedPage, IDC_PREVENT_BLEED_THROUGH, true);
    Hide(advancedPage, IDC_PREVENT_BLEED_THROUGH_MARKER);
}

// ---- Showing the record ----

void MainScanParameter::ShowOrientation() {
    if (!Bound()) return;
    const bool fourOrientations = IsFourOrientationSize(settings->original_size);
    if (fourOrientations) EnableOuterOrientations(true);

    const std::int32_t orientation = settings->original_orientation;
    if (orientation < 1 || orientation > 4) return;
    // The chosen orientation shows its selected picture, the others their normal one.
    for (std::int32_t code = 1; code <= 4; ++code) {
        const Choice& choice = kOrientations[code - 1];
        Check(basicPage, choice.button, code == orientation);
        SetPicture(basicPage, choice.picture,
                   (code == orientation ? kOrientationSelectedSlot : kOrientationSlot) + code - 1);
    }
    // A middle orientation on a size without the outer ones: those are not to be chosen.
    if ((orientation == 2 || orientation == 3) && !fourOrientations) {
        EnableOuterOrientations(false);
    }
}

void MainScanParameter::ShowExposure() {
    if (!Bound()) return;
    const std::int32_t exposure = settings->exposure_level;
    if (exposure == kExposureAuto) {
        Check(imagingPage, IDC_EXPOSURE_AUTO, true);
        ::SetDlgItemTextW(imagingPage, IDC_EXPOSURE_FIELD, L"");
        for (const int id :
             {IDC_EXPOSURE_FIELD, IDC_EXPOSURE_SLIDER, IDC_EXPOSURE_DOWN, IDC_EXPOSURE_UP}) {
            Enable(imagingPage, id, false);
        }
        return;
    }
    if (exposure == 0) ::SetDlgItemTextW(imagingPage, IDC_EXPOSURE_FIELD, L"");

    // Whole levels have their position; any other code shows the middle.
    int position = 0;
    for (int p = kSliderMin; p <= kSliderMax; ++p) {
        if (p != 0 && exposure == ExposureCode(p)) position = p;
    }
    Check(imagingPage, IDC_EXPOSURE_AUTO, false);
    // A level this model refuses with the other settings keeps the slider where it is.
    if (CheckRestriction(DEVLIST_EXPOSURE_LEVEL, static_cast<std::uint32_t>(exposure), device,
                         settings) != 1) {
        return;
    }
    SetSlider(imagingPage, IDC_EXPOSURE_SLIDER, IDC_EXPOSURE_FIELD, position);
    for (const int id :
         {IDC_EXPOSURE_FIELD, IDC_EXPOSURE_SLIDER, IDC_EXPOSURE_DOWN, IDC_EXPOSURE_UP}) {
        Enable(imagingPage, id, true);
    }
}

void MainScanParameter::ShowContrast() {
    if (!Bound()) return;
    const std::int32_t contrast = settings->contrast;
    if (contrast == 0) {
        ::SetDlgItemTextW(imagingPage, IDC_CONTRAST_FIELD, L"");
        return;
    }
    const bool onSlider =
        contrast >= ContrastCode(kSliderMin) && contrast <= ContrastCode(kSliderMax);
    SetSlider(imagingPage, IDC_CONTRAST_SLIDER, IDC_CONTRAST_FIELD,
              onSlider ? contrast - ContrastCode(0) : 0);
}

void MainScanParameter::ShowColorMode() {
    if (!Bound()) return;
    const std::int32_t color = settings->color_selection;
    if (color < 1 || color > 3) return;
    for (std::int32_t code = 1; code <= 3; ++code) {
        const Choice& choice = kColorModes[code - 1];
        Check(imagingPage, choice.button, code == color);
        SetPicture(imagingPage, choice.picture,
                   (code == color ? kColorSelectedSlot : kColorSlot) + code - 1);
    }
}

void MainScanParameter::ShowReverseImage() {
    if (!Bound()) return;
    if (settings->reverse_image == kOff || settings->reverse_image == kOn) {
        Check(advancedPage, IDC_REVERSE_IMAGE, settings->reverse_image == kOn);
    }
}

void MainScanParameter::ShowPreventBleedThrough() {
    if (!Bound()) return;
    if (settings->prevent_bleed_through == kOff || settings->prevent_bleed_through == kOn) {
        Check(advancedPage, IDC_PREVENT_BLEED_THROUGH, settings->prevent_bleed_through == kOn);
    }
}

// ---- Changes ----

void MainScanParameter::OnOriginalSizeChanged() {
    if (!Bound()) return;
    const std::optional<std::int32_t> size = SelectedCode(basicPage, IDC_ORIGINAL_SIZE);
    if (!size) return;
    const auto enabled = [&](int id) {
        return ::IsWindowEnabled(::GetDlgItem(basicPage, id)) != 0;
    };
    if (IsFourOrientationSize(*size)) {
        if (!enabled(IDC_ORIENTATION_1)) {
            Enable(basicPage, IDC_ORIENTATION_1, true);
            Enable(basicPage, IDC_ORIENTATION_1_PICTURE, true);
            SetPicture(basicPage, IDC_ORIENTATION_1_PICTURE, kOrientationSlot);
        }
        if (!enabled(IDC_ORIENTATION_4)) {
            Enable(basicPage, IDC_ORIENTATION_4, true);
            Enable(basicPage, IDC_ORIENTATION_4_PICTURE, true);
            SetPicture(basicPage, IDC_ORIENTATION_4_PICTURE, kOrientationSlot + 3);
        }
    } else {
        // An outer orientation turns into the middle one beside it before the size is
        // checked, so the check sees the orientation the size will have.
        const std::int32_t orientation = settings->original_orientation;
        if (orientation == 1 || orientation == 4) {
            const std::int32_t middle = orientation == 1 ? 2 : 3;
            const Choice& outer = kOrientations[orientation - 1];
            const Choice& inner = kOrientations[middle - 1];
            Enable(basicPage, inner.button, true);
            Enable(basicPage, inner.picture, true);
            SetPicture(basicPage, inner.picture, kOrientationSelectedSlot + middle - 1);
            Check(basicPage, inner.button, true);
            Check(basicPage, outer.button, false);
            settings->original_orientation = middle;
        }
        if (enabled(IDC_ORIENTATION_1)) {
            Enable(basicPage, IDC_ORIENTATION_1, false);
            Enable(basicPage, IDC_ORIENTATION_1_PICTURE, false);
            SetPicture(basicPage, IDC_ORIENTATION_1_PICTURE, kOrientation1DisabledSlot);
        }
        if (enabled(IDC_ORIENTATION_4)) {
            Enable(basicPage, IDC_ORIENTATION_4, false);
            Enable(basicPage, IDC_ORIENTATION_4_PICTURE, false);
            SetPicture(basicPage, IDC_ORIENTATION_4_PICTURE, kOrientation4DisabledSlot);
        }
    }
    // Refused: the size goes back, the orientation stays as adjusted.
    Change(DEVLIST_ORIGINAL_SIZE, *size,
           [&] { Select(basicPage, IDC_ORIGINAL_SIZE, settings->original_size); });
}

void MainScanParameter::OnOrientationChanged() {
    if (!Bound()) return;
    const std::int32_t orientation = CheckedChoice(basicPage, kOrientations, {1, 2, 3, 4});
    if (orientation != 0) Change(DEVLIST_ORIGINAL_ORIENTATION, orientation, [] {});
    ShowOrientation();
}

void MainScanParameter::OnExposureChanged() {
    if (!Bound()) return;
    const std::int32_t exposure =
        ::IsDlgButtonChecked(imagingPage, IDC_EXPOSURE_AUTO) == BST_CHECKED
            ? kExposureAuto
            : ExposureCode(SliderPosition(imagingPage, IDC_EXPOSURE_SLIDER));
    Change(DEVLIST_EXPOSURE_LEVEL, exposure, [&] { ShowExposure(); });
}

void MainScanParameter::OnContrastChanged() {
    if (!Bound()) return;
    // A disabled slider stands for the neutral level.
    const std::int32_t contrast =
        ::IsWindowEnabled(::GetDlgItem(imagingPage, IDC_CONTRAST_SLIDER))
            ? ContrastCode(SliderPosition(imagingPage, IDC_CONTRAST_SLIDER))
            : ContrastCode(0);
    Change(DEVLIST_CONTRAST, contrast, [&] { ShowContrast(); });
}

void MainScanParameter::OnColorModeChanged() {
    if (!Bound()) return;
    const std::int32_t color = CheckedChoice(imagingPage, kColorModes, {3, 1, 2});
    if (color != 0) Change(DEVLIST_COLOR_MODE, color, [] {});
    ShowColorMode();
}

void MainScanParameter::OnReverseImageChanged() {
    if (!Bound()) return;
    // Image reversal has no restrictions; a disabled box means the model cannot reverse.
    const HWND box = ::GetDlgItem(advancedPage, IDC_REVERSE_IMAGE);
    if (!::IsWindowEnabled(box)) {
        settings->reverse_image = 0;
    } else {
        settings->reverse_image =
            ::IsDlgButtonChecked(advancedPage, IDC_REVERSE_IMAGE) == BST_CHECKED ? kOn : kOff;
    }
}

void MainScanParameter::OnPreventBleedThroughChanged() {
    if (!Bound()) return;
    std::int32_t candidate = 0;  // disabled: refused unless the model lists 0
    if (::IsWindowEnabled(::GetDlgItem(advancedPage, IDC_PREVENT_BLEED_THROUGH))) {
        const UINT state = ::IsDlgButtonChecked(advancedPage, IDC_PREVENT_BLEED_THROUGH);
        if (state == BST_INDETERMINATE) return;  // neither on nor off: nothing to store
        candidate = state == BST_CHECKED ? kOn : kOff;
    }
    Change(DEVLIST_PREVENT_BLEED_THROUGH, candidate, [&] { ShowPreventBleedThrough(); });
}

}  // namespace quorveltwain
