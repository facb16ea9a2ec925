// What the build puts into the resource libraries: images drawn from their SVG sources at
// their declared sizes, the UI font with a real regular and bold face, every string in
// every language.

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "ResourceIds.h"
#include "platform/UniqueHandle.h"

namespace quorveltwain {
namespace {

// The build tree keeps LANG\<folder>\Resource.dll beside bin\, where the tests run from.
std::filesystem::path BuiltLanguagesFolder() {
    wchar_t exe[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, exe, MAX_PATH);
    return std::filesystem::path(std::wstring(exe, length)).parent_path().parent_path() / L"LANG";
}

UniqueModule LoadAsData(const std::filesystem::path& library) {
    return UniqueModule(LoadLibraryExW(library.c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
}

class ResourceLibraryContent : public ::testing::Test {
  protected:
    void SetUp() override {
        english_ = LoadAsData(BuiltLanguagesFolder() / L"en" / L"Resource.dll");
        ASSERT_TRUE(english_) << "LANG\\en\\Resource.dll not built: " << GetLastError();
    }
    UniqueModule english_;
};

TEST_F(ResourceLibraryContent, ImagesAreDrawnAtTheirDeclaredSizes) {
    UniqueBitmap emblem(static_cast<HBITMAP>(LoadImageW(
        english_.get(), MAKEINTRESOURCEW(IDB_EMBLEM), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    ASSERT_TRUE(emblem);
    DIBSECTION dib{};
    ASSERT_EQ(GetObjectW(emblem.get(), sizeof(dib), &dib), static_cast<int>(sizeof(dib)));
    EXPECT_EQ(std::vector<LONG>({dib.dsBm.bmWidth, dib.dsBm.bmHeight, dib.dsBm.bmBitsPixel}),
              std::vector<LONG>({32, 32, 24}));
    // The corner is the declared background, the panel grey, not a flattened transparency.
    const auto* corner = static_cast<const BYTE*>(dib.dsBm.bmBits);
    EXPECT_EQ(RGB(corner[2], corner[1], corner[0]), RGB(242, 242, 242));

    // Each icon size listed is stored as such, not stretched from another.
    for (const auto& [id, size] : {std::pair{IDI_STEP_UP, 11}, std::pair{IDI_STEP_DOWN, 11},
                                   std::pair{IDI_APP_SMALL, 16}, std::pair{IDI_APP_LARGE, 48}}) {
        HRSRC group = FindResourceW(english_.get(), MAKEINTRESOURCEW(id), RT_GROUP_ICON);
        ASSERT_NE(group, nullptr) << id;
        auto* directory = static_cast<BYTE*>(LockResource(LoadResource(english_.get(), group)));
        const int iconId =
            LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
        HRSRC image = FindResourceW(english_.get(), MAKEINTRESOURCEW(iconId), RT_ICON);
        ASSERT_NE(image, nullptr) << id;
        const auto* header =
            static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(english_.get(), image)));
        // Colour and mask rows, with alpha.
        EXPECT_EQ(std::vector<LONG>({header->biWidth, header->biHeight, header->biBitCount}),
                  std::vector<LONG>({size, 2 * size, 32}))
            << id;
    }
}

// A text missing from a language would show as an empty control: only a missing library
// falls back to English. The font has both faces everywhere: the windows' bold buttons must not
// be a synthesised bold.
TEST_F(ResourceLibraryContent, EveryLanguageCarriesEveryEnglishStringAndTheFontsTwoFaces) {
    std::vector<UINT> english;
    wchar_t text[512];
    for (UINT id = 0; id <= 0xFFFF; ++id) {
        if (LoadStringW(english_.get(), id, text, 512) > 0) english.push_back(id);
    }
    ASSERT_FALSE(english.empty());
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(BuiltLanguagesFolder(), error)) {
        const std::wstring folder = entry.path().filename().wstring();
        UniqueModule language = LoadAsData(entry.path() / L"Resource.dll");
        ASSERT_TRUE(language) << folder;
        for (UINT id : english) {
            EXPECT_GT(LoadStringW(language.get(), id, text, 512), 0)
                << "string " << id << " missing in " << folder;
        }
        const HRSRC font = FindResourceW(language.get(), MAKEINTRESOURCEW(IDR_UI_FONT), RT_FONT);
        ASSERT_NE(font, nullptr) << folder;
        DWORD faces = 0;
        RemoveFontMemResourceEx(
            AddFontMemResourceEx(LockResource(LoadResource(language.get(), font)),
                                 SizeofResource(language.get(), font), nullptr, &faces));
        EXPECT_EQ(faces, 2u) << folder;
    }
}

}  // namespace
}  // namespace quorveltwain
