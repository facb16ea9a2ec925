// The saved profiles as a user meets them: the profiles window on its own thread with the
// New and Edit editors, the Save-as editor of the details pane, and the questions they
// ask, driven from the host's thread on the store of the test prefix. Every check of the
// store reads the file the windows wrote, through the exports.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ResourceIds.h"
#include "WindowTestHost.h"
#include "api/ResourceLibrary.h"
#include "api/UiContext.h"
#include "config/DriverPaths.h"
#include "support/TestFiles.h"
#include "twain_ui.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMain.h"
#include "ui/DlgProfiles.h"
#include "ui/ResourceText.h"

using namespace quorveltwain;
using windowtests::PumpUntil;
using windowtests::RecordingWindow;

namespace {

struct Saved {
    std::wstring name;
    std::int32_t resolution;
};

std::wstring StorePath(wchar_t (&schema)[kPathChars]) {
    const DriverPaths paths = GetDriverPaths();
    wchar_t defaultUse[kPathChars] = {};
    wchar_t store[kPathChars] = {};
    ReadDefaultUse(paths.registrationFile, defaultUse);
    BuildConfigurationListPath(paths.dataFolder, defaultUse, store);
    BuildConfigurationSchemaPath(schema);
    return store;
}

// The store as the file holds it now.
std::vector<Saved> StoredProfiles() {
    wchar_t schema[kPathChars] = {};
    const std::wstring path = StorePath(schema);
    std::vector<Saved> saved;
    XMLSCN_HANDLE store = nullptr;
    if (XMLSCN_Open(path.c_str(), schema, &store) != XMLSCN_OK) return saved;
    for (std::uint32_t i = 0; i < XMLSCN_GetSize(store); ++i) {
        ScanSettingsRecord record{};
        XMLSCN_ReadSet(store, i, &record);
        saved.push_back({record.config_name, record.resolution});
    }
    XMLSCN_Close(store);
    return saved;
}

std::vector<std::wstring> Names(const std::vector<Saved>& saved) {
    std::vector<std::wstring> names;
    for (const Saved& profile : saved) names.push_back(profile.name);
    return names;
}

HWND VisibleWindowOf(DWORD thread, int controlId) {
    struct Search {
        int id;
        HWND found;
    } search{controlId, nullptr};
    ::EnumThreadWindows(
        thread,
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* wanted = reinterpret_cast<Search*>(parameter);
            if (!::IsWindowVisible(window) || ::GetDlgItem(window, wanted->id) == nullptr)
                return TRUE;
            wanted->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool Enabled(HWND dialog, int id) {
    return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}
std::wstring Text(HWND dialog, int id) {
    wchar_t text[256] = {};
    ::GetDlgItemTextW(dialog, id, text, 256);
    return text;
}
void Command(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}
void Choose(HWND dialog, int id, int code) {
    const HWND list = ::GetDlgItem(dialog, id);
    const auto count = static_cast<int>(::SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (static_cast<int>(::SendMessageW(list, CB_GETITEMDATA, i, 0)) != code) continue;
        ::SendMessageW(list, CB_SETCURSEL, i, 0);
        ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list));
        return;
    }
    ADD_FAILURE() << "list " << id << " offers no code " << code;
}
int Selected(HWND dialog, int id) {
    return windowtests::SelectedCode(dialog, id);
}
std::wstring ItemText(HWND list, int row) {
    return windowtests::ListViewText(list, row);
}

class ProfilesWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        SetLibraryModule(::GetModuleHandleW(nullptr));
        wchar_t schema[kPathChars] = {};
        storePath_ = StorePath(schema);
        hadStore_ = testsupport::FileExists(storePath_);
        before_ = testsupport::ReadBytes(storePath_);
        settings_.original_size = 3;
        settings_.original_orientation = 1;
        settings_.original_image = 2;
        settings_.resolution = 2;
        settings_.exposure_level = 20;
        settings_.duplex = 1;
        settings_.color_selection = 1;
        settings_.prevent_bleed_through = 1;
        settings_.sending_size = 1;
        settings_.contrast = 4;
        settings_.reverse_image = 1;
        model_ = ReadModel();
    }
    void TearDown() override {
        CloseUI();
        // The file the windows wrote goes to the independent schema check; the prefix
        // gets its own store back.
        if (testsupport::FileExists(storePath_)) {
            testsupport::WriteBytes(testsupport::NextStoreFile(),
                                    testsupport::ReadBytes(storePath_));
        }
        if (hadStore_) {
            testsupport::WriteBytes(storePath_, before_);
        } else {
            ::DeleteFileW(storePath_.c_str());
        }
    }

    static DevListRecord* ReadModel() {
        XMLSCN_HANDLE handle = nullptr;
        const std::wstring path = testsupport::SourcePath(L"data\\devices\\mf7240-a3.xml");
        const std::wstring schema = testsupport::SourcePath(L"data\\DEVICELIST.xsd");
        DevListRecord* record = nullptr;
        if (XMLSCNLST_Open(path.c_str(), schema.c_str(), &handle) == XMLSCN_OK) {
            XMLSCNLST_Read(handle, &record);
            XMLSCN_Close(handle);
        }
        return record;
    }

    // The store holds the default settings (resolution 2) and `others`.
    void Seed(const std::vector<Saved>& others) {
        wchar_t schema[kPathChars] = {};
        StorePath(schema);
        ::DeleteFileW(storePath_.c_str());
        XMLSCN_HANDLE store = nullptr;
        ASSERT_EQ(XMLSCN_Open(storePath_.c_str(), schema, &store), XMLSCN_OK);
        std::vector<Saved> all{{L"Default settings", 2}};
        all.insert(all.end(), others.begin(), others.end());
        for (const Saved& profile : all) {
            ScanSettingsRecord record = settings_;
            wcscpy_s(record.config_name, profile.name.c_str());
            record.resolution = profile.resolution;
            EXPECT_EQ(XMLSCN_Add(store, &record), XMLSCN_OK);
        }
        EXPECT_EQ(XMLSCN_Save(store, nullptr), XMLSCN_OK);
        XMLSCN_Close(store);
    }

    bool OpenSettings() {
        if (model_ == nullptr) return false;
        InitializeUI(host_.get(), &settings_, model_, &option_, nullptr);
        OpenUI(nullptr);
        PumpUntil([&] {
            const DlgMain* dialog = CurrentUiContext()->mainDialog;
            main_ = dialog != nullptr ? dialog->Window() : nullptr;
            return main_ != nullptr && ::IsWindowVisible(main_);
        });
        pane_ = PartWith(IDC_DETAILS_SAVE_AS);
        return pane_ != nullptr;
    }
    // The part of the settings window (page or pane) holding control `id`.
    HWND PartWith(int id) const {
        struct Search {
            int id;
            HWND found;
        } search{id, nullptr};
        ::EnumChildWindows(
            main_,
            [](HWND child, LPARAM parameter) -> BOOL {
                auto* wanted = reinterpret_cast<Search*>(parameter);
                if (::GetDlgItem(child, wanted->id) == nullptr) return TRUE;
                wanted->found = child;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    // Opens the profiles window through the pane's button; its list once it is up.
    bool OpenProfiles() {
        ::SendMessageW(pane_, WM_COMMAND, MAKEWPARAM(IDC_DETAILS_PROFILES, BN_CLICKED), 0);
        PumpUntil([&] {
            const DlgProfiles* dialog = DialogSlot<DlgProfiles>::Current();
            profiles_ = dialog != nullptr ? dialog->Window() : nullptr;
            return profiles_ != nullptr && ::IsWindowVisible(profiles_);
        });
        list_ = ::GetDlgItem(profiles_, IDC_PROFILES_LIST);
        thread_ = ::GetWindowThreadProcessId(profiles_, nullptr);
        return list_ != nullptr;
    }
    void Select(int row) {
        LVITEMW state{};
        state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        state.state = LVIS_SELECTED | LVIS_FOCUSED;
        ::SendMessageW(list_, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&state));
    }
    // Opens an editor from the profiles window (New or Edit) or the pane (Save as).
    HWND OpenEditor(HWND from, int button) {
        Command(from, button);
        const DWORD thread = ::GetWindowThreadProcessId(from, nullptr);
        HWND editor = nullptr;
        PumpUntil([&] { return (editor = VisibleWindowOf(thread, IDC_PROFILE_SAVE)) != nullptr; });
        return editor;
    }
    void Type(HWND editor, const wchar_t* name) {
        ::SendDlgItemMessageW(editor, IDC_PROFILE_NAME, WM_SETTEXT, 0,
                              reinterpret_cast<LPARAM>(name));
    }
    // Answers the question or notice that `editor`'s thread shows; its text.
    std::wstring Answer(HWND owner, int button) {
        const DWORD thread = ::GetWindowThreadProcessId(owner, nullptr);
        HWND message = nullptr;
        if (!PumpUntil(
                [&] { return (message = VisibleWindowOf(thread, IDC_MESSAGE_TEXT)) != nullptr; })) {
            return {};
        }
        const std::wstring text = Text(message, IDC_MESSAGE_TEXT);
        Command(message, button);
        EXPECT_TRUE(
            PumpUntil([&] { return VisibleWindowOf(thread, IDC_MESSAGE_TEXT) == nullptr; }));
        return text;
    }
    bool Gone(HWND window) {
        return PumpUntil([&] { return !::IsWindow(window) || !::IsWindowVisible(window); });
    }

    RecordingWindow host_{L"Profiles tests: host"};
    ScanSettingsRecord settings_{};
    std::uint32_t option_ = 1;
    DevListRecord* model_ = nullptr;
    std::wstring storePath_;
    bool hadStore_ = false;
    std::string before_;
    HWND main_ = nullptr, pane_ = nullptr, profiles_ = nullptr, list_ = nullptr;
    DWORD thread_ = 0;
};

TEST_F(ProfilesWindow, NewEditApplyAndDeleteReachTheFile) {
    Seed({});
    ASSERT_TRUE(OpenSettings());
    ASSERT_TRUE(OpenProfiles());
    EXPECT_FALSE(::IsWindowEnabled(main_));
    EXPECT_EQ(ItemText(list_, 0),
              ResourceText(CurrentUiContext()->resourceModule, IDS_DEFAULT_SETTINGS_NAME).c_str());
    // The default settings can be applied but neither edited nor deleted.
    EXPECT_FALSE(Enabled(profiles_, IDC_PROFILES_EDIT));
    EXPECT_FALSE(Enabled(profiles_, IDC_PROFILES_DELETE));
    EXPECT_TRUE(Enabled(profiles_, IDC_PROFILES_NEW));

    HWND editor = OpenEditor(profiles_, IDC_PROFILES_NEW);
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(Enabled(editor, IDC_PROFILE_SAVE));
    Type(editor, L"   ");
    EXPECT_FALSE(Enabled(editor, IDC_PROFILE_SAVE));
    Type(editor, L" Office");
    EXPECT_TRUE(Enabled(editor, IDC_PROFILE_SAVE));
    Type(editor, L"");
    EXPECT_FALSE(Enabled(editor, IDC_PROFILE_SAVE));
    Type(editor, L"Office");
    Choose(editor, IDC_RESOLUTION, 5);
    Command(editor, IDC_PROFILE_SAVE);
    ASSERT_TRUE(Gone(editor));
    auto saved = StoredProfiles();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[1].name, L"Office");
    EXPECT_EQ(saved[1].resolution, 5);
    // The new one is selected once the list is filled again.
    EXPECT_TRUE(PumpUntil([&] { return Enabled(profiles_, IDC_PROFILES_EDIT); }));

    editor = OpenEditor(profiles_, IDC_PROFILES_EDIT);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(Text(editor, IDC_PROFILE_NAME), L"Office");
    EXPECT_EQ(Selected(editor, IDC_RESOLUTION), 5);
    Choose(editor, IDC_RESOLUTION, 3);
    Command(editor, IDC_PROFILE_SAVE);
    ASSERT_TRUE(Gone(editor));
    saved = StoredProfiles();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[1].resolution, 3);

    // Apply: the settings window shows the profile's values.
    Command(profiles_, IDC_PROFILES_APPLY);
    // The record is written once the window is gone, then the settings window reloads.
    EXPECT_TRUE(PumpUntil([&] { return ::IsWindowEnabled(main_) && settings_.resolution == 3; }));
    EXPECT_EQ(std::wstring(settings_.config_name), L"Office");
    EXPECT_TRUE(PumpUntil([&] { return Selected(PartWith(IDC_RESOLUTION), IDC_RESOLUTION) == 3; }));
    EXPECT_EQ(Selected(PartWith(IDC_RESOLUTION), IDC_RESOLUTION), 3);

    // Delete asks first: no keeps the profile, yes (through the Delete key) removes it.
    ASSERT_TRUE(OpenProfiles());
    Select(1);
    Command(profiles_, IDC_PROFILES_DELETE);
    Answer(profiles_, IDC_MESSAGE_NO);
    EXPECT_EQ(StoredProfiles().size(), 2u);
    ::PostMessageW(list_, WM_KEYDOWN, VK_DELETE, 0);
    Answer(profiles_, IDC_MESSAGE_YES);
    EXPECT_EQ(Names(StoredProfiles()), std::vector<std::wstring>{L"Default settings"});
    EXPECT_EQ(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0), 1);

    // The defaults apply like any other profile.
    Command(profiles_, IDC_PROFILES_APPLY);
    EXPECT_TRUE(PumpUntil([&] { return settings_.resolution == 2; }));
}

