#include "xml/TemporaryFile.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string_view>

#include "platform/UniqueHandle.h"
#include "platform/ComError.h"

namespace quorveltwain {

namespace {

constexpr std::wstring_view kMarker = L".~";
constexpr std::wstring_view kExtension = L".tmp";
constexpr std::size_t kTokenDigits = 8;
// A save writes its temporary file and moves it within milliseconds; one untouched for a
// minute belongs to a save that died. Removing a live one would only fail that save.
constexpr ULONGLONG kStaleAfter = 60ULL * 10'000'000ULL;  // in 100 ns units
// Names are tried until one is free; a folder this full of them is not usable.
constexpr int kNameAttempts = 64;

[[noreturn]] void ThrowLastError() {
    const DWORD error = ::GetLastError();
    throw ComError(error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error));
}

// A token that differs between processes, between saves of one process and over time.
std::uint32_t NextToken() noexcept {
    static std::atomic<std::uint32_t> counter{0};
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return (::GetCurrentProcessId() * 2654435761u) ^ static_cast<std::uint32_t>(now.QuadPart) ^
           (counter.fetch_add(1) * 40503u);
}

std::wstring Suffix(std::uint32_t token) {
    std::wstring suffix(kMarker);
    for (int shift = 28; shift >= 0; shift -= 4) {
        suffix += L"0123456789abcdef"[(token >> shift) & 0xF];
    }
    suffix += kExtension;
    return suffix;
}

bool IsHexDigit(wchar_t c) noexcept {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

// The file name part of a path ("C:name" and bare names included).
std::wstring_view FileNameOf(std::wstring_view path) noexcept {
    const std::size_t separator = path.find_last_of(L"\\/:");
    return separator == std::wstring_view::npos ? path : path.substr(separator + 1);
}

// The part of `found` after `name` when it is exactly `name` + ".~" + eight hexadecimal
// digits + ".tmp"; empty otherwise. File names compare without regard to case.
std::wstring_view TemporarySuffix(std::wstring_view found, std::wstring_view name) noexcept {
    const std::size_t length = name.size() + kMarker.size() + kTokenDigits + kExtension.size();
    if (name.empty() || found.size() != length) return {};
    if (::CompareStringOrdinal(found.data(), static_cast<int>(name.size()), name.data(),
                               static_cast<int>(name.size()), TRUE) != CSTR_EQUAL) {
        return {};
    }
    const std::wstring_view suffix = found.substr(name.size());
    if (suffix.substr(0, kMarker.size()) != kMarker) return {};
    for (std::size_t i = 0; i < kTokenDigits; ++i) {
        if (!IsHexDigit(suffix[kMarker.size() + i])) return {};
    }
    const std::wstring_view extension = suffix.substr(kMarker.size() + kTokenDigits);
    if (::CompareStringOrdinal(extension.data(), static_cast<int>(extension.size()),
                               kExtension.data(), static_cast<int>(kExtension.size()),
                               TRUE) != CSTR_EQUAL) {
        return {};
    }
    return suffix;
}

ULONGLONG Ticks(const FILETIME& time) noexcept {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

TemporaryFile::TemporaryFile(const std::wstring& target) : target_(target) {
    RemoveStale(target_);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::wstring candidate = target_ + Suffix(NextToken());
        // The file exists from here on, so no other writer can take the name.
        UniqueFileHandle created(::CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr,
                                               CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (created) {
            path_ = std::move(candidate);
            return;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) ThrowLastError();
    }
    throw ComError(HRESULT_FROM_WIN32(ERROR_FILE_EXISTS));
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

void TemporaryFile::RemoveStale(const std::wstring& target) noexcept {
    try {
        const std::wstring_view name = FileNameOf(target);
        if (name.empty()) return;
        // The pattern narrows the search; each name found is still checked in full, since
        // patterns also match short (8.3) names.
        const std::wstring pattern =
            target + std::wstring(kMarker) + L"*" + std::wstring(kExtension);
        WIN32_FIND_DATAW found{};
        const UniqueFindHandle search(::FindFirstFileW(pattern.c_str(), &found));
        if (!search) return;
        FILETIME now{};
        ::GetSystemTimeAsFileTime(&now);
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            const std::wstring_view suffix = TemporarySuffix(found.cFileName, name);
            const ULONGLONG written = Ticks(found.ftLastWriteTime);
            if (suffix.empty() || written > Ticks(now) || Ticks(now) - written < kStaleAfter) {
                continue;
            }
            // The search found it beside the target: the same folder, the name it has there.
            ::DeleteFileW((target + std::wstring(suffix)).c_str());
        } while (::FindNextFileW(search.get(), &found));
    } catch (...) {
        // Out of memory for a name: the files wait for the next open or save.
    }
}

}  // namespace quorveltwain
