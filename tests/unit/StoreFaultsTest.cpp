// The scan configuration store where files go wrong: folders near and above MAX_PATH,
// coordinates that are no finite number, a schema that cannot be used, temporary files of
// saves that died, a damaged file. What the store writes stays in store-files/ for xmllint.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <string>
#include <tuple>
#include <vector>

#include "support/TestFiles.h"
#include "support/TraceCapture.h"
#include "twain_ui.h"
#include "xml/TemporaryFile.h"

using namespace quorveltwain;
using namespace testsupport;
using namespace std::chrono_literals;

namespace {

const double kInf = std::numeric_limits<double>::infinity();

const std::wstring& Schema() {
    static const std::wstring schema = SourcePath(L"data/SCANCONFIGLIST.xsd");
    return schema;
}

ScanSettingsRecord Named(const wchar_t* name) {
    ScanSettingsRecord record{};
    std::wcsncpy(record.config_name, name, SCAN_CONFIG_NAME_CHARS - 1);
    return record;
}

// A fresh store path, without the backups an earlier run left beside it.
std::wstring FreshStoreFile() {
    const std::wstring path = NextStoreFile();
    DeleteFiles(StoreFilesFolder(), path.substr(StoreFilesFolder().size() + 1) + L"*.bak");
    return path;
}

// Opens the store at `path`, adds the records and saves: the first status that is not 0.
std::uint32_t WriteStore(const std::wstring& path, std::vector<ScanSettingsRecord> records) {
    XMLSCN_HANDLE handle = nullptr;
    std::uint32_t status = XMLSCN_Open(path.c_str(), Schema().c_str(), &handle);
    for (ScanSettingsRecord& record : records) {
        if (status == XMLSCN_OK) status = XMLSCN_Add(handle, &record);
    }
    if (status == XMLSCN_OK) status = XMLSCN_Save(handle, nullptr);
    XMLSCN_Close(handle);
    return status;
}

// The records of the store at `path` as it opens, and their names.
std::vector<ScanSettingsRecord> Opened(const std::wstring& path, std::wstring* names = nullptr) {
    std::vector<ScanSettingsRecord> records;
    XMLSCN_HANDLE handle = nullptr;
    EXPECT_EQ(XMLSCN_Open(path.c_str(), Schema().c_str(), &handle), XMLSCN_OK) << path;
    ScanSettingsRecord record;
    while (XMLSCN_ReadSet(handle, std::uint32_t(records.size()), &record) == XMLSCN_OK) {
        records.push_back(record);
        if (names != nullptr) *names += record.config_name + std::wstring(L";");
    }
    XMLSCN_Close(handle);
    return records;
}

}  // namespace

TEST(StoreFaults, WhatItWritesOpensAgainInLongFoldersAndWithAnyNumber) {
    ScanSettingsRecord frame = Named(L"frame");
    frame.has_frame_entry = 1;
    std::tie(frame.left, frame.top, frame.right, frame.bottom) = std::tuple(NAN, kInf, -kInf, 2.5);
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
        const std::uint32_t status = WriteStore(path, {frame, Named(L"after")});
        if (status == XMLSCN_FILE_UNUSABLE) continue;
        ASSERT_EQ(status, XMLSCN_OK) << length;
        // The schema's own spelling of what is no finite number, which xmllint takes too.
        EXPECT_NE(ReadBytes(path).find("<left>NaN</left><top>INF</top><right>-INF</right>"),
                  std::string::npos);
        std::wstring names;
        const std::vector<ScanSettingsRecord> read = Opened(path, &names);
        ASSERT_EQ(names, L"frame;after;") << length;
        EXPECT_TRUE(std::isnan(read[0].left));
        EXPECT_EQ(std::vector({read[0].top, read[0].right, read[0].bottom}),
                  std::vector({kInf, -kInf, 2.5}));
    }
}

