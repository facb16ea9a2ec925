// A TWAIN application of the project's own: it loads the platform's Data Source Manager, opens
// the reference data source and scans with it as an application does, then checks every image
// against the test page it must show. Each wait is bounded; a step that does not come fails
// the run (exit 1) with its name. Usage: twain_client [--direct] [--shot settings.bmp]

#include <windows.h>

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "ResourceIds.h"
#include "ScreenCapture.h"
#include "TestPage.h"
#include "TwainTypes.h"

using namespace twain;
using quorveltwain::host::PagePixels;

namespace {

constexpr DWORD kWaitMs = 20000;
constexpr char kSourceName[] = "TWAIN_UI Reference Source";

DSMENTRYPROC g_dsm = nullptr;
TW_IDENTITY g_app{};
TW_IDENTITY g_source{};
HWND g_window = nullptr;
DWORD g_thread = 0;
int g_failures = 0;
volatile TW_UINT16 g_callbackMessage = 0;  // set by the callback, read by the loop
bool g_callbackOffThread = false;
int g_notifications = 0;

void Check(bool ok, const char* what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
    std::fflush(stdout);
    if (!ok) ++g_failures;
}

[[noreturn]] void Stop(const char* what) {
    Check(false, what);
    std::printf("%d failures\n", g_failures);
    std::fflush(stdout);
    ExitProcess(1);
}

TW_UINT16 Source(TW_UINT32 group, TW_UINT16 dat, TW_UINT16 message, void* data) {
    return g_dsm(&g_app, &g_source, group, dat, message, data);
}

TW_UINT16 Condition() {
    TW_STATUS status{};
    Source(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
    return status.ConditionCode;
}

TW_UINT16 WINAPI Callback(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16 message,
                          TW_MEMREF) {
    if (GetCurrentThreadId() != g_thread) g_callbackOffThread = true;
    g_callbackMessage = message;
    return TWRC_SUCCESS;
}

TW_UINT16 SetOne(TW_UINT16 cap, TW_UINT16 type, TW_UINT32 value) {
    TW_CAPABILITY capability{cap, TWON_ONEVALUE, GlobalAlloc(GHND, sizeof(TW_ONEVALUE))};
    auto* one = static_cast<TW_ONEVALUE*>(GlobalLock(capability.hContainer));
    one->ItemType = type;
    one->Item = value;
    GlobalUnlock(capability.hContainer);
    const TW_UINT16 result = Source(DG_CONTROL, DAT_CAPABILITY, MSG_SET, &capability);
    GlobalFree(capability.hContainer);
    return result;
}

// The container the source answers `message` with, as bytes (none on failure), and its type.
std::vector<std::uint8_t> Container(TW_UINT16 cap, TW_UINT16 message, TW_UINT16& type) {
    TW_CAPABILITY capability{cap, TWON_DONTCARE16, nullptr};
    if (Source(DG_CONTROL, DAT_CAPABILITY, message, &capability) != TWRC_SUCCESS) return {};
    type = capability.ConType;
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(capability.hContainer));
    std::vector<std::uint8_t> copy(bytes, bytes + GlobalSize(capability.hContainer));
    GlobalUnlock(capability.hContainer);
    GlobalFree(capability.hContainer);
    return copy;
}

// The current value of a capability (MSG_GETCURRENT, a TW_ONEVALUE), or `fallback`.
TW_UINT32 Current(TW_UINT16 cap, TW_UINT32 fallback) {
    TW_UINT16 type = 0;
    const std::vector<std::uint8_t> bytes = Container(cap, MSG_GETCURRENT, type);
    TW_ONEVALUE one{0, fallback};
    if (type == TWON_ONEVALUE && bytes.size() >= sizeof(one))
        std::memcpy(&one, bytes.data(), sizeof(one));
    return one.Item;
}

// Pumps the application's loop, passing every message to the source first, until the source
// sends `wanted` (through DAT_EVENT or the callback) or the time is up. Blocks in
// MsgWaitForMultipleObjects between messages: a source that does not wake the loop fails here.
bool WaitForSource(TW_UINT16 wanted, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TW_EVENT event{&message, 0};
            const TW_UINT16 result = Source(DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event);
            if (event.TWMessage != 0) g_callbackMessage = event.TWMessage;
            if (result != TWRC_DSEVENT) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
        }
        if (g_callbackMessage == wanted) {
            g_callbackMessage = 0;
            ++g_notifications;
            return true;
        }
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - spent, QS_ALLINPUT);
    }
}

