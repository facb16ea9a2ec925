#include "xml/TemporaryFile.h"

#include <windows.h>

#include "platform/UniqueHandle.h"
#include "platform/ComError.h"

namespace quorveltwain {

namespace {

[[noreturn]] void ThrowLastError() {
    const DWORD error = ::GetLastError();
    throw ComError(error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error));
}

}  // namespace

std::wstring TemporaryFile::FolderOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        // "C:file.xml" lies in the current folder of drive C.
        if (path.size() >= 2 && path[1] == L':') return path.substr(0, 2) + L".";
        return L".";
    }
    // Keep the separator of a root folder ("C:\", "\").
    if (separator == 0 || (separator == 2 && path[1] == L':')) return path.substr(0, separator + 1);
    return path.substr(0, separator);
}

TemporaryFile::TemporaryFile(const std::wstring& target) : target_(target) {
    wchar_t created[MAX_PATH] = {};
    const std::wstring folder = FolderOf(target);
    // The name is unique in the folder and the file exists from here on, so no other
    // writer can take it.
    if (::GetTempFileNameW(folder.c_str(), L"scn", 0, created) == 0) ThrowLastError();
    path_ = created;
}

TemporaryFile::~TemporaryFile() {
    if (!moved_ && !path_.empty()) ::DeleteFileW(path_.c_str());
}

void TemporaryFile::ReplaceTarget() {
    // Windows refuses to replace a read-only file, Wine's rename does not: a file the
    // user protected stays as it is on both.
    const DWORD attributes = ::GetFileAttributesW(target_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        throw ComError(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    }
    // The bytes reach the disk before the name does: after a power cut the target holds
    // the old file or the whole new one, never a name without its content.
    {
        UniqueFileHandle written(::CreateFileW(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                               nullptr));
        if (!written || !::FlushFileBuffers(written.get())) ThrowLastError();
    }
    // Same folder, same volume: a rename, which replaces the target in one step.
    if (!::MoveFileExW(path_.c_str(), target_.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ThrowLastError();
    }
    moved_ = true;
}

}  // namespace quorveltwain
