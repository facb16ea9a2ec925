// Driver settings read from the files that the install step put into the test prefix;
// tests that change those files restore them.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "config/DriverSettings.h"
#include "support/TestFiles.h"

namespace quorveltwain {
namespace {

using namespace testsupport;

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

// The driver's files in the test prefix are shared by every test: whatever a test did, the
// registration is put back byte for byte and the definition file it made removed.
class DriverSettingsTest : public ::testing::Test {
  protected:
    void TearDown() override {
        WriteBytes(registration_, original_);
        DeleteFileW(definition_.c_str());
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr);
    }
    // A private-profile file in UTF-16LE with a byte order mark, keeping non-ASCII text
    // intact; the system's cache of such files could serve the old text otherwise.
    static void WriteProfile(const std::wstring& path, std::wstring_view text) {
        const auto* bytes = reinterpret_cast<const char*>(text.data());
        WriteBytes(path, "\xFF\xFE" + std::string(bytes, text.size() * sizeof(wchar_t)));
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr);
    }
    DriverSettings ReadDefinition(const std::wstring& body) {
        WriteProfile(registration_, L"[Setting]\r\nDefaultUse=T1\r\n[ScannerT1]\r\nDefFile=T1.ini");
        WriteProfile(definition_, body);
        return ReadSettings();
    }
    const std::wstring registration_ = InstalledDataFile(L"RegList.ini");
    const std::wstring definition_ = InstalledDataFile(L"T1.ini");
    const std::string original_ = ReadBytes(registration_);
};

TEST_F(DriverSettingsTest, MissingKeysGiveTheirDefaults) {
    WriteProfile(registration_, L"[Setting]\r\nDefaultUse=T1\r\n");  // T1 names no DefFile
    EXPECT_STREQ(GetDriverPaths().definitionFile, L"");
    for (const DriverSettings& s : {ReadSettings(), ReadDefinition(L"[Contents]\r\n")}) {
        // Unit 1: inches.
        EXPECT_EQ(
            std::vector({s.unit, s.compression, s.grayCompression, std::int32_t{s.secureConnection},
                         s.scanMode, s.authentication, s.account}),
            std::vector({1, 3, 3, 0, 0, 0, 0}));
        EXPECT_EQ(std::wstring(s.scannerAddress) + s.userName + s.accountId + s.password, L"");
    }
}

TEST_F(DriverSettingsTest, ValuesAreConvertedAndCutToTheirFields) {
    DriverSettings settings = ReadDefinition(L"[Contents]\r\nUnit=abc\r\nScannerAddress=10.0.0.1");
    EXPECT_EQ(settings.unit, 0);
    EXPECT_STREQ(settings.scannerAddress, L"10.0.0.1");
    settings = ReadDefinition(L"[Contents]\r\nUnit=12mm\r\nScannerAddress=fe80::1");
    EXPECT_EQ(settings.unit, 12);
    EXPECT_STREQ(settings.scannerAddress, L"[fe80::1]") << "an IPv6 host is bracketed";

    // Over-long texts are cut to their fields, never written past them.
    settings = ReadDefinition(
        L"[Contents]\r\nScanMode=4\r\nScannerAddress=" + std::wstring(258, L':') +
        L"\r\n[Authentication]\r\nID=ABCDEFGHIJKL\r\nPassword=" + std::wstring(5000, L'p'));
    EXPECT_EQ(std::wcslen(settings.scannerAddress), kPathChars - 1);
    EXPECT_EQ(settings.scanMode, 4) << "the field after the bracketed address is intact";
    EXPECT_STREQ(settings.accountId, L"ABCDEFGH");
    EXPECT_EQ(std::wstring(settings.password), std::wstring(kPasswordChars - 1, L'p'));
    const std::wstring fits(kPasswordChars - 1, L'q');
    EXPECT_EQ(ReadDefinition(L"[Authentication]\r\nPassword=" + fits).password, fits);
}

// After the tests above, so it also shows that the files they changed were put back.
TEST(DriverSettings, TheInstalledSampleIsReadWithItsNonAsciiText) {
    ASSERT_TRUE(FileExists(InstalledDataFile(L"RegList.ini"))) << "the install step did not run";
    EXPECT_FALSE(FileExists(InstalledDataFile(L"T1.ini"))) << "a file the tests made is left";
    const DriverSettings settings = ReadSettings();
    EXPECT_EQ(settings.unit, 0) << "the sample measures in millimetres";
    EXPECT_STREQ(settings.userName, L"Scan-B\u00fcro");
}

}  // namespace
}  // namespace quorveltwain
