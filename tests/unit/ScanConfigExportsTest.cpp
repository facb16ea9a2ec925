#include <gtest/gtest.h>

#include <cstring>
#include <cwctype>
#include <regex>
#include <string>

#include "platform/LiveObjects.h"
#include "support/TestFiles.h"
#include "twain_ui.h"

using testsupport::FileExists;
using testsupport::NextStoreFile;
using testsupport::ReadBytes;
using testsupport::SourcePath;
using testsupport::WriteBytes;

namespace {

constexpr std::uint32_t kOk = XMLSCN_OK;
constexpr std::uint32_t kBad = XMLSCN_BAD_ARGUMENT;
constexpr char kSkeletonAsSaved[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<param xml:space=\"preserve\"/>\n";

// Closes the store when a test leaves early.
class Store {
  public:
    Store() = default;
    ~Store() {
        if (handle != nullptr) XMLSCN_Close(handle);
    }
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;
    std::uint32_t Open(const std::wstring& path, const std::wstring& schema) {
        return XMLSCN_Open(path.c_str(), schema.c_str(), &handle);
    }
    std::uint32_t Close() { return XMLSCN_Close(std::exchange(handle, nullptr)); }
    XMLSCN_HANDLE handle = nullptr;
};

ScanSettingsRecord Named(const wchar_t* name) {
    ScanSettingsRecord record{};
    std::wcsncpy(record.config_name, name, SCAN_CONFIG_NAME_CHARS - 1);
    return record;
}

class ScanConfigExports : public ::testing::Test {
  protected:
    std::wstring schema = SourcePath(L"data/SCANCONFIGLIST.xsd");
    std::wstring scratch = testsupport::BuildFolder(L"store-scratch");
    long comReferencesAtStart =
        quorveltwain::LiveObjects::Count(quorveltwain::LiveKind::ComReference);

    // Every test leaves the store's COM references as it found them.
    void TearDown() override {
        EXPECT_EQ(quorveltwain::LiveObjects::Count(quorveltwain::LiveKind::ComReference),
                  comReferencesAtStart);
    }

    // A scratch file holding `bytes`, with any backups of an earlier run removed.
    std::wstring ScratchFile(const wchar_t* name, std::string_view bytes) {
        const std::wstring path = scratch + L"\\" + name;
        testsupport::DeleteFiles(scratch, std::wstring(name) + L".*bak");
        EXPECT_TRUE(WriteBytes(path, bytes));
        return path;
    }
};

TEST_F(ScanConfigExports, NullArgumentsAndBadIndicesAreRefusedWithoutTouchingTheStore) {
    const std::wstring path = NextStoreFile();
    XMLSCN_HANDLE handle = reinterpret_cast<XMLSCN_HANDLE>(0x1234);
    EXPECT_EQ(XMLSCN_Open(nullptr, schema.c_str(), &handle), kBad);
    EXPECT_EQ(XMLSCN_Open(path.c_str(), nullptr, &handle), kBad);
    EXPECT_EQ(XMLSCN_Open(path.c_str(), schema.c_str(), nullptr), kBad);
    EXPECT_EQ(handle, reinterpret_cast<XMLSCN_HANDLE>(0x1234));
    EXPECT_FALSE(FileExists(path));

    ScanSettingsRecord record = Named(L"x");
    EXPECT_EQ(XMLSCN_Close(nullptr), kBad);
    EXPECT_EQ(XMLSCN_GetSize(nullptr), kBad);
    EXPECT_EQ(XMLSCN_ReadSet(nullptr, 0, &record), kBad);
    EXPECT_EQ(XMLSCN_UpdateSet(nullptr, 0, &record), kBad);
    EXPECT_EQ(XMLSCN_Add(nullptr, &record), kBad);
    EXPECT_EQ(XMLSCN_Delete(nullptr, 0), kBad);
    EXPECT_EQ(XMLSCN_Save(nullptr, path.c_str()), kBad);
    // The two placeholders accept anything.
    EXPECT_EQ(XMLSCN_Read(nullptr), kOk);
    EXPECT_EQ(XMLSCN_Read(&record), kOk);

    Store store;
    ASSERT_EQ(store.Open(path, schema), kOk);
    EXPECT_EQ(XMLSCN_ReadSet(store.handle, 0, &record), kBad);    // empty list
    EXPECT_EQ(XMLSCN_UpdateSet(store.handle, 0, &record), kBad);  // empty list
    EXPECT_EQ(XMLSCN_UpdateSet(store.handle, -1, &record), kBad);
    EXPECT_EQ(XMLSCN_Delete(store.handle, 0), kBad);
    EXPECT_EQ(XMLSCN_Add(store.handle, nullptr), kBad);

    ScanSettingsRecord first = Named(L"first");
    ScanSettingsRecord second = Named(L"second");
    ASSERT_EQ(XMLSCN_Add(store.handle, &first), kOk);
    ASSERT_EQ(XMLSCN_Add(store.handle, &second), kOk);
    EXPECT_EQ(XMLSCN_ReadSet(store.handle, 0, nullptr), kBad);
    EXPECT_EQ(XMLSCN_UpdateSet(store.handle, 0, nullptr), kBad);
    EXPECT_EQ(XMLSCN_ReadSet(store.handle, 2, &record), kBad);
    EXPECT_EQ(XMLSCN_ReadSet(store.handle, 0xFFFFFFFFu, &record), kBad);
    EXPECT_EQ(XMLSCN_UpdateSet(store.handle, 2, &record), kBad);
    EXPECT_EQ(XMLSCN_Delete(store.handle, 2), kBad);
    EXPECT_EQ(XMLSCN_Delete(store.handle, 0xFFFFFFFFu), kBad);  // -1 taken as unsigned
    ASSERT_EQ(XMLSCN_GetSize(store.handle), 2u);

    // As a signed index, -1 (and any negative index) is the first configuration.
    ScanSettingsRecord replacement = Named(L"replaced");
    ASSERT_EQ(XMLSCN_UpdateSet(store.handle, -1, &replacement), kOk);
    ASSERT_EQ(XMLSCN_UpdateSet(store.handle, INT32_MIN, &replacement), kOk);
    ASSERT_EQ(XMLSCN_GetSize(store.handle), 2u);
    ASSERT_EQ(XMLSCN_ReadSet(store.handle, 0, &record), kOk);
    EXPECT_STREQ(record.config_name, L"replaced");
    // The record replaces the old one whole: it had no identifier, so now there is none.
    EXPECT_STREQ(record.config_id, L"");
    ASSERT_EQ(XMLSCN_ReadSet(store.handle, 1, &record), kOk);
    EXPECT_STREQ(record.config_name, L"second");
    EXPECT_STREQ(record.config_id, second.config_id);
    EXPECT_EQ(XMLSCN_Save(store.handle, nullptr), kOk);
    EXPECT_EQ(store.Close(), kOk);
}

TEST_F(ScanConfigExports, EveryStoredFieldSurvivesSaveAndReopen) {
    const std::wstring path = NextStoreFile();
    ScanSettingsRecord saved{};
    {
        Store store;
        ASSERT_EQ(store.Open(path, schema), kOk);
        ScanSettingsRecord r{};
        r.reserved = 7;
        r.original_size = 34;
        r.original_orientation = 4;
        r.duplex = 5;
        r.exposure_level = 30;
        r.original_image = 6;
        r.resolution = 8;
        r.color_selection = 6;
        r.prevent_bleed_through = 1;
        std::wcscpy(r.config_name, L"R\u00e9sum\u00e9s \u65e5\u672c & <more>");
        std::wcscpy(r.config_detail, L"  spaces kept  ");
        r.sending_size = 21;
        r.contrast = 1;
        r.reverse_image = 2;
        r.has_frame_entry = 1;
        r.left = -40;
        r.top = 0;
        r.right = 123456;
        r.bottom = 7;
        r.rotation = 4;
        r.model = 14;
        std::wcscpy(r.aux_text, L"stays in memory only");
        ASSERT_EQ(XMLSCN_Add(store.handle, &r), kOk);
        saved = r;
        ASSERT_EQ(XMLSCN_Save(store.handle, nullptr), kOk);
    }
    Store store;
    ASSERT_EQ(store.Open(path, schema), kOk);
    ASSERT_EQ(XMLSCN_GetSize(store.handle), 1u);
    ScanSettingsRecord read;
    std::memset(&read, 0xAB, sizeof read);
    ASSERT_EQ(XMLSCN_ReadSet(store.handle, 0, &read), kOk);

    // What the file does not hold comes back zero; everything else as it was.
    ScanSettingsRecord expected = saved;
    expected.reserved = 0;
    std::memset(expected.aux_text, 0, sizeof expected.aux_text);
    // Field by field first, for a readable failure; then every byte, padding included.
    EXPECT_EQ(read.original_size, 34);
    EXPECT_EQ(read.original_orientation, 4);
    EXPECT_EQ(read.duplex, 5);
    EXPECT_EQ(read.exposure_level, 30);
    EXPECT_EQ(read.original_image, 6);
    EXPECT_EQ(read.resolution, 8);
    EXPECT_EQ(read.color_selection, 6);
    EXPECT_EQ(read.prevent_bleed_through, 1);
    EXPECT_STREQ(read.config_name, saved.config_name);
    EXPECT_STREQ(read.config_detail, L"  spaces kept  ");
    EXPECT_STREQ(read.config_id, saved.config_id);
    EXPECT_EQ(read.sending_size, 21);
    EXPECT_EQ(read.contrast, 1);
    EXPECT_EQ(read.reverse_image, 2);
    EXPECT_EQ(read.has_frame_entry, 1);
    EXPECT_EQ(read.left, -40.0);
    EXPECT_EQ(read.top, 0.0);
    EXPECT_EQ(read.right, 123456.0);
    EXPECT_EQ(read.bottom, 7.0);
    EXPECT_EQ(read.rotation, 4);
    EXPECT_EQ(read.model, 14);
    EXPECT_STREQ(read.aux_text, L"");
    EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0);
}

TEST_F(ScanConfigExports, AddGivesEachConfigurationANewIdentifier) {
    const std::wstring path = NextStoreFile();
    Store store;
    ASSERT_EQ(store.Open(path, schema), kOk);
    ScanSettingsRecord record = Named(L"twice");
    std::wcscpy(record.config_id, L"caller's own id, replaced");
    ASSERT_EQ(XMLSCN_Add(store.handle, &record), kOk);
    const std::wstring firstId = record.config_id;
    ASSERT_EQ(XMLSCN_Add(store.handle, &record), kOk);
    const std::wstring secondId = record.config_id;

    const std::wregex uuid(L"[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}");
    EXPECT_TRUE(std::regex_match(firstId, uuid)) << firstId;
    EXPECT_TRUE(std::regex_match(secondId, uuid)) << secondId;
    EXPECT_NE(firstId, secondId);
    // Nothing of the old identifier is left behind the new one's NUL.
    for (std::size_t i = 36; i < SCAN_CONFIG_ID_CHARS; ++i) EXPECT_EQ(record.config_id[i], 0);

    ScanSettingsRecord read{};
    ASSERT_EQ(XMLSCN_ReadSet(store.handle, 0, &read), kOk);
    EXPECT_EQ(std::wstring(read.config_id), firstId);
    ASSERT_EQ(XMLSCN_ReadSet(store.handle, 1, &read), kOk);
    EXPECT_EQ(std::wstring(read.config_id), secondId);
    EXPECT_EQ(XMLSCN_Save(store.handle, nullptr), kOk);
}

TEST_F(ScanConfigExports, WritesTheElementTreeAndTokensAndReadsModelOneAsTwo) {
    const std::wstring path = NextStoreFile();
    Store store;
    ASSERT_EQ(store.Open(path, schema), kOk);
    ScanSettingsRecord record{};
    record.duplex = 2;
    record.model = 1;
    record.has_frame_entry = 0;  // not 1: the coordinates are not written
    record.left = 11;
    record.right = 22;
    ASSERT_EQ(XMLSCN_Add(store.handle, &record), kOk);
    ScanSettingsRecord framed{};
    framed.has_frame_entry = 1;
    framed.left = 1;
    framed.top = 2;
    framed.right = 3;
    framed.bottom = 4;
    framed.rotation = 2;
    ASSERT_EQ(XMLSCN_Add(store.handle, &framed), kOk);
    ASSERT_EQ(XMLSCN_Save(store.handle, nullptr), kOk);

    const std::string id1(record.config_id, record.config_id + 36);
    const std::string id2(framed.config_id, framed.config_id + 36);
    EXPECT_EQ(ReadBytes(path),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<param xml:space=\"preserve\">"
              "<scan_config><config_id>" +
                  id1 +
                  "</config_id><config_name></config_name>"
                  "<config_detail></config_detail><scan_param><duplex>DUPLEX</duplex></scan_param>"
                  "<model>MODEL_ASPEN3</model></scan_config>"
                  "<scan_config><config_id>" +
                  id2 +
                  "</config_id><config_name></config_name>"
                  "<config_detail></config_detail><scan_param><frame_entry><left>1</left>"
                  "<top>2</top><right>3</right><bottom>4</bottom></frame_entry>"
                  "<rotation>_90_CLOCKWISE</rotation></scan_param></scan_config></param>\n");

    Store reopened;
    ASSERT_EQ(reopened.Open(path, schema), kOk);
    ScanSettingsRecord read{};
    ASSERT_EQ(XMLSCN_ReadSet(reopened.handle, 0, &read), kOk);
    EXPECT_EQ(read.model, 2);
    EXPECT_EQ(read.has_frame_entry, 0);
    EXPECT_EQ(read.left, 0.0);
    EXPECT_EQ(read.right, 0.0);
}

TEST_F(ScanConfigExports, AMissingFileBecomesTheEmptySkeleton) {
    const std::wstring path = NextStoreFile();
    Store store;
    ASSERT_EQ(store.Open(path, schema), kOk);
    EXPECT_EQ(XMLSCN_GetSize(store.handle), 0u);
    EXPECT_EQ(ReadBytes(path), kSkeletonAsSaved);
    EXPECT_FALSE(FileExists(path + L".bak"));  // there was nothing to keep
}

TEST_F(ScanConfigExports, ARootWhoseChildIsACommentReadsAsOneEmptyRecord) {
    const std::wstring path = NextStoreFile();
    ASSERT_TRUE(WriteBytes(path,
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<param xml:space=\"preserve\"><!-- kept by hand --></param>\n"));
    Store store;
    ASSERT_EQ(store.Open(path, schema), kOk);
    ASSERT_EQ(XMLSCN_GetSize(store.handle), 1u);
    ScanSettingsRecord read;
    std::memset(&read, 0x5A, sizeof read);
    ASSERT_EQ(XMLSCN_ReadSet(store.handle, 0, &read), kOk);
    const ScanSettingsRecord zero{};
    EXPECT_EQ(std::memcmp(&read, &zero, sizeof zero), 0);
}

TEST_F(ScanConfigExports, AnUnusableFileIsKeptAsABackupBeforeTheSkeletonReplacesIt) {
    const std::string garbage = "<?xml version=\"1.0\"?><param><scan_config>half a fi";
    const std::wstring path = ScratchFile(L"unusable.xml", garbage);
    {
        Store store;
        ASSERT_EQ(store.Open(path, schema), kOk);
        EXPECT_EQ(XMLSCN_GetSize(store.handle), 0u);
    }
    EXPECT_EQ(ReadBytes(path), kSkeletonAsSaved);
    EXPECT_EQ(ReadBytes(path + L".bak"), garbage);

    // A well-formed file that breaks the schema is kept too, beside the earlier backup.
    const std::string wrongOrder =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><param xml:space=\"preserve\"><scan_config>"
        "<config_name>Saved</config_name><config_id/><config_detail/><scan_param/>"
        "</scan_config></param>";
    ASSERT_TRUE(WriteBytes(path, wrongOrder));
    {
        Store store;
        ASSERT_EQ(store.Open(path, schema), kOk);
        EXPECT_EQ(XMLSCN_GetSize(store.handle), 0u);
    }
    EXPECT_EQ(ReadBytes(path + L".bak"), garbage);
    EXPECT_EQ(ReadBytes(path + L".1.bak"), wrongOrder);

    // The skeleton itself is not worth a backup when it is refused again.
    {
        Store store;
        ASSERT_EQ(store.Open(path, scratch + L"\\no-such-schema.xsd"), kOk);
    }
    EXPECT_FALSE(FileExists(path + L".2.bak"));
    EXPECT_EQ(testsupport::CountFiles(scratch, L"unusable.xml*.bak"), 2u);
}

TEST_F(ScanConfigExports, AMissingSchemaStartsAnEmptyFileButKeepsTheOldOne) {
    const std::string saved =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<param xml:space=\"preserve\"><scan_config>"
        "<config_id></config_id><config_name>Kept</config_name><config_detail></config_detail>"
        "<scan_param/></scan_config></param>\n";
    const std::wstring path = ScratchFile(L"schema-missing.xml", saved);
    Store store;
    ASSERT_EQ(store.Open(path, scratch + L"\\no-such-schema.xsd"), kOk);
    EXPECT_EQ(XMLSCN_GetSize(store.handle), 0u);
    EXPECT_EQ(ReadBytes(path), kSkeletonAsSaved);
    EXPECT_EQ(ReadBytes(path + L".bak"), saved);
}

TEST_F(ScanConfigExports, AFileThatCannotBeReadOrReplacedStaysAsItIs) {
    // A file held open without sharing can be neither loaded nor copied: it must not be
    // replaced, and the store does not open.
    const std::string saved = "<?xml version=\"1.0\"?><param xml:space=\"preserve\"/>";
    const std::wstring path = ScratchFile(L"locked.xml", saved + "<!-- more than the skeleton -->");
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    XMLSCN_HANDLE handle = nullptr;
    EXPECT_EQ(XMLSCN_Open(path.c_str(), schema.c_str(), &handle), XMLSCN_FILE_UNUSABLE);
    EXPECT_EQ(handle, nullptr);
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(path), saved + "<!-- more than the skeleton -->");
    EXPECT_FALSE(FileExists(path + L".bak"));
}

