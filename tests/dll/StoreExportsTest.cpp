// The store's exports as a host reaches them: by name or ordinal from the loaded DLL.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "support/TestFiles.h"
#include "twain_ui.h"

namespace {

struct Export {
    const char* name;
    WORD ordinal;
};

// A host may import by ordinal, so every name must keep this ordinal.
constexpr Export kStoreExports[] = {
    {"XMLSCNLST_Close", 10}, {"XMLSCN_Add", 13},       {"XMLSCN_Close", 14},
    {"XMLSCN_Delete", 15},   {"XMLSCN_GetSize", 16},   {"XMLSCN_Open", 17},
    {"XMLSCN_Read", 18},     {"XMLSCN_ReadSet", 19},   {"XMLSCN_Save", 20},
    {"XMLSCN_Update", 21},   {"XMLSCN_UpdateSet", 22},
};

class Library {
  public:
    Library() : module_(LoadLibraryW(L"TWAIN_UI.dll")) {}
    ~Library() {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    HMODULE get() const { return module_; }

    template <typename Function>
    Function* Get(const char* name) const {
        return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

  private:
    HMODULE module_;
};

TEST(StoreExports, NamesAndOrdinalsReachTheSameFunctions) {
    Library library;
    ASSERT_NE(library.get(), nullptr) << "LoadLibraryW failed: " << GetLastError();
    for (const Export& entry : kStoreExports) {
        FARPROC byName = GetProcAddress(library.get(), entry.name);
        FARPROC byOrdinal = GetProcAddress(library.get(), MAKEINTRESOURCEA(entry.ordinal));
        EXPECT_NE(byName, nullptr) << entry.name;
        EXPECT_EQ(byName, byOrdinal) << entry.name << " @" << entry.ordinal;
    }
    // One close for both kinds of store, one placeholder under two names.
    EXPECT_EQ(GetProcAddress(library.get(), "XMLSCNLST_Close"),
              GetProcAddress(library.get(), "XMLSCN_Close"));
    EXPECT_EQ(GetProcAddress(library.get(), "XMLSCN_Update"),
              GetProcAddress(library.get(), "XMLSCN_Read"));
}

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
