#include "support/TraceCapture.h"

#include <windows.h>

#include <mutex>

namespace testsupport {

namespace {

constexpr DWORD kDbgPrint = 0x40010006;      // DBG_PRINTEXCEPTION_C
constexpr DWORD kDbgPrintWide = 0x4001000A;  // DBG_PRINTEXCEPTION_WIDE_C

std::mutex g_mutex;
std::vector<std::wstring> g_lines;

LONG CALLBACK OnException(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->NumberParameters < 2) return EXCEPTION_CONTINUE_SEARCH;
    const auto length = static_cast<size_t>(record->ExceptionInformation[0]);
    std::wstring text;
    if (record->ExceptionCode == kDbgPrintWide) {
        const auto* wide = reinterpret_cast<const wchar_t*>(record->ExceptionInformation[1]);
        text.assign(wide, length > 0 ? length - 1 : 0);
    } else if (record->ExceptionCode == kDbgPrint) {
        const auto* narrow = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
        const int count = length > 0 ? static_cast<int>(length - 1) : 0;
        const int wideCount = MultiByteToWideChar(CP_ACP, 0, narrow, count, nullptr, 0);
        text.resize(static_cast<size_t>(wideCount));
        MultiByteToWideChar(CP_ACP, 0, narrow, count, text.data(), wideCount);
    } else {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    // The length counts the terminating NUL; guard against senders that did not.
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_lines.push_back(std::move(text));
    }
    // Handled: on Windows this also stops the ANSI repeat of a wide message.
    return EXCEPTION_CONTINUE_EXECUTION;
}

}  // namespace

TraceCapture::TraceCapture() : handler_(AddVectoredExceptionHandler(1, OnException)) {
    Clear();
}

TraceCapture::~TraceCapture() {
    RemoveVectoredExceptionHandler(handler_);
}

std::vector<std::wstring> TraceCapture::Lines() const {
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_lines;
}

void TraceCapture::Clear() {
    std::lock_guard<std::mutex> lock(g_mutex);
    g_lines.clear();
}

}  // namespace testsupport
