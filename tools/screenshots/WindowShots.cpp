// Opens one window of the library as a user would meet it, prints its title, and keeps it
// open until scripts/screenshots.sh has taken its picture (the script then creates the
// file named by the second argument). Usage: window_shots <case> <done-file>
// Cases: progress, message-0, message-5, message-101, message-102, message-104, and the
// settings window on the A3 sample model: settings-basic, settings-imaging,
// settings-advanced, settings-refused (the message of a refused resolution), and about.

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "api/UiContext.h"
#include "config/DriverPaths.h"
#include "twain_ui.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMessages.h"
#include "ResourceIds.h"
#include "ui/DlgMain.h"
#include "ui/ResourceText.h"
#include "ui/DlgPreview.h"
#include "ui/DlgProfiles.h"
#include "ui/DlgProgress.h"
#include "ui/UiMessages.h"
#include "ModelDefaults.h"
#include "PreviewGesture.h"
#include "TestPage.h"

using namespace quorveltwain;

namespace {

std::wstring g_doneFile;
HWND g_shown = nullptr;
constexpr int kGiveUpTicks = 3000;  // 30 s at 10 ms
int g_ticks = 0;

void PrintTitle(HWND window) {
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, title, -1, utf8, sizeof(utf8), nullptr, nullptr);
    // The window's place on the screen follows: a title in another script is no name that
    // every X tool can look a window up by, so the script cuts the picture out of the screen.
    RECT rect{};
    GetWindowRect(window, &rect);
    std::printf("%s\n%ldx%ld+%ld+%ld\n", utf8, rect.right - rect.left, rect.bottom - rect.top,
                rect.left, rect.top);
    std::fflush(stdout);
}

bool Done() {
    return GetFileAttributesW(g_doneFile.c_str()) != INVALID_FILE_ATTRIBUTES ||
           ++g_ticks > kGiveUpTicks;
}

// Runs inside the modal loop of a modal message: announce the window once, close it when
// the picture has been taken.
void CALLBACK ModalTick(HWND, UINT, UINT_PTR, DWORD) {
    const HWND window = DialogSlot<DlgMessages>::Current() != nullptr
                            ? DialogSlot<DlgMessages>::Current()->Window()
                            : nullptr;
    if (window == nullptr) return;
    if (g_shown != window) {
        g_shown = window;
        PrintTitle(window);
    }
    if (Done()) PostMessageW(window, WM_CLOSE, 0, 0);
}

void PumpUntilDone() {
    while (!Done()) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void ShowQuestion(std::int32_t code) {
    DialogSetup setup;
    setup.resourceModule = CurrentUiContext()->resourceModule;
    setup.hostWindow = CurrentUiContext()->hostWindow;
    auto created = std::make_unique<DlgMessages>(setup);
    // What the profile editor gives its overwrite question.
    created->SetOverwriteQuestion(L"Office documents, 300 dpi", L"Save Scan Configuration");
    DlgMessages* message = DialogSlot<DlgMessages>::Install(std::move(created));
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, &ModalTick);
    message->ShowMessage(code);
    KillTimer(nullptr, timer);
}

DevListRecord* ReadSampleModel() {
    wchar_t folder[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, folder, MAX_PATH);
    std::wstring base(folder);
    base.erase(base.find_last_of(L'\\') + 1);
    XMLSCN_HANDLE handle = nullptr;
    DevListRecord* record = nullptr;
    if (XMLSCNLST_Open((base + L"devices\\mf7240-a3.xml").c_str(),
                       (base + L"devices\\DEVICELIST.xsd").c_str(), &handle) == 0) {
        XMLSCNLST_Read(handle, &record);
        XMLSCN_Close(handle);
    }
    return record;
}

// The settings window on `model`, once it is shown; null when it never was.
HWND OpenSettings(HWND host, ScanSettingsRecord& settings, DevListRecord* model,
                  std::uint32_t& option) {
    InitializeUI(host, &settings, model, &option, nullptr);
    OpenUI(nullptr);
    HWND main = nullptr;
    for (int i = 0; i < 500 && (main == nullptr || !IsWindowVisible(main)); ++i) {
        const DlgMain* dialog = CurrentUiContext()->mainDialog;
        main = dialog != nullptr ? dialog->Window() : nullptr;
        Sleep(10);
    }
    return main != nullptr && IsWindowVisible(main) ? main : nullptr;
}

