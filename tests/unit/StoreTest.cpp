// The scan configuration store on real files under Wine: its exports, the file it writes
// and reads, the document layer beneath, and files that go wrong (folders near and above
// MAX_PATH, a schema that cannot be used, temporary files of saves that died, damaged
// files, memory running out). The files it writes to store-files/ are checked again by
// xmllint (store_files_validate).

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <new>
#include <regex>
#include <string>
#include <vector>

#include "platform/LiveObjects.h"
#include "platform/Variant.h"
#include "support/TestFiles.h"
#include "support/TraceCapture.h"
#include "twain_ui.h"
#include "xml/ConfigFileHandler.h"
#include "xml/TemporaryFile.h"

using namespace quorveltwain;
using namespace testsupport;
using namespace std::chrono_literals;
// Records are made with designated initializers: the fields they leave out are zero.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

// Memory runs out on demand: the n-th allocation of this thread after arming fails, once.
// The memory comes from malloc, which the standard library's own delete frees.
thread_local long allocationsBeforeFailure = 0;
void* operator new(std::size_t size) {
    if (allocationsBeforeFailure > 0 && --allocationsBeforeFailure == 0) throw std::bad_alloc();
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}

namespace {

constexpr std::uint32_t kOk = XMLSCN_OK;
constexpr std::uint32_t kBad = XMLSCN_BAD_ARGUMENT;
constexpr double kInf = std::numeric_limits<double>::infinity();
const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<param xml:space=\"preserve\"";
const std::string kSkeleton = kHead + "/>\n";

const std::wstring& Schema() {
    static const std::wstring schema = SourcePath(L"data/SCANCONFIGLIST.xsd");
    return schema;
}

ScanSettingsRecord Named(const wchar_t* name) {
    ScanSettingsRecord record{};
    std::wcsncpy(record.config_name, name, SCAN_CONFIG_NAME_CHARS - 1);
    return record;
}

std::vector<double> Corners(const ScanSettingsRecord& record) {
    return {record.left, record.top, record.right, record.bottom};
}

// An open store, closed when the test leaves.
struct OpenStore {
    XMLSCN_HANDLE handle = nullptr;
    explicit OpenStore(const std::wstring& path) {
        EXPECT_EQ(XMLSCN_Open(path.c_str(), Schema().c_str(), &handle), kOk) << path;
    }
    ~OpenStore() { XMLSCN_Close(handle); }
    // Poisoned first, so a read that reports success without copying shows.
    ScanSettingsRecord Read(std::size_t index) {
        ScanSettingsRecord record;
        std::memset(&record, 0xAB, sizeof record);
        EXPECT_EQ(XMLSCN_ReadSet(handle, std::uint32_t(index), &record), kOk);
        return record;
    }
    void Add(ScanSettingsRecord record) { EXPECT_EQ(XMLSCN_Add(handle, &record), kOk); }
};

// What the store at `path` holds as it opens.
std::vector<ScanSettingsRecord> Opened(const std::wstring& path) {
    OpenStore store(path);
    std::vector<ScanSettingsRecord> records;
    while (records.size() < XMLSCN_GetSize(store.handle))
        records.push_back(store.Read(records.size()));
    return records;
}

std::wstring Names(const std::vector<ScanSettingsRecord>& records) {
    std::wstring names;
    for (const ScanSettingsRecord& record : records)
        names += record.config_name + std::wstring(L";");
    return names;
}

// Opens the store at `path`, adds the records and saves: the first status that is not 0.
std::uint32_t WriteStore(const std::wstring& path, std::vector<ScanSettingsRecord> records) {
    XMLSCN_HANDLE handle = nullptr;
    std::uint32_t status = XMLSCN_Open(path.c_str(), Schema().c_str(), &handle);
    for (ScanSettingsRecord& record : records) {
        if (status == kOk) status = XMLSCN_Add(handle, &record);
    }
    if (status == kOk) status = XMLSCN_Save(handle, nullptr);
    XMLSCN_Close(handle);
    return status;
}

// The handler with content loaded without a schema, so the reader's own rules show on
// files that the schema would refuse.
class Probe : public ConfigFileHandler {
  public:
    Probe() { EXPECT_TRUE(CreateDocument()); }
    bool Load(std::wstring_view content) {
        if (!LoadText(L"<param xml:space=\"preserve\">" + std::wstring(content) + L"</param>"))
            return false;
        TakeRootElement();
        return ReadConfigs();
    }
    // The file that the document rebuilt from the list saves.
    std::string Written() {
        const std::wstring path = NextStoreFile();
        return WriteConfigs() && Save(path) ? ReadBytes(path) : "(not written)";
    }
    void SetConfigs(std::vector<ScanSettingsRecord> records) { configs = std::move(records); }
};

// Every test leaves the COM references as it found them.
class Store : public ::testing::Test {
  protected:
    const long comAtStart = LiveObjects::Count(LiveKind::ComReference);
    void TearDown() override { EXPECT_EQ(LiveObjects::Count(LiveKind::ComReference), comAtStart); }
};

TEST_F(Store, BadArgumentsIndicesAndHandlesTouchNothing) {
    const std::wstring path = NextStoreFile();
    XMLSCN_HANDLE closed = reinterpret_cast<XMLSCN_HANDLE>(0x1234);
    EXPECT_EQ(std::vector({XMLSCN_Open(nullptr, Schema().c_str(), &closed),
                           XMLSCN_Open(path.c_str(), nullptr, &closed),
                           XMLSCN_Open(path.c_str(), Schema().c_str(), nullptr)}),
              std::vector(3, kBad));
    EXPECT_EQ(closed, reinterpret_cast<XMLSCN_HANDLE>(0x1234));
    EXPECT_FALSE(FileExists(path));
    OpenStore store(path);
    ScanSettingsRecord record = Named(L"untouched");
    const ScanSettingsRecord before = record;
    EXPECT_EQ(XMLSCN_UpdateSet(store.handle, -1, &record), kBad);  // an empty list has no first

    // A handle that is null, a device list's, closed, or no handler at all: zeros, an
    // unmapped page, a misaligned address.
    XMLSCN_HANDLE devices = nullptr;
    ASSERT_EQ(XMLSCNLST_Open(SourcePath(L"data/devices/sc100-minimal.xml").c_str(),
                             SourcePath(L"data/DEVICELIST.xsd").c_str(), &devices),
              kOk);
    ASSERT_EQ(XMLSCN_Open(path.c_str(), Schema().c_str(), &closed), kOk);
    ASSERT_EQ(XMLSCN_Close(closed), kOk);  // its memory stays unused by any other handler
    DevListRecord* const unset = reinterpret_cast<DevListRecord*>(0x10);
    DevListRecord* device = unset;
    alignas(16) unsigned char zeros[512] = {};
    void* reserved = VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS);
    void* misaligned = static_cast<char*>(store.handle) + 1;
    const std::wstring elsewhere = NextStoreFile();
    for (XMLSCN_HANDLE handle :
         {XMLSCN_HANDLE(nullptr), devices, closed, XMLSCN_HANDLE(zeros), reserved, misaligned}) {
        EXPECT_EQ(std::vector({XMLSCN_GetSize(handle), XMLSCN_ReadSet(handle, 0, &record),
                               XMLSCN_UpdateSet(handle, 0, &record), XMLSCN_Add(handle, &record),
                               XMLSCN_Delete(handle, 0), XMLSCN_Save(handle, elsewhere.c_str())}),
                  std::vector(6, kBad));
        if (handle == devices) continue;
        EXPECT_EQ(std::vector({XMLSCNLST_Read(handle, &device), XMLSCN_Close(handle)}),
                  std::vector(2, kBad));
    }
    VirtualFree(reserved, 0, MEM_RELEASE);
    EXPECT_EQ(XMLSCNLST_Read(store.handle, &device), kBad);
    EXPECT_EQ(device, unset);
    EXPECT_FALSE(FileExists(elsewhere));
    // Each works as what it is, and the one close takes either kind.
    ASSERT_EQ(XMLSCNLST_Read(devices, &device), kOk);
    EXPECT_STREQ(device->model_name, L"Quorvel SC-100");
    EXPECT_EQ(XMLSCN_Close(devices), kOk);

