#include "api/ResourceLibrary.h"

#include <windows.h>
#include <objbase.h>

#include "ResourceIds.h"
#include "platform/ActivationContext.h"
#include "api/LanguageFolder.h"
#include "platform/Trace.h"
#include "api/UiContext.h"
#include "config/DriverPaths.h"

namespace quorveltwain {

namespace {

// The registered font stays for the life of the process: the handle is kept in the
// context and never passed to RemoveFontMemResourceEx.
HANDLE RegisterFont(HMODULE resourceModule) noexcept {
    HRSRC found = FindResourceW(resourceModule, MAKEINTRESOURCEW(IDR_UI_FONT), RT_FONT);
    if (found == nullptr) return nullptr;
    HGLOBAL loaded = LoadResource(resourceModule, found);
    void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(resourceModule, found);
    if (data == nullptr || size == 0) return nullptr;
    DWORD installed = 0;
    return AddFontMemResourceEx(data, size, nullptr, &installed);
}

constexpr wchar_t kFallbackFolder[] = L"en";

HMODULE LoadLanguageLibrary(const wchar_t* folder) noexcept {
    wchar_t path[kPathChars];
    BuildResourceLibraryPath(folder, path);
    return ActivationContext::ForLibrary().Run([&path] { return LoadLibraryW(path); });
}

}  // namespace

HMODULE LoadLanguageLibraryOrEnglish(const wchar_t* folder) noexcept {
    HMODULE module = LoadLanguageLibrary(folder);
    // A partial install (one language removed or never copied) must not leave the user
    // without windows: English is always shipped, so it stands in.
    if (module == nullptr && lstrcmpW(folder, kFallbackFolder) != 0) {
        const DWORD error = GetLastError();
        module = LoadLanguageLibrary(kFallbackFolder);
        Trace(L"LoadResourceLibrary() : %s\\Resource.dll not loaded (error %lu), using %s", folder,
              error, kFallbackFolder);
    }
    return module;
}

bool LoadResourceLibrary(UiContext& context) noexcept {
    // The host's thread keeps COM for the life of the library, so this is not undone;
    // a thread already in another apartment still works with what it has.
    const HRESULT comResult = CoInitialize(nullptr);
    static_cast<void>(comResult);

    context.mainDialog = nullptr;
    context.progressDialog = nullptr;
    context.previewDialog = nullptr;
    context.messageDialog = nullptr;

    const wchar_t* folder = UserLanguageFolder();
    Trace(L"LoadResourceLibrary()");

    context.resourceModule = LoadLanguageLibraryOrEnglish(folder);
    context.fontHandle =
        context.resourceModule != nullptr ? RegisterFont(context.resourceModule) : nullptr;
    return true;
}

}  // namespace quorveltwain
