#pragma once
// Captures this process's debugger output, so tests can assert the exact trace lines.
// Wine 8 raises DBG_PRINTEXCEPTION_C with ANSI text for OutputDebugStringW; Windows 10 and
// later raise DBG_PRINTEXCEPTION_WIDE_C first. Both are accepted.

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

class TraceCapture {
  public:
    TraceCapture() : handler_(AddVectoredExceptionHandler(1, OnException)) { Clear(); }
    ~TraceCapture() { RemoveVectoredExceptionHandler(handler_); }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;

    // Every text passed to OutputDebugString since construction or the last Clear().
    std::vector<std::wstring> Lines() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return lines_;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.clear();
    }

  private:
    static LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
        const EXCEPTION_RECORD& record = *info->ExceptionRecord;
        const bool wide = record.ExceptionCode == 0x4001000A;    // DBG_PRINTEXCEPTION_WIDE_C
        const bool narrow = record.ExceptionCode == 0x40010006;  // DBG_PRINTEXCEPTION_C
        if (!(wide || narrow) || record.NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
        const auto length = static_cast<int>(record.ExceptionInformation[0]);
        const auto address = record.ExceptionInformation[1];
        std::wstring text;
        if (wide) {
            text.assign(reinterpret_cast<const wchar_t*>(address), length);
        } else {
            const auto* ansi = reinterpret_cast<const char*>(address);
            text.resize(MultiByteToWideChar(CP_ACP, 0, ansi, length, nullptr, 0));
            MultiByteToWideChar(CP_ACP, 0, ansi, length, text.data(), int(text.size()));
        }
        // The length counts the terminating NUL; senders that did not are accepted too.
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        std::lock_guard<std::mutex> lock(mutex_);
        lines_.push_back(std::move(text));
        // Handled: on Windows this also stops the ANSI repeat of a wide message.
        return EXCEPTION_CONTINUE_EXECUTION;
    }

    static inline std::mutex mutex_;
    static inline std::vector<std::wstring> lines_;
    void* handler_;
};

}  // namespace testsupport
