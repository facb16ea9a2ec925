// The scan configuration store on real files under Wine: its exports, the file it writes
// and reads, and the document layer beneath. The files it writes to store-files/ are
// checked again by xmllint (store_files_validate).

#include <gtest/gtest.h>

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

using namespace quorveltwain;
using namespace testsupport;
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
const std::string kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<param xml:space=\"preserve\"";
const std::string kSkeleton = kHead + "/>\n";

// An open store, closed when the test leaves.
struct OpenStore {
    XMLSCN_HANDLE handle = nullptr;
    OpenStore(const std::wstring& path, const std::wstring& schema) {
        EXPECT_EQ(XMLSCN_Open(path.c_str(), schema.c_str(), &handle), kOk);
    }
    ~OpenStore() { XMLSCN_Close(handle); }
    ScanSettingsRecord Read(std::uint32_t index) {
        ScanSettingsRecord record;
        std::memset(&record, 0xAB, sizeof record);
        EXPECT_EQ(XMLSCN_ReadSet(handle, index, &record), kOk);
        return record;
    }
    void Add(ScanSettingsRecord record) { EXPECT_EQ(XMLSCN_Add(handle, &record), kOk); }
};

ScanSettingsRecord Named(const wchar_t* name) {
    ScanSettingsRecord record{};
    std::wcsncpy(record.config_name, name, SCAN_CONFIG_NAME_CHARS - 1);
    return record;
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

class Store : public ::testing::Test {
  protected:
    const std::wstring schema = SourcePath(L"data/SCANCONFIGLIST.xsd");
    const std::wstring noSchema = BuildFolder(L"store-scratch") + L"\\no-such-schema.xsd";
    const long comAtStart = LiveObjects::Count(LiveKind::ComReference);
    // Every test leaves the COM references as it found them.
    void TearDown() override { EXPECT_EQ(LiveObjects::Count(LiveKind::ComReference), comAtStart); }
    // A scratch file holding `bytes`, without the backups of an earlier run.
    static std::wstring Scratch(const wchar_t* name, std::string_view bytes) {
        const std::wstring folder = BuildFolder(L"store-scratch");
        DeleteFiles(folder, std::wstring(name) + L"*.bak");
        EXPECT_TRUE(WriteBytes(folder + L"\\" + name, bytes));
        return folder + L"\\" + name;
    }
};

TEST_F(Store, BadArgumentsIndicesAndHandlesTouchNothing) {
    const std::wstring path = NextStoreFile();
    XMLSCN_HANDLE closed = reinterpret_cast<XMLSCN_HANDLE>(0x1234);
    EXPECT_EQ(XMLSCN_Open(nullptr, schema.c_str(), &closed), kBad);
    EXPECT_EQ(XMLSCN_Open(path.c_str(), nullptr, &closed), kBad);
    EXPECT_EQ(XMLSCN_Open(path.c_str(), schema.c_str(), nullptr), kBad);
    EXPECT_EQ(closed, reinterpret_cast<XMLSCN_HANDLE>(0x1234));
    EXPECT_FALSE(FileExists(path));
    OpenStore store(path, schema);
    ScanSettingsRecord record = Named(L"untouched");
    const ScanSettingsRecord before = record;
    EXPECT_EQ(XMLSCN_ReadSet(store.handle, 0, &record), kBad);
    EXPECT_EQ(XMLSCN_UpdateSet(store.handle, -1, &record), kBad);  // empty list
    EXPECT_EQ(XMLSCN_Delete(store.handle, 0), kBad);
    EXPECT_EQ(XMLSCN_Add(store.handle, nullptr), kBad);

    // A handle that is null, a device list's, closed, or no handler at all: zeros, an
    // unmapped page, a misaligned address.
    const std::wstring list = SourcePath(L"data/devices/sc100-minimal.xml");
    XMLSCN_HANDLE devices = nullptr;
    ASSERT_EQ(XMLSCNLST_Open(list.c_str(), SourcePath(L"data/DEVICELIST.xsd").c_str(), &devices),
              kOk);
    ASSERT_EQ(XMLSCN_Open(path.c_str(), schema.c_str(), &closed), kOk);
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

    ScanSettingsRecord second = Named(L"second");
    store.Add(Named(L"first"));
    ASSERT_EQ(XMLSCN_Add(store.handle, &second), kOk);
    EXPECT_EQ(XMLSCN_ReadSet(store.handle, 0, nullptr), kBad);
    EXPECT_EQ(XMLSCN_UpdateSet(store.handle, 0, nullptr), kBad);
    EXPECT_EQ(XMLSCN_ReadSet(store.handle, 2, &record), kBad);
    EXPECT_EQ(XMLSCN_ReadSet(store.handle, 0xFFFFFFFFu, &record), kBad);
    EXPECT_EQ(XMLSCN_UpdateSet(store.handle, 2, &record), kBad);
    EXPECT_EQ(XMLSCN_Delete(store.handle, 2), kBad);
    EXPECT_EQ(XMLSCN_Delete(store.handle, 0xFFFFFFFFu), kBad);  // -1, taken as unsigned
    EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0);
    // As a signed index any negative one is the first; the record replaces it whole.
    ScanSettingsRecord replacement = Named(L"replaced");
    ASSERT_EQ(XMLSCN_UpdateSet(store.handle, INT32_MIN, &replacement), kOk);
    ASSERT_EQ(XMLSCN_GetSize(store.handle), 2u);
    EXPECT_STREQ(store.Read(0).config_name, L"replaced");
    EXPECT_STREQ(store.Read(0).config_id, L"");
    EXPECT_STREQ(store.Read(1).config_id, second.config_id);
    // Add gives every configuration a new identifier, clearing what the caller had.
    std::wcscpy(second.config_id, L"the caller's own identifier, replaced");
    ASSERT_EQ(XMLSCN_Add(store.handle, &second), kOk);
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
    {
        OpenStore store(path, schema);
        for (const ScanSettingsRecord& record : {all, unterminated, odd}) store.Add(record);
        EXPECT_EQ(XMLSCN_Save(store.handle, nullptr), kOk);
    }
    OpenStore store(path, schema);
    ASSERT_EQ(XMLSCN_GetSize(store.handle), 3u);
    // What the file does not hold comes back zero, every other byte as it was.
    ScanSettingsRecord expected = all;
    expected.reserved = 0;
    std::memset(expected.aux_text, 0, sizeof expected.aux_text);
    const ScanSettingsRecord read = store.Read(0);
    std::memcpy(expected.config_id, read.config_id, sizeof read.config_id);
    EXPECT_EQ(std::memcmp(&read, &expected, sizeof read), 0) << read.config_name;
    EXPECT_EQ(std::wstring(store.Read(1).config_name), std::wstring(32, L'x'));
    EXPECT_EQ(std::wstring(store.Read(1).config_detail), std::wstring(32, L'y'));
    EXPECT_STREQ(store.Read(2).config_name, L"Tab\tLine\nBellEnd");
    EXPECT_STREQ(store.Read(2).config_detail, L"abcd");

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
    using L = std::numeric_limits<double>;
    const auto frame = [](double left, double top, double right, double bottom) {
        return ScanSettingsRecord{
            .has_frame_entry = 1, .left = left, .top = top, .right = right, .bottom = bottom};
    };
    const ScanSettingsRecord ordinary = frame(12.5, 30.25, 0.1, -1e-7);
    const ScanSettingsRecord extreme = frame(L::max(), L::denorm_min(), -L::infinity(), NAN);
    const std::wstring path = NextStoreFile();
    {
        OpenStore store(path, schema);
        for (const ScanSettingsRecord& record : {ordinary, extreme}) store.Add(record);
        EXPECT_EQ(XMLSCN_Save(store.handle, nullptr), kOk);
    }
    EXPECT_NE(ReadBytes(path).find("<left>12.5</left><top>30.25</top>"), std::string::npos);
    OpenStore store(path, schema);
    ScanSettingsRecord read = store.Read(0);
    EXPECT_EQ(std::vector({read.left, read.top, read.right, read.bottom}),
              std::vector({12.5, 30.25, 0.1, -1e-7}));
    read = store.Read(1);
    EXPECT_EQ(std::vector({read.left, read.top, read.right}),
              std::vector({extreme.left, extreme.top, extreme.right}));
    EXPECT_TRUE(std::isnan(read.bottom));

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
    for (const ScanSettingsRecord& r : probe.Configs())
        corners.push_back({r.left, r.top, r.right, r.bottom});
    EXPECT_EQ(corners, (std::vector<std::vector<double>>{
                           {12.5, -2.5, 7.5, 1.5}, {-12.5, 300, 0, 0}, {0, 0, 0.25, 1}}));
}

