// Mutation fuzzing of both file readers: the sample device lists and stores the library
// wrote, mutated by a seeded generator. TWAINUI_FUZZ_CASES sets the number of cases (2,000
// by default), TWAINUI_FUZZ_SEED the sequence; the last input stays in build/fuzz/.

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

#include "support/TestFiles.h"
#include "twain_ui.h"
#include "xml/ConfigFileHandler.h"

using namespace testsupport;

namespace {

std::mt19937_64 engine;
std::size_t Below(std::size_t n) {
    return n == 0 ? 0 : engine() % n;
}

// Once a minute the case number must have moved on: a case that hangs ends the program.
std::atomic<long> currentCase{0};
void CALLBACK Watch(void*, BOOLEAN) {
    static long seen = -1;
    if (std::exchange(seen, currentCase.load()) != currentCase) return;
    std::fprintf(stderr, "fuzz case %ld does not end\n", seen);
    std::_Exit(3);
}

// One piece, or up to 3,000: numbers of every kind, characters of one to four bytes,
// references to characters XML allows and does not.
std::string Payload() {
    static const char* const kPieces[] = {"1e999",      "-1e999",       "NaN",
                                          "INF",        "-0",           "4.9e-324",
                                          "2147483648", "1,5",          " ",
                                          "a",          "&amp;",        "99999999999999999999999",
                                          "\xC3\xA4",   "\xE4\xB8\xAD", "\xF0\x9F\x98\x80",
                                          "&#x1F600;",  "&#xFFFF;"};
    std::string text;
    for (std::size_t n = Below(2) ? 1 : Below(3000); n > 0; --n) text += kPieces[Below(17)];
    return text;
}

// The start of the first element at or after `from`, and its name.
std::size_t ElementAt(const std::string& xml, std::size_t from, std::string& name) {
    std::size_t at = xml.find('<', from);
    while (at != xml.npos && !std::isalpha(xml[at + 1] & 0x7F)) at = xml.find('<', at + 1);
    if (at != xml.npos) name = xml.substr(at + 1, xml.find_first_of(" />", at) - at - 1);
    return at;
}

void Mutate(std::string& xml, const std::vector<std::string>& doctypes) {
    // A random element [begin, end) with its content [content, close); empty without one.
    std::string name;
    std::size_t begin = ElementAt(xml, Below(xml.size()), name);
    const std::size_t tag = begin == xml.npos ? begin : xml.find('>', begin);
    std::size_t content = tag == xml.npos ? 0 : tag + 1, close = content, end = content;
    if (tag != xml.npos && xml[tag - 1] != '/' &&
        (close = xml.find("</" + name + ">", tag)) != xml.npos)
        end = close + name.size() + 3;
    if (end == content) close = content;
    if (end == 0) begin = 0;
    const std::size_t quote = xml.find("=\"", Below(xml.size()));  // in an attribute's value
                                                                   // clang-format off
    switch (Below(7)) {
        case 0: xml[Below(xml.size())] ^= static_cast<char>(1 << Below(8)); break;
        case 1: xml.resize(Below(xml.size())); break;
        case 2: xml.insert(end, xml.substr(begin, end - begin)); break;
        case 3: xml.erase(begin, end - begin); break;
        case 4: xml.replace(content, close - content, Payload()); break;
        case 5: xml.insert(quote == xml.npos ? content : quote + 2, Payload()); break;
        // clang-format on
        default:  // a DTD for the root after the declaration, and a text naming its entity
            xml.replace(content, close - content, Below(2) ? "&leak;" : "&k;");
            const std::size_t declared = xml.rfind("<?xml", 0) == 0 ? xml.find("?>") : xml.npos;
            ElementAt(xml, 0, name);
            xml.insert(declared == xml.npos ? 0 : declared + 2,
                       "<!DOCTYPE " + name + " " + doctypes[Below(doctypes.size())]);
    }
}

// A text field ends within its capacity, splits no character, holds nothing from outside.
void CheckText(const wchar_t* field, std::size_t capacity) {
    const std::size_t length = wcsnlen(field, capacity);
    ASSERT_LT(length, capacity);
    for (std::size_t i = 0; i < length; i += IS_SURROGATE_PAIR(field[i], field[i + 1]) ? 2 : 1)
        ASSERT_TRUE(IS_SURROGATE_PAIR(field[i], field[i + 1]) || (field[i] & 0xF800) != 0xD800);
    EXPECT_EQ(std::wstring_view(field, length).find(L"SECRET"), std::wstring_view::npos);
}

TEST(Fuzz, MutatedDeviceListsAndStoresNeitherCrashNorHangNorLoseData) {
    const char* cases = std::getenv("TWAINUI_FUZZ_CASES");
    const char* seed = std::getenv("TWAINUI_FUZZ_SEED");
    engine.seed(seed != nullptr ? std::strtoull(seed, nullptr, 10) : 1);
    const std::wstring folder = BuildFolder(L"fuzz"), list = folder + L"\\list.xml";
    const std::wstring store = folder + L"\\store.xml",
                       schema = SourcePath(L"data\\SCANCONFIGLIST.xsd");
    const std::wstring listSchemas[] = {SourcePath(L"data\\DEVICELIST.xsd"),
                                        SourcePath(L"tests\\data\\devlist-any.xsd")};
    std::string url = "file:///";
    for (wchar_t c : folder) url += c == L'\\' ? '/' : static_cast<char>(c);
    std::vector<std::string> doctypes = {"SYSTEM \"" + url + "/secret.dtd\">",
                                         "[<!ENTITY leak SYSTEM \"" + url + "/secret.txt\">]>",
                                         "[<!ENTITY a \"aaaaaaaaaa\">"};
    for (char c = 'b'; c <= 'k'; ++c) {  // ten levels of ten references: 10^11 letters
        doctypes.back() += std::string("<!ENTITY ") + c + " \"";
        for (int i = 0; i < 10; ++i) doctypes.back() += std::string("&") + char(c - 1) + ";";
        doctypes.back() += c == 'k' ? "\">]>" : "\">";
    }
    // What a host may hand over: any bytes, so codes of every value, texts without a
    // terminator or with halves of characters; coordinates of every kind.
    const auto hostRecord = [] {
        ScanSettingsRecord record;
        for (auto& byte : reinterpret_cast<unsigned char(&)[sizeof record]>(record))
            byte = Below(256);
        record.has_frame_entry = static_cast<std::int32_t>(Below(2));
        record.top = Below(2) ? NAN : -INFINITY;
        return record;
    };
    std::vector<std::string> seeds;
    for (const wchar_t* name : {L"mf7240-a3", L"mf3120-a4", L"sc100-minimal"})
        seeds.push_back(ReadBytes(SourcePath(std::wstring(L"data\\devices\\") + name + L".xml")));
    XMLSCN_HANDLE handle = nullptr;
    const std::wstring written = NextStoreFile();
    ASSERT_EQ(XMLSCN_Open(written.c_str(), schema.c_str(), &handle), XMLSCN_OK);
    for (ScanSettingsRecord record : {hostRecord(), hostRecord(), hostRecord()})
        EXPECT_EQ(XMLSCN_Add(handle, &record), XMLSCN_OK);
    ASSERT_EQ(XMLSCN_Save(handle, nullptr), XMLSCN_OK);
    XMLSCN_Close(handle);
    seeds.push_back(ReadBytes(written));
    // Declares every element of both files: a document that used it would validate.
    std::string name, dtd =
                          "<!ENTITY leak 'SECRET'><!ATTLIST value name CDATA #IMPLIED default "
                          "CDATA #IMPLIED><!ATTLIST param xml:space (default|preserve) #IMPLIED>";
    for (const std::string& xml : seeds) {
        for (std::size_t at = 0; (at = ElementAt(xml, at, name)) != xml.npos; ++at)
            if (dtd.find(" " + name + " ANY") == dtd.npos) dtd += "<!ELEMENT " + name + " ANY>";
    }
    ASSERT_TRUE(WriteBytes(folder + L"\\secret.dtd", dtd) &&
                WriteBytes(folder + L"\\secret.txt", "SECRET"));

    HANDLE timer = nullptr;
    CreateTimerQueueTimer(&timer, nullptr, Watch, nullptr, 60000, 60000, 0);
    const std::unique_ptr<void, BOOL (*)(HANDLE)> watchdog(
        timer, [](HANDLE t) { return DeleteTimerQueueTimer(nullptr, t, INVALID_HANDLE_VALUE); });
    for (long n = 0, count = cases ? std::atol(cases) : 2000; n < count; currentCase = ++n) {
        SCOPED_TRACE("fuzz case " + std::to_string(n));
        std::string bytes = seeds[n % 2 ? 3 : Below(3)];
        for (std::size_t i = 1 + Below(3); i > 0 && !bytes.empty(); --i) Mutate(bytes, doctypes);
        const bool hasDtd = bytes.find("<!DOCTYPE") != std::string::npos;
        ASSERT_TRUE(WriteBytes(n % 2 ? store : list, bytes));
        DevListRecord* record = nullptr;
        if (n % 2 == 0 &&
            XMLSCNLST_Open(list.c_str(), listSchemas[n % 4 / 2].c_str(), &handle) == 0) {
            ASSERT_FALSE(hasDtd) << "a document with a DTD was opened";
            if (XMLSCNLST_Read(handle, &record) == XMLSCN_OK)
                CheckText(record->model_name, DEVLIST_MODEL_NAME_CHARS);
            XMLSCN_Close(handle);
        }
        if (n % 2 == 0) continue;
        quorveltwain::ConfigFileHandler check;
        const bool valid = check.CreateDocument() && check.Load(store, schema);
        ASSERT_FALSE(valid && hasDtd) << "a document with a DTD was loaded";
        if (XMLSCN_Open(store.c_str(), schema.c_str(), &handle) == XMLSCN_OK) {
            for (std::uint32_t i = 0, size = XMLSCN_GetSize(handle); i <= size; ++i) {
                ScanSettingsRecord guarded[3];  // the middle one is read, the others guard it
                std::memset(guarded, 0x5A, sizeof guarded);
                ASSERT_EQ(XMLSCN_ReadSet(handle, i, &guarded[1]), i < size ? 0u : 3u);
                const std::string raw(reinterpret_cast<char*>(guarded), sizeof guarded);
                ASSERT_EQ(raw.substr(0, sizeof *guarded) + raw.substr(2 * sizeof *guarded),
                          std::string(2 * sizeof *guarded, 0x5A));
                if (i == size) break;
                CheckText(guarded[1].config_name, SCAN_CONFIG_NAME_CHARS);
                CheckText(guarded[1].config_detail, SCAN_CONFIG_DETAIL_CHARS);
                CheckText(guarded[1].config_id, SCAN_CONFIG_ID_CHARS);
            }
            if (n % 16 == 1) {  // saved elsewhere, for the independent validator
                ScanSettingsRecord added = hostRecord();
                EXPECT_EQ(XMLSCN_Add(handle, &added), XMLSCN_OK);
                EXPECT_EQ(XMLSCN_Save(handle, NextStoreFile().c_str()), XMLSCN_OK);
            }
            XMLSCN_Close(handle);
        }
        ASSERT_TRUE(!valid || ReadBytes(store) == bytes) << "a valid store was replaced";
        DeleteFiles(folder, L"*.bak");
    }
}

}  // namespace
