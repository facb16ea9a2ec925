// The device list reader, its records and the restriction checks that evaluate them; and
// hostile or oversized lists: long value lists, documents that name files outside
// themselves, texts longer than their field, numbers longer than any buffer.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "support/TestFiles.h"
#include "twain_ui.h"
#include "xml/DevListNumbers.h"
#include "xml/DevListRecordBuilder.h"
#include "xml/DevListSetting.h"

using namespace quorveltwain;
using namespace testsupport;

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// A value list as text: each code, "*" for the default, then its restrictions in setting
// order as "setting:code"; each count and restricted flag checked on the way.
std::string Describe(const DevListValueList& list) {
    std::string text;
    for (std::uint32_t i = 0; i < list.count; ++i) {
        const DevListValue& value = list.items[i];
        text += (i == 0 ? "" : " ") + std::to_string(value.code) + (value.is_default ? "*" : "");
        std::uint32_t count = 0;
        for (int k = 0; k < kDevListSettingCount; ++k) {
            for (std::uint32_t j = 0; j < value.restrictions[k].count; ++j, ++count) {
                text +=
                    " " + std::to_string(k) + ":" + std::to_string(value.restrictions[k].items[j]);
            }
        }
        EXPECT_EQ(value.restriction_count, count);
        EXPECT_EQ(value.restricted, count > 0 ? 1u : 0u);
    }
    return text;
}

class DevList : public ::testing::Test {
  protected:
    // Writes `xml` and opens it with a schema that accepts anything under the root.
    std::uint32_t OpenFile(const std::string& xml, XMLSCN_HANDLE& handle) {
        const std::wstring path = BuildFolder(L"devlist-tests") + L"\\list.xml";
        EXPECT_TRUE(WriteBytes(path, xml));
        const std::wstring schema = SourcePath(L"tests\\data\\devlist-any.xsd");
        const std::uint32_t status = XMLSCNLST_Open(path.c_str(), schema.c_str(), &handle);
        handles_.push_back(handle);
        return status;
    }
    // `body` as the root's content, opened.
    XMLSCN_HANDLE Open(const std::string& body) {
        XMLSCN_HANDLE handle = nullptr;
        EXPECT_EQ(OpenFile(kDeclaration + "<device_list>" + body + "</device_list>\n", handle),
                  XMLSCN_OK);
        return handle;
    }
    DevListRecord* Read(const std::string& body) {
        DevListRecord* record = nullptr;
        EXPECT_EQ(XMLSCNLST_Read(Open(body), &record), XMLSCN_OK);
        return record;
    }
    void TearDown() override {
        for (XMLSCN_HANDLE handle : handles_) XMLSCN_Close(handle);
    }
    std::vector<XMLSCN_HANDLE> handles_;
};

