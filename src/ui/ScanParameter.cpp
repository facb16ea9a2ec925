#include "ui/ScanParameter.h"

#include <memory>
#include <vector>

#include "platform/BoundedText.h"
#include "ResourceIds.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMessages.h"
#include "ui/ResourceText.h"
#include "ui/ValueTexts.h"
#include "xml/DevListSetting.h"
#include "xml/RestrictionCheck.h"

namespace quorveltwain {

namespace {

// The label of each restrictable setting, in DevListSetting index order.
constexpr UINT kSettingLabels[kDevListSettingCount] = {
    IDS_ORIGINAL_SIZE_LABEL, IDS_ORIENTATION_LABEL,
    IDS_IMAGE_QUALITY_LABEL, IDS_RESOLUTION_LABEL,
    IDS_EXPOSURE_LABEL,      IDS_DUPLEX_LABEL,
    IDS_COLOR_LABEL,         IDS_PREVENT_BLEED_THROUGH_LABEL,
    IDS_SENDING_SIZE_LABEL,  IDS_CONTRAST_LABEL,
};

// A label is written to stand before its control; in the middle of a sentence its access-key
// markers and a closing colon would read wrongly.
std::wstring LabelInSentence(std::wstring_view label) {
    std::wstring text;
    for (std::size_t i = 0; i < label.size(); ++i) {
        if (label[i] == L'&' && i + 1 < label.size()) ++i;  // "&&" keeps one ampersand
        text += label[i];
    }
    while (!text.empty() && (text.back() == L':' || text.back() == L'\xFF1A' ||
                             text.back() == L' ' || text.back() == L'\x00A0')) {
        text.pop_back();
    }
    return text;
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

}  // namespace

std::span<const DevListValue> ScanParameter::Values(int setting) const noexcept {
    if (device == nullptr || setting < 0 || setting >= kDevListSettingCount) return {};
    const DevListValueList& list = device->values[setting];
    if (list.count == 0 || list.items == nullptr) return {};
    return {list.items, list.count};
}

bool ScanParameter::Offers(int setting, std::int32_t code) const noexcept {
    for (const DevListValue& value : Values(setting)) {
        if (value.code == code) return true;
    }
    return false;
}

void ScanParameter::FillList(HWND page, int listId, int markerId,
                             std::span<const std::int32_t> codes, ValueText text) const {
    if (codes.size() > 1) {
        Enable(page, listId, true);
        if (markerId != 0) Hide(page, markerId);
    }
    for (std::size_t i = 0; i < codes.size(); ++i) {
        // Codes without a text still get their (empty) item.
        const std::wstring itemText = text(resourceModule, &codes[i]);
        ::SendDlgItemMessageW(page, listId, CB_INSERTSTRING, i,
                              reinterpret_cast<LPARAM>(itemText.c_str()));
        ::SendDlgItemMessageW(page, listId, CB_SETITEMDATA, i, static_cast<LPARAM>(codes[i]));
    }
}

void ScanParameter::FillList(HWND page, int listId, int markerId, int setting,
                             ValueText text) const {
    std::vector<std::int32_t> codes;
    for (const DevListValue& value : Values(setting)) codes.push_back(value.code);
    FillList(page, listId, markerId, codes, text);
}

std::optional<std::int32_t> ScanParameter::SelectedCode(HWND page, int listId) noexcept {
    const LRESULT selected = ::SendDlgItemMessageW(page, listId, CB_GETCURSEL, 0, 0);
    if (selected == CB_ERR) return std::nullopt;
    return static_cast<std::int32_t>(
        ::SendDlgItemMessageW(page, listId, CB_GETITEMDATA, static_cast<WPARAM>(selected), 0));
}

void ScanParameter::Select(HWND page, int listId, std::int32_t code) {
    SelectByItemData(page, listId, &code);
}

void ScanParameter::Enable(HWND page, int controlId, bool enable) noexcept {
    if (const HWND control = ::GetDlgItem(page, controlId)) {
        ::EnableWindow(control, enable ? TRUE : FALSE);
    }
}

void ScanParameter::Hide(HWND page, int controlId) noexcept {
    if (const HWND control = ::GetDlgItem(page, controlId)) ::ShowWindow(control, SW_HIDE);
}

bool ScanParameter::Store(int setting, std::int32_t candidate) {
    // The candidate is checked against the other settings as they are now, not with itself.
    const ScanSettingsRecord current = *settings;
    if (CheckRestriction(setting, static_cast<std::uint32_t>(candidate), device, &current) != 1) {
        return false;
    }
    settings->*kDevListSettings[setting].field = candidate;
    return true;
}

std::wstring ScanParameter::RefusalReason(int setting, std::int32_t candidate) const {
    const int refusing =
        RefusingSetting(setting, static_cast<std::uint32_t>(candidate), device, settings);
    if (refusing < 0) return {};  // not offered at all: there is no other setting to name
    const std::wstring refused = SettingValueText(resourceModule, setting, candidate);
    const std::wstring label =
        LabelInSentence(ResourceText(resourceModule, kSettingLabels[refusing]).c_str());
    const std::wstring current =
        SettingValueText(resourceModule, refusing, settings->*kDevListSettings[refusing].field);
    const ResourceText pattern(resourceModule, IDS_REFUSED_BECAUSE);
    // A sentence with a gap would say less than none.
    if (refused.empty() || label.empty() || current.empty() || pattern.empty()) return {};
    wchar_t reason[ResourceText::kChars];
    FormatByPosition(reason, ResourceText::kChars, pattern.c_str(), {refused, label, current});
    return reason;
}

void ScanParameter::ShowRefusal(int setting, std::int32_t candidate) {
    const std::wstring reason = RefusalReason(setting, candidate);
    DialogSetup setup;
    setup.resourceModule = resourceModule;
    setup.owner = owner;
    DlgMessages* message = DialogSlot<DlgMessages>::Install(std::make_unique<DlgMessages>(setup));
    message->SetReason(reason);
    message->ShowMessage(DlgMessages::kValueNotAllowed);
}

void ScanParameter::OnListChanged(HWND page, int listId, int setting) {
    if (!Bound()) return;
    const std::optional<std::int32_t> candidate = SelectedCode(page, listId);
    if (!candidate) return;
    Change(setting, *candidate,
           [&] { Select(page, listId, settings->*kDevListSettings[setting].field); });
}

void ScanParameter::EnablePreview(std::int32_t duplex) const noexcept {
    Enable(owner, IDC_PREVIEW, duplex == 1);
}

void ScanParameter::InitBasicControls() {
    if (!Bound()) return;
    FillList(basicPage, IDC_ORIGINAL_SIZE, IDC_ORIGINAL_SIZE_MARKER, DEVLIST_ORIGINAL_SIZE,
             OriginalSizeText);
    FillList(basicPage, IDC_DUPLEX, IDC_DUPLEX_MARKER, DEVLIST_DUPLEX_MODE, DuplexText);
    FillList(basicPage, IDC_SENDING_SIZE, IDC_SENDING_SIZE_MARKER, DEVLIST_SENDING_SIZE,
             SendingSizeText);
    InitOrientation();
    if (optionValue == nullptr || *optionValue == 0) return;
    if (!DuplexFixesOption(settings->duplex)) Enable(basicPage, IDC_OPTION, true);
    Hide(basicPage, IDC_OPTION_MARKER);
    constexpr std::int32_t kOptions[] = {1, 2};
    // Inserted by hand, not as a list of the model: the list stays disabled while duplex
    // fixes the option, whatever the number of entries.
    for (std::size_t i = 0; i < std::size(kOptions); ++i) {
        const std::wstring text = OptionText(resourceModule, &kOptions[i]);
        ::SendDlgItemMessageW(basicPage, IDC_OPTION, CB_INSERTSTRING, i,
                              reinterpret_cast<LPARAM>(text.c_str()));
        ::SendDlgItemMessageW(basicPage, IDC_OPTION, CB_SETITEMDATA, i,
                              static_cast<LPARAM>(kOptions[i]));
    }
}

void ScanParameter::InitImagingControls() {
    if (!Bound()) return;
    FillList(imagingPage, IDC_RESOLUTION, IDC_RESOLUTION_MARKER, DEVLIST_RESOLUTION,
             ResolutionText);
    FillList(imagingPage, IDC_IMAGE_QUALITY, IDC_IMAGE_QUALITY_MARKER, DEVLIST_IMAGE_QUALITY,
             OriginalImageText);
    InitExposure();
    InitContrast();
    InitColorMode();
}

void ScanParameter::Reload() {
    if (!Bound()) return;
    Select(basicPage, IDC_ORIGINAL_SIZE, settings->original_size);
    Select(basicPage, IDC_SENDING_SIZE, settings->sending_size);
    ShowDuplex();
    ShowOrientation();
    ShowOption();
    ShowImaging();
    ShowReverseImage();
    ShowPreventBleedThrough();
}

void ScanParameter::ShowImaging() {
    if (!Bound()) return;
    Select(imagingPage, IDC_RESOLUTION, settings->resolution);
    Select(imagingPage, IDC_IMAGE_QUALITY, settings->original_image);
    ShowExposure();
    ShowContrast();
    ShowColorMode();
}

void ScanParameter::ShowDuplex() {
    if (!Bound()) return;
    Select(basicPage, IDC_DUPLEX, settings->duplex);
    EnablePreview(settings->duplex);
}

void ScanParameter::ShowOption() {
    if (!Bound() || optionValue == nullptr || *optionValue == 0) return;
    Select(basicPage, IDC_OPTION, static_cast<std::int32_t>(*optionValue));
    Enable(basicPage, IDC_OPTION, !DuplexFixesOption(settings->duplex));
}

void ScanParameter::OnSendingSizeChanged() {
    OnListChanged(basicPage, IDC_SENDING_SIZE, DEVLIST_SENDING_SIZE);
}

void ScanParameter::OnResolutionChanged() {
    OnListChanged(imagingPage, IDC_RESOLUTION, DEVLIST_RESOLUTION);
}

void ScanParameter::OnImageQualityChanged() {
    OnListChanged(imagingPage, IDC_IMAGE_QUALITY, DEVLIST_IMAGE_QUALITY);
}

void ScanParameter::OnDuplexChanged() {
    if (!Bound()) return;
    const std::optional<std::int32_t> duplex = SelectedCode(basicPage, IDC_DUPLEX);
    if (!duplex || !Change(DEVLIST_DUPLEX_MODE, *duplex, [&] { ShowDuplex(); })) return;
    EnablePreview(*duplex);
    if (optionValue == nullptr || *optionValue == 0) return;
    if (!DuplexFixesOption(*duplex)) {
        Enable(basicPage, IDC_OPTION, true);
    } else {
        Enable(basicPage, IDC_OPTION, false);
        *optionValue = 1;
        ShowOption();
    }
}

void ScanParameter::OnControlChanged(std::uint16_t controlId) {
    if (!Bound()) return;
    switch (controlId) {
        case IDC_RESOLUTION:
            OnResolutionChanged();
            break;
        case IDC_IMAGE_QUALITY:
            OnImageQualityChanged();
            break;
        case IDC_ORIENTATION_1:
        case IDC_ORIENTATION_4:
        case IDC_ORIENTATION_1_PICTURE:
        case IDC_ORIENTATION_2_PICTURE:
        case IDC_ORIENTATION_3_PICTURE:
        case IDC_ORIENTATION_4_PICTURE:
        case IDC_ORIENTATION_2:
        case IDC_ORIENTATION_3:
        case IDC_PROFILE_ORIENTATION:
            OnOrientationChanged();
            break;
        case IDC_REVERSE_IMAGE:
        case IDC_PROFILE_REVERSE_IMAGE:
            OnReverseImageChanged();
            break;
        case IDC_PREVENT_BLEED_THROUGH:
        case IDC_PROFILE_PREVENT_BLEED_THROUGH:
            OnPreventBleedThroughChanged();
            break;
        case IDC_COLOR_2:
        case IDC_COLOR_3:
        case IDC_COLOR_1_PICTURE:
        case IDC_COLOR_1:
        case IDC_COLOR_2_PICTURE:
        case IDC_COLOR_3_PICTURE:
        case IDC_PROFILE_COLOR:
            OnColorModeChanged();
            break;
        case IDC_EXPOSURE_SLIDER:
        case IDC_EXPOSURE_AUTO:
        case IDC_PROFILE_EXPOSURE:
            OnExposureChanged();
            break;
        case IDC_ORIGINAL_SIZE:
            OnOriginalSizeChanged();
            break;
        case IDC_DUPLEX:
            OnDuplexChanged();
            break;
        case IDC_SENDING_SIZE:
            OnSendingSizeChanged();
            break;
        case IDC_CONTRAST_SLIDER:
        case IDC_PROFILE_CONTRAST:
            OnContrastChanged();
            break;
        case IDC_OPTION:
            // The option is the host's own value, with no restrictions to check.
            if (optionValue != nullptr) {
                if (const auto option = SelectedCode(basicPage, IDC_OPTION)) {
                    *optionValue = static_cast<std::uint32_t>(*option);
                }
            }
            break;
        default:
            break;
    }
}

void ScanParameter::ShowProfile(std::uint8_t showTexts) {
    if (!Bound()) return;
    if (showTexts != 0) {
        ::SetDlgItemTextW(basicPage, IDC_PROFILE_NAME,
                          std::wstring(FieldText(settings->config_name)).c_str());
        ::SetDlgItemTextW(basicPage, IDC_PROFILE_DETAIL,
                          std::wstring(FieldText(settings->config_detail)).c_str());
    }
    Reload();
}

void ScanParameter::ReadName() {
    if (settings == nullptr) return;
    CopyToField(settings->config_name, WindowText(::GetDlgItem(basicPage, IDC_PROFILE_NAME)));
}

void ScanParameter::ReadDetail() {
    if (settings == nullptr) return;
    CopyToField(settings->config_detail, WindowText(::GetDlgItem(basicPage, IDC_PROFILE_DETAIL)));
}

}  // namespace quorveltwain