TEST_F(ProfilesWindow, ATakenNameIsOnlyReplacedAfterYes) {
    Seed({{L"Alpha", 2}, {L"Beta", 3}});
    ASSERT_TRUE(OpenSettings());
    ASSERT_TRUE(OpenProfiles());
    const auto resourceModule = CurrentUiContext()->resourceModule;

    // Names differing only in case conflict; no closes the editor and saves nothing.
    HWND editor = OpenEditor(profiles_, IDC_PROFILES_NEW);
    Type(editor, L"ALPHA");
    Choose(editor, IDC_RESOLUTION, 5);
    Command(editor, IDC_PROFILE_SAVE);
    EXPECT_NE(Answer(editor, IDC_MESSAGE_NO).find(L"ALPHA"), std::wstring::npos);
    ASSERT_TRUE(Gone(editor));
    auto saved = StoredProfiles();
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[1].resolution, 2);

    editor = OpenEditor(profiles_, IDC_PROFILES_NEW);
    Type(editor, L"alpha");
    Choose(editor, IDC_RESOLUTION, 5);
    Command(editor, IDC_PROFILE_SAVE);
    Answer(editor, IDC_MESSAGE_YES);
    ASSERT_TRUE(Gone(editor));
    saved = StoredProfiles();
    ASSERT_EQ(saved.size(), 3u);
    EXPECT_EQ(saved[1].name, L"alpha");
    EXPECT_EQ(saved[1].resolution, 5);

    // The defaults' names are reserved: a notice, and the editor stays.
    editor = OpenEditor(profiles_, IDC_PROFILES_NEW);
    Type(editor, L"default SETTINGS");
    Command(editor, IDC_PROFILE_SAVE);
    EXPECT_EQ(Answer(editor, IDC_MESSAGE_OK),
              ResourceText(resourceModule, IDS_RESERVED_NAME_TEXT).c_str());
    EXPECT_TRUE(::IsWindowVisible(editor));
    Command(editor, IDC_PROFILE_CANCEL);
    ASSERT_TRUE(Gone(editor));

    // Beta renamed onto alpha: one profile of that name, with Beta's edited settings.
    Select(2);
    editor = OpenEditor(profiles_, IDC_PROFILES_EDIT);
    Type(editor, L"Alpha");
    Choose(editor, IDC_RESOLUTION, 4);
    Command(editor, IDC_PROFILE_SAVE);
    Answer(editor, IDC_MESSAGE_YES);
    ASSERT_TRUE(Gone(editor));
    saved = StoredProfiles();
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0].name, L"Default settings");
    EXPECT_EQ(saved[1].name, L"Alpha");
    EXPECT_EQ(saved[1].resolution, 4);
}

