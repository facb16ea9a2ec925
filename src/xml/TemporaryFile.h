#pragma once
// A file written beside its target and then moved over it in one step, so a crash while
// writing leaves the old file whole. Until the move succeeds the temporary file is the
// owner's: it is deleted when the owner goes away.

#include <string>

namespace quorveltwain {

class TemporaryFile {
  public:
    // Creates an empty, uniquely named file in the folder of `target`. Raises ComError
    // with the system's error when the folder cannot take a file.
    explicit TemporaryFile(const std::wstring& target);
    ~TemporaryFile();

    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::wstring& Path() const noexcept { return path_; }
    // Moves the temporary file over the target (replacing it) and flushes the move.
    // Raises ComError; the temporary file is then still deleted by the destructor.
    void ReplaceTarget();

    // The folder part of a path, without its final separator ("." for a bare file name).
    static std::wstring FolderOf(const std::wstring& path);

  private:
    std::wstring target_;
    std::wstring path_;
    bool moved_ = false;
};

}  // namespace quorveltwain
