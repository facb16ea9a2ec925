#pragma once
// Loads the resource library of the user's language into the UI context and registers the
// font it carries. Called once, from InitializeUI, on the host's thread.

namespace quorveltwain {

struct UiContext;

// Initialises COM for the calling thread, clears the context's four dialog fields, picks
// the language folder, traces "LoadResourceLibrary()", loads that folder's Resource.dll
// inside the library's activation context, and registers its font (resource 110) for this
// process. There is no fallback language: a library that does not load leaves the
// resource module null, and one without the font leaves the font handle null. The font is
// never removed, since windows of any thread may still draw with it. Returns true.
bool LoadResourceLibrary(UiContext& context) noexcept;

}  // namespace quorveltwain
