#pragma once
// Every path the library builds itself, from two roots: the shared documents folder, where
// the driver keeps its registration file, scanner definitions and saved configurations,
// and the Windows folder, where the driver's program files lie. Each path is formatted
// with a bound of MAX_PATH characters: an over-long root is cut, never written past.

#include <windows.h>

#include <cstddef>

namespace quorveltwain {

inline constexpr std::size_t kPathChars = MAX_PATH;

inline constexpr wchar_t kRegistrationFileName[] = L"RegList.ini";
inline constexpr wchar_t kRegistrationSection[] = L"Setting";
inline constexpr wchar_t kDefaultUseKey[] = L"DefaultUse";
inline constexpr wchar_t kScannerSectionPrefix[] = L"Scanner";
inline constexpr wchar_t kDefinitionFileKey[] = L"DefFile";

// The driver's files as GetDriverPaths finds them; an empty path is a file not named.
struct DriverPaths {
    wchar_t dataFolder[kPathChars];        // ...\Quorvel\ZQ_TWAIN\, with the backslash
    wchar_t registrationFile[kPathChars];  // RegList.ini in the data folder
    wchar_t definitionFile[kPathChars];    // the default scanner's DefFile, or empty
};

// Clears all three paths, builds the first two, and the third when RegList.ini names a
// default scanner (Setting/DefaultUse) whose section has a DefFile. Reads the files anew.
DriverPaths GetDriverPaths() noexcept;

// The driver data folder (shared documents folder + "\Quorvel\ZQ_TWAIN\").
void BuildDriverDataFolder(wchar_t (&path)[kPathChars]) noexcept;

// The saved scan configurations of the scanner `defaultUse` (may be empty):
// <data folder>VRXTWAIN\N_SCNLST<defaultUse>.xml
void BuildConfigurationListPath(const wchar_t* dataFolder, const wchar_t* defaultUse,
                                wchar_t (&path)[kPathChars]) noexcept;

// <system Windows folder>\TWAIN_64\VRXTWAIN\SCANCONFIGLIST.xsd
void BuildConfigurationSchemaPath(wchar_t (&path)[kPathChars]) noexcept;

// <system Windows folder>\TWAIN_64\VRXTWAIN\LANG\<languageFolder>\Resource.dll
void BuildResourceLibraryPath(const wchar_t* languageFolder, wchar_t (&path)[kPathChars]) noexcept;

// <Windows folder>\twain_32\VRXTWAIN\VersionInfo.ini
void BuildVersionFilePath(wchar_t (&path)[kPathChars]) noexcept;

// Setting/DefaultUse of the registration file; empty when absent.
void ReadDefaultUse(const wchar_t* registrationFile, wchar_t (&defaultUse)[kPathChars]) noexcept;

}  // namespace quorveltwain