// The settings window with one page shown; `refuse` also asks for a resolution that the
// colour mode rules out, so the refusal is what is photographed.
int ShowSettings(HWND host, int page, bool refuse, bool about = false) {
    DevListRecord* model = ReadSampleModel();
    if (model == nullptr) return 1;
    static ScanSettingsRecord settings{};
    static std::uint32_t option = 1;
    standin::ApplyModelDefaults(*model, settings);
    settings.color_selection = 3;  // black and white, which 600 dpi refuses
    const HWND main = OpenSettings(host, settings, model, option);
    if (main == nullptr) return 1;
    SendMessageW(main, UIM_SELECT_PAGE, static_cast<WPARAM>(page), 0);
    HWND shown = main;
    if (refuse) {
        // The imaging page holds the resolution list; choosing 600 dpi there is refused.
        HWND child = nullptr;
        while ((child = FindWindowExW(main, child, L"#32770", nullptr)) != nullptr) {
            const HWND list = GetDlgItem(child, IDC_RESOLUTION);
            if (list == nullptr) continue;
            const auto count = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                if (SendMessageW(list, CB_GETITEMDATA, i, 0) == 6)
                    SendMessageW(list, CB_SETCURSEL, i, 0);
            }
            PostMessageW(child, WM_COMMAND, MAKEWPARAM(IDC_RESOLUTION, CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(list));
        }
        for (int i = 0; i < 500; ++i) {
            const DlgMessages* message = DialogSlot<DlgMessages>::Current();
            if (message != nullptr && message->Window() != nullptr &&
                IsWindowVisible(message->Window())) {
                shown = message->Window();
                break;
            }
            Sleep(10);
        }
        if (shown == main) return 1;
    }
    if (about) {
        PostMessageW(main, WM_COMMAND, IDC_ABOUT, 0);
        const ResourceText title(CurrentUiContext()->resourceModule, IDS_ABOUT_TITLE);
        for (int i = 0; i < 500 && shown == main; ++i) {
            const HWND window = FindWindowExW(nullptr, nullptr, L"#32770", title.c_str());
            if (window != nullptr && IsWindowVisible(window)) shown = window;
            Sleep(10);
        }
        if (shown == main) return 1;
    }
    Sleep(300);  // the first paint of every part
    PrintTitle(shown);
    PumpUntilDone();
    if (refuse) PostMessageW(shown, WM_COMMAND, IDC_MESSAGE_OK, 0);
    CloseUI();
    return 0;
}

// A store to show: the default settings and two profiles of the sample model.
void SeedStore(const ScanSettingsRecord& settings) {
    const DriverPaths paths = GetDriverPaths();
    wchar_t defaultUse[kPathChars] = {};
    wchar_t store[kPathChars] = {};
    wchar_t schema[kPathChars] = {};
    ReadDefaultUse(paths.registrationFile, defaultUse);
    BuildConfigurationListPath(paths.dataFolder, defaultUse, store);
    BuildConfigurationSchemaPath(schema);
    DeleteFileW(store);
    XMLSCN_HANDLE handle = nullptr;
    if (XMLSCN_Open(store, schema, &handle) != 0) return;
    const struct {
        const wchar_t* name;
        const wchar_t* detail;
        std::int32_t resolution;
    } profiles[] = {{L"Default settings", L"", 2},
                    {L"Office documents", L"Letters and forms", 3},
                    {L"Photos, 600 dpi", L"Prints and albums", 6}};
    for (const auto& profile : profiles) {
        ScanSettingsRecord record = settings;
        wcscpy_s(record.config_name, profile.name);
        wcscpy_s(record.config_detail, profile.detail);
        record.resolution = profile.resolution;
        record.color_selection = 1;
        XMLSCN_Add(handle, &record);
    }
    XMLSCN_Save(handle, nullptr);
    XMLSCN_Close(handle);
}

// A visible window of `thread` holding `controlId`, waited for.
HWND WaitForWindowWith(DWORD thread, int controlId) {
    for (int i = 0; i < 500; ++i) {
        struct Search {
            int id;
            HWND found;
        } search{controlId, nullptr};
        EnumThreadWindows(
            thread,
            [](HWND window, LPARAM parameter) -> BOOL {
                auto* wanted = reinterpret_cast<Search*>(parameter);
                if (!IsWindowVisible(window) || GetDlgItem(window, wanted->id) == nullptr)
                    return TRUE;
                wanted->found = window;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) return search.found;
        Sleep(10);
    }
    return nullptr;
}

// The profiles window, its New editor or the Save-as editor over the settings window.
int ShowProfiles(HWND host, const std::wstring& which) {
    DevListRecord* model = ReadSampleModel();
    if (model == nullptr) return 1;
    static ScanSettingsRecord settings{};
    static std::uint32_t option = 1;
    standin::ApplyModelDefaults(*model, settings);
    SeedStore(settings);
    const HWND main = OpenSettings(host, settings, model, option);
    if (main == nullptr) return 1;
    HWND pane = nullptr;
    while ((pane = FindWindowExW(main, pane, L"#32770", nullptr)) != nullptr) {
        if (GetDlgItem(pane, IDC_DETAILS_SAVE_AS) != nullptr) break;
    }
    if (pane == nullptr) return 1;
    HWND shown = nullptr;
    if (which == L"profile-save-as") {
        PostMessageW(pane, WM_COMMAND, MAKEWPARAM(IDC_DETAILS_SAVE_AS, BN_CLICKED), 0);
        shown = WaitForWindowWith(GetWindowThreadProcessId(main, nullptr), IDC_PROFILE_SAVE);
    } else {
        PostMessageW(pane, WM_COMMAND, MAKEWPARAM(IDC_DETAILS_PROFILES, BN_CLICKED), 0);
        HWND profiles = nullptr;
        for (int i = 0; i < 500 && profiles == nullptr; ++i) {
            const DlgProfiles* dialog = DialogSlot<DlgProfiles>::Current();
            profiles = dialog != nullptr ? dialog->Window() : nullptr;
            Sleep(10);
        }
        if (profiles == nullptr) return 1;
        shown = profiles;
        if (which == L"profile-new") {
            PostMessageW(profiles, WM_COMMAND, MAKEWPARAM(IDC_PROFILES_NEW, BN_CLICKED), 0);
            shown =
                WaitForWindowWith(GetWindowThreadProcessId(profiles, nullptr), IDC_PROFILE_SAVE);
        }
    }
    if (shown == nullptr) return 1;
    if (which != L"profiles") {
        SendDlgItemMessageW(shown, IDC_PROFILE_NAME, WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(L"Contracts, two-sided"));
        SendDlgItemMessageW(shown, IDC_PROFILE_DETAIL, WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(L"For the legal archive"));
    }
    Sleep(300);  // the first paint of every part
    PrintTitle(shown);
    PumpUntilDone();
    if (which != L"profiles") PostMessageW(shown, WM_CLOSE, 0, 0);
    Sleep(100);
    CloseUI();
    return 0;
}

}  // namespace

