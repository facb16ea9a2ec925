#pragma once
// The scan configuration file: the document of BaseFileHandler and the list of saved
// configurations it holds, one ScanSettingsRecord per "scan_config" element, in file
// order. Every change of the list is mirrored into the document at once; the file
// changes only through Save.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ScanSettingsRecord.h"
#include "xml/BaseFileHandler.h"

namespace quorveltwain {

class ConfigFileHandler : public BaseFileHandler {
  public:
    // The empty file: the declaration and a "param" root with xml:space="preserve".
    static constexpr std::wstring_view kSkeleton =
        L"<?xml version=\"1.0\" encoding=\"UTF-8\" ?><param xml:space=\"preserve\"></param>";

    static constexpr HandlerKind kKind = HandlerKind::ConfigStore;

    ConfigFileHandler() noexcept : BaseFileHandler(kKind) {}
    ~ConfigFileHandler() override = default;

    // Replaces the document by the empty skeleton and writes it to `path`.
    bool CreateEmptyFile(std::wstring_view path) noexcept;
    // Replaces the file at FilePath(), which LoadFile refused, by a store of every
    // configuration in it that passes the schema on its own, and writes it; the others are
    // dropped. A file that is not XML, or holds no configuration, gives the empty store.
    // Counts the configuration elements kept and dropped (both 0 on failure); the caller
    // has kept a backup of the file.
    bool RecoverConfigs(std::size_t& recovered, std::size_t& dropped) noexcept;
    // Document -> configs. Texts longer than their field are cut to it.
    bool ReadConfigs() noexcept;
    // configs -> document (not saved).
    bool WriteConfigs() noexcept;

    const std::vector<ScanSettingsRecord>& Configs() const noexcept { return configs; }

    // The list changes behind the store's exports and the profile windows. Each keeps
    // the change in the list and returns whether the document could be rebuilt from it;
    // the caller checks the index (and reports a bad one) before calling.
    bool AppendConfig(const ScanSettingsRecord& record) noexcept;
    bool ReplaceConfig(std::size_t index, const ScanSettingsRecord& record) noexcept;
    bool RemoveConfig(std::size_t index) noexcept;

  protected:
    std::vector<ScanSettingsRecord> configs;

  private:
    // The text of every element child of the root of the file at filePath, loaded without
    // the schema; empty when the file is not XML.
    std::vector<std::wstring> ElementsOfUncheckedFile();
    void ReadConfig(IXMLDOMNode* node, ScanSettingsRecord& record);
    void ReadScanParam(IXMLDOMNode* scanParam, ScanSettingsRecord& record);
    void ReadFrameEntry(IXMLDOMNode* frameEntry, ScanSettingsRecord& record);
    void WriteConfig(const ScanSettingsRecord& record);
};

}  // namespace quorveltwain
