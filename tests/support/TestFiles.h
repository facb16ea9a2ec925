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
// Deletes the files in `folder` that match `pattern` ("*.bak").
void DeleteFiles(const std::wstring& folder, const std::wstring& pattern);

}  // namespace testsupport
