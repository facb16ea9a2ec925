// The store's exports as a host reaches them: by name or ordinal from the loaded DLL.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "support/LoadedLibrary.h"
#include "support/TestFiles.h"
#include "twain_ui.h"

namespace {

using Library = testsupport::LoadedLibrary;

TEST(StoreExports, AHostKeepsAConfigurationThroughTheDll) {
    Library library;
    ASSERT_NE(library.get(), nullptr);
    auto open = library.Get<decltype(XMLSCN_Open)>("XMLSCN_Open");
    auto add = library.Get<decltype(XMLSCN_Add)>("XMLSCN_Add");
    auto save = library.Get<decltype(XMLSCN_Save)>("XMLSCN_Save");
    auto size = library.Get<decltype(XMLSCN_GetSize)>("XMLSCN_GetSize");
    auto readSet = library.Get<decltype(XMLSCN_ReadSet)>("XMLSCN_ReadSet");
    auto close = library.Get<decltype(XMLSCNLST_Close)>("XMLSCNLST_Close");
    auto update = library.Get<decltype(XMLSCN_Update)>("XMLSCN_Update");
    ASSERT_TRUE(open && add && save && size && readSet && close && update);

    const std::wstring path = testsupport::NextStoreFile();
    const std::wstring schema = testsupport::SourcePath(L"data/SCANCONFIGLIST.xsd");
    ScanSettingsRecord record{};
    std::wcscpy(record.config_name, L"From the host");
    record.resolution = 4;

    XMLSCN_HANDLE store = nullptr;
    ASSERT_EQ(open(path.c_str(), schema.c_str(), &store), XMLSCN_OK);
    EXPECT_EQ(update(nullptr), 0u);
    EXPECT_EQ(add(store, &record), XMLSCN_OK);
    EXPECT_EQ(save(store, nullptr), XMLSCN_OK);
    EXPECT_EQ(close(store), XMLSCN_OK);

    ASSERT_EQ(open(path.c_str(), schema.c_str(), &store), XMLSCN_OK);
    ASSERT_EQ(size(store), 1u);
    ScanSettingsRecord read{};
    EXPECT_EQ(readSet(store, 0, &read), XMLSCN_OK);
    EXPECT_STREQ(read.config_name, L"From the host");
    EXPECT_EQ(read.resolution, 4);
    EXPECT_STREQ(read.config_id, record.config_id);
    EXPECT_EQ(close(store), XMLSCN_OK);
}

}  // namespace
