#pragma once
// Paths and file contents for tests that read and write real files under Wine.

#include <cstddef>
#include <string>
#include <string_view>

namespace testsupport {

// A file of the source tree, as a Windows path ("data\\SCANCONFIGLIST.xsd").
std::wstring SourcePath(std::wstring_view relative);
// A folder of the build tree, created if missing; its Windows path without a final
// separator.
std::wstring BuildFolder(std::wstring_view relative);

// The folder where tests leave every scan configuration file the store wrote, for the
// independent schema check that runs after them: one subfolder of "store-files" per test
// program, emptied of earlier runs' files on the first call in a process.
std::wstring StoreFilesFolder();
// A fresh path in that folder, named after the running test and numbered.
std::wstring NextStoreFile();

bool FileExists(const std::wstring& path);
// The file's bytes; empty when it cannot be read.
std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, std::string_view bytes);
// How many files in `folder` match `pattern` ("*.bak"); deleting those files.
std::size_t CountFiles(const std::wstring& folder, const std::wstring& pattern);
void DeleteFiles(const std::wstring& folder, const std::wstring& pattern);

// The driver's files in the test prefix are shared by every test: a test that changes one
// keeps this backup for its scope, and the file is put back byte for byte (or removed, if
// it did not exist) when the scope ends, whatever the test did.
class DriverFileBackup {
  public:
    explicit DriverFileBackup(std::wstring path);
    ~DriverFileBackup();
    DriverFileBackup(const DriverFileBackup&) = delete;
    DriverFileBackup& operator=(const DriverFileBackup&) = delete;
    // Replaces the file with `text` as a private-profile file in UTF-16LE with a byte order
    // mark, which keeps non-ASCII text intact.
    void WriteProfile(std::wstring_view text) const;

  private:
    std::wstring path_;
    bool existed_;
    std::string original_;
};

}  // namespace testsupport
