#include "platform/Trace.h"

#include <windows.h>
#include <strsafe.h>

#include <cstdarg>
#include <memory>
#include <new>

namespace quorveltwain {

void Trace(const wchar_t* format, ...) noexcept {
    if (format == nullptr) return;
    // The message buffer is allocated per line; without it the line is dropped rather than
    // risking the host's stack on a large local.
    std::unique_ptr<wchar_t[]> message(new (std::nothrow) wchar_t[kTraceMessageChars]);
    if (!message) return;
    message[0] = L'\0';

    va_list args;
    va_start(args, format);
    // StringCchVPrintfW formats with the CRT's wide conventions (%s is a wide string) and
    // leaves a cut, terminated text when the message does not fit; a cut after the first half
    // of a character takes that half too.
    if (StringCchVPrintfW(message.get(), kTraceMessageChars, format, args) ==
            STRSAFE_E_INSUFFICIENT_BUFFER &&
        IS_HIGH_SURROGATE(message[kTraceMessageChars - 2])) {
        message[kTraceMessageChars - 2] = L'\0';
    }
    va_end(args);

    wchar_t line[kTraceLineChars];
    StringCchCopyW(line, kTraceLineChars, kTracePrefix);
    StringCchCatW(line, kTraceLineChars, message.get());
    StringCchCatW(line, kTraceLineChars, L"\n");
    OutputDebugStringW(line);
}

}  // namespace quorveltwain
