// Times XMLSCNLST_Read against the length of one setting's value list: device lists of 100
// to 20,000 values, each value refused by one resolution. Prints the median of repeated
// runs per length as a table; nothing here asserts a time.
//
// Usage: bench_devlist.exe [runs]

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/TestFiles.h"
#include "twain_ui.h"

namespace {

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

std::string DeviceList(int values) {
    static const char* const kSizes[] = {"A3", "A4", "A5", "B4", "B5", "LETTER", "LEGAL"};
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<device_list>\n<model>Bench";
    xml += "</model>\n<original_size>\n";
    for (int i = 0; i < values; ++i) {
        xml += std::string("<value name=\"") + kSizes[i % 7] +
               "\"><restrict_resolution>RESOLUTION_600X600</restrict_resolution></value>\n";
    }
    return xml + "</original_size>\n</device_list>\n";
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 11;
    const std::wstring path = testsupport::BuildFolder(L"devlist-bench") + L"\\list.xml";
    const std::wstring schema = testsupport::SourcePath(L"data/DEVICELIST.xsd");
    // The host's thread has COM initialised, so the DOM's library stays loaded.
    CoInitialize(nullptr);

    std::printf("%8s  %12s  %12s  %12s  %5s\n", "values", "median ms", "min ms", "us/value",
                "runs");
    for (int values : {100, 500, 1000, 2000, 5000, 10000, 20000}) {
        if (!testsupport::WriteBytes(path, DeviceList(values))) return 1;
        XMLSCN_HANDLE handle = nullptr;
        if (XMLSCNLST_Open(path.c_str(), schema.c_str(), &handle) != XMLSCN_OK) {
            std::printf("cannot open the list of %d values\n", values);
            return 1;
        }
        std::vector<double> samples;
        double spent = 0.0;
        // A slow reading is repeated less, but at least three times.
        for (int run = 0; run < runs && (run < 3 || spent < 10'000.0); ++run) {
            DevListRecord* record = nullptr;
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            const std::uint32_t status = XMLSCNLST_Read(handle, &record);
            QueryPerformanceCounter(&end);
            if (status != XMLSCN_OK || record->values[0].count != std::uint32_t(values)) return 1;
            samples.push_back(Milliseconds(start, end));
            spent += samples.back();
        }
        XMLSCN_Close(handle);
        std::sort(samples.begin(), samples.end());
        const double median = samples[samples.size() / 2];
        std::printf("%8d  %12.3f  %12.3f  %12.3f  %5zu\n", values, median, samples.front(),
                    1000.0 * median / values, samples.size());
        std::fflush(stdout);
    }
    CoUninitialize();
    return 0;
}
