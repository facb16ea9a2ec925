#pragma once
// The saved scan configurations as the windows that show them see them: the user's store
// of the default scanner, read whole into a list of entries, and the entry that the owning
// window shows or edits.

#include <windows.h>

#include <string>
#include <vector>

#include "twain_ui.h"
#include "ui/ProfileEntry.h"

namespace quorveltwain {

class DlgProfileBase {
  public:
    // The store may hold no more configurations than this (the defaults among them).
    static constexpr std::size_t kMaxConfigurations = 11;

    DlgProfileBase() = default;
    DlgProfileBase(const DlgProfileBase&) = delete;
    DlgProfileBase& operator=(const DlgProfileBase&) = delete;

    // Opens the store of the default scanner afresh and reads every configuration. A store
    // that cannot be opened leaves an empty list; nothing is shown to the user. A store file
    // unchanged since the last reload (same path, size and write time) is not read again:
    // the pane reloads on every notification of its list.
    void ReloadProfiles() noexcept;
    const std::vector<ProfileEntry>& Profiles() const noexcept { return entries_; }

    ProfileEntry currentEntry_{};
    HMODULE profileResources_ = nullptr;

  protected:
    ~DlgProfileBase();

    // Opens the store at the two paths (both must be given); the handle is kept.
    bool OpenStore(const wchar_t* storePath, const wchar_t* schemaPath) noexcept;
    // Replaces the list with the store's configurations, in store order, up to the first
    // that cannot be read.
    void ReadAll() noexcept;

    XMLSCN_HANDLE store_ = nullptr;
    std::vector<ProfileEntry> entries_;

  private:
    struct FileStamp {
        std::wstring path;
        ULONGLONG size = 0;
        FILETIME written{};
    };
    static bool StampOf(const wchar_t* path, FileStamp& stamp) noexcept;
    FileStamp loaded_;  // of the file the list was read from; empty path when none
};

}  // namespace quorveltwain
