// Driver file locations and settings, read from the files that the install step put into
// the test prefix. Tests that change those files restore them (DriverFileBackup).

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <cwctype>
#include <string>

#include "platform/BoundedText.h"
#include "config/DriverPaths.h"
#include "config/DriverSettings.h"
#include "support/DriverFileBackup.h"

namespace quorveltwain {
namespace {

using testsupport::DriverFileBackup;

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

// Windows paths compare without regard to case.
#define EXPECT_SAME_PATH(actual, expected) EXPECT_EQ(Lower(actual), Lower(expected))

std::wstring Environment(const wchar_t* name) {
    wchar_t value[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

// What the install step put into the prefix (scripts/install-product.sh), from the
// environment, not from the code under test.
std::wstring InstalledDataFolder() {
    return Environment(L"PUBLIC") + L"\\Documents\\Quorvel\\ZQ_TWAIN\\";
}

DriverSettings ReadSettings() {
    DriverSettings settings;
    std::memset(&settings, 0xCD, sizeof(settings));  // no field may keep a stale value
    EXPECT_TRUE(ReadDriverSettings(GetDriverPaths(), settings));
    return settings;
}

constexpr wchar_t kRegistration[] =
    L"[Setting]\r\nDefaultUse=T1\r\n\r\n[ScannerT1]\r\nDefFile=T1.ini\r\n";

class DriverFiles : public ::testing::Test {
  protected:
    DriverFiles()
        : registration_(InstalledDataFolder() + L"RegList.ini"),
          definition_(InstalledDataFolder() + L"T1.ini") {}

    void UseDefinition(const std::wstring& body) {
        registration_.WriteProfile(kRegistration);
        definition_.WriteProfile(body);
    }

    DriverFileBackup registration_;
    DriverFileBackup definition_;
};

TEST(DriverPaths, TheInstalledSampleNamesItsScannerDefinition) {
    ASSERT_FALSE(Environment(L"PUBLIC").empty());
    const DriverPaths paths = GetDriverPaths();
    // The shared documents folder of a Wine prefix is %PUBLIC%\Documents, where the
    // install step puts the driver files.
    EXPECT_SAME_PATH(paths.dataFolder, InstalledDataFolder());
    EXPECT_SAME_PATH(paths.registrationFile, InstalledDataFolder() + L"RegList.ini");
    EXPECT_SAME_PATH(paths.definitionFile, InstalledDataFolder() + L"ZQ5100.ini");

    const DriverSettings settings = ReadSettings();
    EXPECT_EQ(settings.unit, 0) << "the sample measures in millimetres";
    EXPECT_EQ(settings.compression, 3);
    EXPECT_EQ(settings.grayCompression, 3);
    EXPECT_TRUE(settings.secureConnection);
    EXPECT_STREQ(settings.scannerAddress, L"192.168.0.10");
    EXPECT_EQ(settings.authentication, 1);
    EXPECT_STREQ(settings.userName, L"Scan-B\u00fcro") << "non-ASCII text survives the file";
    EXPECT_STREQ(settings.accountId, L"");
    EXPECT_STREQ(settings.password, L"");
}

TEST(DriverPaths, ProgramFilesLieBelowTheWindowsFolders) {
    const std::wstring windows = Environment(L"windir");
    ASSERT_FALSE(windows.empty());
    wchar_t path[kPathChars];
    BuildConfigurationSchemaPath(path);
    EXPECT_SAME_PATH(path, windows + L"\\TWAIN_64\\VRXTWAIN\\SCANCONFIGLIST.xsd");
    BuildResourceLibraryPath(L"pt-PT", path);
    EXPECT_SAME_PATH(path, windows + L"\\TWAIN_64\\VRXTWAIN\\LANG\\pt-PT\\Resource.dll");
    BuildVersionFilePath(path);
    EXPECT_SAME_PATH(path, windows + L"\\twain_32\\VRXTWAIN\\VersionInfo.ini");
    BuildConfigurationListPath(L"D:\\data\\", L"A", path);
    EXPECT_STREQ(path, L"D:\\data\\VRXTWAIN\\N_SCNLSTA.xml");

    // An over-long part is cut at the buffer, which stays terminated.
    const std::wstring longFolder(400, L'x');
    struct {
        wchar_t path[kPathChars];
        wchar_t after[8];
    } guarded;
    std::wmemset(guarded.after, L'#', 8);
    BuildResourceLibraryPath(longFolder.c_str(), guarded.path);
    EXPECT_EQ(std::wcslen(guarded.path), kPathChars - 1);
    EXPECT_EQ(guarded.after[0], L'#') << "written past the path buffer";
    BuildConfigurationListPath(longFolder.c_str(), L"A", guarded.path);
    EXPECT_EQ(std::wcslen(guarded.path), kPathChars - 1);
    EXPECT_EQ(guarded.after[0], L'#');
}

TEST_F(DriverFiles, WithoutADefaultScannerEveryKeyHasItsDefault) {
    registration_.WriteProfile(L"[Setting]\r\nOther=1\r\n");
    const DriverPaths paths = GetDriverPaths();
    EXPECT_STREQ(paths.definitionFile, L"");

    wchar_t defaultUse[kPathChars];
    ReadDefaultUse(paths.registrationFile, defaultUse);
    wchar_t list[kPathChars];
    BuildConfigurationListPath(paths.dataFolder, defaultUse, list);
    EXPECT_SAME_PATH(list, InstalledDataFolder() + L"VRXTWAIN\\N_SCNLST.xml");

    const DriverSettings settings = ReadSettings();
    EXPECT_EQ(settings.unit, 1) << "inches";
    EXPECT_EQ(settings.compression, 3);
    EXPECT_EQ(settings.grayCompression, 3);
    EXPECT_FALSE(settings.secureConnection);
    EXPECT_STREQ(settings.scannerAddress, L"");
    EXPECT_EQ(settings.scanMode, 0);
    EXPECT_EQ(settings.authentication, 0);
    EXPECT_STREQ(settings.userName, L"");
    EXPECT_EQ(settings.account, 0);
    EXPECT_STREQ(settings.accountId, L"");
    EXPECT_STREQ(settings.password, L"");
}

TEST_F(DriverFiles, ADefaultScannerWithoutDefFileHasNoDefinition) {
    registration_.WriteProfile(L"[Setting]\r\nDefaultUse=T1\r\n");
    EXPECT_STREQ(GetDriverPaths().definitionFile, L"");
    EXPECT_EQ(ReadSettings().unit, 1);
}

TEST_F(DriverFiles, UnitAndAddressAreConvertedAsTheDriverWroteThem) {
    const struct {
        const wchar_t* unit;
        std::int32_t expected;
    } units[] = {{L"0", 0}, {L"abc", 0}, {L"2", 2}, {L"12mm", 12}, {L"", 0}};
    for (const auto& u : units) {
        UseDefinition(std::wstring(L"[Contents]\r\nUnit=") + u.unit + L"\r\n");
        EXPECT_EQ(ReadSettings().unit, u.expected) << "Unit=" << u.unit;
    }

    UseDefinition(L"[Contents]\r\nScannerAddress=fe80::1\r\nSSL=2\r\n");
    DriverSettings settings = ReadSettings();
    EXPECT_STREQ(settings.scannerAddress, L"[fe80::1]");
    EXPECT_TRUE(settings.secureConnection);
    EXPECT_EQ(settings.unit, 1) << "a missing key keeps its default";

    UseDefinition(L"[Contents]\r\nScannerAddress=192.168.0.10\r\n");
    EXPECT_STREQ(ReadSettings().scannerAddress, L"192.168.0.10");

    // A bracketed address that does not fit is cut, never written past its field.
    UseDefinition(L"[Contents]\r\nScannerAddress=" + std::wstring(258, L':') + L"\r\n");
    settings = ReadSettings();
    EXPECT_EQ(std::wcslen(settings.scannerAddress), kPathChars - 1);
    EXPECT_EQ(settings.scannerAddress[0], L'[');
    EXPECT_EQ(settings.scanMode, 0) << "the next field is intact";
}

TEST_F(DriverFiles, OverLongIdentifierAndPasswordAreCutToTheirFields) {
    const std::wstring id = L"ABCDEFGHIJKLMNOPQRST";
    const std::wstring password(5000, L'p');
    UseDefinition(L"[Authentication]\r\nAuth=2\r\nUserName=operator\r\nAccount=1\r\nID=" + id +
                  L"\r\nPassword=" + password + L"\r\n");
    const DriverSettings settings = ReadSettings();
    EXPECT_EQ(settings.authentication, 2);
    EXPECT_STREQ(settings.userName, L"operator");
    EXPECT_EQ(settings.account, 1);
    EXPECT_EQ(std::wstring(FieldText(settings.accountId)), L"ABCDEFGH");
    EXPECT_EQ(FieldText(settings.password).size(), kPasswordChars - 1);
    EXPECT_EQ(settings.password[kPasswordChars - 1], L'\0');

    // A password that fits is kept whole, up to its last character.
    const std::wstring fits(kPasswordChars - 1, L'q');
    UseDefinition(L"[Authentication]\r\nPassword=" + fits + L"\r\n");
    EXPECT_EQ(std::wstring(FieldText(ReadSettings().password)), fits);
}

TEST(DriverFileBackup, AChangedDriverFileIsPutBackByteForByte) {
    const std::wstring registration = InstalledDataFolder() + L"RegList.ini";
    const std::wstring scratch = InstalledDataFolder() + L"NotThere.ini";
    const auto before = testsupport::ReadFileBytes(registration);
    ASSERT_TRUE(before.has_value()) << "the install step did not run";
    {
        DriverFileBackup backup(registration);
        DriverFileBackup created(scratch);
        backup.WriteProfile(L"[Setting]\r\nDefaultUse=Changed\r\n");
        created.WriteProfile(L"[Setting]\r\n");
        EXPECT_NE(testsupport::ReadFileBytes(registration), before);
        EXPECT_TRUE(testsupport::ReadFileBytes(scratch).has_value());
    }
    EXPECT_EQ(testsupport::ReadFileBytes(registration), before);
    EXPECT_FALSE(testsupport::ReadFileBytes(scratch).has_value()) << "a new file is removed";
    EXPECT_SAME_PATH(GetDriverPaths().definitionFile, InstalledDataFolder() + L"ZQ5100.ini");
}

}  // namespace
}  // namespace quorveltwain
