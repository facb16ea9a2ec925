#pragma once
// A file written beside its target and then moved over it in one step, so a crash while
// writing leaves the old file whole. Until the move succeeds the temporary file is the
// owner's: it is deleted when the owner goes away.
//
// Its name is the target's with ".~XXXXXXXX.tmp" added (eight hexadecimal digits), so the
// files a killed save leaves behind can be told from every other file and removed later.
// No part of the name passes through a fixed-size buffer: a path too long for the system
// fails with the system's error.

#include <string>

namespace quorveltwain {

class TemporaryFile {
  public:
    // Removes stale temporary files of `target` (see RemoveStale), then creates an empty,
    // uniquely named one beside it. Raises ComError with the system's error when the folder
    // cannot take a file.
    explicit TemporaryFile(const std::wstring& target);
    ~TemporaryFile();

    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& Path() const noexcept { return path_; }
    // Moves the temporary file over the target (replacing it) and flushes the move.
    // Raises ComError; the temporary file is then still deleted by the destructor.
    void ReplaceTarget();

    // Deletes the temporary files of `target` that no save has written to for a minute:
    // their writer died. Files of any other name stay, and so does a file still open.
    static void RemoveStale(const std::wstring& target) noexcept;

  private:
    std::wstring target_;
    std::wstring path_;
    bool moved_ = false;
};

}  // namespace quorveltwain