TEST(StoreFaults, ASchemaThatCannotBeUsedLeavesTheFileAlone) {
    const std::wstring path = FreshStoreFile();
    ASSERT_EQ(WriteStore(path, {Named(L"kept")}), XMLSCN_OK);
    const std::string bytes = ReadBytes(path);
    const std::wstring never = NextStoreFile();
    // Missing, a folder (unreadable as a file), not XML, XML but no schema.
    for (const std::wstring& schema :
         {never + L".xsd", StoreFilesFolder(), SourcePath(L"README.md"), path}) {
        for (const std::wstring& store : {path, never}) {
            XMLSCN_HANDLE handle = nullptr;
            EXPECT_EQ(XMLSCN_Open(store.c_str(), schema.c_str(), &handle), XMLSCN_FILE_UNUSABLE);
            EXPECT_EQ(handle, nullptr);
        }
    }
    EXPECT_EQ(ReadBytes(path), bytes);
    EXPECT_FALSE(FileExists(path + L".bak"));
    EXPECT_FALSE(FileExists(never));
}

TEST(StoreFaults, TemporaryFilesOfDeadSavesGoAtTheNextOpenOrSave) {
    const std::wstring path = NextStoreFile();
    ASSERT_EQ(WriteStore(path, {Named(L"a")}), XMLSCN_OK);
    const std::vector<std::wstring> users = {path + L".tmp", path + L".~notmine.tmp",
                                             path + L".~0123456789.tmp",
                                             StoreFilesFolder() + L"\\scn1A.tmp"};
    std::vector<std::wstring> made = users;
    const auto hourAgo = std::filesystem::file_time_type::clock::now() - 1h;
    const auto write = [&](const std::wstring& file, const char* bytes, bool hourOld) {
        EXPECT_TRUE(WriteBytes(file, bytes));
        if (hourOld) std::filesystem::last_write_time(file, hourAgo);
        made.push_back(file);
        return file;
    };
    for (const std::wstring& file : users) write(file, "the user's", true);
    // A save that died leaves its temporary file part-written.
    const auto leftover = [&](bool hourOld) {
        const std::wstring name = TemporaryFile(path).Path();  // gone with its owner
        return write(name, "<param><scan_con", hourOld);
    };
    const std::wstring fresh = leftover(false);  // a save of another process, under way
    const std::wstring staleAtOpen = leftover(true);
    EXPECT_EQ(Opened(path).size(), 1u);
    EXPECT_FALSE(FileExists(staleAtOpen));
    XMLSCN_HANDLE handle = nullptr;
    ASSERT_EQ(XMLSCN_Open(path.c_str(), Schema().c_str(), &handle), XMLSCN_OK);
    const std::wstring staleAtSave = leftover(true);
    EXPECT_EQ(XMLSCN_Save(handle, nullptr), XMLSCN_OK);
    XMLSCN_Close(handle);
    EXPECT_FALSE(FileExists(staleAtSave));
    EXPECT_TRUE(FileExists(fresh));
    for (const std::wstring& file : users) EXPECT_EQ(ReadBytes(file), "the user's") << file;
    for (const std::wstring& file : made) DeleteFileW(file.c_str());
}

TEST(StoreFaults, ADamagedFileKeepsEveryConfigurationValidOnItsOwn) {
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
    const std::wstring path = FreshStoreFile();
    ASSERT_TRUE(WriteBytes(path, damaged));
    TraceCapture trace;
    std::wstring names;
    const std::vector<ScanSettingsRecord> read = Opened(path, &names);
    EXPECT_EQ(ReadBytes(path + L".bak"), damaged);
    ASSERT_EQ(names, L"first;  second  ;");
    EXPECT_EQ(read[0].resolution, 6);
    EXPECT_EQ(std::vector({read[1].left, read[1].top, read[1].bottom}),
              std::vector({1.5, kInf, 4.0}));
    ASSERT_EQ(trace.Lines().size(), 1u);
    EXPECT_EQ(trace.Lines()[0].find(L"[VRX RERAR UR] XMLSCN_Open recovered 2 configurations and "
                                    L"dropped 2 "),
              0u);
    // Saved as recovered: the next open takes it as it is, without a line.
    trace.Clear();
    EXPECT_EQ(Opened(path).size(), 2u);
    EXPECT_FALSE(FileExists(path + L".1.bak"));
    EXPECT_TRUE(trace.Lines().empty());
}