    // No record, an index past the end, -1 taken as unsigned: refused, the record untouched.
    store.Add(Named(L"first"));
    ScanSettingsRecord second = Named(L"second");
    ASSERT_EQ(XMLSCN_Add(store.handle, &second), kOk);
    const XMLSCN_HANDLE h = store.handle;
    EXPECT_EQ(std::vector({XMLSCN_ReadSet(h, 0, nullptr), XMLSCN_UpdateSet(h, 0, nullptr),
                           XMLSCN_Add(h, nullptr), XMLSCN_ReadSet(h, 2, &record),
                           XMLSCN_ReadSet(h, 0xFFFFFFFFu, &record), XMLSCN_UpdateSet(h, 2, &record),
                           XMLSCN_Delete(h, 2), XMLSCN_Delete(h, 0xFFFFFFFFu)}),
              std::vector(8, kBad));
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    // As a signed index any negative one is the first; the record replaces it whole.
    ScanSettingsRecord replacement = Named(L"replaced");
    ASSERT_EQ(XMLSCN_UpdateSet(h, INT32_MIN, &replacement), kOk);
    ASSERT_EQ(XMLSCN_GetSize(h), 2u);
    EXPECT_STREQ(store.Read(0).config_name, L"replaced");
    EXPECT_STREQ(store.Read(0).config_id, L"");
    EXPECT_STREQ(store.Read(1).config_id, second.config_id);
    // Add gives every configuration a new identifier, clearing what the caller had.
    std::wcscpy(second.config_id, L"the caller's own identifier, replaced");
    ASSERT_EQ(XMLSCN_Add(h, &second), kOk);
    const std::wregex uuid(L"[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}");
    EXPECT_TRUE(std::regex_match(std::wstring(second.config_id), uuid)) << second.config_id;
    EXPECT_STRNE(second.config_id, store.Read(1).config_id);
    EXPECT_STREQ(second.config_id, store.Read(2).config_id);
    for (std::size_t i = 36; i < SCAN_CONFIG_ID_CHARS; ++i) EXPECT_EQ(second.config_id[i], 0);
}