// ---- Images: each must be the test page of its number, as the source was asked for it. ----

PagePixels PixelsOf(TW_INT16 pixelType) {
    return pixelType == TWPT_BW     ? PagePixels::BlackWhite1
           : pixelType == TWPT_GRAY ? PagePixels::Gray8
                                    : PagePixels::Color24;
}

bool Bit(const std::uint8_t* row, int x) {
    return (row[x / 8] >> (7 - x % 8)) & 1;
}

// `width` x `height` pixels of an image, each row `stride` bytes after the one above it, must be
// the test page from `left`, `top` (pixels). Native transfers are bottom-up DIBs with blue
// first, memory transfers top-down with red first.
struct Rows {
    const std::uint8_t* first;  // the top row
    std::ptrdiff_t stride;
    bool redFirst;
};

bool ImageIsPage(const Rows& rows, int width, int height, const TW_IMAGEINFO& info, int number,
                 int left, int top) {
    const auto page = quorveltwain::host::RenderTestPage(
        static_cast<int>(FromFix32(info.XResolution)), PixelsOf(info.PixelType), number);
    if (left + width > page.width || top + height > page.height) return false;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* got = rows.first + y * rows.stride;
        const std::uint8_t* want =
            page.bits.data() + std::size_t(page.height - 1 - top - y) * page.stride;
        for (int x = 0; x < width; ++x) {
            const int from = left + x;
            const bool same = info.BitsPerPixel == 1 ? Bit(got, x) == Bit(want, from)
                              : info.BitsPerPixel == 8
                                  ? got[x] == want[from]
                                  : got[3 * x] == want[3 * from + (rows.redFirst ? 2 : 0)] &&
                                        got[3 * x + 1] == want[3 * from + 1] &&
                                        got[3 * x + 2] == want[3 * from + (rows.redFirst ? 0 : 2)];
            if (!same) return false;
        }
    }
    return true;
}

// A visible top-level window of this process holding the control `id`: the settings window
// (Scan), the progress window (its Cancel).
HWND VisibleWindowWith(int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* search = reinterpret_cast<Search*>(param);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != GetCurrentProcessId() || !IsWindowVisible(window) ||
                GetDlgItem(window, search->id) == nullptr) {
                return TRUE;
            }
            search->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Transfers every pending image; returns how many arrived, checking each and the count the