TEST_F(DevList, ValuesRestrictionsAndFixedCapabilitiesAreReadAsGivenIntoRecordsOfTheirOwn) {
    const XMLSCN_HANDLE handle = Open(
        "<color_mode>"
        "  <value name='FULL_COLOR' default='false'/>"
        "  <value name='BLACK_AND_WHITE'>"
        "    <restrict_resolution>RESOLUTION_600X600</restrict_resolution>"
        "    <restrict_resolution>RESOLUTION_400X400</restrict_resolution>"
        "    <restrict_original_size>A3</restrict_original_size>"
        "    <restrict_color_mode>FULL_COLOR</restrict_color_mode>"  // own setting: ignored
        "    <note>ignored</note><!-- so are comments inside a value -->"
        "  </value>"
        "</color_mode>"
        "<duplex_mode><value name='SIMPLEX'/><value/><value name='BOOK'/></duplex_mode>"
        "<color_mode><value name='GRAYSCALE' default=''/><value name='no such token'/></color_mode>"
        "<duplex_mode><value name='DUPLEX_TOP'/></duplex_mode>"
        "<model>first</model><model>" +
        std::string(300, 'M') +
        "</model>"
        "<reverse_image>OFF</reverse_image><reverse_image>ON</reverse_image>"
        "<rotation>_0</rotation><rotation>_270_CLOCKWISE</rotation><rotation>_45</rotation>"
        "<frame_entry><max_width></max_width><max_length>297</max_length><depth>3</depth>"
        "</frame_entry><memory_size>-128MB</memory_size><unknown>x</unknown>");
    // Each read makes a record of its own, and every record outlives its handle.
    DevListRecord *record = nullptr, *again = nullptr;
    ASSERT_EQ(XMLSCNLST_Read(handle, &record), XMLSCN_OK);
    ASSERT_EQ(XMLSCNLST_Read(handle, &again), XMLSCN_OK);
    EXPECT_NE(record->values[DEVLIST_COLOR_MODE].items, again->values[DEVLIST_COLOR_MODE].items);
    EXPECT_EQ(XMLSCN_Close(handle), XMLSCN_OK);
    handles_.clear();
    // A default by presence alone; a restriction on the value's own setting ignored; the
    // repeated setting element continues its list; an unknown token is offered as code 0;
    // a value without a name ends its setting element only.
    EXPECT_EQ(Describe(record->values[DEVLIST_COLOR_MODE]), "1* 3 0:2 3:6 3:5 2* 0");
    EXPECT_EQ(Describe(again->values[DEVLIST_COLOR_MODE]), "1* 3 0:2 3:6 3:5 2* 0");
    EXPECT_EQ(Describe(record->values[DEVLIST_DUPLEX_MODE]), "1 4");
    EXPECT_EQ(record->values[DEVLIST_ORIGINAL_SIZE].count, 0u);
    // The last model wins, cut to its field; the record begins with it, so it can be used
    // as that name.
    EXPECT_EQ(std::wstring(record->model_name), std::wstring(259, L'M'));
    EXPECT_EQ(reinterpret_cast<const wchar_t*>(record), record->model_name);
    ASSERT_EQ(std::vector({record->reverse_image.count, record->rotation_count}),
              std::vector({2u, 3u}));
    EXPECT_EQ(std::vector({record->reverse_image.items[1], record->rotation_codes[1],
                           record->rotation_codes[2], record->memory_size}),
              std::vector({2, 4, 0, -128}));
    EXPECT_EQ(std::vector({record->max_width, record->max_length}), std::vector({0.0, 297.0}));
}

TEST_F(DevList, UnusableFilesDoNotOpenAndMalformedContentFailsTheRead) {
    XMLSCN_HANDLE handle = reinterpret_cast<XMLSCN_HANDLE>(0x1);
    const std::wstring schema = SourcePath(L"data\\DEVICELIST.xsd");
    const std::wstring sample = SourcePath(L"data\\devices\\sc100-minimal.xml");
    const std::wstring folder = BuildFolder(L"devlist-tests");
    const std::wstring invalid = folder + L"\\invalid.xml", broken = folder + L"\\broken.xml";
    ASSERT_TRUE(
        WriteBytes(invalid, "<device_list><color_mode><value/></color_mode></device_list>"));
    ASSERT_TRUE(WriteBytes(broken, "<device_list><model>unclosed</device_list>"));
    EXPECT_EQ(std::vector({XMLSCNLST_Open(nullptr, schema.c_str(), &handle),
                           XMLSCNLST_Open(sample.c_str(), nullptr, &handle),
                           XMLSCNLST_Open(sample.c_str(), schema.c_str(), nullptr)}),
              std::vector(3, XMLSCN_BAD_ARGUMENT));
    for (const std::wstring& path : {folder + L"\\missing.xml", invalid, broken}) {
        EXPECT_EQ(XMLSCNLST_Open(path.c_str(), schema.c_str(), &handle), XMLSCN_FILE_UNUSABLE);
    }
    EXPECT_EQ(XMLSCNLST_Open(sample.c_str(), invalid.c_str(), &handle), XMLSCN_FILE_UNUSABLE);
    EXPECT_EQ(handle, reinterpret_cast<XMLSCN_HANDLE>(0x1));

    for (const std::string body :
         {"<contrast><value name='NEUTRAL_0'/><!-- x --></contrast>",
          "<contrast>text<value name='NEUTRAL_0'/></contrast>", "<memory_size>lots</memory_size>",
          "<memory_size>4294967296</memory_size>", ""}) {
        DevListRecord* record = reinterpret_cast<DevListRecord*>(0x1);
        EXPECT_EQ(XMLSCNLST_Read(Open(body), &record), XMLSCN_READ_FAILED) << body;
        EXPECT_EQ(record, reinterpret_cast<DevListRecord*>(0x1)) << body;
    }
}

