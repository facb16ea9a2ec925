#pragma once
// What the settings lists, the details pane and the profile windows share: the texts of the
// setting codes, selecting a list item by its code, and the conversions between the host's
// settings record and a profile entry.

#include <windows.h>

#include <cstdint>
#include <string>

#include "settings/ScanSettingsRecord.h"
#include "ui/ProfileEntry.h"

namespace quorveltwain {

// The text of a setting's code from the resource library. A null code, a code without a text
// and a missing library give the empty text; a text is at most 511 characters.
std::wstring OriginalSizeText(HMODULE resourceModule, const std::int32_t* code);
std::wstring SendingSizeText(HMODULE resourceModule, const std::int32_t* code);
std::wstring DuplexText(HMODULE resourceModule, const std::int32_t* code);
std::wstring OrientationText(HMODULE resourceModule, const std::int32_t* code);
std::wstring ResolutionText(HMODULE resourceModule, const std::int32_t* code);
std::wstring OriginalImageText(HMODULE resourceModule, const std::int32_t* code);
std::wstring ExposureText(HMODULE resourceModule, const std::int32_t* code);
std::wstring ContrastText(HMODULE resourceModule, const std::int32_t* code);
std::wstring ColorText(HMODULE resourceModule, const std::int32_t* code);
std::wstring OnOffText(HMODULE resourceModule, const std::int32_t* code);
// The two entries of the option list (1 and 2).
std::wstring OptionText(HMODULE resourceModule, const std::int32_t* code);

// The text of `code` for the restrictable setting `setting` (DevListSetting index); empty
// for an index outside 0 to 9.
std::wstring SettingValueText(HMODULE resourceModule, int setting, std::int32_t code);

// Selects the item of drop-down list `controlId` whose item data is *value. When no item
// has it, selects the first and writes that item's data to *value: the list's error result
// (all bits set) when the list is empty. Callers that must keep their value pass a copy.
void SelectByItemData(HWND window, int controlId, std::int32_t* value);

// Both always succeed. The record's configuration identifier and model are not part of an
// entry: EntryToRecord leaves them, and `reserved`, as the caller set them.
bool RecordToEntry(const ScanSettingsRecord& record, ProfileEntry& entry);
bool EntryToRecord(const ProfileEntry& entry, ScanSettingsRecord& record);

}  // namespace quorveltwain
