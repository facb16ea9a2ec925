#include <gtest/gtest.h>

#include <string>

#include "support/TestFiles.h"
#include "twain_ui.h"
#include "xml/DevListRecordBuilder.h"

using testsupport::BuildFolder;
using testsupport::SourcePath;
using testsupport::WriteBytes;

namespace {

class DevListReader : public ::testing::Test {
  protected:
    // Writes `body` as the root's content and opens it with the permissive test schema.
    XMLSCN_HANDLE Open(const std::string& body, const std::wstring& schema = L"") {
        const std::wstring path = BuildFolder(L"devlist-tests") + L"\\list.xml";
        EXPECT_TRUE(WriteBytes(path, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<device_list>" +
                                         body + "</device_list>\n"));
        XMLSCN_HANDLE handle = nullptr;
        const std::wstring schemaPath =
            schema.empty() ? SourcePath(L"tests\\data\\devlist-any.xsd") : schema;
        EXPECT_EQ(XMLSCNLST_Open(path.c_str(), schemaPath.c_str(), &handle), XMLSCN_OK);
        handles_.push_back(handle);
        return handle;
    }

    DevListRecord* Read(const std::string& body) {
        DevListRecord* record = nullptr;
        EXPECT_EQ(XMLSCNLST_Read(Open(body), &record), XMLSCN_OK);
        return record;
    }

    void TearDown() override {
        for (XMLSCN_HANDLE handle : handles_) {
            if (handle != nullptr) XMLSCN_Close(handle);
        }
    }