TEST_F(ProfilesWindow, ElevenProfilesDisableNewAndSaveAs) {
    std::vector<Saved> nine;
    for (int i = 1; i <= 9; ++i) nine.push_back({L"Profile " + std::to_wstring(i), 2});
    Seed(nine);
    ASSERT_TRUE(OpenSettings());
    EXPECT_TRUE(Enabled(pane_, IDC_DETAILS_SAVE_AS));
    ASSERT_TRUE(OpenProfiles());
    EXPECT_TRUE(Enabled(profiles_, IDC_PROFILES_NEW));
    HWND editor = OpenEditor(profiles_, IDC_PROFILES_NEW);
    Type(editor, L"Eleventh");
    Command(editor, IDC_PROFILE_SAVE);
    ASSERT_TRUE(Gone(editor));
    EXPECT_EQ(StoredProfiles().size(), 11u);
    // The list is filled again once the editor has ended.
    EXPECT_TRUE(PumpUntil([&] { return !Enabled(profiles_, IDC_PROFILES_NEW); }));
    Command(profiles_, IDC_PROFILES_CANCEL);
    ASSERT_TRUE(Gone(profiles_));
    NMHDR header{::GetDlgItem(pane_, IDC_DETAILS_LIST), IDC_DETAILS_LIST, LVN_ITEMCHANGED};
    ::SendMessageW(pane_, WM_NOTIFY, IDC_DETAILS_LIST, reinterpret_cast<LPARAM>(&header));
    EXPECT_FALSE(Enabled(pane_, IDC_DETAILS_SAVE_AS));
}

