// The preview window as a host meets it: ShowPreviewImage with a BMP the test wrote, the
// window on its own thread driven with the messages a user's mouse and buttons send, and
// the settings record, the host messages and the image file checked afterwards.

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

#include "ResourceIds.h"
#include "WindowTestHost.h"
#include "api/UiContext.h"
#include "platform/LibraryModule.h"
#include "platform/LiveObjects.h"
#include "support/TestFiles.h"
#include "twain_ui.h"
#include "ui/DialogSlot.h"
#include "ui/DlgMain.h"
#include "ui/DlgPreview.h"
#include "ui/PreviewGeometry.h"
#include "ui/UiMessages.h"

using namespace quorveltwain;
using windowtests::PumpUntil;
using windowtests::RecordingWindow;

namespace {

struct BmpFacts {
    std::int32_t width = 0, height = 0;
    int bits = 0;
};

// A BMP of `bits` (1 or 24) per pixel whose top-left quarter is black and the rest white,
// so a turn shows where the corner went.
void WriteTestBmp(const std::wstring& path, int width, int height, int bits) {
    const int rowBytes = ((width * bits + 31) / 32) * 4;
    const int colours = bits == 1 ? 2 : 0;
    const int offset = 14 + 40 + colours * 4;
    std::string file(static_cast<std::size_t>(offset + rowBytes * height), '\0');
    BITMAPFILEHEADER header{0x4D42, static_cast<DWORD>(file.size()), 0, 0,
                            static_cast<DWORD>(offset)};
    BITMAPINFOHEADER info{};
    info.biSize = 40;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = static_cast<WORD>(bits);
    info.biXPelsPerMeter = info.biYPelsPerMeter = 7874;  // 200 dpi
    info.biClrUsed = static_cast<DWORD>(colours);
    std::memcpy(file.data(), &header, 14);
    std::memcpy(file.data() + 14, &info, 40);
    if (bits == 1) {
        const RGBQUAD palette[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
        std::memcpy(file.data() + 54, palette, sizeof(palette));
    }
    for (int y = 0; y < height; ++y) {
        char* row = file.data() + offset + static_cast<std::ptrdiff_t>(rowBytes) * (height - 1 - y);
        for (int x = 0; x < width; ++x) {
            const bool black = x < width / 2 && y < height / 2;
            if (bits == 1) {
                if (!black) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            } else {
                std::memset(row + x * 3, black ? 0 : 255, 3);
            }
        }
    }
    ASSERT_TRUE(testsupport::WriteBytes(path, file));
}

BmpFacts ReadBmpFacts(const std::wstring& path) {
    const std::string file = testsupport::ReadBytes(path);
    BmpFacts facts;
    if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') return facts;
    BITMAPINFOHEADER info{};
    std::memcpy(&info, file.data() + 14, sizeof(info));
    facts.width = info.biWidth;
    facts.height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    facts.bits = info.biBitCount;
    return facts;
}

// Whether the 1-bit file's pixel (x, y from the top) is black (palette entry 0 is black).
bool BlackAt1Bit(const std::wstring& path, int x, int y) {
    const std::string file = testsupport::ReadBytes(path);
    BITMAPFILEHEADER header{};
    BITMAPINFOHEADER info{};
    std::memcpy(&header, file.data(), 14);
    std::memcpy(&info, file.data() + 14, 40);
    RGBQUAD palette[2]{};
    std::memcpy(palette, file.data() + 54, sizeof(palette));
    const int rowBytes = ((info.biWidth + 31) / 32) * 4;
    const auto* row = reinterpret_cast<const unsigned char*>(file.data()) + header.bfOffBits +
                      static_cast<std::ptrdiff_t>(rowBytes) * (info.biHeight - 1 - y);
    const int index = (row[x / 8] >> (7 - x % 8)) & 1;
    return palette[index].rgbRed == 0;
}

std::wstring StatusText(HWND window, int part) {
    wchar_t text[128] = {};
    ::SendDlgItemMessageW(window, IDC_PREVIEW_STATUS, SB_GETTEXTW, part,
                          reinterpret_cast<LPARAM>(text));
    return text;
}

class PreviewWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        SetLibraryModule(::GetModuleHandleW(nullptr));
        UseUnit(0);
        image_ = testsupport::BuildFolder(L"preview-files") + L"\\preview.bmp";
        InitializeUI(host_.get(), &settings_, nullptr, &option_, nullptr);
    }
    void TearDown() override {
        CloseUI();
        if (DlgPreview* preview = Preview()) preview->CloseFromOtherThread(5000);
        ::DeleteFileW(image_.c_str());
        // The prefix's driver files as they were.
        testsupport::WriteBytes(registration_, registrationBefore_);
        ::DeleteFileW(definition_.c_str());
        ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr);
    }

    static std::wstring DriverFile(const wchar_t* name) {
        wchar_t folder[MAX_PATH] = {};
        ::GetEnvironmentVariableW(L"PUBLIC", folder, MAX_PATH);
        return std::wstring(folder) + L"\\Documents\\Quorvel\\ZQ_TWAIN\\" + name;
    }
    // The default scanner's definition file says `unit`.
    void UseUnit(int unit) {
        ::WritePrivateProfileStringW(L"Setting", L"DefaultUse", L"P1", registration_.c_str());
        ::WritePrivateProfileStringW(L"ScannerP1", L"DefFile", L"P1.ini", registration_.c_str());
        ::WritePrivateProfileStringW(L"Contents", L"Unit", unit == 0 ? L"0" : L"1",
                                     definition_.c_str());
        ::WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr);
    }

    static DlgPreview* Preview() { return DialogSlot<DlgPreview>::Current(); }

    // Shows the image and waits until the window is shown and active.
    HWND Show() {
        ShowPreviewImage(image_.c_str());
        HWND window = nullptr;
        PumpUntil([&] {
            DlgPreview* preview = Preview();
            window = preview != nullptr ? preview->Window() : nullptr;
            return window != nullptr && ::IsWindowVisible(window);
        });
        if (window != nullptr) {
            ::SetForegroundWindow(window);
            PumpUntil([&] { return ::GetForegroundWindow() == window; }, 2000);
            area_ = {};
            WINDOWPLACEMENT placement{};
            placement.length = sizeof(placement);
            ::GetWindowPlacement(::GetDlgItem(window, IDC_PREVIEW_IMAGE), &placement);
            area_ = placement.rcNormalPosition;
        }
        return window;
    }
    static void Command(HWND window, int id) { ::SendMessageW(window, WM_COMMAND, id, 0); }
    static void Mouse(HWND window, UINT message, POINT point, bool held) {
        ::SendMessageW(window, message, held ? MK_LBUTTON : 0, MAKELPARAM(point.x, point.y));
    }
    // The window captures the mouse and also sees the real pointer's moves, which arrive
    // whenever its thread gets to them: the real pointer waits where the gesture ends, so a
    // late move of it agrees with the messages sent.
    void PointerAt(HWND window, POINT point) const {
        RECT onScreen{};
        ::GetWindowRect(::GetDlgItem(window, IDC_PREVIEW_IMAGE), &onScreen);
        ::SetCursorPos(onScreen.left + point.x - area_.left, onScreen.top + point.y - area_.top);
    }
    // A drag with the left button from `from` to `to` in a few steps.
    void Drag(HWND window, POINT from, POINT to) const {
        PointerAt(window, to);
        Mouse(window, WM_MOUSEMOVE, from, false);
        Mouse(window, WM_LBUTTONDOWN, from, true);
        for (int step = 1; step <= 3; ++step) {
            const POINT at{from.x + (to.x - from.x) * step / 3,
                           from.y + (to.y - from.y) * step / 3};
            Mouse(window, WM_MOUSEMOVE, at, true);
        }
        Mouse(window, WM_LBUTTONUP, to, false);
    }
    bool Ended() {
        return PumpUntil([] { return Preview() == nullptr || !Preview()->Running(); });
    }

    const std::wstring registration_ = DriverFile(L"RegList.ini");
    const std::wstring definition_ = DriverFile(L"P1.ini");
    const std::string registrationBefore_ = testsupport::ReadBytes(registration_);
    RecordingWindow host_{L"Preview tests: host"};
    ScanSettingsRecord settings_{};
    std::uint32_t option_ = 0;
    std::wstring image_;
    RECT area_{};
};

