#include "support/TestFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace testsupport {

namespace {

// Under Wine the source and build trees are Unix paths; Wine converts them to the drive
// that maps them. On Windows the configured paths are used as they are.
std::wstring WindowsPathOf(const char* unixPath) {
    using Converter = WCHAR*(CDECL*)(LPCSTR);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto convert = reinterpret_cast<Converter>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_dos_file_name")));
    if (convert != nullptr) {
        if (WCHAR* converted = convert(unixPath)) {
            std::wstring result(converted);
            HeapFree(GetProcessHeap(), 0, converted);
            return result;
        }
    }
    std::wstring result;
    for (const char* c = unixPath; *c != '\0'; ++c) result += *c == '/' ? L'\\' : wchar_t(*c);
    return result;
}

std::wstring Join(std::wstring base, std::wstring_view relative) {
    if (!base.empty() && base.back() != L'\\') base += L'\\';
    for (wchar_t c : relative) base += c == L'/' ? L'\\' : c;
    return base;
}

}  // namespace

std::wstring SourcePath(std::wstring_view relative) {
    return Join(WindowsPathOf(TWAINUI_SOURCE_DIR), relative);
}

std::wstring BuildFolder(std::wstring_view relative) {
    const std::wstring folder = Join(WindowsPathOf(TWAINUI_BINARY_DIR), relative);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read != 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    CloseHandle(file);
    return ok;
}

namespace {

std::vector<std::wstring> MatchingNames(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(Join(folder, pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

}  // namespace

std::size_t CountFiles(const std::wstring& folder, const std::wstring& pattern) {
    return MatchingNames(folder, pattern).size();
}

void DeleteFiles(const std::wstring& folder, const std::wstring& pattern) {
    for (const std::wstring& name : MatchingNames(folder, pattern)) {
        DeleteFileW(Join(folder, name).c_str());
    }
}

}  // namespace testsupport

namespace testsupport {

std::wstring StoreFilesFolder() {
    // One subfolder per test program, so one program's start does not remove the files
    // another left.
    static const std::wstring folder = [] {
        wchar_t module[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, module, MAX_PATH);
        std::wstring program(module);
        program = program.substr(program.find_last_of(L"\\/") + 1);
        program = program.substr(0, program.find_last_of(L'.'));
        BuildFolder(L"store-files");
        std::wstring created = BuildFolder(L"store-files\\" + program);
        DeleteFiles(created, L"*.xml");
        return created;
    }();
    return folder;
}

std::wstring NextStoreFile() {
    static unsigned counter = 0;
    std::wstring name = L"store";
    if (const auto* test = ::testing::UnitTest::GetInstance()->current_test_info()) {
        name.clear();
        for (const char* c = test->test_suite_name(); *c != '\0'; ++c) name += wchar_t(*c);
        name += L'.';
        for (const char* c = test->name(); *c != '\0'; ++c) name += wchar_t(*c);
    }
    return StoreFilesFolder() + L"\\" + name + L"-" + std::to_wstring(++counter) + L".xml";
}

}  // namespace testsupport