TEST_F(ProfilesWindow, SaveAsStoresTheCurrentSettingsAndAsksBeforeReplacing) {
    Seed({{L"Alpha", 2}});
    ASSERT_TRUE(OpenSettings());
    settings_.resolution = 5;  // as the pages would have set it
    HWND editor = OpenEditor(pane_, IDC_DETAILS_SAVE_AS);
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(::IsWindowEnabled(main_));
    EXPECT_EQ(Text(editor, IDC_SAVE_AS_RESOLUTION),
              ResourceText(CurrentUiContext()->resourceModule, 209).c_str());
    Type(editor, L"aLPHA");
    Command(editor, IDC_PROFILE_SAVE);
    Answer(editor, IDC_MESSAGE_NO);
    ASSERT_TRUE(Gone(editor));
    EXPECT_EQ(StoredProfiles()[1].resolution, 2);

    editor = OpenEditor(pane_, IDC_DETAILS_SAVE_AS);
    Type(editor, L"aLPHA");
    Command(editor, IDC_PROFILE_SAVE);
    Answer(editor, IDC_MESSAGE_YES);
    // The editor ends before it writes: wait for the file.
    std::vector<Saved> saved;
    EXPECT_TRUE(PumpUntil([&] {
        saved = StoredProfiles();
        return saved.size() == 2 && saved[1].resolution == 5;
    }));
    ASSERT_EQ(saved.size(), 2u);
    EXPECT_EQ(saved[0].resolution, 2);  // never the default settings
    EXPECT_EQ(saved[1].name, L"aLPHA");

    editor = OpenEditor(pane_, IDC_DETAILS_SAVE_AS);
    Type(editor, L"Scan to archive");
    Command(editor, IDC_PROFILE_SAVE);
    ASSERT_TRUE(Gone(editor));
    EXPECT_EQ(Names(StoredProfiles()).back(), L"Scan to archive");
    EXPECT_EQ(std::wstring(settings_.config_name), L"Scan to archive");
    EXPECT_TRUE(::IsWindowEnabled(main_));
}

