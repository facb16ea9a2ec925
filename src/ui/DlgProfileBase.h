#pragma once
// The saved scan configurations as the windows that show them see them: the user's store
// of the default scanner, read whole into a list of entries, and the entry that the owning
// window shows or edits.

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
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

    // What a replacement did: the name was found (or the caller's position used), nothing
    // matched and nothing was touched, or the store refused.
    enum class Replaced { Done, NoMatch, Failed };

    // Appends `entry` as a new configuration. False without a store or when the store
    // refuses it.
    bool AddProfile(const ProfileEntry& entry) noexcept;
    // Puts `entry` in place of the first configuration after the defaults whose name
    // equals the entry's, ignoring case. With no such name a position above 0 is replaced instead;
    // 0 or a negative position leaves the store alone (NoMatch), so the default settings at
    // position 0 are never replaced by accident.
    Replaced ReplaceProfile(const ProfileEntry& entry, int position) noexcept;
    // Removes the first configuration after the defaults named exactly `name`: 1 when one
    // was removed.
    int DeleteProfileByName(const wchar_t* name) noexcept;
    // Writes the store to its file; skipped (false) when no store is open.
    bool SaveProfiles() noexcept;

    // How a typed name stands against the saved configurations.
    enum class NameClass { Free, Taken, Reserved };
    // Reserved: the shown name of the default settings (string 111), or the stored name
    // of the first configuration, which holds them; taken: another configuration's name.
    // Both ignore case.
    NameClass ClassifyName(std::wstring_view name) const;
    // A name may be saved unless it is empty or only spaces.
    static bool IsUsableName(const std::wstring& name);
    // Names are told apart ignoring case, as the user reads them.
    static bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept;
    // Shows the overwrite question (102) or the reserved-name notice (106) about `name`,
    // titled like `owner`, which owns it; the button that closed it.
    std::int32_t AskAboutName(std::int32_t code, HWND owner, HWND hostWindow,
                              std::wstring_view name) const;

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
    // The next reload reads the file again, whatever its stamp: after a write the file's
    // time may not have moved (coarse clocks), while the list has.
    void ForgetStamp() noexcept { loaded_.path.clear(); }

    struct FileStamp {
        std::wstring path;
        ULONGLONG size = 0;
        FILETIME written{};
    };
    static bool StampOf(const wchar_t* path, FileStamp& stamp) noexcept;
    FileStamp loaded_;  // of the file the list was read from; empty path when none
};

}  // namespace quorveltwain
