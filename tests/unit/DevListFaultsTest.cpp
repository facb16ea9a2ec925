// Hostile and oversized device lists: long value lists.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/TestFiles.h"
#include "twain_ui.h"

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

}  // namespace