TEST_F(Store, EveryStoredFieldSurvivesSaveAndReopenAsAFileCanHoldIt) {
    // Every field set, the texts with markup, spaces and a character of two halves.
    ScanSettingsRecord all{7,  34, 4, 5, 30,  6, 8,      6,    1, L"", L"  spaces kept  ",     L"",
                           21, 1,  2, 1, -40, 0, 123456, 7.25, 4, 14,  L"stays in memory only"};
    std::wcscpy(all.config_name, L"R\u00e9sum\u00e9 \u65e5\u672c & <more> \U0001D11E");
    // A host's texts without their NUL, and characters no XML file can hold: written cut
    // and cleaned, so the next open does not refuse the whole file.
    ScanSettingsRecord unterminated{};
    std::wmemset(unterminated.config_name, L'x', SCAN_CONFIG_NAME_CHARS);
    std::wmemset(unterminated.config_detail, L'y', SCAN_CONFIG_DETAIL_CHARS);
    ScanSettingsRecord odd = Named(L"Tab\tLine\nBell\aEnd");
    const wchar_t unheld[] = {L'a', 0xD800, L'b', 0xFFFF, L'c', 0xFFFE, L'd', 0x1F, 0};
    std::wcscpy(odd.config_detail, unheld);
    const std::wstring path = NextStoreFile();
    ASSERT_EQ(WriteStore(path, {all, unterminated, odd}), kOk);
    const std::vector<ScanSettingsRecord> read = Opened(path);
    ASSERT_EQ(read.size(), 3u);
    // What the file does not hold comes back zero, every other byte as it was.
    ScanSettingsRecord expected = all;
    expected.reserved = 0;
    std::memset(expected.aux_text, 0, sizeof expected.aux_text);
    std::memcpy(expected.config_id, read[0].config_id, sizeof expected.config_id);
    EXPECT_EQ(std::memcmp(&read[0], &expected, sizeof expected), 0) << read[0].config_name;
    EXPECT_EQ(std::wstring(read[1].config_name) + L"|" + read[1].config_detail,
              std::wstring(32, L'x') + L"|" + std::wstring(32, L'y'));
    EXPECT_EQ(std::wstring(read[2].config_name) + L"|" + read[2].config_detail,
              L"Tab\tLine\nBellEnd|abcd");

    // Read from a file, a text too long for its field is cut, never between two halves.
    Probe probe;
    ASSERT_TRUE(probe.Load(L"<a><config_id>" + std::wstring(50, L'i') +
                           L"</config_id><config_detail>" + std::wstring(31, L'd') +
                           L"\U0001F4C4</config_detail></a>"));
    EXPECT_EQ(std::wstring(probe.Configs()[0].config_id), std::wstring(36, L'i'));
    EXPECT_EQ(std::wstring(probe.Configs()[0].config_detail), std::wstring(31, L'd'));
}

