// The ten XMLSCN_ exports of the scan configuration store. A handle is the address of a
// ConfigFileHandler seen as its BaseFileHandler, so the shared close export can destroy
// a store or a device list alike; every other export takes only a store's handle. Every
// export turns failures into its status code: no exception reaches the host.

#include <windows.h>
#include <rpc.h>

#include <cstring>
#include <memory>
#include <new>

#include "platform/BoundedText.h"
#include "platform/Trace.h"
#include "twain_ui.h"
#include "xml/ConfigFileHandler.h"
#include "xml/FileBackup.h"
#include "xml/TemporaryFile.h"

using namespace quorveltwain;

namespace {

// The store behind `handle`; null for a null handle, a device list's or anything else.
ConfigFileHandler* StoreOf(XMLSCN_HANDLE handle) noexcept {
    return BaseFileHandler::FromHandle<ConfigFileHandler>(handle);
}

// A new identifier in its 36-character text form, or false. An identifier unique only on
// this computer (RPC_S_UUID_LOCAL_ONLY) is refused like any other failure.
bool NewConfigId(wchar_t (&text)[SCAN_CONFIG_ID_CHARS]) noexcept {
    UUID uuid{};
    if (::UuidCreate(&uuid) != RPC_S_OK) return false;
    RPC_WSTR converted = nullptr;
    if (::UuidToStringW(&uuid, &converted) != RPC_S_OK || converted == nullptr) return false;
    const std::wstring_view view(reinterpret_cast<const wchar_t*>(converted));
    const bool usable = !view.empty();
    if (usable) CopyToField(text, view);
    ::RpcStringFreeW(&converted);
    return usable;
}

}  // namespace

