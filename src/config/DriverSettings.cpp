#include "config/DriverSettings.h"

#include <windows.h>
#include <strsafe.h>

#include <cwchar>
#include <memory>
#include <new>

#include "platform/BoundedText.h"

namespace quorveltwain {

namespace {

constexpr wchar_t kContents[] = L"Contents";
constexpr wchar_t kAuthentication[] = L"Authentication";

// One private-profile value into `buffer`; the default when no definition file is named,
// so an empty path never makes the system look for a file of that name elsewhere.
void ReadValue(const wchar_t* file, const wchar_t* section, const wchar_t* key,
               const wchar_t* fallback, wchar_t* buffer, DWORD capacity) noexcept {
    if (file[0] == L'\0') {
        StringCchCopyW(buffer, capacity, fallback);
        return;
    }
    GetPrivateProfileStringW(section, key, fallback, buffer, capacity, file);
}

std::int32_t ReadNumber(const wchar_t* file, const wchar_t* section, const wchar_t* key,
                        const wchar_t* fallback) noexcept {
    wchar_t text[kPathChars];
    ReadValue(file, section, key, fallback, text, kPathChars);
    return LeadingDecimal(text);
}

}  // namespace

std::int32_t LeadingDecimal(const wchar_t* text) noexcept {
    if (text == nullptr) return 0;
    // wcstol gives 0 when no digits lead, and clamps what does not fit in 32 bits.
    return static_cast<std::int32_t>(std::wcstol(text, nullptr, 10));
}

bool ReadDriverSettings(const DriverPaths& paths, DriverSettings& settings) noexcept {
    const wchar_t* file = paths.definitionFile;
    wchar_t text[kPathChars];

    settings.unit = ReadNumber(file, kContents, L"Unit", L"1");
    settings.compression = ReadNumber(file, kContents, L"Compression", L"3");
    settings.grayCompression = ReadNumber(file, kContents, L"CompressionGray", L"3");
    settings.secureConnection = ReadNumber(file, kContents, L"SSL", L"0") != 0;

    ReadValue(file, kContents, L"ScannerAddress", L"", text, kPathChars);
    if (std::wcschr(text, L':') != nullptr) {
        // An IPv6 address is bracketed, as a URL host needs it.
        FormatToField(settings.scannerAddress, L"[%1]", {text});
    } else {
        CopyToField(settings.scannerAddress, text);
    }

    settings.scanMode = ReadNumber(file, kContents, L"ScanMode", L"0");
    settings.authentication = ReadNumber(file, kAuthentication, L"Auth", L"0");
    ReadValue(file, kAuthentication, L"UserName", L"", text, kPathChars);
    CopyToField(settings.userName, text);
    settings.account = ReadNumber(file, kAuthentication, L"Account", L"0");
    ReadValue(file, kAuthentication, L"ID", L"", text, kPathChars);
    CopyToField(settings.accountId, text);

    // The password's read buffer is twice its field; a longer text is cut to the field.
    std::unique_ptr<wchar_t[]> password(new (std::nothrow) wchar_t[kPasswordReadChars]);
    if (password) {
        ReadValue(file, kAuthentication, L"Password", L"", password.get(), kPasswordReadChars);
        CopyToField(settings.password, password.get());
    } else {
        settings.password[0] = L'\0';
    }
    return true;
}

}  // namespace quorveltwain