// source reports after it. `cancelAfter` (1-based) presses Cancel in the progress window after
// that image: the next transfer must then be cancelled. `left`, `top`: where
// the scan area starts on the page, in pixels.
int TransferAll(bool memory, int expected, int cancelAfter = 0, int left = 0, int top = 0) {
    int received = 0;
    for (int number = 1;; ++number) {
        TW_IMAGEINFO info{};
        if (Source(DG_IMAGE, DAT_IMAGEINFO, MSG_GET, &info) != TWRC_SUCCESS) Stop("DAT_IMAGEINFO");
        TW_UINT16 result = TWRC_FAILURE;
        bool same = false;
        if (memory) {
            TW_SETUPMEMXFER setup{};
            Source(DG_CONTROL, DAT_SETUPMEMXFER, MSG_GET, &setup);
            std::vector<std::uint8_t> buffer(setup.Preferred), image;
            TW_IMAGEMEMXFER strip{};
            std::size_t bytesPerRow = 0;
            do {
                strip = TW_IMAGEMEMXFER{};
                strip.Memory = TW_MEMORY{TWMF_APPOWNS | TWMF_POINTER,
                                         static_cast<TW_UINT32>(buffer.size()), buffer.data()};
                result = Source(DG_IMAGE, DAT_IMAGEMEMXFER, MSG_GET, &strip);
                if (result == TWRC_SUCCESS || result == TWRC_XFERDONE) {
                    bytesPerRow = strip.BytesPerRow;
                    image.insert(image.end(), buffer.begin(), buffer.begin() + strip.BytesWritten);
                }
            } while (result == TWRC_SUCCESS);
            same = result == TWRC_XFERDONE &&
                   image.size() == bytesPerRow * std::size_t(info.ImageLength) &&
                   ImageIsPage(Rows{image.data(), std::ptrdiff_t(bytesPerRow), true},
                               info.ImageWidth, info.ImageLength, info, number, left, top);
        } else {
            TW_HANDLE dib = nullptr;
            result = Source(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib);
            if (result == TWRC_XFERDONE) {
                const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
                const auto* bits = reinterpret_cast<const std::uint8_t*>(header + 1) +
                                   (header->biBitCount == 24 ? 0 : 4 << header->biBitCount);
                const std::ptrdiff_t stride = (header->biWidth * header->biBitCount + 31) / 32 * 4;
                same = header->biWidth == info.ImageWidth && header->biHeight == info.ImageLength &&
                       header->biBitCount == info.BitsPerPixel &&
                       ImageIsPage(Rows{bits + (header->biHeight - 1) * stride, -stride, false},
                                   info.ImageWidth, info.ImageLength, info, number, left, top);
                GlobalUnlock(dib);
                GlobalFree(dib);
            }
        }
        if (result != TWRC_XFERDONE) Stop("an image transfer");
        ++received;
        char what[96];
        std::snprintf(what, sizeof(what), "image %d is test page %d (%dx%d, %d bits)", number,
                      number, int(info.ImageWidth), int(info.ImageLength), info.BitsPerPixel);
        Check(same, what);
        TW_PENDINGXFERS pending{};
        Source(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending);
        if (number == cancelAfter) {
            // The progress window runs in this thread's loop: press Cancel and let it through.
            const HWND progress = VisibleWindowWith(IDC_PROGRESS_CANCEL);
            if (progress == nullptr) Stop("the progress window during the scan");
            PostMessageW(GetDlgItem(progress, IDC_PROGRESS_CANCEL), BM_CLICK, 0, 0);
            WaitForSource(0xffff, 300);  // nothing comes: this only pumps the click through
            Check(!IsWindowVisible(progress), "Cancel closes the progress window");
            TW_HANDLE dib = nullptr;
            Check(Source(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &dib) == TWRC_CANCEL &&
                      Source(DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending) == 0 &&
                      pending.Count == 0,
                  "the next transfer is cancelled and nothing is left pending");
            return received;
        }
        Check(pending.Count == (number < expected ? expected - number : 0),
              "the pending count after the image");
        if (pending.Count == 0) return received;
    }
}

// ---- The settings window, found and used from a helper thread as a user would. ----

struct UiStep {
    const wchar_t* shot = nullptr;
    bool clickScan = false;
    bool close = false;
    HWND settings = nullptr;
};

