#include "xml/FileBackup.h"

#include <windows.h>

#include <string_view>

#include "platform/UniqueHandle.h"

namespace quorveltwain {

namespace {

// Beyond this many backups of one file something is wrong elsewhere; the file stays.
constexpr int kMaxBackups = 100;
// An empty skeleton is far smaller; a larger file is kept without looking further.
constexpr DWORD kLargestEmptyFile = 512;

bool Exists(const std::wstring& path) noexcept {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

bool FileBackup::HoldsNothing(const std::string& bytes) noexcept {
    std::string_view rest(bytes);
    if (rest.substr(0, 3) == "\xEF\xBB\xBF") rest.remove_prefix(3);
    std::string compact;
    try {
        for (char c : rest) {
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n') compact += c;
        }
    } catch (...) {
        return false;
    }
    // The skeleton as written, or as the DOM saves it (spacing and an empty-element tag).
    return compact.empty() ||
           compact ==
               R"(<?xmlversion="1.0"encoding="UTF-8"?><paramxml:space="preserve"></param>)" ||
           compact == R"(<?xmlversion="1.0"encoding="UTF-8"?><paramxml:space="preserve"/>)";
}

std::wstring FileBackup::NextBackupPath(const std::wstring& path) {
    std::wstring candidate = path + L".bak";
    for (int n = 1; Exists(candidate); ++n) {
        if (n > kMaxBackups) return {};
        candidate = path + L"." + std::to_wstring(n) + L".bak";
    }
    return candidate;
}

bool FileBackup::Keep(const std::wstring& path) noexcept {
    try {
        UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD error = ::GetLastError();
            // Nothing there, nothing to lose; a file we cannot read must not be replaced.
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        }
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(file.get(), &size)) return false;
        if (size.QuadPart <= kLargestEmptyFile) {
            std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
            DWORD read = 0;
            if (!bytes.empty() && !::ReadFile(file.get(), bytes.data(),
                                              static_cast<DWORD>(bytes.size()), &read, nullptr)) {
                return false;
            }
            bytes.resize(read);
            if (HoldsNothing(bytes)) return true;
        }
        file.reset();

        // Another process may take the same name between the check and the copy; the
        // copy then fails rather than overwrite, and the next free name is tried.
        for (int attempt = 0; attempt <= kMaxBackups; ++attempt) {
            const std::wstring backup = NextBackupPath(path);
            if (backup.empty()) return false;
            if (::CopyFileW(path.c_str(), backup.c_str(), TRUE)) return true;
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return false;
        }
    } catch (...) {
        // Out of memory while naming the copy: keep the file where it is.
    }
    return false;
}

}  // namespace quorveltwain