TEST_F(Store, WritesWhatIsSetAndReadsOnlyExactNames) {
    Probe probe;
    // Duplex one past its vocabulary and a negative rotation: empty elements; only a frame
    // flag of 1 means "has a frame"; model 1 written as its family's one token.
    probe.SetConfigs({{.duplex = 7, .has_frame_entry = 2, .left = 5, .rotation = -1, .model = 1},
                      ScanSettingsRecord{}});
    const std::string none =
        "<scan_config><config_id></config_id><config_name></config_name>"
        "<config_detail></config_detail>";
    EXPECT_EQ(probe.Written(), kHead + ">" + none +
                                   "<scan_param><duplex></duplex><rotation></rotation></scan_param>"
                                   "<model>MODEL_ASPEN3</model></scan_config>" +
                                   none + "<scan_param/></scan_config></param>\n");

    // Every child of the root is a configuration; only exact names and tokens count.
    ASSERT_TRUE(probe.Load(
        L"<!-- by hand --><scan_config><config_name>Mail</config_name><scan_param>"
        L"<Duplex>DUPLEX</Duplex><duplex> DUPLEX</duplex><resolution>RESOLUTION_300X300"
        L"</resolution><resolution>RESOLUTION_600X600</resolution><color_selection>grayscale"
        L"</color_selection><model>MODEL_FERN</model><frame_entry><left>12.7</left>"
        L"</frame_entry></scan_param><model>MODEL_ASPEN3</model><x>y</x></scan_config>"
        L"<other><config_name>read all the same</config_name></other>"));
    ASSERT_EQ(probe.Configs().size(), 3u);
    const ScanSettingsRecord zero{};
    EXPECT_EQ(std::memcmp(&probe.Configs()[0], &zero, sizeof zero), 0);
    const ScanSettingsRecord& mail = probe.Configs()[1];
    EXPECT_STREQ(mail.config_name, L"Mail");
    // Duplex and colour unread; the later resolution wins; the model is not the one inside
    // scan_param.
    EXPECT_EQ(std::vector({mail.duplex, mail.resolution, mail.color_selection, mail.model,
                           mail.has_frame_entry}),
              std::vector({0, 6, 0, 2, 1}));
    EXPECT_EQ(mail.left, 12.7);
    EXPECT_STREQ(probe.Configs()[2].config_name, L"read all the same");
    // Written back, what read as 0 is gone and the frame complete.
    EXPECT_NE(probe.Written().find("<scan_param><resolution>RESOLUTION_600X600</resolution>"
                                   "<frame_entry><left>12.7</left><top>0</top><right>0</right>"
                                   "<bottom>0</bottom></frame_entry></scan_param>"),
              std::string::npos);
}

// German numbers for the C library and, as Control Panel sets them, for the user; the
// previous ones come back afterwards, in the registry too.
struct GermanNumbers {
    const std::string runtime = std::setlocale(LC_ALL, nullptr);
    wchar_t decimal[4] = {};
    GermanNumbers() {
        std::setlocale(LC_ALL, "German_Germany.1252");
        GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal, 4);
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L",");
    }
    ~GermanNumbers() {
        SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, decimal);
        std::setlocale(LC_ALL, runtime.c_str());
    }
};

