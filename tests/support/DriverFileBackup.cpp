#include "support/DriverFileBackup.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace testsupport {

namespace {
// The system caches private-profile files; an unchanged size and time within the clock's
// resolution could otherwise serve the old text.
void ForgetCachedProfiles() {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr);
}
}  // namespace

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

DriverFileBackup::DriverFileBackup(std::wstring path)
    : path_(std::move(path)), original_(ReadFileBytes(path_)) {}

DriverFileBackup::~DriverFileBackup() {
    const std::filesystem::path file(path_);
    if (original_) {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(original_->data(), static_cast<std::streamsize>(original_->size()));
    } else {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
    }
    ForgetCachedProfiles();
}

void DriverFileBackup::WriteProfile(std::wstring_view text) const {
    std::string bytes = "\xFF\xFE";
    for (wchar_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
    }
    std::ofstream out(std::filesystem::path(path_), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    ForgetCachedProfiles();
}

}  // namespace testsupport
