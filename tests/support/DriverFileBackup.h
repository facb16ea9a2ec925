#pragma once
// The driver's files in the test prefix are shared by every test: a test that changes one
// keeps a backup for the length of its scope, and the file is put back byte for byte (or
// removed again, if it did not exist) when the scope ends, whatever the test did.

#include <optional>
#include <string>
#include <string_view>

namespace testsupport {

class DriverFileBackup {
  public:
    explicit DriverFileBackup(std::wstring path);
    ~DriverFileBackup();
    DriverFileBackup(const DriverFileBackup&) = delete;
    DriverFileBackup& operator=(const DriverFileBackup&) = delete;

    const std::wstring& path() const { return path_; }

    // Replaces the file with `text` as a private-profile file: UTF-16LE with a byte order
    // mark, which keeps non-ASCII text intact.
    void WriteProfile(std::wstring_view text) const;

  private:
    std::wstring path_;
    std::optional<std::string> original_;
};

// The whole file, or nothing when it does not exist.
std::optional<std::string> ReadFileBytes(const std::wstring& path);

}  // namespace testsupport
