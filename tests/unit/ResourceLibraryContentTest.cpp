// What the build puts into the English resource library: the strings, the images drawn
// from their SVG sources, and the UI font with a real regular and bold face.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <system_error>
#include <string>
#include <vector>

#include "ResourceIds.h"
#include "platform/UniqueHandle.h"

namespace quorveltwain {
namespace {

struct IconTraits {
    using Type = HICON;
    static constexpr LiveKind kKind = LiveKind::GdiObject;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::DestroyIcon(h); }
};
using UniqueIcon = UniqueHandle<IconTraits>;

struct MemoryFontTraits {
    using Type = HANDLE;
    static constexpr LiveKind kKind = LiveKind::GdiObject;
    static Type Empty() noexcept { return nullptr; }
    static void Close(Type h) noexcept { ::RemoveFontMemResourceEx(h); }
};

// The build tree keeps LANG\<folder>\Resource.dll beside bin\, where the tests run from.
std::wstring BuiltLanguagesFolder() {
    wchar_t exe[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path(exe, length);
    path.erase(path.find_last_of(L'\\'));  // ...\bin
    path.erase(path.find_last_of(L'\\'));  // the build tree
    return path + L"\\LANG\\";
}

std::wstring BuiltResourceLibrary(const std::wstring& folder) {
    return BuiltLanguagesFolder() + folder + L"\\Resource.dll";
}

std::vector<std::wstring> BuiltLanguages() {
    std::vector<std::wstring> folders;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(BuiltLanguagesFolder(), error)) {
        if (entry.is_directory()) folders.push_back(entry.path().filename().wstring());
    }
    return folders;
}

UniqueModule LoadAsData(const std::wstring& path) {
    return UniqueModule(LoadLibraryExW(path.c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

// Every string id of a library: each RT_STRING block n holds ids 16 (n - 1) to 16 n - 1.
BOOL CALLBACK CollectStringBlock(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR blocks) {
    reinterpret_cast<std::vector<UINT>*>(blocks)->push_back(
        static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

std::vector<UINT> StringIds(HMODULE module) {
    std::vector<UINT> blocks;
    EnumResourceNamesW(module, RT_STRING, CollectStringBlock, reinterpret_cast<LONG_PTR>(&blocks));
    std::vector<UINT> ids;
    wchar_t text[512];
    for (UINT block : blocks) {
        for (UINT id = (block - 1) * 16; id < block * 16; ++id) {
            if (LoadStringW(module, id, text, 512) > 0) ids.push_back(id);
        }
    }
    return ids;
}

class ResourceLibraryContent : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadAsData(BuiltResourceLibrary(L"en"));
        ASSERT_TRUE(module_) << "LANG\\en\\Resource.dll not built: " << GetLastError();
    }
    HMODULE module() const { return module_.get(); }
    UniqueModule module_;
};

TEST_F(ResourceLibraryContent, StringsComeFromTheLanguagesTables) {
    wchar_t text[512];
    ASSERT_GT(LoadStringW(module(), IDS_SCAN, text, 512), 0);
    EXPECT_STREQ(text, L"&Scan");
    ASSERT_GT(LoadStringW(module(), IDS_PREVIEW, text, 512), 0);
    EXPECT_STREQ(text, L"&Preview");
    EXPECT_EQ(LoadStringW(module(), 65000, text, 512), 0) << "an unknown id has no text";
}

TEST_F(ResourceLibraryContent, ImagesAreDrawnAtTheirDeclaredSizes) {
    UniqueBitmap emblem(static_cast<HBITMAP>(LoadImageW(module(), MAKEINTRESOURCEW(IDB_EMBLEM),
                                                        IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ASSERT_TRUE(emblem);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(emblem.get(), sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    EXPECT_EQ(dib.dsBm.bmWidth, 48);
    EXPECT_EQ(dib.dsBm.bmHeight, 48);
    EXPECT_EQ(dib.dsBm.bmBitsPixel, 24);
    // The corner is the declared background: the main window's panel grey.
    const auto* corner = static_cast<const BYTE*>(dib.dsBm.bmBits);
    EXPECT_EQ(corner[0], 242);
    EXPECT_EQ(corner[1], 242);
    EXPECT_EQ(corner[2], 242);

    // Each icon size listed is stored as such, not stretched from another.
    for (const auto& [id, size] : {std::pair{IDI_STEP_UP, 11}, std::pair{IDI_STEP_DOWN, 11},
                                   std::pair{IDI_APP_SMALL, 16}, std::pair{IDI_APP_LARGE, 48}}) {
        HRSRC group = FindResourceW(module(), MAKEINTRESOURCEW(id), RT_GROUP_ICON);
        ASSERT_NE(group, nullptr) << id;
        auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module(), group)));
        ASSERT_NE(directory, nullptr);
        const int iconId =
            LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        HRSRC image = FindResourceW(module(), MAKEINTRESOURCEW(iconId), RT_ICON);
        ASSERT_NE(image, nullptr) << id;
        const auto* header =
            static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(module(), image)));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->biWidth, size) << id;
        EXPECT_EQ(header->biHeight, 2 * size) << id << ": colour and mask rows";
        EXPECT_EQ(header->biBitCount, 32) << id << ": with alpha";
    }
}

TEST_F(ResourceLibraryContent, TheFontCarriesTheShippedFamilyInRegularAndBold) {
    HRSRC found = FindResourceW(module(), MAKEINTRESOURCEW(IDR_UI_FONT), RT_FONT);
    ASSERT_NE(found, nullptr);
    const DWORD size = SizeofResource(module(), found);
    void* data = LockResource(LoadResource(module(), found));
    ASSERT_NE(data, nullptr);
    ASSERT_GT(size, 4u);
    EXPECT_EQ(std::string(static_cast<const char*>(data), 4), "ttcf");

    DWORD installed = 0;
    UniqueHandle<MemoryFontTraits> font(AddFontMemResourceEx(data, size, nullptr, &installed));
    ASSERT_TRUE(font);
    // A regular and a bold face (the family is also a system font where the library is
    // built, so enumerating it by name would prove nothing).
    EXPECT_EQ(installed, 2u);
}

// There is no fallback language: a text missing from a language shows as an empty control.
TEST_F(ResourceLibraryContent, EveryLanguageCarriesEveryEnglishStringAndTheFont) {
    const std::vector<UINT> english = StringIds(module());
    ASSERT_FALSE(english.empty());
    const std::vector<std::wstring> languages = BuiltLanguages();
    ASSERT_FALSE(languages.empty());
    for (const std::wstring& folder : languages) {
        UniqueModule language = LoadAsData(BuiltResourceLibrary(folder));
        ASSERT_TRUE(language) << folder;
        wchar_t text[512];
        for (UINT id : english) {
            EXPECT_GT(LoadStringW(language.get(), id, text, 512), 0)
                << "string " << id << " missing in " << folder;
        }
        EXPECT_NE(FindResourceW(language.get(), MAKEINTRESOURCEW(IDR_UI_FONT), RT_FONT), nullptr)
            << folder;
    }
}

}  // namespace
}  // namespace quorveltwain