TEST_F(PreviewWindow, FramesDrawnWithTheMouseAreAtLeastTenMillimetresAndInsideTheImage) {
    // 800 x 1000 pixels at 200 dpi: 101.6 x 127 mm; at 100 % it fits the view.
    WriteTestBmp(image_, 800, 1000, 24);
    const HWND window = Show();
    ASSERT_NE(window, nullptr);
    DlgPreview* preview = Preview();
    Command(window, IDC_PREVIEW_FRAME_TOOL);
    EXPECT_EQ(preview->ActiveTool(), DlgPreview::Tool::Frame);

    // A drag of a few pixels to the right and down: 10 x 10 mm from the press.
    const POINT press{area_.left + 50, area_.top + 60};
    Drag(window, press, {press.x + 3, press.y + 2});
    const std::int32_t left = preview::RoundedMm(50 / preview::kZoomAt100);
    const std::int32_t top = preview::RoundedMm(60 / preview::kZoomAt100);
    EXPECT_EQ(preview->FrameMm(), (preview::Frame{left, top, left + 10, top + 10}));
    // The texts follow the driver's unit, read again for every text: millimetres, then
    // inches once the definition file says so.
    EXPECT_EQ(StatusText(window, 1), L"X: 32mm , Y: 38mm");
    EXPECT_EQ(StatusText(window, 2), L"W: 10mm , H: 10mm");
    UseUnit(1);
    Drag(window, press, {press.x + 3, press.y + 2});
    EXPECT_EQ(StatusText(window, 1), L"X: 1.26in , Y: 1.50in");
    EXPECT_EQ(StatusText(window, 2), L"W: 0.39in , H: 0.39in");
    UseUnit(0);

    // At the image's bottom-right corner the frame is pushed back inside: 102 x 127 mm.
    const POINT corner{area_.left + 159, area_.top + 199};
    Drag(window, {corner.x - 2, corner.y - 2}, corner);
    const preview::Frame pushed = preview->FrameMm();
    EXPECT_EQ(pushed.right, 102);
    EXPECT_EQ(pushed.bottom, 127);
    EXPECT_EQ(pushed.right - pushed.left, 10);
    EXPECT_EQ(pushed.bottom - pushed.top, 10);

    // A click without moving clears the frame and the texts; Scan then sends no frame.
    Drag(window, press, press);
    EXPECT_TRUE(preview->FrameMm().Empty());
    EXPECT_EQ(StatusText(window, 1), L"");

    // A bigger drag, then Scan: the frame goes into the record, the host is asked to scan
    // (no settings window: directly), the file is gone and the thread ends.
    Drag(window, press, {press.x + 100, press.y + 80});
    const preview::Frame drawn = preview->FrameMm();
    EXPECT_EQ(drawn.right - drawn.left,
              preview::RoundedMm(100 / preview::kZoomAt100 + 50 / preview::kZoomAt100) - left);
    settings_.rotation = 7;
    ::PostMessageW(window, WM_COMMAND, IDC_PREVIEW_SCAN, 0);
    ASSERT_TRUE(PumpUntil([&] { return host_.Count(HM_SCAN) == 1; }));
    EXPECT_EQ(host_.Messages().back().wParam, 0u);
    EXPECT_EQ(settings_.has_frame_entry, 1);
    EXPECT_EQ(settings_.left, drawn.left);
    EXPECT_EQ(settings_.top, drawn.top);
    EXPECT_EQ(settings_.right, drawn.right);
    EXPECT_EQ(settings_.bottom, drawn.bottom);
    EXPECT_EQ(settings_.rotation, 1);
    EXPECT_TRUE(Ended());
    EXPECT_FALSE(testsupport::FileExists(image_));
}