TEST_F(Store, NumbersSurviveEveryLocale) {
    GermanNumbers german;
    ASSERT_EQ(Variant::FromDouble(12.5).ToText(), L"12,5")
        << "the German numbers are not in effect";
    const auto frame = [](double left, double top, double right, double bottom) {
        return ScanSettingsRecord{
            .has_frame_entry = 1, .left = left, .top = top, .right = right, .bottom = bottom};
    };
    using L = std::numeric_limits<double>;
    const ScanSettingsRecord ordinary = frame(12.5, 30.25, L::max(), -1e-7);
    const ScanSettingsRecord extreme = frame(NAN, kInf, -kInf, L::denorm_min());
    const std::wstring path = NextStoreFile();
    ASSERT_EQ(WriteStore(path, {ordinary, extreme}), kOk);
    // What is no finite number takes the schema's own spelling, which xmllint takes too.
    const std::string written = ReadBytes(path);
    for (const char* text :
         {"<left>12.5</left><top>30.25</top>", "<left>NaN</left><top>INF</top><right>-INF</right>"})
        EXPECT_NE(written.find(text), std::string::npos) << text;
    const std::vector<ScanSettingsRecord> read = Opened(path);
    ASSERT_EQ(read.size(), 2u);
    EXPECT_EQ(Corners(read[0]), Corners(ordinary));
    EXPECT_TRUE(std::isnan(read[1].left));
    EXPECT_EQ(std::vector({read[1].top, read[1].right, read[1].bottom}),
              std::vector({kInf, -kInf, L::denorm_min()}));

    // Earlier versions wrote the user's separator; anything else reads as the classic
    // locale does, whatever the host's.
    Probe probe;
    ASSERT_TRUE(probe.Load(
        L"<a><scan_param><frame_entry><left>12,5</left><top>-0,25E1</top><right>7,5,3</right>"
        L"<bottom>1.5,2</bottom></frame_entry></scan_param></a><a><scan_param><frame_entry>"
        L"<left>  \t-12.5mm</left><top>+3e2</top><right>abc</right><bottom></bottom>"
        L"</frame_entry></scan_param></a><a><scan_param><frame_entry><left>\u00a05</left>"
        L"<top>+-1</top><right>.25</right><bottom>1e</bottom></frame_entry></scan_param></a>"));
    std::vector<std::vector<double>> corners;
    for (const ScanSettingsRecord& r : probe.Configs()) corners.push_back(Corners(r));
    EXPECT_EQ(corners, (std::vector<std::vector<double>>{
                           {12.5, -2.5, 7.5, 1.5}, {-12.5, 300, 0, 0}, {0, 0, 0.25, 1}}));
}

TEST_F(Store, WhatItWritesOpensAgainInFoldersNearAndAboveMaxPath) {
    // Every save names its temporary file from the store's path. Under Wine such paths
    // work; elsewhere they may fail with the design's status. None may crash.
    std::wstring base = NextStoreFile();
    base.resize(base.size() - 4);
    for (std::size_t length : {250, 259, 260, 261, 300}) {
        // Padded so that whole subfolders of 90 characters reach the length.
        std::wstring folder = base + L"-" + std::to_wstring(length) + L"-";
        folder.append((length - folder.size()) % 91, L'p');
        while (folder.size() < length) folder += L"\\" + std::wstring(90, L'd');
        ASSERT_EQ(folder.size(), length);
        std::filesystem::create_directories(folder);
        const std::wstring path = folder + L"\\s.xml";
        DeleteFileW(path.c_str());
        const std::uint32_t status = WriteStore(path, {Named(L"first"), Named(L"after")});
        if (status == XMLSCN_FILE_UNUSABLE) continue;
        ASSERT_EQ(status, kOk) << length;
        EXPECT_EQ(Names(Opened(path)), L"first;after;") << length;
    }
}

TEST_F(Store, TheFileChangesWholeAndOnlyThroughASave) {
    const std::wstring path = NextStoreFile();
    auto store = std::make_unique<OpenStore>(path);
    for (const wchar_t* name : {L"a", L"b", L"c"}) store->Add(Named(name));
    // A save that cannot write leaves the file (as the open made it, from nothing, with
    // nothing to back up) and no temporary file behind.
    const std::wstring noFolder = BuildFolder(L"store-scratch") + L"\\no-such-folder\\x.xml";
    EXPECT_EQ(XMLSCN_Save(store->handle, noFolder.c_str()), XMLSCN_SAVE_FAILED);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(XMLSCN_Save(store->handle, nullptr), XMLSCN_SAVE_FAILED);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path), kSkeleton);
    EXPECT_FALSE(FileExists(path + L".bak"));
    WIN32_FIND_DATAW found;
    EXPECT_EQ(FindFirstFileW((StoreFilesFolder() + L"\\*.tmp").c_str(), &found),
              INVALID_HANDLE_VALUE);
    ASSERT_EQ(XMLSCN_Save(store->handle, nullptr), kOk);
    const std::string saved = ReadBytes(path);
    // Later configurations move up; unsaved changes go with the store.
    ASSERT_EQ(XMLSCN_Delete(store->handle, 1), kOk);
    EXPECT_STREQ(store->Read(1).config_name, L"c");
    store = std::make_unique<OpenStore>(path);
    EXPECT_EQ(ReadBytes(path), saved);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(XMLSCN_Delete(store->handle, 0), kOk);
    ASSERT_EQ(XMLSCN_Save(store->handle, nullptr), kOk);
    EXPECT_EQ(ReadBytes(path), kSkeleton);
}

