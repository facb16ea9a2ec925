#pragma once
// The library's own module handle, as the entry point received it. Every subsystem that
// needs the library's own resources (its manifest) asks here.

#include <windows.h>

namespace quorveltwain {

// Null in programs that link the code directly instead of loading the DLL.
HMODULE LibraryModule() noexcept;
void SetLibraryModule(HMODULE module) noexcept;

}  // namespace quorveltwain
