#pragma once
// TWAIN_UI.dll loaded as a host loads it, for tests that reach it only through its exports.

#include <windows.h>

namespace testsupport {

class LoadedLibrary {
  public:
    LoadedLibrary() : module_(::LoadLibraryW(L"TWAIN_UI.dll")) {}
    ~LoadedLibrary() {
        if (module_ != nullptr) ::FreeLibrary(module_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    HMODULE get() const { return module_; }

    // The export `name` as a pointer to the declared function type, or null.
    template <typename Function>
    Function* Get(const char* name) const {
        return reinterpret_cast<Function*>(
            reinterpret_cast<void*>(::GetProcAddress(module_, name)));
    }

  private:
    HMODULE module_;
};

}  // namespace testsupport
