#pragma once
// Loads the resource library of the user's language into the UI context and registers the
// font it carries. Called once, from InitializeUI, on the host's thread.

#include <windows.h>

namespace quorveltwain {

struct UiContext;

// Initialises COM for the calling thread, clears the context's four dialog fields, picks
// the language folder, traces "LoadResourceLibrary()", loads that folder's Resource.dll
// inside the library's activation context, and registers its font (resource 110) for this
// process. A language whose library does not load falls back to English (with a trace
// line); when English does not load either the resource module stays null. A library
// without the font leaves the font handle null. The font is
// never removed, since windows of any thread may still draw with it. Returns true.
bool LoadResourceLibrary(UiContext& context) noexcept;

// The resource library of a language folder, or English's (traced) when that one does not
// load; null when neither loads.
HMODULE LoadLanguageLibraryOrEnglish(const wchar_t* folder) noexcept;

}  // namespace quorveltwain
