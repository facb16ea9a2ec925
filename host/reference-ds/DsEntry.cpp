// The data source's one export. The Data Source Manager calls it on the application's thread;
// nothing may unwind out of it, and nothing but keeping the module handle happens in DllMain.

#include <windows.h>

#include <new>

#include "ReferenceSource.h"

namespace reference {
namespace {
HMODULE g_module = nullptr;
}

HMODULE SourceModule() {
    return g_module;
}

}  // namespace reference

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) reference::g_module = instance;
    return TRUE;
}

extern "C" twain::TW_UINT16 WINAPI DS_Entry(twain::TW_IDENTITY* origin, twain::TW_UINT32 group,
                                            twain::TW_UINT16 dat, twain::TW_UINT16 message,
                                            twain::TW_MEMREF data) {
    try {
        return reference::ReferenceSource::Instance().Entry(origin, group, dat, message, data);
    } catch (const std::bad_alloc&) {
        return twain::TWRC_FAILURE;
    } catch (...) {
        return twain::TWRC_FAILURE;
    }
}