TEST_F(ScanConfigExports, ASaveThatCannotWriteFailsAndLeavesTheFile) {
    const std::wstring path = NextStoreFile();
    Store store;
    ASSERT_EQ(store.Open(path, schema), kOk);
    ScanSettingsRecord record = Named(L"unsaved");
    ASSERT_EQ(XMLSCN_Add(store.handle, &record), kOk);
    EXPECT_EQ(XMLSCN_Save(store.handle, (scratch + L"\\no-such-folder\\x.xml").c_str()),
              XMLSCN_SAVE_FAILED);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(XMLSCN_Save(store.handle, nullptr), XMLSCN_SAVE_FAILED);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path), kSkeletonAsSaved);
    EXPECT_EQ(testsupport::CountFiles(testsupport::StoreFilesFolder(), L"*.tmp"), 0u);
    // Once it can, the same store saves.
    EXPECT_EQ(XMLSCN_Save(store.handle, nullptr), kOk);
    EXPECT_NE(ReadBytes(path).find("<config_name>unsaved</config_name>"), std::string::npos);
}

TEST_F(ScanConfigExports, DeletingAndClosingWithoutSaving) {
    const std::wstring path = NextStoreFile();
    {
        Store store;
        ASSERT_EQ(store.Open(path, schema), kOk);
        for (const wchar_t* name : {L"a", L"b", L"c"}) {
            ScanSettingsRecord record = Named(name);
            ASSERT_EQ(XMLSCN_Add(store.handle, &record), kOk);
        }
        ASSERT_EQ(XMLSCN_Save(store.handle, nullptr), kOk);
    }
    const std::string threeSaved = ReadBytes(path);
    {
        // Later configurations move up; unsaved changes go with the store.
        Store store;
        ASSERT_EQ(store.Open(path, schema), kOk);
        ASSERT_EQ(XMLSCN_Delete(store.handle, 1), kOk);
        ScanSettingsRecord read{};
        ASSERT_EQ(XMLSCN_ReadSet(store.handle, 1, &read), kOk);
        EXPECT_STREQ(read.config_name, L"c");
        EXPECT_EQ(store.Close(), kOk);
    }
    EXPECT_EQ(ReadBytes(path), threeSaved);
    {
        Store store;
        ASSERT_EQ(store.Open(path, schema), kOk);
        ASSERT_EQ(XMLSCN_GetSize(store.handle), 3u);
        for (int i = 0; i < 3; ++i) ASSERT_EQ(XMLSCN_Delete(store.handle, 0), kOk);
        EXPECT_EQ(XMLSCN_GetSize(store.handle), 0u);
        EXPECT_EQ(XMLSCN_Delete(store.handle, 0), kBad);
        ASSERT_EQ(XMLSCN_Save(store.handle, nullptr), kOk);
    }
    EXPECT_EQ(ReadBytes(path), kSkeletonAsSaved);
}

