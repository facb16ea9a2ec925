// Hostile and oversized device lists: long value lists, documents that name files outside
// themselves, texts longer than their field, numbers longer than any buffer.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>

#include "platform/BoundedText.h"
#include "support/TestFiles.h"
#include "twain_ui.h"
#include "xml/DevListNumbers.h"

using namespace testsupport;

namespace {

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

// The status of opening `xml` as a device list that may hold anything under its root; once
// open, it is read into `record`.
std::uint32_t OpenAndRead(const std::string& xml, DevListRecord** record) {
    const std::wstring path = BuildFolder(L"devlist-faults") + L"\\list.xml";
    const std::wstring schema = SourcePath(L"tests\\data\\devlist-any.xsd");
    EXPECT_TRUE(WriteBytes(path, xml));
    XMLSCN_HANDLE handle = nullptr;
    const std::uint32_t status = XMLSCNLST_Open(path.c_str(), schema.c_str(), &handle);
    EXPECT_TRUE(status != XMLSCN_OK || XMLSCNLST_Read(handle, record) == XMLSCN_OK);
    XMLSCN_Close(handle);
    return status;
}

TEST(DevListFaults, LongValueListsReadInLinearTime) {
    // Some 0.1 s with the list grown in one step; growing by one value at a time took 25 s.
    std::string xml = kDeclaration + "<device_list><resolution>";
    for (int i = 0; i < 6000; ++i)
        xml +=
            "<v name='RESOLUTION_300X300'><restrict_color_mode>GRAYSCALE</restrict_color_mode></v>";
    DevListRecord* record = nullptr;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(
        OpenAndRead(xml + "<v name='RESOLUTION_600X600'/></resolution></device_list>", &record),
        XMLSCN_OK);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    const DevListValueList& list = record->values[DEVLIST_RESOLUTION];
    ASSERT_EQ(list.count, 6001u);
    EXPECT_EQ(list.items[5999].restrictions[DEVLIST_COLOR_MODE].items[0], 2);
    EXPECT_EQ(list.items[6000].code, 6);
}

TEST(DevListFaults, NoDocumentReachesAFileItNames) {
    // A DTD beside the document: read, it would make it valid while it is parsed and mark
    // the value as its default. (Stores with a DTD are among the fuzz test's mutants.)
    const std::wstring folder = BuildFolder(L"devlist-faults");
    ASSERT_TRUE(WriteBytes(folder + L"\\outside.dtd",
                           "<!ELEMENT device_list ANY><!ELEMENT color_mode ANY><!ELEMENT value ANY>"
                           "<!ATTLIST value name CDATA #IMPLIED default CDATA 'outside'>"));
    std::string doctype = " SYSTEM \"file:///";
    for (wchar_t c : folder + L"\\outside.dtd") doctype += c == L'\\' ? '/' : static_cast<char>(c);
    DevListRecord* record = nullptr;
    EXPECT_EQ(OpenAndRead(kDeclaration + "<!DOCTYPE device_list" + doctype + "\"><device_list>" +
                              "<color_mode><value name='FULL_COLOR'/></color_mode></device_list>",
                          &record),
              XMLSCN_FILE_UNUSABLE);
}

TEST(DevListFaults, TextsAreCutBetweenCharactersAndNumbersReadWhole) {
    // U+1F600 would take units 258 and 259 of the name, where only the first has room.
    DevListRecord* record = nullptr;
    ASSERT_EQ(OpenAndRead(kDeclaration + "<device_list><model>" + std::string(258, 'M') +
                              "\xF0\x9F\x98\x80</model><frame_entry><max_width>1" +
                              std::string(99, '0') + "</max_width><max_length>0." +
                              std::string(69, '0') + "1</max_length></frame_entry></device_list>",
                          &record),
              XMLSCN_OK);
    EXPECT_EQ(std::wstring(record->model_name), std::wstring(258, L'M'));
    EXPECT_EQ(record->max_width, 1e99);
    EXPECT_EQ(record->max_length, 1e-70);
    // Beyond a double's range they are infinite or zero, as the C library reads them.
    EXPECT_EQ(quorveltwain::ParseFrameSize(L"-" + std::wstring(400, L'9')), -HUGE_VAL);
    EXPECT_EQ(quorveltwain::ParseFrameSize(L"0.01e99999999999999999999"), HUGE_VAL);
    EXPECT_EQ(quorveltwain::ParseFrameSize(L"900e-330") + quorveltwain::ParseFrameSize(L"1e-999"),
              0.0);

    // The one bounded copy behind every field, and the formatting built on it, where a cut
    // ends the text: nothing that would still fit follows a dropped character.
    wchar_t field[4];
    EXPECT_EQ(quorveltwain::CopyToField(field, L"ab\U0001F600"), 2u);
    EXPECT_STREQ(field, L"ab");
    quorveltwain::FormatToField(field, L"%1\U0001F600.", {L"ab"});
    EXPECT_STREQ(field, L"ab");
}

}  // namespace