TEST_F(PreviewWindow, TurnsRewriteTheFileInItsOwnDepthAndSetTheRotation) {
    // A 1-bit page: the platform's codec does not turn these.
    WriteTestBmp(image_, 200, 120, 1);
    HWND window = Show();
    ASSERT_NE(window, nullptr);
    Command(window, IDM_ROTATE_CLOCKWISE);
    BmpFacts facts = ReadBmpFacts(image_);
    EXPECT_EQ(facts.bits, 1);
    EXPECT_EQ(facts.width, 120);
    EXPECT_EQ(facts.height, 200);
    // The black top-left quarter is now the top-right one.
    EXPECT_TRUE(BlackAt1Bit(image_, 119, 0));
    EXPECT_FALSE(BlackAt1Bit(image_, 0, 0));
    Command(window, IDM_ROTATE_CLOCKWISE);
    Command(window, IDM_ROTATE_CLOCKWISE);
    EXPECT_EQ(Preview()->RotationDegrees(), 270);
    facts = ReadBmpFacts(image_);
    EXPECT_EQ(facts.width, 120);
    EXPECT_EQ(facts.bits, 1);
    EXPECT_TRUE(BlackAt1Bit(image_, 0, 199));  // three turns: the corner is bottom left
    ::PostMessageW(window, WM_COMMAND, IDC_PREVIEW_SCAN, 0);
    ASSERT_TRUE(PumpUntil([&] { return host_.Count(HM_SCAN) == 1; }));
    EXPECT_EQ(settings_.rotation, 4);
    EXPECT_EQ(settings_.has_frame_entry, 0);
    EXPECT_EQ(settings_.left + settings_.top + settings_.right + settings_.bottom, 0.0);
    ASSERT_TRUE(Ended());

    // A colour page turned there and back: rotation 1, the file in its first shape.
    WriteTestBmp(image_, 300, 100, 24);
    window = Show();
    ASSERT_NE(window, nullptr);
    Command(window, IDM_ROTATE_CLOCKWISE);
    facts = ReadBmpFacts(image_);
    EXPECT_EQ(facts.width, 100);
    EXPECT_EQ(facts.height, 300);
    Command(window, IDM_ROTATE_COUNTERCLOCKWISE);
    EXPECT_EQ(ReadBmpFacts(image_).width, 300);
    ::PostMessageW(window, WM_COMMAND, IDC_PREVIEW_SCAN, 0);
    ASSERT_TRUE(PumpUntil([&] { return host_.Count(HM_SCAN) == 2; }));
    EXPECT_EQ(settings_.rotation, 1);
}

