// Times the scan configuration store as the profile windows use it, under the budget of
// "XMLSCN_Open and reading 11 configurations: 3 ms". Medians of repeated runs; nothing
// here asserts a time.
//
// Usage: bench_store.exe [runs]

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "support/TestFiles.h"
#include "twain_ui.h"

namespace {

constexpr std::uint32_t kConfigurations = 11;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) / ticksPerMs;
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

void Report(const char* what, std::vector<double> samples) {
    std::sort(samples.begin(), samples.end());
    const auto at = [&](double q) {
        return samples[static_cast<std::size_t>(q * (samples.size() - 1))];
    };
    std::printf("%-44s median %7.3f ms   p10 %7.3f   p90 %7.3f   (%zu runs)\n", what, at(0.5),
                at(0.1), at(0.9), samples.size());
}

// A full record, as the profile editor saves them.
ScanSettingsRecord Sample(std::uint32_t i) {
    ScanSettingsRecord r{};
    r.original_size = 1 + static_cast<std::int32_t>(i % 34);
    r.original_orientation = 1;
    r.duplex = 2;
    r.exposure_level = 16;
    r.original_image = 2;
    r.resolution = 4;
    r.color_selection = 1;
    r.prevent_bleed_through = 1;
    std::swprintf(r.config_name, SCAN_CONFIG_NAME_CHARS, L"Profile %u", i);
    std::wcscpy(r.config_detail, L"Colour, 300 dpi, both sides");
    r.sending_size = 1;
    r.contrast = 4;
    r.reverse_image = 1;
    r.has_frame_entry = 1;
    r.left = 100;
    r.top = 200;
    r.right = 2000;
    r.bottom = 2800;
    r.rotation = 1;
    r.model = 5;
    return r;
}

bool OpenAndRead(const std::wstring& path, const std::wstring& schema) {
    XMLSCN_HANDLE store = nullptr;
    if (const std::uint32_t status = XMLSCN_Open(path.c_str(), schema.c_str(), &store);
        status != XMLSCN_OK) {
        std::printf("XMLSCN_Open: %u\n", status);
        return false;
    }
    ScanSettingsRecord record;
    bool ok = XMLSCN_GetSize(store) == kConfigurations;
    for (std::uint32_t i = 0; ok && i < kConfigurations; ++i) {
        ok = XMLSCN_ReadSet(store, i, &record) == XMLSCN_OK;
    }
    XMLSCN_Close(store);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(5, std::atoi(argv[1])) : 200;
    const std::wstring folder = testsupport::BuildFolder(L"store-bench");
    const std::wstring path = folder + L"\\N_SCNLST_bench.xml";
    const std::wstring schema = testsupport::SourcePath(L"data/SCANCONFIGLIST.xsd");
    DeleteFileW(path.c_str());

    // The host's thread has COM initialised (InitializeUI does it), so the DOM's library
    // stays loaded between stores.
    CoInitialize(nullptr);

    XMLSCN_HANDLE store = nullptr;
    if (XMLSCN_Open(path.c_str(), schema.c_str(), &store) != XMLSCN_OK) {
        std::puts("cannot open the store");
        return 1;
    }
    for (std::uint32_t i = 0; i < kConfigurations; ++i) {
        ScanSettingsRecord record = Sample(i);
        XMLSCN_Add(store, &record);
    }
    if (XMLSCN_Save(store, nullptr) != XMLSCN_OK) {
        std::puts("cannot save the store");
        return 1;
    }
    XMLSCN_Close(store);

    const LARGE_INTEGER coldStart = Now();
    if (!OpenAndRead(path, schema)) return 1;
    std::printf("%-44s %7.3f ms (first in process)\n", "open + 11 reads + close, first",
                Milliseconds(coldStart, Now()));

    for (int i = 0; i < 10; ++i) OpenAndRead(path, schema);

    std::vector<double> openRead, close;
    for (int run = 0; run < runs; ++run) {
        const LARGE_INTEGER start = Now();
        XMLSCN_HANDLE timed = nullptr;
        if (XMLSCN_Open(path.c_str(), schema.c_str(), &timed) != XMLSCN_OK) return 1;
        ScanSettingsRecord record;
        for (std::uint32_t i = 0; i < kConfigurations; ++i) XMLSCN_ReadSet(timed, i, &record);
        const LARGE_INTEGER read = Now();
        XMLSCN_Close(timed);
        const LARGE_INTEGER closed = Now();
        openRead.push_back(Milliseconds(start, read));
        close.push_back(Milliseconds(read, closed));
    }
    Report("XMLSCN_Open + 11 x XMLSCN_ReadSet", openRead);
    Report("XMLSCN_Close", close);

    std::vector<double> addSave;
    if (XMLSCN_Open(path.c_str(), schema.c_str(), &store) != XMLSCN_OK) return 1;
    for (int run = 0; run < runs; ++run) {
        ScanSettingsRecord record = Sample(99);
        const LARGE_INTEGER start = Now();
        XMLSCN_Add(store, &record);
        const std::uint32_t saved = XMLSCN_Save(store, nullptr);
        addSave.push_back(Milliseconds(start, Now()));
        if (saved != XMLSCN_OK) return 1;
        XMLSCN_Delete(store, kConfigurations);  // back to 11, untimed
    }
    XMLSCN_Save(store, nullptr);  // the file holds 11 again
    XMLSCN_Close(store);
    Report("XMLSCN_Add + XMLSCN_Save (12 configurations)", addSave);

    CoUninitialize();

    // Without a host apartment each store enters and leaves COM itself.
    std::vector<double> bare;
    for (int run = 0; run < std::min(runs, 50); ++run) {
        const LARGE_INTEGER start = Now();
        if (!OpenAndRead(path, schema)) return 1;
        bare.push_back(Milliseconds(start, Now()));
    }
    Report("open + 11 reads + close, no host apartment", bare);
    return 0;
}
