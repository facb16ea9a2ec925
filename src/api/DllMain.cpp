// The entry point only remembers the module handle: anything more would run under the
// loader lock, where creating threads, windows or COM objects can deadlock the host.

#include <windows.h>

#include "api/UiContext.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    if (reason == DLL_PROCESS_ATTACH) quorveltwain::SetLibraryModule(instance);
    return TRUE;
}