DWORD WINAPI UserThread(void* param) {
    auto* step = static_cast<UiStep*>(param);
    const DWORD start = GetTickCount();
    HWND scan = nullptr;
    while (GetTickCount() - start < kWaitMs) {
        step->settings = VisibleWindowWith(IDC_SCAN);
        scan = step->settings != nullptr ? GetDlgItem(step->settings, IDC_SCAN) : nullptr;
        // The window shows before its buttons are ready for a click.
        if (scan != nullptr && IsWindowEnabled(step->settings) && IsWindowVisible(scan) &&
            IsWindowEnabled(scan)) {
            break;
        }
        Sleep(50);
    }
    if (scan == nullptr) return 1;
    if (step->shot != nullptr) {
        Sleep(500);  // let the pages finish their first paint
        RedrawWindow(step->settings, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
        Sleep(300);
        standin::CaptureWindow(step->settings, step->shot);
    }
    if (step->clickScan) PostMessageW(scan, BM_CLICK, 0, 0);
    if (step->close) PostMessageW(step->settings, WM_SYSCOMMAND, SC_CLOSE, 0);
    return 0;
}

// Runs one user step and waits for what the source then tells the application.
void UserDoes(UiStep step, TW_UINT16 expected, const char* what) {
    HANDLE thread = CreateThread(nullptr, 0, UserThread, &step, 0, nullptr);
    const bool came = WaitForSource(expected, kWaitMs);
    WaitForSingleObject(thread, kWaitMs);
    DWORD found = 1;
    GetExitCodeThread(thread, &found);
    CloseHandle(thread);
    if (found != 0) Stop("the settings window (opened through the Data Source Manager)");
    if (!came) Stop(what);
    Check(true, what);
}

void Enable(bool showUI, TW_UINT16 message = MSG_ENABLEDS) {
    TW_USERINTERFACE ui{static_cast<TW_BOOL>(showUI), 0, g_window};
    if (Source(DG_CONTROL, DAT_USERINTERFACE, message, &ui) != TWRC_SUCCESS) Stop("enabling");
}

void Disable() {
    TW_USERINTERFACE ui{0, 0, g_window};
    Check(Source(DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui) == TWRC_SUCCESS,
          "MSG_DISABLEDS");
}

// A scan without UI: enable, wait for MSG_XFERREADY, take every image, disable.
void ScanWithoutUI(bool memory, int expected, const char* what, int left = 0, int top = 0) {
    Enable(false);
    if (!WaitForSource(MSG_XFERREADY, kWaitMs)) Stop(what);
    Check(TransferAll(memory, expected, 0, left, top) == expected, what);
    Disable();
}

// ---- What Wine 8's manager leaves out, played by the client itself (--direct). ----
// Wine's manager never hands a source DAT_ENTRYPOINT, so a source cannot call back through it.
// With --direct the client loads the installed source and is its TWAIN 2 manager: entry points
// for the source, and the application's callback called on the source's DAT_NULL.
DSENTRYPROC g_dsEntry = nullptr;
TW_CALLBACK2 g_appCallback{};
int g_managerCallbacks = 0;

TW_UINT16 WINAPI ManagerForSource(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32 group, TW_UINT16 dat,
                                  TW_UINT16 message, TW_MEMREF) {
    if (group != DG_CONTROL || dat != DAT_NULL || g_appCallback.CallBackProc == nullptr) {
        return TWRC_FAILURE;
    }
    ++g_managerCallbacks;
    return reinterpret_cast<DSMENTRYPROC>(g_appCallback.CallBackProc)(&g_source, &g_app, DG_CONTROL,
                                                                      DAT_NULL, message, nullptr);
}

TW_HANDLE WINAPI Allocate(TW_UINT32 size) {
    return GlobalAlloc(GHND, size);
}
void WINAPI Free(TW_HANDLE memory) {
    GlobalFree(memory);
}
TW_MEMREF WINAPI Lock(TW_HANDLE memory) {
    return GlobalLock(memory);
}
void WINAPI Unlock(TW_HANDLE memory) {
    GlobalUnlock(memory);
}

TW_UINT16 WINAPI DirectManager(TW_IDENTITY* origin, TW_IDENTITY* destination, TW_UINT32 group,
                               TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data) {
    if (dat == DAT_PARENT) return TWRC_SUCCESS;
    if (dat == DAT_IDENTITY && destination == nullptr) {
        static_cast<TW_IDENTITY*>(data)->Id = 1;
        if (message == MSG_GETFIRST) return g_dsEntry(origin, group, dat, MSG_GET, data);
        if (message == MSG_GETNEXT) return TWRC_ENDOFLIST;
        if (message == MSG_OPENDS) {
            TW_ENTRYPOINT entry{
                sizeof(TW_ENTRYPOINT), ManagerForSource, Allocate, Free, Lock, Unlock};
            g_dsEntry(origin, DG_CONTROL, DAT_ENTRYPOINT, MSG_SET, &entry);
        }
    }
    if (dat == DAT_CALLBACK2) g_appCallback = *static_cast<TW_CALLBACK2*>(data);
    return g_dsEntry(origin, group, dat, message, data);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const bool direct = argc > 1 && std::wcscmp(argv[1], L"--direct") == 0;
    const wchar_t* shot = argc > 2 && std::wcscmp(argv[1], L"--shot") == 0 ? argv[2] : nullptr;
    g_thread = GetCurrentThreadId();
    HMODULE manager = LoadLibraryW(direct ? L"C:\\windows\\twain_64\\Quorvel\\TWAIN_UI_Reference.ds"
                                          : L"twain_32.dll");
    void* entry =
        manager != nullptr
            ? reinterpret_cast<void*>(GetProcAddress(manager, direct ? "DS_Entry" : "DSM_Entry"))
            : nullptr;
    g_dsEntry = reinterpret_cast<DSENTRYPROC>(entry);
    g_dsm = direct ? DirectManager : reinterpret_cast<DSMENTRYPROC>(entry);
    if (entry == nullptr) Stop(direct ? "the installed source" : "the platform's manager");
    g_window = CreateWindowExW(0, L"STATIC", L"TWAIN client", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                               nullptr, nullptr, nullptr, nullptr);
    g_app.Version.MajorNum = 1;
    g_app.ProtocolMajor = 2;
    g_app.ProtocolMinor = 4;
    g_app.SupportedGroups = DG_CONTROL | DG_IMAGE | DF_APP2;
    std::strcpy(g_app.Manufacturer, "TWAIN_UI tests");
    std::strcpy(g_app.ProductFamily, "TWAIN_UI tests");
    std::strcpy(g_app.ProductName, "twain_client");
    if (g_dsm(&g_app, nullptr, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &g_window) != TWRC_SUCCESS) {
        Stop("MSG_OPENDSM");
    }

    // The sources the manager knows; ours must be among them.
    bool found = false;
    TW_IDENTITY identity{};
    for (TW_UINT16 message = MSG_GETFIRST;
         g_dsm(&g_app, nullptr, DG_CONTROL, DAT_IDENTITY, message, &identity) == TWRC_SUCCESS;
         message = MSG_GETNEXT) {
        std::printf("source: %s (%s)\n", identity.ProductName, identity.Manufacturer);
        if (std::strcmp(identity.ProductName, kSourceName) == 0) {
            g_source = identity;
            found = true;
        }
    }
    if (!found) Stop("the reference source among the manager's sources");
    if (g_dsm(&g_app, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &g_source) != TWRC_SUCCESS) {
        Stop("MSG_OPENDS");
    }
    TW_CALLBACK2 callback{reinterpret_cast<TW_MEMREF>(&Callback), 0, 0};
    const bool callbacks = g_dsm(&g_app, &g_source, DG_CONTROL, DAT_CALLBACK2,
                                 MSG_REGISTER_CALLBACK, &callback) == TWRC_SUCCESS;
    std::printf("callback registration: %s\n", callbacks ? "accepted" : "refused");

    // Without UI: three colour pages in native transfers, then two in memory transfers.
    Check(SetOne(CAP_XFERCOUNT, TWTY_INT16, 3) == TWRC_SUCCESS, "CAP_XFERCOUNT 3");
    Check(SetOne(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB) == TWRC_SUCCESS, "ICAP_PIXELTYPE RGB");
    // What an application reads first: the types the model offers, the current one marked.
    TW_UINT16 type = 0;
    const std::vector<std::uint8_t> list = Container(ICAP_PIXELTYPE, MSG_GET, type);
    TW_ENUMERATION types{};
    std::memcpy(&types, list.data(), std::min(list.size(), sizeof(types)));
    std::vector<TW_UINT16> items(
        list.size() == 14 + 2 * std::size_t(types.NumItems) ? types.NumItems : 0);
    std::memcpy(items.data(), list.data() + 14, 2 * items.size());
    Check(type == TWON_ENUMERATION && types.ItemType == TWTY_UINT16 &&
              items == std::vector<TW_UINT16>{TWPT_BW, TWPT_GRAY, TWPT_RGB} &&
              types.CurrentIndex == 2,
          "ICAP_PIXELTYPE lists black and white, grey and colour, colour current");
    Check(SetOne(ICAP_XRESOLUTION, TWTY_FIX32, 0) != TWRC_SUCCESS && Condition() == TWCC_BADVALUE,
          "a resolution of 0 is refused with TWCC_BADVALUE");
    ScanWithoutUI(false, 3, "three native transfers without UI");

    Check(SetOne(CAP_XFERCOUNT, TWTY_INT16, 2) == TWRC_SUCCESS, "CAP_XFERCOUNT 2");
    Check(SetOne(ICAP_XFERMECH, TWTY_UINT16, TWSX_MEMORY) == TWRC_SUCCESS, "memory transfers");
    ScanWithoutUI(true, 2, "two memory transfers without UI");
    Check(SetOne(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_GRAY) == TWRC_SUCCESS &&
              Current(ICAP_PIXELTYPE, 99) == TWPT_GRAY,
          "ICAP_PIXELTYPE gray");
    ScanWithoutUI(true, 2, "two grey memory transfers without UI");

    // A scan area set in millimetres is that part of the page, read back in inches.
    TW_IMAGELAYOUT layout{{ToFix32(10), ToFix32(20), ToFix32(110), ToFix32(170)}, 1, 1, 1};
    Check(SetOne(ICAP_UNITS, TWTY_UINT16, TWUN_MILLIMETERS) == TWRC_SUCCESS &&
              Source(DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout) == TWRC_SUCCESS &&
              SetOne(ICAP_UNITS, TWTY_UINT16, TWUN_INCHES) == TWRC_SUCCESS &&
              Source(DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout) == TWRC_SUCCESS &&
              std::abs(FromFix32(layout.Frame.Top) - 20 / 25.4) < 0.001,
          "DAT_IMAGELAYOUT set in millimetres and read in inches");
    SetOne(CAP_XFERCOUNT, TWTY_INT16, 1);
    SetOne(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_BW);
    ScanWithoutUI(true, 1, "a black and white scan area, 100 by 150 mm", 79, 157);
    // What the model refuses with the other settings, TWAIN refuses too.
    Check(SetOne(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB) == 0 &&
              SetOne(ICAP_XRESOLUTION, TWTY_INT32, 600) == 0 &&
              SetOne(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_BW) == TWRC_FAILURE &&
              Condition() == TWCC_BADVALUE && SetOne(ICAP_XRESOLUTION, TWTY_INT32, 200) == 0,
          "black and white at 600 dpi is refused, as the model's restrictions say");
    // Both sides of every sheet in the feeder, cut to A5: six images, each the top of its page.
    Check(SetOne(CAP_XFERCOUNT, TWTY_INT16, 0xffff) == 0 &&
              SetOne(CAP_DUPLEXENABLED, TWTY_BOOL, 1) == 0 &&
              SetOne(ICAP_SUPPORTEDSIZES, TWTY_UINT16, TWSS_A5) == 0,
          "every image, both sides, A5");
    ScanWithoutUI(true, 6, "six A5 colour images from three sheets");
    SetOne(CAP_DUPLEXENABLED, TWTY_BOOL, 0);
    SetOne(ICAP_SUPPORTEDSIZES, TWTY_UINT16, TWSS_NONE);
    Check(Source(DG_IMAGE, DAT_IMAGELAYOUT, MSG_RESET, &layout) == TWRC_SUCCESS &&
              layout.Frame.Right.Whole == 8 && SetOne(CAP_XFERCOUNT, TWTY_INT16, 2) == 0,
          "DAT_IMAGELAYOUT reset to the whole A4 original");

    // With the settings window: Scan there, the pages, a scan cancelled in the progress
    // window, and the close box.
    // The settings window opens on what the application chose: grey at 300 dpi.
    Check(SetOne(ICAP_XFERMECH, TWTY_UINT16, TWSX_NATIVE) == 0 &&
              SetOne(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_GRAY) == 0 &&
              SetOne(ICAP_XRESOLUTION, TWTY_INT32, 300) == 0,
          "native transfers, grey, 300 dpi");
    Enable(true);
    UserDoes(UiStep{shot, true, false}, MSG_XFERREADY, "Scan in the settings window");
    Check(TransferAll(false, 2) == 2, "two native transfers from the settings window");
    UserDoes(UiStep{nullptr, true, false}, MSG_XFERREADY, "Scan again");
    Check(TransferAll(false, 2, 1) == 1, "a scan cancelled after its first image");
    UserDoes(UiStep{nullptr, false, true}, MSG_CLOSEDSREQ, "the close box: MSG_CLOSEDSREQ");
    Disable();
    const DWORD closing = GetTickCount();
    while (VisibleWindowWith(IDC_SCAN) != nullptr && GetTickCount() - closing < kWaitMs) {
        WaitForSource(0xffff, 50);  // only pumps
    }
    Check(VisibleWindowWith(IDC_SCAN) == nullptr, "the settings window is gone");

    // Settings only: Scan there means "keep these settings".
    Enable(true, MSG_ENABLEDSUIONLY);
    UserDoes(UiStep{nullptr, true, false}, MSG_CLOSEDSOK, "Scan with settings only: MSG_CLOSEDSOK");
    Disable();

    Check(!g_callbackOffThread, "every callback came on the application's thread");
    if (direct) {
        Check(g_notifications == 9 && g_managerCallbacks == g_notifications,
              "all nine notifications came through the manager's callback");
    }
    Check(g_dsm(&g_app, nullptr, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &g_source) == TWRC_SUCCESS,
          "MSG_CLOSEDS");
    Check(g_dsm(&g_app, nullptr, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &g_window) == TWRC_SUCCESS,
          "MSG_CLOSEDSM");
    std::printf("%d failures\n", g_failures);
    return g_failures == 0 ? 0 : 1;
}