TEST_F(Store, TemporaryFilesOfDeadSavesGoAtTheNextOpenOrSave) {
    const std::wstring path = NextStoreFile();
    ASSERT_EQ(WriteStore(path, {Named(L"a")}), kOk);
    const auto hourAgo = std::filesystem::file_time_type::clock::now() - 1h;
    const auto write = [&](const std::wstring& file, const char* bytes, bool hourOld) {
        EXPECT_TRUE(WriteBytes(file, bytes));
        if (hourOld) std::filesystem::last_write_time(file, hourAgo);
        return file;
    };
    // Names near the store's own, and one that the search pattern matches by its 8.3 name.
    const std::vector<std::wstring> users = {path + L".tmp", path + L".~notmine.tmp",
                                             path + L".~0123456789.tmp",
                                             StoreFilesFolder() + L"\\scn1A.tmp"};
    for (const std::wstring& file : users) write(file, "the user's", true);
    // A save that died leaves its temporary file part-written.
    const auto leftover = [&](bool hourOld) {
        const std::wstring name = TemporaryFile(path).Path();  // gone with its owner
        return write(name, "<param><scan_con", hourOld);
    };
    const std::wstring fresh = leftover(false);  // a save of another process, under way
    const std::wstring staleAtOpen = leftover(true);
    {
        OpenStore store(path);
        EXPECT_FALSE(FileExists(staleAtOpen));
        const std::wstring staleAtSave = leftover(true);
        EXPECT_EQ(XMLSCN_Save(store.handle, nullptr), kOk);
        EXPECT_FALSE(FileExists(staleAtSave));
    }
    EXPECT_TRUE(FileExists(fresh));
    for (const std::wstring& file : users) EXPECT_EQ(ReadBytes(file), "the user's") << file;
    DeleteFiles(StoreFilesFolder(), L"*.tmp");
}

TEST_F(Store, AnOpenThatCannotJudgeOrCopyTheFileLeavesItAlone) {
    const std::wstring path = NextStoreFile(), never = NextStoreFile();
    ASSERT_EQ(WriteStore(path, {Named(L"kept")}), kOk);
    const std::string bytes = ReadBytes(path);
    const auto unusable = [](const std::wstring& store, const std::wstring& schema) {
        XMLSCN_HANDLE handle = nullptr;
        const std::uint32_t status = XMLSCN_Open(store.c_str(), schema.c_str(), &handle);
        return status == XMLSCN_FILE_UNUSABLE && handle == nullptr;
    };
    // A schema that is missing, a folder (unreadable as a file), not XML, XML but no schema.
    for (const std::wstring& schema :
         {never + L".xsd", StoreFilesFolder(), SourcePath(L"README.md"), path}) {
        EXPECT_TRUE(unusable(path, schema)) << schema;
        EXPECT_TRUE(unusable(never, schema)) << schema;
    }
    // A file held open without sharing can be neither loaded nor copied.
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(unusable(path, Schema()));
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_FALSE(FileExists(path + L".bak"));
    EXPECT_FALSE(FileExists(never));
}

