// The store's exports as a host reaches them: by name from the loaded DLL.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "support/LoadedLibrary.h"
#include "support/TestFiles.h"
#include "twain_ui.h"

namespace {

using testsupport::SourcePath;

class StoreExports : public ::testing::Test {
  protected:
    testsupport::LoadedLibrary library;
    template <typename Function>
    Function* Export(const char* name) {
        Function* function = library.Get<Function>(name);
        EXPECT_NE(function, nullptr) << name;
        return function;
    }
    decltype(&XMLSCN_Open) open = Export<decltype(XMLSCN_Open)>("XMLSCN_Open");
    decltype(&XMLSCN_Close) close = Export<decltype(XMLSCN_Close)>("XMLSCN_Close");
    decltype(&XMLSCN_GetSize) size = Export<decltype(XMLSCN_GetSize)>("XMLSCN_GetSize");
    decltype(&XMLSCN_ReadSet) readSet = Export<decltype(XMLSCN_ReadSet)>("XMLSCN_ReadSet");
    decltype(&XMLSCN_UpdateSet) updateSet = Export<decltype(XMLSCN_UpdateSet)>("XMLSCN_UpdateSet");
    decltype(&XMLSCN_Add) add = Export<decltype(XMLSCN_Add)>("XMLSCN_Add");
    decltype(&XMLSCN_Delete) remove = Export<decltype(XMLSCN_Delete)>("XMLSCN_Delete");
    decltype(&XMLSCN_Save) save = Export<decltype(XMLSCN_Save)>("XMLSCN_Save");
    decltype(&XMLSCNLST_Open) openList = Export<decltype(XMLSCNLST_Open)>("XMLSCNLST_Open");
    decltype(&XMLSCNLST_Read) readList = Export<decltype(XMLSCNLST_Read)>("XMLSCNLST_Read");
    decltype(&XMLSCNLST_Close) closeList = Export<decltype(XMLSCNLST_Close)>("XMLSCNLST_Close");

    const std::wstring schema = SourcePath(L"data/SCANCONFIGLIST.xsd");
};

TEST_F(StoreExports, AHostKeepsAConfigurationThroughTheDll) {
    const std::wstring path = testsupport::NextStoreFile();
    ScanSettingsRecord record{};
    std::wcscpy(record.config_name, L"From the host");
    record.resolution = 4;

    XMLSCN_HANDLE store = nullptr;
    ASSERT_EQ(open(path.c_str(), schema.c_str(), &store), XMLSCN_OK);
    EXPECT_EQ(add(store, &record), XMLSCN_OK);
    EXPECT_EQ(save(store, nullptr), XMLSCN_OK);
    EXPECT_EQ(closeList(store), XMLSCN_OK);  // one close for both kinds

    ASSERT_EQ(open(path.c_str(), schema.c_str(), &store), XMLSCN_OK);
    ASSERT_EQ(size(store), 1u);
    ScanSettingsRecord read{};
    EXPECT_EQ(readSet(store, 0, &read), XMLSCN_OK);
    EXPECT_STREQ(read.config_name, L"From the host");
    EXPECT_EQ(read.resolution, 4);
    EXPECT_STREQ(read.config_id, record.config_id);
    EXPECT_EQ(close(store), XMLSCN_OK);
}

TEST_F(StoreExports, AHandleOfTheOtherKindOrNoHandleAtAllIsRefused) {
    const std::wstring path = testsupport::NextStoreFile();
    const std::wstring list = SourcePath(L"data/devices/sc100-minimal.xml");
    const std::wstring listSchema = SourcePath(L"data/DEVICELIST.xsd");
    XMLSCN_HANDLE store = nullptr;
    XMLSCN_HANDLE devices = nullptr;
    ASSERT_EQ(open(path.c_str(), schema.c_str(), &store), XMLSCN_OK);
    ASSERT_EQ(openList(list.c_str(), listSchema.c_str(), &devices), XMLSCN_OK);

    ScanSettingsRecord record{};
    std::wcscpy(record.config_name, L"untouched");
    const ScanSettingsRecord before = record;
    const std::wstring elsewhere = testsupport::BuildFolder(L"store-scratch") + L"\\kind.xml";
    DeleteFileW(elsewhere.c_str());
    DevListRecord* const unset = reinterpret_cast<DevListRecord*>(0x10);
    DevListRecord* device = unset;

    // A closed handle's memory, a buffer of zeros, an unmapped page, a misaligned address.
    XMLSCN_HANDLE closed = nullptr;
    ASSERT_EQ(open(path.c_str(), schema.c_str(), &closed), XMLSCN_OK);
    ASSERT_EQ(close(closed), XMLSCN_OK);
    alignas(16) unsigned char zeros[512] = {};
    void* reserved = VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS);
    void* misaligned = static_cast<char*>(store) + 1;
    for (XMLSCN_HANDLE handle : {devices, closed, XMLSCN_HANDLE(zeros), reserved, misaligned}) {
        SCOPED_TRACE(handle == devices ? "device list handle" : "no handle");
        EXPECT_EQ(size(handle), XMLSCN_BAD_ARGUMENT);
        EXPECT_EQ(readSet(handle, 0, &record), XMLSCN_BAD_ARGUMENT);
        EXPECT_EQ(updateSet(handle, 0, &record), XMLSCN_BAD_ARGUMENT);
        EXPECT_EQ(add(handle, &record), XMLSCN_BAD_ARGUMENT);
        EXPECT_EQ(remove(handle, 0), XMLSCN_BAD_ARGUMENT);
        EXPECT_EQ(save(handle, elsewhere.c_str()), XMLSCN_BAD_ARGUMENT);
        if (handle != devices) {
            EXPECT_EQ(readList(handle, &device), XMLSCN_BAD_ARGUMENT);
            EXPECT_EQ(close(handle), XMLSCN_BAD_ARGUMENT);
        }
    }
    EXPECT_EQ(readList(store, &device), XMLSCN_BAD_ARGUMENT);
    EXPECT_EQ(device, unset);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    EXPECT_FALSE(testsupport::FileExists(elsewhere));
    VirtualFree(reserved, 0, MEM_RELEASE);

    // Each still works as what it is, and either close takes either kind.
    EXPECT_EQ(size(store), 0u);
    ASSERT_EQ(readList(devices, &device), XMLSCN_OK);
    EXPECT_STREQ(device->model_name, L"Quorvel SC-100");
    EXPECT_EQ(close(devices), XMLSCN_OK);
    EXPECT_EQ(closeList(store), XMLSCN_OK);
}

}  // namespace