// The preview of the stand-in host's test page with a scan area drawn; "preview-zoomed"
// then shows it at 200 %, "preview-rotated" turned clockwise at 100 %.
int ShowPreview(const std::wstring& which) {
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"window-shots-preview.bmp";
    if (!quorveltwain::host::WriteBmp(path, quorveltwain::host::RenderTestPage(
                                                200, quorveltwain::host::PagePixels::Color24, 1)))
        return 1;
    ShowPreviewImage(path.c_str());
    HWND window = nullptr;
    for (int tick = 0; tick < 500 && (window == nullptr || !IsWindowVisible(window)); ++tick) {
        const DlgPreview* preview = DialogSlot<DlgPreview>::Current();
        window = preview != nullptr ? preview->Window() : nullptr;
        Sleep(10);
    }
    if (window == nullptr) return 1;
    SetForegroundWindow(window);
    Sleep(100);
    standin::DragScanArea(window, {60, 90}, {250, 330});
    if (which == L"preview-zoomed") {
        SendDlgItemMessageW(window, IDC_PREVIEW_ZOOM_LIST, CB_SETCURSEL, 4, 0);
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_PREVIEW_ZOOM_LIST, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_PREVIEW_ZOOM_LIST)));
    } else if (which == L"preview-rotated") {
        SendMessageW(window, WM_COMMAND, IDM_ROTATE_CLOCKWISE, 0);
    }
    SetFocus(nullptr);
    PrintTitle(window);
    PumpUntilDone();
    DialogSlot<DlgPreview>::Current()->CloseFromOtherThread(5000);
    return 0;
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_shots <case> <done-file>\n");
        return 2;
    }
    const std::wstring which = argv[1];
    g_doneFile = argv[2];
    // The pointer out of the way: a control under it is drawn hot (a list's header cell,
    // a button), which is not how a window looks at rest.
    SetCursorPos(0, 0);

    const HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                      nullptr, nullptr);
    ScanSettingsRecord settings{};
    std::uint32_t option = 0;
    InitializeUI(host, &settings, nullptr, &option, nullptr);
    if (CurrentUiContext() == nullptr || CurrentUiContext()->resourceModule == nullptr) {
        std::fprintf(stderr, "the resource library is not installed\n");
        return 1;
    }

    if (which == L"progress" || which == L"message-0" || which == L"message-5") {
        ShowScanProgress();
        if (which == L"message-0") ShowScanInterruptionUI(0);
        if (which == L"message-5") ShowErrorMessage(5);
        const bool progressOnly = which == L"progress";
        const HWND window = progressOnly ? CurrentUiContext()->progressDialog->Window()
                                         : CurrentUiContext()->messageDialog->Window();
        if (window == nullptr) return 1;
        // Give the keyboard focus somewhere neutral, as after the user's last click.
        SetFocus(nullptr);
        PrintTitle(window);
        PumpUntilDone();
        if (!progressOnly) ShowErrorMessage(4);  // closes the visible message
        CloseScanProgress();
    } else if (which == L"settings-basic") {
        return ShowSettings(host, 1016, false);
    } else if (which == L"settings-imaging") {
        return ShowSettings(host, 1010, false);
    } else if (which == L"settings-advanced") {
        return ShowSettings(host, 1013, false);
    } else if (which == L"settings-refused") {
        return ShowSettings(host, 1010, true);
    } else if (which == L"about") {
        return ShowSettings(host, 1016, false, true);
    } else if (which.rfind(L"preview", 0) == 0) {
        return ShowPreview(which);
    } else if (which.rfind(L"profile", 0) == 0) {
        return ShowProfiles(host, which);
    } else if (which.rfind(L"message-", 0) == 0) {
        ShowQuestion(std::stoi(which.substr(8)));
    } else {
        std::fprintf(stderr, "unknown case\n");
        return 2;
    }
    DestroyWindow(host);
    return 0;
}
