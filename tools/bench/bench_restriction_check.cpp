// Time of one restriction check on the full A3 sample model, through the same code the
// exports run. Prints the median of repeated runs in nanoseconds per check.
//   bench_restriction_check.exe <device list> <schema>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <vector>

#include "twain_ui.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fwprintf(stderr, L"usage: bench_restriction_check <device list> <schema>\n");
        return 2;
    }
    XMLSCN_HANDLE handle = nullptr;
    DevListRecord* device = nullptr;
    if (XMLSCNLST_Open(argv[1], argv[2], &handle) != 0 || XMLSCNLST_Read(handle, &device) != 0) {
        std::fwprintf(stderr, L"cannot read %ls\n", argv[1]);
        return 1;
    }
    XMLSCN_Close(handle);

    using Check = std::uint32_t (*)(std::uint32_t, const DevListRecord*, const ScanSettingsRecord*);
    const Check checks[] = {
        XML_ValidateOriginalSizeRestriction,  XML_ValidateOriginalOrientationRestriction,
        XML_ValidateImageQualityRestriction,  XML_ValidateResolutionRestriction,
        XML_ValidateExposureLevelRestriction, XML_ValidateDuplexModeRestriction,
        XML_ValidateColorModeRestriction,     XML_ValidatePreventBleedThroughRestriction,
        XML_ValidateSendingSizeRestriction,   XML_ValidateContrastRestriction,
    };
    ScanSettingsRecord settings{};
    settings.original_size = 3;
    settings.resolution = 6;
    settings.color_selection = 4;
    settings.original_image = 2;

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    constexpr int kCalls = 2'000'000;
    std::vector<double> runs;
    volatile std::uint32_t sink = 0;
    for (int run = 0; run < 15; ++run) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        for (int i = 0; i < kCalls; ++i) {
            // Values across each list, restricted ones included (codes 1..16).
            sink = sink + checks[i % 10](static_cast<std::uint32_t>(1 + i % 16), device, &settings);
        }
        QueryPerformanceCounter(&end);
        runs.push_back(1e9 * static_cast<double>(end.QuadPart - start.QuadPart) /
                       static_cast<double>(frequency.QuadPart) / kCalls);
    }
    std::sort(runs.begin(), runs.end());
    std::wprintf(L"restriction check: median %.1f ns, min %.1f ns (%d calls x %zu runs)\n",
                 runs[runs.size() / 2], runs.front(), kCalls, runs.size());
    return 0;
}