TEST_F(ProfilesWindow, AProfileSavedWhileTheWindowIsOpenOutlivesCloseUI) {
    Seed({});
    ASSERT_TRUE(OpenSettings());
    ASSERT_TRUE(OpenProfiles());
    HWND editor = OpenEditor(profiles_, IDC_PROFILES_NEW);
    Type(editor, L"Kept");
    Command(editor, IDC_PROFILE_SAVE);
    ASSERT_TRUE(Gone(editor));
    DlgProfiles* open = DialogSlot<DlgProfiles>::Current();
    CloseUI();  // with the profiles window still open
    EXPECT_TRUE(open->Retired());
    ASSERT_TRUE(OpenSettings());
    ASSERT_TRUE(OpenProfiles());
    EXPECT_EQ(::SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(ItemText(list_, 1), L"Kept");

    // CloseUI while an editor is open ends it with everything else, saving nothing: the New
    // editor on the profiles thread, then Save-as running modally on the settings thread.
    editor = OpenEditor(profiles_, IDC_PROFILES_NEW);
    ASSERT_NE(editor, nullptr);
    Type(editor, L"Never saved");
    CloseUI();
    EXPECT_FALSE(::IsWindow(editor));
    EXPECT_FALSE(::IsWindow(profiles_));
    ASSERT_TRUE(OpenSettings());
    editor = OpenEditor(pane_, IDC_DETAILS_SAVE_AS);
    ASSERT_NE(editor, nullptr);
    Type(editor, L"Never saved either");
    const ULONGLONG start = ::GetTickCount64();
    CloseUI();
    EXPECT_LT(::GetTickCount64() - start, 5000u);
    EXPECT_FALSE(::IsWindow(editor));
    EXPECT_FALSE(::IsWindow(main_));
    EXPECT_EQ(Names(StoredProfiles()), (std::vector<std::wstring>{L"Default settings", L"Kept"}));
}

}  // namespace
