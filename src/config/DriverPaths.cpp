#include "config/DriverPaths.h"

#include <shlobj.h>
#include <strsafe.h>

namespace quorveltwain {

namespace {

constexpr wchar_t kTwain64Folder[] = L"\\TWAIN_64";
constexpr wchar_t kProgramFolder[] = L"VRXTWAIN\\";
constexpr wchar_t kLanguageFolder[] = L"LANG\\";
constexpr wchar_t kResourceLibraryName[] = L"Resource.dll";
constexpr wchar_t kSchemaName[] = L"SCANCONFIGLIST.xsd";
constexpr wchar_t kConfigurationListName[] = L"N_SCNLST";

void SystemWindowsFolder(wchar_t (&folder)[kPathChars]) noexcept {
    folder[0] = L'\0';
    const UINT length = GetSystemWindowsDirectoryW(folder, kPathChars);
    if (length == 0 || length >= kPathChars) folder[0] = L'\0';
}

void WindowsFolder(wchar_t (&folder)[kPathChars]) noexcept {
    folder[0] = L'\0';
    const UINT length = GetWindowsDirectoryW(folder, kPathChars);
    if (length == 0 || length >= kPathChars) folder[0] = L'\0';
}

}  // namespace

void BuildDriverDataFolder(wchar_t (&path)[kPathChars]) noexcept {
    path[0] = L'\0';
    if (FAILED(
            SHGetFolderPathW(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, SHGFP_TYPE_CURRENT, path))) {
        path[0] = L'\0';
    }
    StringCchCatW(path, kPathChars, L"\\");
    StringCchCatW(path, kPathChars, L"Quorvel\\");
    StringCchCatW(path, kPathChars, L"ZQ_TWAIN\\");
}

void ReadDefaultUse(const wchar_t* registrationFile, wchar_t (&defaultUse)[kPathChars]) noexcept {
    defaultUse[0] = L'\0';
    if (registrationFile == nullptr || registrationFile[0] == L'\0') return;
    GetPrivateProfileStringW(kRegistrationSection, kDefaultUseKey, L"", defaultUse, kPathChars,
                             registrationFile);
}

DriverPaths GetDriverPaths() noexcept {
    DriverPaths paths{};
    BuildDriverDataFolder(paths.dataFolder);
    StringCchPrintfW(paths.registrationFile, kPathChars, L"%s%s", paths.dataFolder,
                     kRegistrationFileName);

    wchar_t defaultUse[kPathChars];
    ReadDefaultUse(paths.registrationFile, defaultUse);
    if (defaultUse[0] == L'\0') return paths;

    wchar_t section[kPathChars];
    StringCchPrintfW(section, kPathChars, L"%s%s", kScannerSectionPrefix, defaultUse);
    wchar_t definitionFile[kPathChars];
    GetPrivateProfileStringW(section, kDefinitionFileKey, L"", definitionFile, kPathChars,
                             paths.registrationFile);
    if (definitionFile[0] != L'\0') {
        StringCchPrintfW(paths.definitionFile, kPathChars, L"%s%s", paths.dataFolder,
                         definitionFile);
    }
    return paths;
}

void BuildConfigurationListPath(const wchar_t* dataFolder, const wchar_t* defaultUse,
                                wchar_t (&path)[kPathChars]) noexcept {
    StringCchPrintfW(path, kPathChars, L"%s%s%s%s%s", dataFolder != nullptr ? dataFolder : L"",
                     kProgramFolder, kConfigurationListName,
                     defaultUse != nullptr ? defaultUse : L"", L".xml");
}

void BuildConfigurationSchemaPath(wchar_t (&path)[kPathChars]) noexcept {
    wchar_t windows[kPathChars];
    SystemWindowsFolder(windows);
    StringCchPrintfW(path, kPathChars, L"%s%s\\%s%s", windows, kTwain64Folder, kProgramFolder,
                     kSchemaName);
}

void BuildResourceLibraryPath(const wchar_t* languageFolder, wchar_t (&path)[kPathChars]) noexcept {
    wchar_t windows[kPathChars];
    SystemWindowsFolder(windows);
    StringCchPrintfW(path, kPathChars, L"%s%s\\%s%s%s\\%s", windows, kTwain64Folder, kProgramFolder,
                     kLanguageFolder, languageFolder != nullptr ? languageFolder : L"",
                     kResourceLibraryName);
}

void BuildVersionFilePath(wchar_t (&path)[kPathChars]) noexcept {
    wchar_t windows[kPathChars];
    WindowsFolder(windows);
    StringCchPrintfW(path, kPathChars, L"%s%s", windows, L"\\twain_32\\VRXTWAIN\\VersionInfo.ini");
}

}  // namespace quorveltwain
