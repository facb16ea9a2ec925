#pragma once
// Keeps a copy of a file that is about to be replaced because it could not be used, so
// nothing the user saved is destroyed without a trace.

#include <string>

namespace quorveltwain {

class FileBackup {
  public:
    // Copies `path` to "<path>.bak", or "<path>.<n>.bak" with the lowest free n when
    // earlier backups exist; an existing backup is never overwritten. A missing file and
    // a file holding nothing (empty, or only the empty skeleton) need no copy. Returns
    // false when a copy was needed and could not be made: the file must then stay.
    static bool Keep(const std::wstring& path) noexcept;

    // The path the next backup of `path` would take ("" when none is free).
    static std::wstring NextBackupPath(const std::wstring& path);

    // True when the bytes hold no configuration worth keeping.
    static bool HoldsNothing(const std::string& bytes) noexcept;
};

}  // namespace quorveltwain