TEST_F(ScanConfigExports, OverLongTextsAreCutToTheirFields) {
    const std::wstring path = NextStoreFile();
    ScanSettingsRecord record{};
    // Every unit of each field used, no NUL: the host's mistake, not a reason to write
    // past the field or to write a file that the next open would refuse.
    std::wmemset(record.config_name, L'N', SCAN_CONFIG_NAME_CHARS);
    std::wmemset(record.config_detail, L'D', SCAN_CONFIG_DETAIL_CHARS);
    {
        Store store;
        ASSERT_EQ(store.Open(path, schema), kOk);
        ASSERT_EQ(XMLSCN_Add(store.handle, &record), kOk);
        ASSERT_EQ(XMLSCN_Save(store.handle, nullptr), kOk);
    }
    // 32 characters of the schema may be 64 UTF-16 units: the reader cuts what the
    // field cannot hold, never between the halves of a character.
    const std::string clef = "\xF0\x9D\x84\x9E";  // U+1D11E, two UTF-16 units
    std::string name;
    for (int i = 0; i < 20; ++i) name += clef;
    const std::wstring wide = NextStoreFile();
    ASSERT_TRUE(WriteBytes(wide,
                           "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<param xml:space=\"preserve\"><scan_config><config_id/>"
                           "<config_name>" +
                               name +
                               "</config_name><config_detail/>"
                               "<scan_param/></scan_config></param>\n"));

    Store store;
    ASSERT_EQ(store.Open(path, schema), kOk);
    ScanSettingsRecord read{};
    ASSERT_EQ(XMLSCN_ReadSet(store.handle, 0, &read), kOk);
    EXPECT_EQ(std::wstring(read.config_name), std::wstring(32, L'N'));
    EXPECT_EQ(std::wstring(read.config_detail), std::wstring(32, L'D'));

    Store wideStore;
    ASSERT_EQ(wideStore.Open(wide, schema), kOk);
    ASSERT_EQ(XMLSCN_GetSize(wideStore.handle), 1u);
    ASSERT_EQ(XMLSCN_ReadSet(wideStore.handle, 0, &read), kOk);
    std::wstring expected;
    for (int i = 0; i < 16; ++i) expected += L"\xD834\xDD1E";
    EXPECT_EQ(std::wstring(read.config_name), expected);
}