TEST_F(Store, ADamagedFileKeepsEveryConfigurationValidOnItsOwn) {
    const std::string good =
        "<scan_config><config_id>1</config_id><config_name>first</config_name><config_detail/>"
        "<scan_param><resolution>RESOLUTION_600X600</resolution></scan_param></scan_config>";
    const std::string tooLong = "<scan_config><config_id/><config_name>" + std::string(40, 'x') +
                                "</config_name><config_detail/><scan_param/></scan_config>";
    const std::string spaced =
        "<scan_config><config_id/><config_name>  second  </config_name><config_detail/>"
        "<scan_param><frame_entry><left>1,5</left><top>INF</top><right>3</right><bottom>4"
        "</bottom></frame_entry></scan_param></scan_config>";
    const std::string damaged = "<param xml:space=\"preserve\">" + good + tooLong +
                                "<!-- by hand -->" + spaced + "<stray/></param>";
    const std::wstring path = NextStoreFile();
    DeleteFiles(StoreFilesFolder(), path.substr(StoreFilesFolder().size() + 1) + L"*.bak");
    ASSERT_TRUE(WriteBytes(path, damaged));
    TraceCapture trace;
    const std::vector<ScanSettingsRecord> read = Opened(path);
    EXPECT_EQ(ReadBytes(path + L".bak"), damaged);
    ASSERT_EQ(Names(read), L"first;  second  ;");
    EXPECT_EQ(read[0].resolution, 6);
    EXPECT_EQ(std::vector({read[1].left, read[1].top, read[1].bottom}),
              std::vector({1.5, kInf, 4.0}));
    ASSERT_EQ(trace.Lines().size(), 1u);
    EXPECT_EQ(trace.Lines()[0].find(L"[VRX RERAR UR] XMLSCN_Open recovered 2 configurations and "
                                    L"dropped 2 "),
              0u);
    // Saved as recovered: the next open takes it as it is, without a line.
    trace.Clear();
    const std::vector<ScanSettingsRecord> again = Opened(path);
    EXPECT_TRUE(trace.Lines().empty());
    ASSERT_EQ(again.size(), 2u);
    EXPECT_STREQ(again[0].config_id, L"1");

    // Bytes that are not XML give the empty store; each backup stays beside the one before.
    const std::string garbage = "<?xml version=\"1.0\"?><param><scan_config>half a fi";
    ASSERT_TRUE(WriteBytes(path, garbage));
    EXPECT_TRUE(Opened(path).empty());
    EXPECT_EQ(ReadBytes(path), kSkeleton);
    EXPECT_EQ(ReadBytes(path + L".1.bak"), garbage);
    EXPECT_FALSE(FileExists(path + L".2.bak"));
}

TEST_F(Store, TheLibrarysDomRefusesWhatTheIndependentValidatorRefuses) {
    // The samples that xmllint must refuse (store_files_validate).
    int samples = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(SourcePath(L"tests/data/scan-config-refused"))) {
        ConfigFileHandler handler;
        ASSERT_TRUE(handler.CreateDocument());
        EXPECT_FALSE(handler.Load(entry.path().wstring(), Schema())) << entry.path();
        EXPECT_EQ(handler.ErrorText(), L"Not a valid XML file") << entry.path();
        ++samples;
    }
    EXPECT_GE(samples, 10);
}

TEST_F(Store, MemoryRunningOutAnywhereNeitherEscapesNorCostsTheFile) {
    const std::string kept = "<param>kept by hand</param>";
    const std::wstring folder = BuildFolder(L"store-scratch"), path = folder + L"\\exhausted.xml";
    TraceCapture trace;
    std::size_t traced = 0;
    for (long n = 1;; ++n) {
        ASSERT_TRUE(WriteBytes(path, kept));
        DeleteFiles(folder, L"exhausted.xml*.bak");
        XMLSCN_HANDLE handle = nullptr;
        allocationsBeforeFailure = n;
        const std::uint32_t opened = XMLSCN_Open(path.c_str(), Schema().c_str(), &handle);
        ScanSettingsRecord record = Named(L"added");
        const std::uint32_t added = XMLSCN_Add(handle, &record);
        const std::uint32_t saved = XMLSCN_Save(handle, nullptr);
        const bool failed = allocationsBeforeFailure == 0;
        allocationsBeforeFailure = 0;
        XMLSCN_Close(handle);
        EXPECT_TRUE(
            (opened == kOk || opened == XMLSCN_NO_MEMORY || opened == XMLSCN_FILE_UNUSABLE) &&
            (added == kOk || added == kBad) &&
            (saved == kOk || saved == kBad || saved == XMLSCN_SAVE_FAILED))
            << n << ": " << opened << added << saved;
        EXPECT_TRUE(ReadBytes(path) == kept || ReadBytes(path + L".bak") == kept) << n;
        for (const std::wstring& line : trace.Lines())
            EXPECT_EQ(line, L"[VRX RERAR UR] XMLSCN_Open refused: unexpected failure\n");
        traced += trace.Lines().size();
        trace.Clear();
        if (!failed) break;
    }
    EXPECT_GT(traced, 0u);
}

}  // namespace
