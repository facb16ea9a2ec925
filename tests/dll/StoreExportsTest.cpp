// The store's exports as a host reaches them: by name from the loaded DLL.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "support/LoadedLibrary.h"
#include "support/TestFiles.h"
#include "twain_ui.h"

namespace {

using testsupport::SourcePath;

TEST(StoreExports, AHandleOfTheOtherKindOrNoHandleAtAllIsRefused) {
    testsupport::LoadedLibrary dll;
    ASSERT_NE(dll.get(), nullptr);
#define EXPORT(name) const auto name = dll.Get<decltype(::name)>(#name)
    EXPORT(XMLSCN_Open);
    EXPORT(XMLSCN_Close);
    EXPORT(XMLSCN_GetSize);
    EXPORT(XMLSCN_ReadSet);
    EXPORT(XMLSCN_UpdateSet);
    EXPORT(XMLSCN_Add);
    EXPORT(XMLSCN_Delete);
    EXPORT(XMLSCN_Save);
    EXPORT(XMLSCNLST_Open);
    EXPORT(XMLSCNLST_Read);
    EXPORT(XMLSCNLST_Close);
#undef EXPORT
    const std::wstring path = testsupport::NextStoreFile();
    const std::wstring schema = SourcePath(L"data/SCANCONFIGLIST.xsd");
    const std::wstring list = SourcePath(L"data/devices/sc100-minimal.xml");
    const std::wstring listSchema = SourcePath(L"data/DEVICELIST.xsd");
    XMLSCN_HANDLE store = nullptr;
    XMLSCN_HANDLE devices = nullptr;
    XMLSCN_HANDLE closed = nullptr;
    ASSERT_EQ(XMLSCN_Open(path.c_str(), schema.c_str(), &store), XMLSCN_OK);
    ASSERT_EQ(XMLSCNLST_Open(list.c_str(), listSchema.c_str(), &devices), XMLSCN_OK);
    ASSERT_EQ(XMLSCN_Open(path.c_str(), schema.c_str(), &closed), XMLSCN_OK);
    ASSERT_EQ(XMLSCN_Close(closed), XMLSCN_OK);

    ScanSettingsRecord record{};
    std::wcscpy(record.config_name, L"untouched");
    const ScanSettingsRecord before = record;
    const std::wstring elsewhere = testsupport::BuildFolder(L"store-scratch") + L"\\kind.xml";
    DeleteFileW(elsewhere.c_str());
    DevListRecord* const unset = reinterpret_cast<DevListRecord*>(0x10);
    DevListRecord* device = unset;
    // Besides a device list: a closed store, zeros, an unmapped page, a misaligned address.
    alignas(16) unsigned char zeros[512] = {};
    void* reserved = VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS);
    void* misaligned = static_cast<char*>(store) + 1;
    for (XMLSCN_HANDLE handle : {devices, closed, XMLSCN_HANDLE(zeros), reserved, misaligned}) {
        EXPECT_EQ(XMLSCN_GetSize(handle), XMLSCN_BAD_ARGUMENT);
        EXPECT_EQ(XMLSCN_ReadSet(handle, 0, &record), XMLSCN_BAD_ARGUMENT);
        EXPECT_EQ(XMLSCN_UpdateSet(handle, 0, &record), XMLSCN_BAD_ARGUMENT);
        EXPECT_EQ(XMLSCN_Add(handle, &record), XMLSCN_BAD_ARGUMENT);
        EXPECT_EQ(XMLSCN_Delete(handle, 0), XMLSCN_BAD_ARGUMENT);
        EXPECT_EQ(XMLSCN_Save(handle, elsewhere.c_str()), XMLSCN_BAD_ARGUMENT);
        if (handle == devices) continue;
        EXPECT_EQ(XMLSCNLST_Read(handle, &device), XMLSCN_BAD_ARGUMENT);
        EXPECT_EQ(XMLSCN_Close(handle), XMLSCN_BAD_ARGUMENT);
    }
    EXPECT_EQ(XMLSCNLST_Read(store, &device), XMLSCN_BAD_ARGUMENT);
    EXPECT_EQ(device, unset);
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    EXPECT_FALSE(testsupport::FileExists(elsewhere));
    VirtualFree(reserved, 0, MEM_RELEASE);

    // Each still works as what it is, and either close takes either kind.
    EXPECT_EQ(XMLSCN_Add(store, &record), XMLSCN_OK);
    EXPECT_EQ(XMLSCN_GetSize(store), 1u);
    ASSERT_EQ(XMLSCNLST_Read(devices, &device), XMLSCN_OK);
    EXPECT_STREQ(device->model_name, L"Quorvel SC-100");
    EXPECT_EQ(XMLSCN_Close(devices), XMLSCN_OK);
    EXPECT_EQ(XMLSCN_Save(store, nullptr), XMLSCN_OK);
    EXPECT_EQ(XMLSCNLST_Close(store), XMLSCN_OK);
}

}  // namespace