TEST_F(DevList, NoDocumentReachesAFileItNames) {
    // A DTD beside the document: read, it would make it valid while it is parsed and mark
    // the value as its default. (Stores with a DTD are among the fuzz test's mutants.)
    const std::wstring dtd = BuildFolder(L"devlist-tests") + L"\\outside.dtd";
    ASSERT_TRUE(WriteBytes(dtd,
                           "<!ELEMENT device_list ANY><!ELEMENT color_mode ANY><!ELEMENT value ANY>"
                           "<!ATTLIST value name CDATA #IMPLIED default CDATA 'outside'>"));
    std::string url = "file:///";
    for (wchar_t c : dtd) url += c == L'\\' ? '/' : static_cast<char>(c);
    XMLSCN_HANDLE handle = nullptr;
    EXPECT_EQ(OpenFile(kDeclaration + "<!DOCTYPE device_list SYSTEM \"" + url + "\"><device_list>" +
                           "<color_mode><value name='FULL_COLOR'/></color_mode></device_list>",
                       handle),
              XMLSCN_FILE_UNUSABLE);
}

TEST_F(DevList, LongValueListsReadInLinearTime) {
    // Some 0.1 s with the list grown in one step; growing by one value at a time took 25 s.
    std::string body = "<resolution>";
    for (int i = 0; i < 6000; ++i)
        body +=
            "<v name='RESOLUTION_300X300'><restrict_color_mode>GRAYSCALE</restrict_color_mode></v>";
    const auto start = std::chrono::steady_clock::now();
    const DevListRecord* record = Read(body + "<v name='RESOLUTION_600X600'/></resolution>");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    ASSERT_NE(record, nullptr);
    const DevListValueList& list = record->values[DEVLIST_RESOLUTION];
    ASSERT_EQ(list.count, 6001u);
    EXPECT_EQ(list.items[5999].restrictions[DEVLIST_COLOR_MODE].items[0], 2);
    EXPECT_EQ(list.items[6000].code, 6);
}

TEST_F(DevList, TextsAreCutBetweenCharactersAndNumbersReadWhole) {
    // U+1F600 would take units 258 and 259 of the name, where only the first has room.
    const DevListRecord* record =
        Read("<model>" + std::string(258, 'M') +
             "\xF0\x9F\x98\x80</model><frame_entry><max_width>1" + std::string(99, '0') +
             "</max_width><max_length>0." + std::string(69, '0') + "1</max_length></frame_entry>");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(std::wstring(record->model_name), std::wstring(258, L'M'));
    EXPECT_EQ(std::vector({record->max_width, record->max_length}), std::vector({1e99, 1e-70}));
    // Numbers read as the classic locale does, whatever the host's, no further than given;
    // beyond a double's range infinite or zero, as the C library reads them.
    EXPECT_EQ(ParseMemorySize(L"  +2147483647"), INT32_MAX);
    EXPECT_EQ(ParseMemorySize(L"-2147483648"), INT32_MIN);
    EXPECT_EQ(std::vector({ParseFrameSize(std::wstring_view(L" 215.5mm,5", 5)),
                           ParseFrameSize(L"+2.5e2x"), ParseFrameSize(L"-.5e,5"),
                           ParseFrameSize(L"-" + std::wstring(400, L'9')),
                           ParseFrameSize(L"0.01e99999999999999999999"),
                           ParseFrameSize(L"900e-330") + ParseFrameSize(L"1e-999")}),
              std::vector({215.0, 250.0, -0.5, -HUGE_VAL, HUGE_VAL, 0.0}));
}

using Check = std::uint32_t (*)(std::uint32_t, const DevListRecord*, const ScanSettingsRecord*);
// The exports in setting-index order.
constexpr Check kChecks[kDevListSettingCount] = {
    XML_ValidateOriginalSizeRestriction,  XML_ValidateOriginalOrientationRestriction,
    XML_ValidateImageQualityRestriction,  XML_ValidateResolutionRestriction,
    XML_ValidateExposureLevelRestriction, XML_ValidateDuplexModeRestriction,
    XML_ValidateColorModeRestriction,     XML_ValidatePreventBleedThroughRestriction,
    XML_ValidateSendingSizeRestriction,   XML_ValidateContrastRestriction,
};

