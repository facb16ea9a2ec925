#include "ui/EditorTexts.h"

#include <iterator>

#include "ResourceIds.h"
#include "twain_ui.h"
#include "ui/DlgProfileBase.h"
#include "ui/ResourceText.h"
#include "ui/SettingsList.h"

namespace quorveltwain {

void SetProfileEditorTexts(HMODULE module, HWND editor) {
    const struct {
        int control;
        UINT text;
    } texts[] = {
        {IDC_PROFILE_NAME_LABEL, IDS_EDITOR_NAME_LABEL},
        {IDC_PROFILE_DETAIL_LABEL, IDS_EDITOR_DETAIL_LABEL},
        {IDC_PROFILE_SAVE, IDS_EDITOR_SAVE},
        {IDC_PROFILE_CANCEL, IDS_CANCEL},
        {IDC_PROFILE_SETTINGS_TITLE, IDS_EDITOR_SETTINGS_TITLE},
        {IDC_PROFILE_BASIC_TITLE, IDS_NAV_BASIC},
        {IDC_PROFILE_IMAGING_TITLE, IDS_NAV_IMAGING},
        {IDC_PROFILE_ADVANCED_TITLE, IDS_NAV_ADVANCED},
        {IDC_PROFILE_SIZE_LABEL, IDS_ORIGINAL_SIZE_LABEL},
        {IDC_PROFILE_DUPLEX_LABEL, IDS_DUPLEX_LABEL},
        {IDC_PROFILE_OPTION_LABEL, IDS_OPTION_LABEL},
        {IDC_PROFILE_SENDING_SIZE_LABEL, IDS_SENDING_SIZE_LABEL},
        {IDC_PROFILE_ORIENTATION_LABEL, IDS_ORIENTATION_LABEL},
        {IDC_PROFILE_RESOLUTION_LABEL, IDS_RESOLUTION_LABEL},
        {IDC_PROFILE_IMAGE_QUALITY_LABEL, IDS_IMAGE_QUALITY_LABEL},
        {IDC_PROFILE_EXPOSURE_LABEL, IDS_EXPOSURE_LABEL},
        {IDC_PROFILE_CONTRAST_LABEL, IDS_CONTRAST_LABEL},
        {IDC_PROFILE_COLOR_LABEL, IDS_COLOR_LABEL},
        {IDC_PROFILE_REVERSE_IMAGE_LABEL, IDS_REVERSE_IMAGE_LABEL},
        {IDC_PROFILE_PREVENT_BLEED_THROUGH_LABEL, IDS_PREVENT_BLEED_THROUGH_LABEL},
    };
    for (const auto& item : texts) {
        const ResourceText text(module, item.text);
        ::SetDlgItemTextW(editor, item.control, text.c_str());
    }
}

void LimitEditorFields(HWND editor) noexcept {
    // One unit fewer than the record's field, which keeps its terminator.
    constexpr WPARAM kFieldChars = SCAN_CONFIG_NAME_CHARS - 1;
    ::SendDlgItemMessageW(editor, IDC_PROFILE_NAME, EM_LIMITTEXT, kFieldChars, 0);
    ::SendDlgItemMessageW(editor, IDC_PROFILE_DETAIL, EM_LIMITTEXT, kFieldChars, 0);
}

std::wstring EditorField(HWND editor, int id) {
    wchar_t text[SCAN_CONFIG_NAME_CHARS + 1] = {};
    ::GetDlgItemTextW(editor, id, text, static_cast<int>(std::size(text)));
    return text;
}

void EnableSaveForTypedName(HWND editor) {
    const bool usable = DlgProfileBase::IsUsableName(EditorField(editor, IDC_PROFILE_NAME));
    ::EnableWindow(::GetDlgItem(editor, IDC_PROFILE_SAVE), usable ? TRUE : FALSE);
}

HFONT SetEditorHeadingFont(HWND editor) {
    const HFONT font = CreateHeadingFont(editor);
    for (const int id : {IDC_PROFILE_SETTINGS_TITLE, IDC_PROFILE_BASIC_TITLE,
                         IDC_PROFILE_IMAGING_TITLE, IDC_PROFILE_ADVANCED_TITLE}) {
        ::SendDlgItemMessageW(editor, id, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return font;
}

}  // namespace quorveltwain