TEST_F(ScanConfigExports, TextsTheFileCannotHoldDoNotCostTheWholeFile) {
    const std::wstring path = NextStoreFile();
    ScanSettingsRecord odd = Named(
        L"Tab\tLine\nBell\x07"
        L"End");
    // A lone half of a character and a non-character: no XML file can hold them.
    std::wcscpy(odd.config_detail,
                L"a\xD800"
                L"b\xFFFF"
                L"c\xFFFE"
                L"d\x1F");
    ScanSettingsRecord plain = Named(L"Plain");
    {
        Store store;
        ASSERT_EQ(store.Open(path, schema), kOk);
        ASSERT_EQ(XMLSCN_Add(store.handle, &odd), kOk);
        ASSERT_EQ(XMLSCN_Add(store.handle, &plain), kOk);
        ASSERT_EQ(XMLSCN_Save(store.handle, nullptr), kOk);
    }
    Store store;
    ASSERT_EQ(store.Open(path, schema), kOk);
    EXPECT_FALSE(FileExists(path + L".bak"));
    ASSERT_EQ(XMLSCN_GetSize(store.handle), 2u);
    ScanSettingsRecord read{};
    ASSERT_EQ(XMLSCN_ReadSet(store.handle, 0, &read), kOk);
    EXPECT_STREQ(read.config_name, L"Tab\tLine\nBellEnd");
    EXPECT_STREQ(read.config_detail, L"abcd");
    ASSERT_EQ(XMLSCN_ReadSet(store.handle, 1, &read), kOk);
    EXPECT_STREQ(read.config_name, L"Plain");
}

}  // namespace
