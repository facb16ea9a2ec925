#include "support/TestFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace testsupport {

namespace {

// The source and build trees are Unix paths; Wine names the drive that maps them.
std::wstring WindowsPathOf(const char* unixPath) {
    using Converter = WCHAR*(CDECL*)(LPCSTR);
    const auto convert = reinterpret_cast<Converter>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    WCHAR* converted = convert != nullptr ? convert(unixPath) : nullptr;
    if (converted == nullptr) return std::filesystem::path(unixPath).make_preferred().wstring();
    std::wstring result(converted);
    HeapFree(GetProcessHeap(), 0, converted);
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

std::wstring StoreFilesFolder() {
    // One subfolder per test program, so one program's start does not remove the files
    // another left.
    static const std::wstring folder = [] {
        wchar_t module[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, module, MAX_PATH);
        BuildFolder(L"store-files");
        std::wstring created =
            BuildFolder(L"store-files\\" + std::filesystem::path(module).stem().wstring());
        DeleteFiles(created, L"*.xml");
        return created;
    }();
    return folder;
}

std::wstring NextStoreFile() {
    static unsigned counter = 0;
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(test->test_suite_name()) + "." + test->name() + "-" +
                             std::to_string(++counter) + ".xml";
    return StoreFilesFolder() + L"\\" + std::wstring(name.begin(), name.end());
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::wstring& path, std::string_view bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return !out.fail();
}

void DeleteFiles(const std::wstring& folder, const std::wstring& pattern) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(Join(folder, pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do DeleteFileW(Join(folder, found.cFileName).c_str());
    while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace testsupport