TEST_F(PreviewWindow, ZoomToolStepsThroughTheListAndStopsAtItsEnds) {
    WriteTestBmp(image_, 1654, 2339, 24);  // A4 at 200 dpi
    const HWND window = Show();
    ASSERT_NE(window, nullptr);
    DlgPreview* preview = Preview();
    const auto entry = [&] {
        return static_cast<int>(
            ::SendDlgItemMessageW(window, IDC_PREVIEW_ZOOM_LIST, CB_GETCURSEL, 0, 0));
    };
    EXPECT_EQ(entry(), 2);
    Command(window, IDM_ZOOM_IN);
    EXPECT_EQ(preview->ActiveTool(), DlgPreview::Tool::Zoom);
    const POINT at{area_.left + 40, area_.top + 40};
    PointerAt(window, at);
    for (int click = 0; click < 6; ++click) {
        Mouse(window, WM_MOUSEMOVE, at, false);
        Mouse(window, WM_LBUTTONDOWN, at, true);
        Mouse(window, WM_LBUTTONUP, at, false);
    }
    EXPECT_EQ(entry(), 6);
    EXPECT_DOUBLE_EQ(preview->Zoom(), preview::ZoomFromPercent(400));
    // Zoomed in on a point near the top left: the view starts at the page's edge.
    EXPECT_EQ(preview->Offsets().x, 0);

    // The vertical scroll bar's bottom is the page's bottom less the view; the keys move the
    // image as the scroll bars do.
    const std::int32_t bottom =
        preview::MaxOffset(2339, area_.bottom - area_.top, preview::ZoomFromPercent(400));
    ::SendMessageW(window, WM_VSCROLL, SB_BOTTOM,
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, IDC_PREVIEW_VSCROLL)));
    EXPECT_EQ(preview->Offsets().y, bottom);
    ::PostMessageW(window, WM_KEYDOWN, VK_HOME, 0);
    EXPECT_TRUE(PumpUntil([&] { return preview->Offsets().y == 0; }));
    ::PostMessageW(window, WM_KEYDOWN, VK_END, 0);
    EXPECT_TRUE(PumpUntil([&] { return preview->Offsets().y == bottom; }));
    ::PostMessageW(window, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_TRUE(PumpUntil([&] { return preview->Offsets().x == 10; }));

    Command(window, IDM_ZOOM_OUT);
    for (int click = 0; click < 8; ++click) {
        Mouse(window, WM_MOUSEMOVE, at, false);
        Mouse(window, WM_LBUTTONDOWN, at, true);
        Mouse(window, WM_LBUTTONUP, at, false);
    }
    EXPECT_EQ(entry(), 0);
    EXPECT_DOUBLE_EQ(preview->Zoom(), preview::ZoomFromPercent(50));
    EXPECT_EQ(preview->Offsets().y, 0);
}

