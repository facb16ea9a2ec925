#pragma once
// The trace log: one line per call on the debugger output, with the library's prefix.
// There are no levels and no log file; a debugger or DebugView shows the lines.

namespace quorveltwain {

// printf-style wide formatting with the platform's conventions (%s takes a wide string).
// A message longer than the 512-character message buffer is cut, never written past it.
void Trace(const wchar_t* format, ...) noexcept;

inline constexpr wchar_t kTracePrefix[] = L"[VRX RERAR UR] ";
inline constexpr int kTraceMessageChars = 512;
inline constexpr int kTraceLineChars = 1024;

}  // namespace quorveltwain
