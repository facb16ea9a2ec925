// The settings window with a real scanner model: the pages, the binder behind them and the
// details pane, driven from the host's thread as a user's clicks and keys reach them. The
// window runs on its own thread, so a change that ends in a modal message is posted and
// the message is found and answered on that thread.

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
#include "ui/DlgDetailsPane.h"
#include "ui/DlgMain.h"
#include "ui/ResourceText.h"
#include "ui/SettingsList.h"
#include "ui/DlgMessages.h"
#include "ui/UiMessages.h"

using namespace quorveltwain;
using windowtests::PumpUntil;
using windowtests::RecordingWindow;

namespace {

DevListRecord* ReadModel(const wchar_t* file) {
    XMLSCN_HANDLE handle = nullptr;
    const std::wstring path = testsupport::SourcePath(std::wstring(L"data\\devices\\") + file);
    const std::wstring schema = testsupport::SourcePath(L"data\\DEVICELIST.xsd");
    DevListRecord* record = nullptr;
    if (XMLSCNLST_Open(path.c_str(), schema.c_str(), &handle) == XMLSCN_OK) {
        XMLSCNLST_Read(handle, &record);
        XMLSCN_Close(handle);
    }
    return record;
}

struct ChildSearch {
    int id;
    HWND found;
};

// The page (or pane) of the main window that holds control `id`.
HWND PartWith(HWND main, int id) {
    ChildSearch search{id, nullptr};
    ::EnumChildWindows(
        main,
        [](HWND child, LPARAM parameter) -> BOOL {
            auto* wanted = reinterpret_cast<ChildSearch*>(parameter);
            wchar_t name[16] = {};
            ::GetClassNameW(child, name, 16);
            if (std::wstring(name) != L"#32770" || ::GetDlgItem(child, wanted->id) == nullptr)
                return TRUE;
            wanted->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A visible message window of the settings thread, or null.
HWND MessageWindowOf(HWND main) {
    HWND found = nullptr;
    ::EnumThreadWindows(
        ::GetWindowThreadProcessId(main, nullptr),
        [](HWND window, LPARAM parameter) -> BOOL {
            if (!::IsWindowVisible(window) || ::GetDlgItem(window, IDC_MESSAGE_TEXT) == nullptr)
                return TRUE;
            *reinterpret_cast<HWND*>(parameter) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

bool Checked(HWND page, int id) {
    return ::SendDlgItemMessageW(page, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
bool Enabled(HWND page, int id) {
    return ::IsWindowEnabled(::GetDlgItem(page, id)) != FALSE;
}
bool Shown(HWND page, int id) {
    return (::GetWindowLongPtrW(::GetDlgItem(page, id), GWL_STYLE) & WS_VISIBLE) != 0;
}
LRESULT Picture(HWND page, int id) {
    return ::SendDlgItemMessageW(page, id, STM_GETIMAGE, IMAGE_BITMAP, 0);
}
std::wstring Text(HWND page, int id) {
    wchar_t text[256] = {};
    ::GetDlgItemTextW(page, id, text, 256);
    return text;
}
int SliderPosition(HWND page, int id) {
    return static_cast<int>(::SendDlgItemMessageW(page, id, TBM_GETPOS, 0, 0));
}

// Selects the item of `code` in a list and tells the page, as a user's choice does. A
// change the model allows is handled before this returns; one it refuses ends in a modal
// message, so `refused` posts the notification and leaves the message to the caller.
void Choose(HWND page, int id, int code, bool refused = false) {
    const HWND list = ::GetDlgItem(page, id);
    const auto count = static_cast<int>(::SendMessageW(list, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        if (static_cast<int>(::SendMessageW(list, CB_GETITEMDATA, i, 0)) != code) continue;
        ::SendMessageW(list, CB_SETCURSEL, i, 0);
        const WPARAM command = MAKEWPARAM(id, CBN_SELCHANGE);
        const auto from = reinterpret_cast<LPARAM>(list);
        if (refused) {
            ::PostMessageW(page, WM_COMMAND, command, from);
        } else if (::SendMessageTimeoutW(page, WM_COMMAND, command, from, SMTO_NORMAL, 10000,
                                         nullptr) == 0) {
            ADD_FAILURE() << "code " << code << " of list " << id << " was not taken";
        }
        return;
    }
    ADD_FAILURE() << "list " << id << " offers no code " << code;
}

int Selected(HWND page, int id) {
    return windowtests::SelectedCode(page, id);
}
std::wstring CellText(HWND list, int row) {
    return windowtests::ListViewText(list, row, 1);
}

class SettingsPages : public ::testing::Test {
  protected:
    void SetUp() override {
        SetLibraryModule(::GetModuleHandleW(nullptr));
        settings_.original_size = 3;         // A4
        settings_.original_orientation = 1;  // portrait, short edge first
        settings_.original_image = 2;
        settings_.resolution = 2;
        settings_.exposure_level = 20;  // +2
        settings_.duplex = 1;
        settings_.color_selection = 3;  // black and white
        settings_.prevent_bleed_through = 1;
        settings_.sending_size = 1;
        settings_.contrast = 4;
        settings_.reverse_image = 1;
    }
    void TearDown() override { CloseUI(); }

    // Opens the window on `model`; the pages and the pane once they are up.
    bool Open(DevListRecord* model) {
        if (model == nullptr) return false;
        InitializeUI(host_.get(), &settings_, model, &option_, nullptr);
        OpenUI(nullptr);
        PumpUntil([&] {
            const DlgMain* dialog = CurrentUiContext()->mainDialog;
            main_ = dialog != nullptr ? dialog->Window() : nullptr;
            return main_ != nullptr && ::IsWindowVisible(main_);
        });
        basic_ = PartWith(main_, IDC_ORIGINAL_SIZE);
        imaging_ = PartWith(main_, IDC_RESOLUTION);
        details_ = PartWith(main_, IDC_DETAILS_LIST);
        return basic_ != nullptr && imaging_ != nullptr && details_ != nullptr;
    }
    // Waits until the settings thread has handled everything posted to it so far: one
    // thread's posted messages come in order, so a change posted to the exposure field
    // (its length limit, put back afterwards) arrives after them all.
    void Settle() {
        static WPARAM round = 100;
        const HWND field = ::GetDlgItem(imaging_, IDC_EXPOSURE_FIELD);
        ::PostMessageW(field, EM_SETLIMITTEXT, ++round, 0);
        EXPECT_TRUE(PumpUntil([&] {
            return static_cast<WPARAM>(::SendMessageW(field, EM_GETLIMITTEXT, 0, 0)) == round;
        }));
        ::SendMessageW(field, EM_SETLIMITTEXT, 2, 0);
    }
    // The text of the refusal that the window shows, after closing it.
    std::wstring AnswerRefusal() {
        HWND message = nullptr;
        if (!PumpUntil([&] { return (message = MessageWindowOf(main_)) != nullptr; })) return {};
        const std::wstring text = Text(message, IDC_MESSAGE_TEXT);
        ::PostMessageW(message, WM_COMMAND, IDC_MESSAGE_OK, 0);
        PumpUntil([&] { return MessageWindowOf(main_) == nullptr; });
        Settle();
        return text;
    }

    RecordingWindow host_{L"Settings pages tests: host"};
    ScanSettingsRecord settings_{};
    std::uint32_t option_ = 2;
    HWND main_ = nullptr;
    HWND basic_ = nullptr;
    HWND imaging_ = nullptr;
    HWND details_ = nullptr;
};

TEST_F(SettingsPages, SizesWithoutTheOuterOrientationsSwitchToTheirNeighbourAndBack) {
    ASSERT_TRUE(Open(ReadModel(L"mf7240-a3.xml")));
    EXPECT_TRUE(Checked(basic_, IDC_ORIENTATION_1));
    EXPECT_TRUE(Enabled(basic_, IDC_ORIENTATION_1) && Enabled(basic_, IDC_ORIENTATION_4));
    const LRESULT disabledPicture = Picture(basic_, IDC_ORIENTATION_1_PICTURE);

    Choose(basic_, IDC_ORIGINAL_SIZE, 11);  // LEGAL offers only the middle two
    EXPECT_EQ(settings_.original_size, 11);
    EXPECT_EQ(settings_.original_orientation, 2);
    EXPECT_TRUE(Checked(basic_, IDC_ORIENTATION_2));
    EXPECT_FALSE(Checked(basic_, IDC_ORIENTATION_1));
    EXPECT_FALSE(Enabled(basic_, IDC_ORIENTATION_1));
    EXPECT_FALSE(Enabled(basic_, IDC_ORIENTATION_4));
    EXPECT_NE(Picture(basic_, IDC_ORIENTATION_1_PICTURE), disabledPicture);

    Choose(basic_, IDC_ORIGINAL_SIZE, 3);  // A4 offers all four again
    EXPECT_TRUE(Enabled(basic_, IDC_ORIENTATION_1) && Enabled(basic_, IDC_ORIENTATION_4));
    EXPECT_EQ(settings_.original_orientation, 2);
}

TEST_F(SettingsPages, AModelWithoutA3NeverOffersTheOuterOrientations) {
    settings_.original_orientation = 2;
    ASSERT_TRUE(Open(ReadModel(L"mf3120-a4.xml")));
    EXPECT_FALSE(Enabled(basic_, IDC_ORIENTATION_1));
    EXPECT_FALSE(Enabled(basic_, IDC_ORIENTATION_4));
    EXPECT_TRUE(Checked(basic_, IDC_ORIENTATION_2));
}

TEST_F(SettingsPages, ARefusedValueSaysWhichSettingRefusesItAndGoesBack) {
    ASSERT_TRUE(Open(ReadModel(L"mf7240-a3.xml")));
    Choose(imaging_, IDC_RESOLUTION, 6, true);  // 600 x 600 dpi refuses black and white
    const std::wstring text = AnswerRefusal();
    EXPECT_NE(text.find(ResourceText(CurrentUiContext()->resourceModule, IDS_COLOR_LABEL).c_str()),
              std::wstring::npos)
        << "the message names the refusing setting: " << std::string(text.begin(), text.end());
    EXPECT_EQ(settings_.resolution, 2);
    EXPECT_EQ(Selected(imaging_, IDC_RESOLUTION), 2);
}

TEST_F(SettingsPages, TheExposureFieldAcceptsOnlyNumbersTheSliderCanShow) {
    ASSERT_TRUE(Open(ReadModel(L"mf7240-a3.xml")));
    ASSERT_EQ(SliderPosition(imaging_, IDC_EXPOSURE_SLIDER), 2);
    const auto type = [&](const wchar_t* text) {
        ::SendDlgItemMessageW(imaging_, IDC_EXPOSURE_FIELD, WM_SETTEXT, 0,
                              reinterpret_cast<LPARAM>(text));
        Settle();
    };
    type(L"5");  // malformed: becomes 0
    EXPECT_EQ(Text(imaging_, IDC_EXPOSURE_FIELD), L"0");
    EXPECT_EQ(SliderPosition(imaging_, IDC_EXPOSURE_SLIDER), 0);
    EXPECT_EQ(settings_.exposure_level, 16);
    type(L"3");
    EXPECT_EQ(settings_.exposure_level, 22);
    type(L"-");  // a lone minus stays as typed and counts as 0
    EXPECT_EQ(Text(imaging_, IDC_EXPOSURE_FIELD), L"-");
    EXPECT_EQ(SliderPosition(imaging_, IDC_EXPOSURE_SLIDER), 0);
    type(L"1");
    type(L"12");  // well formed but out of reach: the slider's position comes back
    EXPECT_EQ(Text(imaging_, IDC_EXPOSURE_FIELD), L"1");
    EXPECT_EQ(SliderPosition(imaging_, IDC_EXPOSURE_SLIDER), 1);
    EXPECT_EQ(settings_.exposure_level, 18);
}

TEST_F(SettingsPages, OnlyAutomaticExposureAndNeutralContrastLeaveTheSlidersOff) {
    DevListRecord* model = ReadModel(L"mf7240-a3.xml");
    ASSERT_NE(model, nullptr);
    static DevListRecord narrowed;
    narrowed = *model;
    static DevListValue automatic{}, neutral{};
    automatic.code = 1;
    neutral.code = 4;
    narrowed.values[DEVLIST_EXPOSURE_LEVEL] = {&automatic, 1};
    narrowed.values[DEVLIST_CONTRAST] = {&neutral, 1};
    settings_.exposure_level = 1;
    ASSERT_TRUE(Open(&narrowed));
    EXPECT_TRUE(Enabled(imaging_, IDC_EXPOSURE_AUTO));
    EXPECT_TRUE(Checked(imaging_, IDC_EXPOSURE_AUTO));
    for (const int id : {IDC_EXPOSURE_SLIDER, IDC_EXPOSURE_FIELD, IDC_EXPOSURE_UP,
                         IDC_EXPOSURE_DOWN, IDC_CONTRAST_SLIDER}) {
        EXPECT_FALSE(Enabled(imaging_, id)) << id;
    }
    EXPECT_TRUE(Shown(imaging_, IDC_EXPOSURE_MARKER));
    // Unchecking the box asks for a level the model does not offer: refused, and the box
    // and the sliders stay as they were.
    ::SendDlgItemMessageW(imaging_, IDC_EXPOSURE_AUTO, BM_SETCHECK, BST_UNCHECKED, 0);
    ::PostMessageW(imaging_, WM_COMMAND, MAKEWPARAM(IDC_EXPOSURE_AUTO, BN_CLICKED), 0);
    EXPECT_FALSE(AnswerRefusal().empty());
    EXPECT_EQ(settings_.exposure_level, 1);
    EXPECT_TRUE(Checked(imaging_, IDC_EXPOSURE_AUTO));
    EXPECT_FALSE(Enabled(imaging_, IDC_EXPOSURE_SLIDER));
}

TEST_F(SettingsPages, SidesDecidePreviewAndTheOptionList) {
    settings_.duplex = 3;  // book: the only mode that leaves the option to the user
    settings_.has_frame_entry = 1;
    settings_.left = settings_.top = 10;
    settings_.rotation = 3;
    ASSERT_TRUE(Open(ReadModel(L"mf7240-a3.xml")));
    const HWND preview = ::GetDlgItem(main_, IDC_PREVIEW);
    EXPECT_FALSE(::IsWindowEnabled(preview));
    EXPECT_TRUE(Enabled(basic_, IDC_OPTION));
    EXPECT_EQ(Selected(basic_, IDC_OPTION), 2);

    Choose(basic_, IDC_DUPLEX, 2);  // two-sided fixes the option at 1
    EXPECT_FALSE(::IsWindowEnabled(preview));
    EXPECT_FALSE(Enabled(basic_, IDC_OPTION));
    EXPECT_EQ(option_, 1u);
    EXPECT_EQ(Selected(basic_, IDC_OPTION), 1);

    // Preview, disabled, asks for nothing however it is pressed.
    ::PostMessageW(main_, WM_SYSKEYDOWN, VK_MENU, 0);
    ::PostMessageW(main_, WM_KEYDOWN, 'P', 0);
    ::PostMessageW(main_, WM_COMMAND, IDC_PREVIEW, 0);
    Settle();
    EXPECT_EQ(host_.Count(HM_SCAN), 0);

    Choose(basic_, IDC_DUPLEX, 1);
    EXPECT_TRUE(::IsWindowEnabled(preview));
    // After Alt, the plain S key scans, with the frame and the rotation of a preview cleared.
    ::SetForegroundWindow(main_);
    ::PostMessageW(main_, WM_KEYDOWN, 'S', 0);
    ASSERT_TRUE(PumpUntil([&] { return host_.Count(HM_SCAN) == 1; }));
    EXPECT_EQ(host_.Messages().back().wParam, 0u);
    EXPECT_EQ(settings_.rotation, 1);
    EXPECT_EQ(settings_.has_frame_entry, 0);
    EXPECT_EQ(settings_.left + settings_.top, 0.0);
}

TEST_F(SettingsPages, TheDetailsPaneMarksOnlyWhatTheLastChangeChanged) {
    ASSERT_TRUE(Open(ReadModel(L"mf7240-a3.xml")));
    const HWND list = ::GetDlgItem(details_, IDC_DETAILS_LIST);
    const auto* pane =
        reinterpret_cast<const DlgDetailsPane*>(::GetWindowLongPtrW(details_, DWLP_USER));
    ASSERT_NE(pane, nullptr);
    const auto marked = [&] {
        std::vector<int> rows;
        for (int row = 0; row < kSettingsListRows; ++row) {
            if (pane->ChangeMark(row)) rows.push_back(row);
        }
        return rows;
    };
    Choose(imaging_, IDC_RESOLUTION, 5);  // 400 x 400 dpi
    EXPECT_EQ(marked(), std::vector<int>{10});
    EXPECT_EQ(CellText(list, 10), ResourceText(CurrentUiContext()->resourceModule, 209).c_str());
    Choose(basic_, IDC_ORIGINAL_SIZE, 10);  // Letter keeps every orientation
    EXPECT_EQ(marked(), std::vector<int>{3});
}

// The pane reloads the store on every notification of its list but reads the file only
// when it changed: a configuration saved by another window must still show up.
TEST_F(SettingsPages, TheDetailsPaneSeesAConfigurationSavedBehindItsBack) {
    ASSERT_TRUE(Open(ReadModel(L"mf7240-a3.xml")));
    const auto* pane =
        reinterpret_cast<const DlgDetailsPane*>(::GetWindowLongPtrW(details_, DWLP_USER));
    ASSERT_NE(pane, nullptr);
    const auto notify = [&] {
        NMHDR header{::GetDlgItem(details_, IDC_DETAILS_LIST), IDC_DETAILS_LIST, LVN_ITEMCHANGED};
        ::SendMessageW(details_, WM_NOTIFY, IDC_DETAILS_LIST, reinterpret_cast<LPARAM>(&header));
    };
    notify();
    const std::size_t before = pane->Profiles().size();
    ASSERT_LT(before, DlgProfileBase::kMaxConfigurations);

    const DriverPaths paths = GetDriverPaths();
    wchar_t defaultUse[kPathChars] = {};
    wchar_t storePath[kPathChars] = {};
    wchar_t schemaPath[kPathChars] = {};
    ReadDefaultUse(paths.registrationFile, defaultUse);
    BuildConfigurationListPath(paths.dataFolder, defaultUse, storePath);
    BuildConfigurationSchemaPath(schemaPath);
    XMLSCN_HANDLE store = nullptr;
    ASSERT_EQ(XMLSCN_Open(storePath, schemaPath, &store), XMLSCN_OK);
    ScanSettingsRecord saved = settings_;
    wcscpy_s(saved.config_name, L"Saved elsewhere");
    EXPECT_EQ(XMLSCN_Add(store, &saved), XMLSCN_OK);
    EXPECT_EQ(XMLSCN_Save(store, nullptr), XMLSCN_OK);
    notify();
    EXPECT_EQ(pane->Profiles().size(), before + 1);
    // Back as it was, for the tests that follow.
    EXPECT_EQ(XMLSCN_Delete(store, static_cast<std::uint32_t>(before)), XMLSCN_OK);
    EXPECT_EQ(XMLSCN_Save(store, nullptr), XMLSCN_OK);
    XMLSCN_Close(store);
    notify();
    EXPECT_EQ(pane->Profiles().size(), before);
}

// The version and year come from the driver's version file; without it the lines still
// read as sentences, with placeholders. The settings window is locked while About is open.
TEST_F(SettingsPages, AboutShowsPlaceholdersWithoutTheVersionFile) {
    wchar_t path[kPathChars] = {};
    BuildVersionFilePath(path);
    const std::wstring aside = std::wstring(path) + L".aside";
    ::MoveFileW(path, aside.c_str());
    ASSERT_TRUE(Open(ReadModel(L"mf7240-a3.xml")));
    ::PostMessageW(main_, WM_COMMAND, IDC_ABOUT, 0);
    HWND about = nullptr;
    const bool shown = PumpUntil([&] {
        about = ::FindWindowExW(
            nullptr, nullptr, L"#32770",
            ResourceText(CurrentUiContext()->resourceModule, IDS_ABOUT_TITLE).c_str());
        return about != nullptr && ::IsWindowVisible(about);
    });
    ::MoveFileW(aside.c_str(), path);
    ASSERT_TRUE(shown);
    const HMODULE module = CurrentUiContext()->resourceModule;
    const auto formatted = [&](UINT id, const wchar_t* value) {
        std::wstring text = ResourceText(module, id).c_str();
        const std::size_t at = text.find(L"%s");
        return at == std::wstring::npos ? text : text.replace(at, 2, value);
    };
    EXPECT_EQ(Text(about, IDC_ABOUT_VERSION), formatted(IDS_ABOUT_VERSION, L"X.XX"));
    EXPECT_EQ(Text(about, IDC_ABOUT_YEAR), formatted(IDS_ABOUT_YEAR, L"XXXX"));
    EXPECT_FALSE(::IsWindowEnabled(main_));
    ::SendMessageW(about, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(about));
    EXPECT_TRUE(::IsWindowEnabled(main_));
}

}  // namespace