    std::vector<XMLSCN_HANDLE> handles_;
};

TEST_F(DevListReader, ValuesAndRestrictionsAccumulatePerSettingAndPerValue) {
    const DevListRecord* record = Read(
        "<color_mode>"
        "  <value name='FULL_COLOR' default='false'/>"
        "  <value name='BLACK_AND_WHITE'>"
        "    <restrict_resolution>RESOLUTION_600X600</restrict_resolution>"
        "    <restrict_resolution>RESOLUTION_400X400</restrict_resolution>"
        "    <restrict_original_size>A3</restrict_original_size>"
        "    <restrict_color_mode>FULL_COLOR</restrict_color_mode>"  // own setting: ignored
        "    <note>ignored</note><!-- comments inside a value are ignored -->"
        "  </value>"
        "</color_mode>"
        "<resolution><value name='RESOLUTION_300X300'/></resolution>"
        "<color_mode><value name='GRAYSCALE' default=''/><value name='no such "
        "token'/></color_mode>");
    ASSERT_NE(record, nullptr);
    const DevListValueList& colors = record->values[DEVLIST_COLOR_MODE];
    ASSERT_EQ(colors.count, 4u);
    EXPECT_EQ(colors.items[0].code, 1);
    EXPECT_EQ(colors.items[0].is_default, 1u) << "presence alone marks the default";
    EXPECT_EQ(colors.items[0].restricted, 0u);

    const DevListValue& bw = colors.items[1];
    EXPECT_EQ(bw.code, 3);
    EXPECT_EQ(bw.is_default, 0u);
    EXPECT_EQ(bw.restricted, 1u);
    EXPECT_EQ(bw.restriction_count, 3u);
    ASSERT_EQ(bw.restrictions[DEVLIST_RESOLUTION].count, 2u);
    EXPECT_EQ(bw.restrictions[DEVLIST_RESOLUTION].items[0], 6);
    EXPECT_EQ(bw.restrictions[DEVLIST_RESOLUTION].items[1], 5);
    ASSERT_EQ(bw.restrictions[DEVLIST_ORIGINAL_SIZE].count, 1u);
    EXPECT_EQ(bw.restrictions[DEVLIST_ORIGINAL_SIZE].items[0], 2);
    EXPECT_EQ(bw.restrictions[DEVLIST_COLOR_MODE].count, 0u);

    // The repeated setting element continued the same list, in document order.
    EXPECT_EQ(colors.items[2].code, 2);
    EXPECT_EQ(colors.items[2].is_default, 1u);
    EXPECT_EQ(colors.items[3].code, 0) << "an unknown token is an offered value with code 0";
    ASSERT_EQ(record->values[DEVLIST_RESOLUTION].count, 1u);
    EXPECT_EQ(record->values[DEVLIST_RESOLUTION].items[0].code, 4);
    EXPECT_EQ(record->values[DEVLIST_ORIGINAL_SIZE].count, 0u);
}

TEST_F(DevListReader, AValueWithoutNameEndsItsSettingElementOnly) {
    const DevListRecord* record = Read(
        "<duplex_mode><value name='SIMPLEX'/><value name='DUPLEX'/><value/>"
        "<value name='BOOK'/></duplex_mode>"
        "<contrast><value name='NEUTRAL_0'/></contrast>"
        "<duplex_mode><value name='DUPLEX_TOP'/></duplex_mode>");
    ASSERT_NE(record, nullptr);
    const DevListValueList& duplex = record->values[DEVLIST_DUPLEX_MODE];
    ASSERT_EQ(duplex.count, 3u);
    EXPECT_EQ(duplex.items[0].code, 1);
    EXPECT_EQ(duplex.items[1].code, 2);
    EXPECT_EQ(duplex.items[2].code, 4) << "the next setting element is read normally";
    ASSERT_EQ(record->values[DEVLIST_CONTRAST].count, 1u);
    EXPECT_EQ(record->values[DEVLIST_CONTRAST].items[0].code, 4);
}

TEST_F(DevListReader, FixedCapabilitiesAndTheModelName) {
    const std::string longName(300, 'M');
    const DevListRecord* record =
        Read("<model>first</model><model>" + longName +
             "</model>"
             "<reverse_image>OFF</reverse_image><reverse_image>ON</reverse_image>"
             "<rotation>_0</rotation><rotation>_270_CLOCKWISE</rotation><rotation>_45</rotation>"
             "<frame_entry><max_width></max_width><max_length>297</max_length><depth>3</depth>"
             "</frame_entry><memory_size>-128MB</memory_size><unknown>x</unknown>");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(std::wstring(record->model_name), std::wstring(259, L'M'));
    ASSERT_EQ(record->reverse_image.count, 2u);
    EXPECT_EQ(record->reverse_image.items[0], 1);
    EXPECT_EQ(record->reverse_image.items[1], 2);
    ASSERT_EQ(record->rotation_count, 3u);
    EXPECT_EQ(record->rotation_codes[1], 4);
    EXPECT_EQ(record->rotation_codes[2], 0);
    EXPECT_EQ(record->max_width, 0.0);
    EXPECT_EQ(record->max_length, 297.0);
    EXPECT_EQ(record->memory_size, -128);
    // The record begins with the model name, so it can be used as that name.
    EXPECT_EQ(reinterpret_cast<const wchar_t*>(record), record->model_name);
}

TEST_F(DevListReader, AModelAloneReadsAsEmptyLists) {
    const DevListRecord* record = Read("<model>Solo</model>");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(std::wstring(record->model_name), L"Solo");
    for (const DevListValueList& list : record->values) EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(record->reverse_image.count, 0u);
    EXPECT_EQ(record->rotation_count, 0u);
    EXPECT_EQ(record->memory_size, 0);
    EXPECT_EQ(record->max_width, 0.0);
}

TEST_F(DevListReader, MalformedContentFailsTheRead) {
    struct Case {
        const char* what;
        std::string body;
    } cases[] = {
        {"a comment inside a setting", "<contrast><value name='NEUTRAL_0'/><!-- x --></contrast>"},
        {"text inside a setting", "<contrast>text<value name='NEUTRAL_0'/></contrast>"},
        {"a memory size that is no number", "<memory_size>lots</memory_size>"},
        {"a memory size beyond 32 bits", "<memory_size>4294967296</memory_size>"},
        {"a root without children", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DevListRecord* record = reinterpret_cast<DevListRecord*>(0x1);
        EXPECT_EQ(XMLSCNLST_Read(Open(c.body), &record), XMLSCN_READ_FAILED);
        EXPECT_EQ(record, reinterpret_cast<DevListRecord*>(0x1)) << "out pointer untouched";
    }
}

TEST_F(DevListReader, RecordsOutliveTheirHandleAndLaterReads) {
    XMLSCN_HANDLE handle = Open(
        "<model>Kept</model><resolution><value name='RESOLUTION_200X200'/>"
        "</resolution>");
    DevListRecord* first = nullptr;
    DevListRecord* second = nullptr;
    ASSERT_EQ(XMLSCNLST_Read(handle, &first), XMLSCN_OK);
    ASSERT_EQ(XMLSCNLST_Read(handle, &second), XMLSCN_OK);
    EXPECT_NE(first, second);
    EXPECT_EQ(std::wstring(first->model_name), std::wstring(second->model_name));
    ASSERT_EQ(first->values[DEVLIST_RESOLUTION].count, 1u);
    EXPECT_EQ(first->values[DEVLIST_RESOLUTION].items[0].code,
              second->values[DEVLIST_RESOLUTION].items[0].code);
    EXPECT_EQ(XMLSCN_Close(handle), XMLSCN_OK);
    handles_.clear();
    // Both records are still readable after the handle is gone.
    EXPECT_EQ(std::wstring(first->model_name), L"Kept");
    EXPECT_EQ(second->values[DEVLIST_RESOLUTION].items[0].code, 2);
}

TEST_F(DevListReader, NullArgumentsAndUnusableFiles) {
    XMLSCN_HANDLE handle = reinterpret_cast<XMLSCN_HANDLE>(0x1);
    const std::wstring schema = SourcePath(L"data\\DEVICELIST.xsd");
    const std::wstring sample = SourcePath(L"data\\devices\\sc100-minimal.xml");
    EXPECT_EQ(XMLSCNLST_Open(nullptr, schema.c_str(), &handle), XMLSCN_BAD_ARGUMENT);
    EXPECT_EQ(XMLSCNLST_Open(sample.c_str(), nullptr, &handle), XMLSCN_BAD_ARGUMENT);
    EXPECT_EQ(XMLSCNLST_Open(sample.c_str(), schema.c_str(), nullptr), XMLSCN_BAD_ARGUMENT);
    EXPECT_EQ(handle, reinterpret_cast<XMLSCN_HANDLE>(0x1));

    DevListRecord* record = reinterpret_cast<DevListRecord*>(0x2);
    EXPECT_EQ(XMLSCNLST_Read(nullptr, &record), XMLSCN_BAD_ARGUMENT);
    EXPECT_EQ(record, reinterpret_cast<DevListRecord*>(0x2));
    EXPECT_EQ(XMLSCN_Close(nullptr), XMLSCN_BAD_ARGUMENT);

    const std::wstring folder = BuildFolder(L"devlist-tests");
    const std::wstring missing = folder + L"\\missing.xml";
    EXPECT_EQ(XMLSCNLST_Open(missing.c_str(), schema.c_str(), &handle), XMLSCN_FILE_UNUSABLE);
    const std::wstring noSchema = folder + L"\\missing.xsd";
    EXPECT_EQ(XMLSCNLST_Open(sample.c_str(), noSchema.c_str(), &handle), XMLSCN_FILE_UNUSABLE);
    const std::wstring invalid = folder + L"\\invalid.xml";
    ASSERT_TRUE(
        WriteBytes(invalid, "<device_list><color_mode><value/></color_mode></device_list>"));
    EXPECT_EQ(XMLSCNLST_Open(invalid.c_str(), schema.c_str(), &handle), XMLSCN_FILE_UNUSABLE);
    const std::wstring broken = folder + L"\\broken.xml";
    ASSERT_TRUE(WriteBytes(broken, "<device_list><model>unclosed</device_list>"));
    EXPECT_EQ(XMLSCNLST_Open(broken.c_str(), schema.c_str(), &handle), XMLSCN_FILE_UNUSABLE);
    EXPECT_EQ(handle, reinterpret_cast<XMLSCN_HANDLE>(0x1));
}

TEST(DevListSamples, TheFullModelReadsWithItsRestrictions) {
    const std::wstring schema = SourcePath(L"data\\DEVICELIST.xsd");
    const std::wstring sample = SourcePath(L"data\\devices\\mf7240-a3.xml");
    XMLSCN_HANDLE handle = nullptr;
    ASSERT_EQ(XMLSCNLST_Open(sample.c_str(), schema.c_str(), &handle), XMLSCN_OK);
    DevListRecord* record = nullptr;
    ASSERT_EQ(XMLSCNLST_Read(handle, &record), XMLSCN_OK);
    EXPECT_EQ(XMLSCN_Close(handle), XMLSCN_OK);

    EXPECT_EQ(std::wstring(record->model_name), L"Quorvel MF-7240 A3 Colour");
    EXPECT_EQ(record->values[DEVLIST_ORIGINAL_ORIENTATION].count, 4u);
    EXPECT_EQ(record->values[DEVLIST_EXPOSURE_LEVEL].count, 14u);
    EXPECT_EQ(record->rotation_count, 4u);
    EXPECT_EQ(record->max_length, 432.0);
    EXPECT_EQ(record->memory_size, 1024);

    ScanSettingsRecord settings{};
    settings.resolution = 6;  // 600 x 600
    EXPECT_EQ(XML_ValidateColorModeRestriction(3, record, &settings), 0u);
    EXPECT_EQ(XML_ValidateColorModeRestriction(1, record, &settings), 1u);
    settings.resolution = 2;
    EXPECT_EQ(XML_ValidateColorModeRestriction(3, record, &settings), 1u);
    settings.original_size = 2;  // A3: book duplex refused
    EXPECT_EQ(XML_ValidateDuplexModeRestriction(3, record, &settings), 0u);
    settings.original_size = 3;  // A4
    EXPECT_EQ(XML_ValidateDuplexModeRestriction(3, record, &settings), 1u);
}

TEST(DevListSamples, TheA4ModelOffersOnlyTheMiddleOrientations) {
    const std::wstring schema = SourcePath(L"data\\DEVICELIST.xsd");
    const std::wstring sample = SourcePath(L"data\\devices\\mf3120-a4.xml");
    XMLSCN_HANDLE handle = nullptr;
    ASSERT_EQ(XMLSCNLST_Open(sample.c_str(), schema.c_str(), &handle), XMLSCN_OK);
    DevListRecord* record = nullptr;
    ASSERT_EQ(XMLSCNLST_Read(handle, &record), XMLSCN_OK);
    XMLSCN_Close(handle);
    const ScanSettingsRecord settings{};
    for (std::uint32_t orientation = 1; orientation <= 4; ++orientation) {
        EXPECT_EQ(XML_ValidateOriginalOrientationRestriction(orientation, record, &settings),
                  orientation == 2 || orientation == 3 ? 1u : 0u)
            << orientation;
    }
    EXPECT_EQ(XML_ValidateOriginalSizeRestriction(2, record, &settings), 0u) << "no A3";
}

}  // namespace
