#include "ui/DlgProfileBase.h"

#include "config/DriverPaths.h"
#include "ui/ValueTexts.h"

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