TEST_F(Store, AnUnusableFileIsKeptBeforeAnEmptyOneTakesItsPlace) {
    const std::wstring missing = NextStoreFile();
    EXPECT_EQ(XMLSCN_GetSize(OpenStore(missing, schema).handle), 0u);
    EXPECT_EQ(ReadBytes(missing), kSkeleton);
    EXPECT_FALSE(FileExists(missing + L".bak"));  // there was nothing to keep

    const std::string garbage = "<?xml version=\"1.0\"?><param><scan_config>half a fi";
    const std::string wrongOrder = kHead +
                                   "><scan_config><config_name>Saved</config_name>"
                                   "<config_id/><config_detail/><scan_param/>"
                                   "</scan_config></param>";
    const std::wstring path = Scratch(L"unusable.xml", garbage);
    for (const std::string* bytes : {&garbage, &wrongOrder}) {
        ASSERT_TRUE(WriteBytes(path, *bytes));
        EXPECT_EQ(XMLSCN_GetSize(OpenStore(path, schema).handle), 0u);
        EXPECT_EQ(ReadBytes(path), kSkeleton);
    }
    // Each kept beside the one before.
    EXPECT_EQ(ReadBytes(path + L".bak"), garbage);
    EXPECT_EQ(ReadBytes(path + L".1.bak"), wrongOrder);
    EXPECT_FALSE(FileExists(path + L".2.bak"));

    // A file held open without sharing can be neither loaded nor copied: it stays, and
    // the store does not open.
    const std::wstring locked = Scratch(L"locked.xml", garbage);
    HANDLE lock = CreateFileW(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    XMLSCN_HANDLE handle = nullptr;
    EXPECT_EQ(XMLSCN_Open(locked.c_str(), schema.c_str(), &handle), XMLSCN_FILE_UNUSABLE);
    EXPECT_EQ(handle, nullptr);
    CloseHandle(lock);
    EXPECT_EQ(ReadBytes(locked), garbage);
    EXPECT_FALSE(FileExists(locked + L".bak"));
}

TEST_F(Store, TheFileChangesWholeAndOnlyThroughASave) {
    const std::wstring path = NextStoreFile();
    auto store = std::make_unique<OpenStore>(path, schema);
    for (const wchar_t* name : {L"a", L"b", L"c"}) store->Add(Named(name));
    // A save that cannot write leaves the file and no temporary file behind.
    const std::wstring noFolder = BuildFolder(L"store-scratch") + L"\\no-such-folder\\x.xml";
    EXPECT_EQ(XMLSCN_Save(store->handle, noFolder.c_str()), XMLSCN_SAVE_FAILED);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(XMLSCN_Save(store->handle, nullptr), XMLSCN_SAVE_FAILED);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(ReadBytes(path), kSkeleton);
    WIN32_FIND_DATAW found;
    EXPECT_EQ(FindFirstFileW((StoreFilesFolder() + L"\\*.tmp").c_str(), &found),
              INVALID_HANDLE_VALUE);
    ASSERT_EQ(XMLSCN_Save(store->handle, nullptr), kOk);
    const std::string saved = ReadBytes(path);
    // Later configurations move up; unsaved changes go with the store.
    ASSERT_EQ(XMLSCN_Delete(store->handle, 1), kOk);
    EXPECT_STREQ(store->Read(1).config_name, L"c");
    store = std::make_unique<OpenStore>(path, schema);
    EXPECT_EQ(ReadBytes(path), saved);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(XMLSCN_Delete(store->handle, 0), kOk);
    ASSERT_EQ(XMLSCN_Save(store->handle, nullptr), kOk);
    EXPECT_EQ(ReadBytes(path), kSkeleton);
}

TEST_F(Store, TheLibrarysDomRefusesWhatTheIndependentValidatorRefuses) {
    // The samples that xmllint must refuse (store_files_validate); a schema that cannot
    // be read is a failure of the set-up instead, not of the file.
    int samples = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(SourcePath(L"tests/data/scan-config-refused"))) {
        const std::wstring sample = entry.path().wstring();
        ConfigFileHandler handler;
        ASSERT_TRUE(handler.CreateDocument());
        EXPECT_FALSE(handler.Load(sample, schema)) << entry.path();
        EXPECT_EQ(handler.ErrorText(), L"Not a valid XML file") << entry.path();
        EXPECT_FALSE(handler.Load(sample, noSchema));
        EXPECT_EQ(handler.ErrorText(), L"COM Error");
        ++samples;
    }
    EXPECT_GE(samples, 10);
}

TEST_F(Store, MemoryRunningOutAnywhereNeitherEscapesNorCostsTheFile) {
    const std::string kept = "<param>kept by hand</param>";
    const std::wstring path = Scratch(L"exhausted.xml", kept);
    TraceCapture trace;
    std::size_t traced = 0;
    for (long n = 1;; ++n) {
        ASSERT_TRUE(WriteBytes(path, kept));
        DeleteFiles(BuildFolder(L"store-scratch"), L"exhausted.xml*.bak");
        XMLSCN_HANDLE handle = nullptr;
        allocationsBeforeFailure = n;
        const std::uint32_t opened = XMLSCN_Open(path.c_str(), schema.c_str(), &handle);
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
