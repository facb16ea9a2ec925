#pragma once
// Captures this process's debugger output, so tests can assert the exact trace lines.
// Wine 8 raises DBG_PRINTEXCEPTION_C with ANSI text for OutputDebugStringW; Windows 10 and
// later raise DBG_PRINTEXCEPTION_WIDE_C first. Both are accepted.

#include <string>
#include <vector>

namespace testsupport {

class TraceCapture {
  public:
    TraceCapture();
    ~TraceCapture();
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    // Every text passed to OutputDebugString since construction or the last Clear().
    std::vector<std::wstring> Lines() const;
    void Clear();

  private:
    void* handler_;
};

}  // namespace testsupport