TEST_F(PreviewWindow, UnderTheSettingsWindowResetAsksAndCloseUIEndsThePreview) {
    WriteTestBmp(image_, 400, 300, 24);
    XMLSCN_HANDLE list = nullptr;
    DevListRecord* model = nullptr;
    const std::wstring path = testsupport::SourcePath(L"data\\devices\\mf7240-a3.xml");
    const std::wstring schema = testsupport::SourcePath(L"data\\DEVICELIST.xsd");
    ASSERT_EQ(XMLSCNLST_Open(path.c_str(), schema.c_str(), &list), XMLSCN_OK);
    XMLSCNLST_Read(list, &model);
    XMLSCN_Close(list);
    ASSERT_NE(model, nullptr);
    InitializeUI(host_.get(), &settings_, model, &option_, nullptr);
    OpenUI(nullptr);
    HWND main = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        const DlgMain* dialog = CurrentUiContext()->mainDialog;
        main = dialog != nullptr ? dialog->Window() : nullptr;
        return main != nullptr && ::IsWindowVisible(main);
    }));
    const HWND window = Show();
    ASSERT_NE(window, nullptr);
    // The settings window is locked and the preview owns the UI.
    EXPECT_FALSE(::IsWindowEnabled(main));
    EXPECT_EQ(CurrentUiContext()->mainDialog->ActiveWindow(), window);

    // Reset asks question 105; No keeps the turn, Yes undoes it.
    Command(window, IDM_ROTATE_HALF_TURN);
    const auto answer = [&](int button) {
        ::PostMessageW(window, WM_COMMAND, IDC_PREVIEW_RESET, 0);
        HWND question = nullptr;
        EXPECT_TRUE(PumpUntil([&] {
            question = nullptr;
            ::EnumThreadWindows(
                ::GetWindowThreadProcessId(window, nullptr),
                [](HWND candidate, LPARAM found) -> BOOL {
                    if (!::IsWindowVisible(candidate) ||
                        ::GetDlgItem(candidate, IDC_MESSAGE_YES) == nullptr)
                        return TRUE;
                    *reinterpret_cast<HWND*>(found) = candidate;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&question));
            return question != nullptr;
        }));
        if (question != nullptr) ::PostMessageW(question, WM_COMMAND, button, 0);
        PumpUntil([&] { return !::IsWindow(question); });
    };
    answer(IDC_MESSAGE_NO);
    EXPECT_EQ(Preview()->RotationDegrees(), 180);
    answer(IDC_MESSAGE_YES);
    // The file is turned back before the window starts again.
    EXPECT_TRUE(PumpUntil(
        [&] { return Preview()->RotationDegrees() == 0 && ReadBmpFacts(image_).width == 400; }));

    // CloseUI with the preview open: its file goes and its thread ends first.
    CloseUI();
    EXPECT_FALSE(Preview()->Running());
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(testsupport::FileExists(image_));
    EXPECT_EQ(host_.Count(HM_SCAN), 0);
}

}  // namespace

namespace {

TEST_F(PreviewWindow, RepeatedPreviewsLeaveNothingBehind) {
    const auto cycle = [&] {
        WriteTestBmp(image_, 300, 200, 24);
        const HWND window = Show();
        if (window == nullptr) return false;
        Command(window, IDM_ROTATE_CLOCKWISE);  // a turn makes a new picture at its zoom
        Command(window, IDC_PREVIEW_CLOSE);
        return Ended();
    };
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(cycle()) << "warm-up cycle " << i;
    const long handles = LiveObjects::Count(LiveKind::KernelHandle);
    const long gdi = LiveObjects::Count(LiveKind::GdiObject);
    const long windows = LiveObjects::Count(LiveKind::Window);
    DWORD processHandles = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &processHandles);
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(cycle()) << "cycle " << i;
    const auto backTo = [](LiveKind kind, long count) {
        return PumpUntil([=] { return LiveObjects::Count(kind) == count; });
    };
    EXPECT_TRUE(backTo(LiveKind::KernelHandle, handles));
    EXPECT_TRUE(backTo(LiveKind::GdiObject, gdi));
    EXPECT_TRUE(backTo(LiveKind::Window, windows));
    DWORD after = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &after);
    // One thread handle or one file left per preview would show as 20 here.
    EXPECT_LT(after, processHandles + 5);
    // Replaced objects are freed once their thread has ended.
    EXPECT_LE(DialogSlot<DlgPreview>::KeptCount(), 2u);
}

}  // namespace
