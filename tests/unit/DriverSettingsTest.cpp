// Driver settings read from the files that the install step put into the test prefix;
// tests that change those files restore them.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>

#include "config/DriverSettings.h"
#include "support/TestFiles.h"

namespace quorveltwain {
namespace {

using testsupport::DriverFileBackup;

// Found from the environment, not from the code under test.
std::wstring InstalledDataFile(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetEnvironmentVariableW(L"PUBLIC", folder, MAX_PATH);
    return std::wstring(folder) + L"\\Documents\\Quorvel\\ZQ_TWAIN\\" + name;
}

DriverSettings ReadSettings() {
    DriverSettings settings;
    std::memset(&settings, 0xCD, sizeof(settings));  // no field may keep a stale value
    EXPECT_TRUE(ReadDriverSettings(GetDriverPaths(), settings));
    return settings;
}

class DriverSettingsTest : public ::testing::Test {
  protected:
    DriverSettings ReadDefinition(const std::wstring& body) {
        registration_.WriteProfile(L"[Setting]\r\nDefaultUse=T1\r\n[ScannerT1]\r\nDefFile=T1.ini");
        definition_.WriteProfile(body);
        return ReadSettings();
    }
    DriverFileBackup registration_{InstalledDataFile(L"RegList.ini")};
    DriverFileBackup definition_{InstalledDataFile(L"T1.ini")};
};

TEST_F(DriverSettingsTest, MissingKeysGiveTheirDefaults) {
    registration_.WriteProfile(L"[Setting]\r\nDefaultUse=T1\r\n");  // T1 names no DefFile
    EXPECT_STREQ(GetDriverPaths().definitionFile, L"");
    for (const DriverSettings& s : {ReadSettings(), ReadDefinition(L"[Contents]\r\n")}) {
        EXPECT_EQ(s.unit, 1) << "inches";
        EXPECT_EQ(s.compression, 3);
        EXPECT_EQ(s.grayCompression, 3);
        EXPECT_FALSE(s.secureConnection);
        EXPECT_EQ(s.scanMode, 0);
        EXPECT_EQ(s.authentication, 0);
        EXPECT_EQ(s.account, 0);
        EXPECT_STREQ(s.scannerAddress, L"");
        EXPECT_STREQ(s.userName, L"");
        EXPECT_STREQ(s.accountId, L"");
        EXPECT_STREQ(s.password, L"");
    }
}

TEST_F(DriverSettingsTest, ValuesAreConvertedAndCutToTheirFields) {
    for (const auto& [unit, expected] : {std::pair{L"abc", 0}, std::pair{L"12mm", 12}}) {
        EXPECT_EQ(ReadDefinition(std::wstring(L"[Contents]\r\nUnit=") + unit).unit, expected);
    }
    EXPECT_STREQ(ReadDefinition(L"[Contents]\r\nScannerAddress=fe80::1").scannerAddress,
                 L"[fe80::1]")
        << "an IPv6 host is bracketed";
    EXPECT_STREQ(ReadDefinition(L"[Contents]\r\nScannerAddress=10.0.0.1").scannerAddress,
                 L"10.0.0.1");

    // Over-long texts are cut to their fields, never written past them.
    DriverSettings settings = ReadDefinition(
        L"[Contents]\r\nScanMode=4\r\nScannerAddress=" + std::wstring(258, L':') +
        L"\r\n[Authentication]\r\nID=ABCDEFGHIJKL\r\nPassword=" + std::wstring(5000, L'p'));
    EXPECT_EQ(std::wcslen(settings.scannerAddress), kPathChars - 1);
    EXPECT_EQ(settings.scanMode, 4) << "the field after the bracketed address is intact";
    EXPECT_STREQ(settings.accountId, L"ABCDEFGH");
    EXPECT_EQ(std::wstring(settings.password), std::wstring(kPasswordChars - 1, L'p'));
    const std::wstring fits(kPasswordChars - 1, L'q');
    EXPECT_EQ(ReadDefinition(L"[Authentication]\r\nPassword=" + fits).password, fits);
}

TEST(DriverFileBackup, AChangedDriverFileIsPutBackByteForByte) {
    const std::wstring registration = InstalledDataFile(L"RegList.ini");
    const std::wstring scratch = InstalledDataFile(L"NotThere.ini");
    ASSERT_TRUE(testsupport::FileExists(registration)) << "the install step did not run";
    const std::string before = testsupport::ReadBytes(registration);
    {
        DriverFileBackup backup(registration);
        DriverFileBackup created(scratch);
        backup.WriteProfile(L"[Setting]\r\nDefaultUse=Changed\r\n");
        created.WriteProfile(L"[Setting]\r\n");
        EXPECT_NE(testsupport::ReadBytes(registration), before);
    }
    EXPECT_EQ(testsupport::ReadBytes(registration), before);
    EXPECT_FALSE(testsupport::FileExists(scratch)) << "a new file is removed";
    // The installed sample is read again, its non-ASCII text intact.
    const DriverSettings settings = ReadSettings();
    EXPECT_EQ(settings.unit, 0) << "the sample measures in millimetres";
    EXPECT_STREQ(settings.userName, L"Scan-B\u00fcro");
}

}  // namespace
}  // namespace quorveltwain