// The field of each setting's current value, spelled out apart from the library's own
// table so that a mix-up there cannot hide here.
constexpr std::int32_t ScanSettingsRecord::*kFields[kDevListSettingCount] = {
    &ScanSettingsRecord::original_size,   &ScanSettingsRecord::original_orientation,
    &ScanSettingsRecord::original_image,  &ScanSettingsRecord::resolution,
    &ScanSettingsRecord::exposure_level,  &ScanSettingsRecord::duplex,
    &ScanSettingsRecord::color_selection, &ScanSettingsRecord::prevent_bleed_through,
    &ScanSettingsRecord::sending_size,    &ScanSettingsRecord::contrast,
};

TEST(RestrictionCheck, EachCheckReadsItsOwnListAndTheOtherSettingsFromTheirFields) {
    constexpr std::int32_t kOffered = 3;
    constexpr std::int32_t kOther = 5;
    for (int setting = 0; setting < kDevListSettingCount; ++setting) {
        SCOPED_TRACE("setting " + std::to_string(setting));
        // `setting` offers kOffered, refused while setting k has 10 + k; every other
        // setting offers only kOther, so a check that reads the wrong list finds nothing.
        DevListRecordBuilder builder;
        for (int s = 0; s < kDevListSettingCount; ++s) {
            if (s != setting) builder.AddValue(s, kOther, false);
        }
        builder.AddValue(setting, kOffered, false);
        for (int k = 0; k < kDevListSettingCount; ++k) builder.AddRestriction(setting, k, 10 + k);
        const DevListRecord* device = builder.Publish();
        ASSERT_NE(device, nullptr);
        const Check check = kChecks[setting];

        ScanSettingsRecord settings{};
        EXPECT_EQ(check(kOffered, device, &settings), 1u);
        EXPECT_EQ(check(kOther, device, &settings), 0u);
        for (int k = 0; k < kDevListSettingCount; ++k) {
            // Only setting k holds its refusing value: refused, unless k is the setting
            // itself; every field but k's holds it: allowed.
            ScanSettingsRecord onlyK{};
            onlyK.*kFields[k] = 10 + k;
            EXPECT_EQ(check(kOffered, device, &onlyK), k == setting ? 1u : 0u) << k;
            ScanSettingsRecord allButK{};
            for (int j = 0; j < kDevListSettingCount; ++j)
                allButK.*kFields[j] = j == k ? 0 : 10 + k;
            EXPECT_EQ(check(kOffered, device, &allButK), 1u) << k;
        }
    }
}

TEST(RestrictionCheck, TheFirstMatchingValueAndItsRestrictedFlagDecide) {
    DevListRecordBuilder builder;
    builder.AddValue(DEVLIST_COLOR_MODE, 1, true);  // unrestricted
    builder.AddValue(DEVLIST_COLOR_MODE, 3, false);
    builder.AddRestriction(DEVLIST_COLOR_MODE, DEVLIST_RESOLUTION, 6);
    builder.AddValue(DEVLIST_COLOR_MODE, 1, false);  // again, restricted: never looked at
    builder.AddRestriction(DEVLIST_COLOR_MODE, DEVLIST_RESOLUTION, 6);
    builder.AddValue(DEVLIST_COLOR_MODE, 0, false);  // a token outside the vocabulary
    DevListRecord* device = builder.Publish();
    ASSERT_NE(device, nullptr);
    ScanSettingsRecord settings{};
    settings.resolution = 6;
    settings.color_selection = 3;
    const auto check = [&](std::uint32_t value) {
        return XML_ValidateColorModeRestriction(value, device, &settings);
    };
    EXPECT_EQ(std::vector({check(1), check(3), check(0), check(2), check(0xFFFFFFFFu)}),
              std::vector({1u, 0u, 1u, 0u, 0u}));
    // Hand-made, as a host might: a list on the value's own setting plays no part, the
    // count none either; only a flag of exactly 1 makes the lists count.
    DevListValue& bw = device->values[DEVLIST_COLOR_MODE].items[1];
    std::int32_t own = 3;
    bw.restrictions[DEVLIST_COLOR_MODE] = {&own, 1};
    bw.restriction_count = 0;
    settings.resolution = 5;
    EXPECT_EQ(check(3), 1u);
    settings.resolution = 6;
    EXPECT_EQ(check(3), 0u);
    bw.restricted = 2;
    EXPECT_EQ(check(3), 1u);
    EXPECT_EQ(XML_ValidateColorModeRestriction(1, nullptr, &settings), 0u);
    EXPECT_EQ(XML_ValidateColorModeRestriction(1, device, nullptr), 0u);
}

}  // namespace
