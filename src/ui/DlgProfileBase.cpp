#include "ui/DlgProfileBase.h"

#include <memory>
#include <regex>

#include "ResourceIds.h"
#include "config/DriverPaths.h"
#include "platform/BoundedText.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMessages.h"
#include "ui/ResourceText.h"
#include "ui/ValueTexts.h"
#include "xml/ConfigFileHandler.h"

namespace quorveltwain {

DlgProfileBase::~DlgProfileBase() {
    if (store_ != nullptr) XMLSCN_Close(store_);
}

bool DlgProfileBase::OpenStore(const wchar_t* storePath, const wchar_t* schemaPath) noexcept {
    if (storePath == nullptr || schemaPath == nullptr || storePath[0] == L'\0' ||
        schemaPath[0] == L'\0') {
        return false;
    }
    // Each reload reads the file as it is now; the previous view of it is done with.
    if (store_ != nullptr) {
        XMLSCN_Close(store_);
        store_ = nullptr;
    }
    return XMLSCN_Open(storePath, schemaPath, &store_) == XMLSCN_OK;
}

void DlgProfileBase::ReadAll() noexcept {
    entries_.clear();
    if (store_ == nullptr) return;
    const std::uint32_t size = XMLSCN_GetSize(store_);
    for (std::uint32_t i = 0; i < size; ++i) {
        ScanSettingsRecord record{};
        ProfileEntry entry{};
        if (XMLSCN_ReadSet(store_, i, &record) != XMLSCN_OK || !RecordToEntry(record, entry)) {
            break;
        }
        try {
            entries_.push_back(entry);
        } catch (...) {
            break;  // out of memory: keep what was read
        }
    }
}

bool DlgProfileBase::SameNameIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool DlgProfileBase::AddProfile(const ProfileEntry& entry) noexcept {
    if (store_ == nullptr) return false;
    ForgetStamp();
    ScanSettingsRecord record{};
    if (!EntryToRecord(entry, record)) return false;
    return XMLSCN_Add(store_, &record) == XMLSCN_OK;
}

DlgProfileBase::Replaced DlgProfileBase::ReplaceProfile(const ProfileEntry& entry,
                                                        int position) noexcept {
    ConfigFileHandler* store = BaseFileHandler::FromHandle<ConfigFileHandler>(store_);
    if (store == nullptr) return Replaced::Failed;
    const std::uint32_t size = XMLSCN_GetSize(store_);
    std::size_t target = size;
    ScanSettingsRecord record{};
    // The default settings (position 0) are never replaced, whatever their name.
    for (std::uint32_t i = 1; i < size; ++i) {
        if (XMLSCN_ReadSet(store_, i, &record) != XMLSCN_OK) return Replaced::Failed;
        if (SameNameIgnoringCase(FieldText(record.config_name), FieldText(entry.name))) {
            target = i;
            break;
        }
    }
    if (target == size) {
        if (position <= 0 || static_cast<std::uint32_t>(position) >= size) {
            return Replaced::NoMatch;
        }
        target = static_cast<std::size_t>(position);
        if (XMLSCN_ReadSet(store_, static_cast<std::uint32_t>(target), &record) != XMLSCN_OK) {
            return Replaced::Failed;
        }
    }
    // Over the stored record, so the configuration keeps its identifier and model.
    if (!EntryToRecord(entry, record)) return Replaced::Failed;
    ForgetStamp();
    return store->ReplaceConfig(target, record) ? Replaced::Done : Replaced::Failed;
}

int DlgProfileBase::DeleteProfileByName(const wchar_t* name) noexcept {
    ConfigFileHandler* store = BaseFileHandler::FromHandle<ConfigFileHandler>(store_);
    if (store == nullptr || name == nullptr) return 0;
    const std::uint32_t size = XMLSCN_GetSize(store_);
    // Never the default settings, even when a later configuration bears their name.
    for (std::uint32_t i = 1; i < size; ++i) {
        ScanSettingsRecord record{};
        if (XMLSCN_ReadSet(store_, i, &record) != XMLSCN_OK) return 0;
        if (FieldText(record.config_name) != name) continue;
        ForgetStamp();
        return store->RemoveConfig(i) ? 1 : 0;
    }
    return 0;
}

bool DlgProfileBase::SaveProfiles() noexcept {
    if (store_ == nullptr) return false;
    ForgetStamp();
    return XMLSCN_Save(store_, nullptr) == XMLSCN_OK;
}

DlgProfileBase::NameClass DlgProfileBase::ClassifyName(std::wstring_view name) const {
    const ResourceText defaultsName(profileResources_, IDS_DEFAULT_SETTINGS_NAME);
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (SameNameIgnoringCase(name, defaultsName.c_str())) return NameClass::Reserved;
        if (SameNameIgnoringCase(name, FieldText(entries_[i].name))) {
            return i == 0 ? NameClass::Reserved : NameClass::Taken;
        }
    }
    return NameClass::Free;
}

bool DlgProfileBase::IsUsableName(const std::wstring& name) {
    static const std::wregex onlySpaces(L"^ +$");
    return !name.empty() && !std::regex_match(name, onlySpaces);
}

std::int32_t DlgProfileBase::AskAboutName(std::int32_t code, HWND owner, HWND hostWindow,
                                          std::wstring_view name) const {
    DialogSetup setup;
    setup.resourceModule = profileResources_;
    setup.owner = owner;
    setup.hostWindow = hostWindow;
    DlgMessages* message = DialogSlot<DlgMessages>::Install(std::make_unique<DlgMessages>(setup));
    wchar_t title[ResourceText::kChars] = {};
    ::GetWindowTextW(owner, title, ResourceText::kChars);
    if (code == DlgMessages::kConfirmOverwrite) {
        message->SetOverwriteQuestion(name, title);
    } else {
        message->SetReservedNameTitle(title);
    }
    return message->ShowMessage(code);
}

bool DlgProfileBase::StampOf(const wchar_t* path, FileStamp& stamp) noexcept {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (::GetFileAttributesExW(path, GetFileExInfoStandard, &data) == 0) return false;
    try {
        stamp.path = path;
    } catch (...) {
        return false;
    }
    stamp.size = (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.written = data.ftLastWriteTime;
    return true;
}

void DlgProfileBase::ReloadProfiles() noexcept {
    const DriverPaths paths = GetDriverPaths();
    wchar_t defaultUse[kPathChars] = {};
    ReadDefaultUse(paths.registrationFile, defaultUse);
    wchar_t storePath[kPathChars] = {};
    wchar_t schemaPath[kPathChars] = {};
    BuildConfigurationListPath(paths.dataFolder, defaultUse, storePath);
    BuildConfigurationSchemaPath(schemaPath);
    FileStamp now;
    if (store_ != nullptr && !loaded_.path.empty() && StampOf(storePath, now) &&
        now.path == loaded_.path && now.size == loaded_.size &&
        ::CompareFileTime(&now.written, &loaded_.written) == 0) {
        return;
    }
    loaded_.path.clear();
    if (OpenStore(storePath, schemaPath)) {
        ReadAll();
        // Stamped after the open, which may have written the file (a new or repaired store).
        if (!StampOf(storePath, loaded_)) loaded_.path.clear();
    } else {
        entries_.clear();
    }
}

}  // namespace quorveltwain