extern "C" {

std::uint32_t XMLSCN_Open(const wchar_t* xml_path, const wchar_t* schema_path,
                          XMLSCN_HANDLE* handle) {
    if (xml_path == nullptr || schema_path == nullptr || handle == nullptr) {
        return XMLSCN_BAD_ARGUMENT;
    }
    try {
        // Saves killed part-way leave their temporary files; nothing else would remove them.
        TemporaryFile::RemoveStale(xml_path);
        std::unique_ptr<ConfigFileHandler> store(new (std::nothrow) ConfigFileHandler);
        if (!store) return XMLSCN_NO_MEMORY;
        if (!store->CreateDocument()) return XMLSCN_NO_DOM;
        // Without a usable schema no file can be judged: the file stays as it is.
        if (!store->LoadSchema(schema_path)) return XMLSCN_FILE_UNUSABLE;
        if (!store->LoadFile(xml_path)) {
            // Only a file refused for itself is replaced, never one that failed to load for
            // want of memory or of the platform.
            if (store->ErrorText() != BaseFileHandler::kInvalidFileText) {
                return XMLSCN_FILE_UNUSABLE;
            }
            // What it held is kept beside it first, and a file that cannot be copied is
            // left alone. Its good configurations move into the new file.
            if (!FileBackup::Keep(xml_path)) return XMLSCN_FILE_UNUSABLE;
            std::size_t recovered = 0;
            std::size_t dropped = 0;
            if (!store->RecoverConfigs(recovered, dropped) && !store->CreateEmptyFile(xml_path)) {
                return XMLSCN_FILE_UNUSABLE;
            }
            if (recovered + dropped != 0) {
                // The counts come first: a long path may be cut from the line.
                Trace(
                    L"XMLSCN_Open recovered %u configurations and dropped %u of an unusable "
                    L"file, kept as a backup: %s",
                    static_cast<unsigned>(recovered), static_cast<unsigned>(dropped), xml_path);
            }
        }
        if (!store->ReadConfigs()) return XMLSCN_FILE_UNUSABLE;
        *handle = store.release()->Handle();
        return XMLSCN_OK;
    } catch (...) {
        // The store's operations catch their own failures; what arrives here (memory
        // running out while the path is copied for a backup) has no status of its own.
        Trace(L"XMLSCN_Open refused: unexpected failure");
        return XMLSCN_FILE_UNUSABLE;
    }
}

std::uint32_t XMLSCN_Close(XMLSCN_HANDLE handle) {
    BaseFileHandler* handler = BaseFileHandler::FromHandle(handle);
    if (handler == nullptr) return XMLSCN_BAD_ARGUMENT;
    // Whichever handler it is, the virtual destructor releases its DOM and its apartment.
    delete handler;
    return XMLSCN_OK;
}

std::uint32_t XMLSCN_GetSize(XMLSCN_HANDLE handle) {
    const ConfigFileHandler* store = StoreOf(handle);
    if (store == nullptr) return XMLSCN_BAD_ARGUMENT;
    return static_cast<std::uint32_t>(store->Configs().size());
}

// Also exported as XMLSCN_Update: both names have always been placeholders.
std::uint32_t XMLSCN_Read(void* /*ignored*/) {
    return XMLSCN_OK;
}

std::uint32_t XMLSCN_ReadSet(XMLSCN_HANDLE handle, std::uint32_t index,
                             ScanSettingsRecord* record) {
    const ConfigFileHandler* store = StoreOf(handle);
    if (store == nullptr || record == nullptr) return XMLSCN_BAD_ARGUMENT;
    const auto& configs = store->Configs();
    if (index >= configs.size()) return XMLSCN_BAD_ARGUMENT;
    std::memcpy(record, &configs[index], sizeof(ScanSettingsRecord));
    return XMLSCN_OK;
}

std::uint32_t XMLSCN_UpdateSet(XMLSCN_HANDLE handle, std::int32_t index,
                               const ScanSettingsRecord* record) {
    ConfigFileHandler* store = StoreOf(handle);
    if (store == nullptr || record == nullptr) return XMLSCN_BAD_ARGUMENT;
    const std::size_t count = store->Configs().size();
    if (count == 0) return XMLSCN_BAD_ARGUMENT;
    // Signed, unlike the other indices: hosts have always passed -1 for "the first one".
    const std::size_t position = index < 0 ? 0 : static_cast<std::size_t>(index);
    if (position >= count) return XMLSCN_BAD_ARGUMENT;
    ScanSettingsRecord copy;
    std::memcpy(&copy, record, sizeof copy);
    return store->ReplaceConfig(position, copy) ? XMLSCN_OK : XMLSCN_BAD_ARGUMENT;
}

std::uint32_t XMLSCN_Add(XMLSCN_HANDLE handle, ScanSettingsRecord* record) {
    ConfigFileHandler* store = StoreOf(handle);
    if (store == nullptr || record == nullptr) return XMLSCN_BAD_ARGUMENT;
    wchar_t id[SCAN_CONFIG_ID_CHARS] = {};
    if (!NewConfigId(id)) return XMLSCN_BAD_ARGUMENT;
    // The caller's record carries the new identifier whether or not the rebuild works.
    std::memset(record->config_id, 0, sizeof record->config_id);
    CopyToField(record->config_id, FieldText(id));
    ScanSettingsRecord copy;
    std::memcpy(&copy, record, sizeof copy);
    return store->AppendConfig(copy) ? XMLSCN_OK : XMLSCN_BAD_ARGUMENT;
}

std::uint32_t XMLSCN_Delete(XMLSCN_HANDLE handle, std::uint32_t index) {
    ConfigFileHandler* store = StoreOf(handle);
    if (store == nullptr) return XMLSCN_BAD_ARGUMENT;
    if (index >= store->Configs().size()) return XMLSCN_BAD_ARGUMENT;
    return store->RemoveConfig(index) ? XMLSCN_OK : XMLSCN_BAD_ARGUMENT;
}

std::uint32_t XMLSCN_Save(XMLSCN_HANDLE handle, const wchar_t* path) {
    ConfigFileHandler* store = StoreOf(handle);
    if (store == nullptr) return XMLSCN_BAD_ARGUMENT;
    return store->Save(path == nullptr ? L"" : path) ? XMLSCN_OK : XMLSCN_SAVE_FAILED;
}

}  // extern "C"
