#include "ReferenceSource.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <type_traits>

#include "TwainUiVersion.h"

namespace reference {

using namespace twain;
using quorveltwain::host::PagePixels;

HMODULE SourceModule();

namespace {

// Messages the source posts to its own window, so that work asked for inside a host message
// (which the library's thread waits on) runs later from the application's own loop.
constexpr UINT kStartScan = WM_APP + 0x51;
constexpr UINT kPreview = WM_APP + 0x52;
constexpr UINT kNotify = WM_APP + 0x53;       // wParam: the TWAIN message
constexpr UINT kQueuedEvent = WM_APP + 0x54;  // carries queuedEvent_ through DAT_EVENT
constexpr wchar_t kWindowClass[] = L"TwainUiReferenceSourceHost";

// Sheets in the stand-in feeder when the application takes every image there is.
constexpr int kSheetsInFeeder = 3;
constexpr double kPreviewDpi = 200;  // the preview window reads frames at this resolution

constexpr wchar_t kLibraryFolder[] = L"\\TWAIN_64\\VRXTWAIN\\";
// The model this source stands in for; a real source would ask its scanner.
constexpr wchar_t kDeviceList[] = L"DEVICES\\mf7240-a3.xml";
constexpr wchar_t kDeviceSchema[] = L"DEVICELIST.xsd";

void CopyText(char (&to)[34], const char* from) {
    std::strncpy(to, from, sizeof(to) - 1);
    to[sizeof(to) - 1] = '\0';
}

TW_IDENTITY OwnIdentity() {
    TW_IDENTITY identity{};
    identity.Version.MajorNum = TWAINUI_VERSION_MAJOR;
    identity.Version.MinorNum = TWAINUI_VERSION_MINOR;
    identity.Version.Language = TWLG_ENGLISH;
    identity.Version.Country = TWCY_USA;
    CopyText(identity.Version.Info, TWAINUI_VERSION_TEXT);
    identity.ProtocolMajor = 2;
    identity.ProtocolMinor = 4;
    identity.SupportedGroups = DG_CONTROL | DG_IMAGE | DF_DS2;
    CopyText(identity.Manufacturer, TWAINUI_MANUFACTURER);
    CopyText(identity.ProductFamily, "TWAIN_UI");
    CopyText(identity.ProductName, "TWAIN_UI Reference Source");
    return identity;
}

std::wstring LibraryFolder() {
    wchar_t windows[MAX_PATH] = {};
    GetSystemWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows) + kLibraryFolder;
}

template <typename Function>
bool Get(HMODULE library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
    return function != nullptr;
}

int Pixels(double mm, int dpi) {
    return static_cast<int>(mm * dpi / 25.4 + 0.5);
}

}  // namespace

ReferenceSource& ReferenceSource::Instance() {
    static ReferenceSource source;
    return source;
}

TW_UINT16 ReferenceSource::Fail(TW_UINT16 condition) {
    condition_ = condition;
    return TWRC_FAILURE;
}

TW_UINT16 ReferenceSource::Entry(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 dat,
                                 TW_UINT16 message, TW_MEMREF data) {
    if (group == DG_CONTROL && dat == DAT_STATUS && message == MSG_GET && data != nullptr) {
        *static_cast<TW_STATUS*>(data) = TW_STATUS{condition_, 0};
        condition_ = TWCC_SUCCESS;
        return TWRC_SUCCESS;
    }
    condition_ = TWCC_SUCCESS;
    if (data == nullptr) return Fail(TWCC_BADVALUE);
    if (state_ == 3 && !(dat == DAT_IDENTITY || dat == DAT_ENTRYPOINT)) {
        return Fail(TWCC_SEQERROR);
    }
    if (group == DG_CONTROL) return Control(origin, dat, message, data);
    if (group == DG_IMAGE) return Image(dat, message, data);
    return Fail(TWCC_BADPROTOCOL);
}

TW_UINT16 ReferenceSource::Control(TW_IDENTITY* origin, TW_UINT16 dat, TW_UINT16 message,
                                   TW_MEMREF data) {
    switch (dat) {
        case DAT_IDENTITY: {
            auto& identity = *static_cast<TW_IDENTITY*>(data);
            if (message == MSG_GET) {
                const TW_UINT32 id = state_ > 3 ? self_.Id : identity.Id;
                identity = OwnIdentity();
                identity.Id = id;
                return TWRC_SUCCESS;
            }
            if (message == MSG_OPENDS && origin != nullptr) return Open(*origin, identity);
            if (message == MSG_CLOSEDS) return Close();
            return Fail(TWCC_BADPROTOCOL);
        }
        case DAT_ENTRYPOINT:
            if (message != MSG_SET) return Fail(TWCC_BADPROTOCOL);
            entry_ = *static_cast<TW_ENTRYPOINT*>(data);
            return TWRC_SUCCESS;
        case DAT_CALLBACK2:
            if (message != MSG_REGISTER_CALLBACK) return Fail(TWCC_BADPROTOCOL);
            callback_ = *static_cast<TW_CALLBACK2*>(data);
            return TWRC_SUCCESS;
        case DAT_USERINTERFACE:
            if (message == MSG_ENABLEDS || message == MSG_ENABLEDSUIONLY) {
                return Enable(message, *static_cast<TW_USERINTERFACE*>(data));
            }
            if (message == MSG_DISABLEDS) return Disable();
            return Fail(TWCC_BADPROTOCOL);
        case DAT_EVENT:
            if (message != MSG_PROCESSEVENT) return Fail(TWCC_BADPROTOCOL);
            return ProcessEvent(*static_cast<TW_EVENT*>(data));
        case DAT_PENDINGXFERS:
            return PendingXfers(message, *static_cast<TW_PENDINGXFERS*>(data));
        case DAT_CAPABILITY: {
            const ContainerMemory memory{entry_.DSM_MemAllocate, entry_.DSM_MemLock,
                                         entry_.DSM_MemUnlock};
            return capabilities_->Handle(message, *static_cast<TW_CAPABILITY*>(data), state_,
                                         memory, condition_);
        }
        case DAT_SETUPMEMXFER:
            if (message != MSG_GET) return Fail(TWCC_BADPROTOCOL);
            return SetupMemXfer(*static_cast<TW_SETUPMEMXFER*>(data));
        case DAT_XFERGROUP:
            if (message != MSG_GET) return Fail(TWCC_BADPROTOCOL);
            *static_cast<TW_UINT32*>(data) = DG_IMAGE;
            return TWRC_SUCCESS;
        default:
            return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 ReferenceSource::Image(TW_UINT16 dat, TW_UINT16 message, TW_MEMREF data) {
    switch (dat) {
        case DAT_IMAGEINFO:
            if (message != MSG_GET) return Fail(TWCC_BADPROTOCOL);
            return ImageInfo(*static_cast<TW_IMAGEINFO*>(data));
        case DAT_IMAGELAYOUT:
            return ImageLayout(message, *static_cast<TW_IMAGELAYOUT*>(data));
        case DAT_IMAGENATIVEXFER:
            if (message != MSG_GET) return Fail(TWCC_BADPROTOCOL);
            return NativeXfer(*static_cast<TW_HANDLE*>(data));
        case DAT_IMAGEMEMXFER:
            if (message != MSG_GET) return Fail(TWCC_BADPROTOCOL);
            return MemXfer(*static_cast<TW_IMAGEMEMXFER*>(data));
        default:
            return Fail(TWCC_BADPROTOCOL);
    }
}

// ---- Opening and closing: the library, the model and the host window. ----

bool ReferenceSource::LoadUiLibrary() {
    if (ui_.module != nullptr) return true;
    const std::wstring folder = LibraryFolder();
    // Freed again only when the library turns out unusable; kept for good once it works.
    std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> owner(
        LoadLibraryW((folder + L"TWAIN_UI.dll").c_str()), &FreeLibrary);
    const HMODULE library = owner.get();
    if (library == nullptr) return false;
    UiLibrary ui;
    const bool complete =
        Get(library, "InitializeUI", ui.InitializeUI) && Get(library, "OpenUI", ui.OpenUI) &&
        Get(library, "CloseUI", ui.CloseUI) &&
        Get(library, "ShowScanProgress", ui.ShowScanProgress) &&
        Get(library, "CloseScanProgress", ui.CloseScanProgress) &&
        Get(library, "CancelScanUI", ui.CancelScanUI) &&
        Get(library, "ShowPreviewImage", ui.ShowPreviewImage) &&
        Get(library, "XMLSCNLST_Open", ui.XMLSCNLST_Open) &&
        Get(library, "XMLSCNLST_Read", ui.XMLSCNLST_Read) &&
        Get(library, "XMLSCNLST_Close", ui.XMLSCNLST_Close) &&
        Get(library, "XML_ValidateOriginalSizeRestriction", ui.checks.originalSize) &&
        Get(library, "XML_ValidateResolutionRestriction", ui.checks.resolution) &&
        Get(library, "XML_ValidateColorModeRestriction", ui.checks.colorMode) &&
        Get(library, "XML_ValidateDuplexModeRestriction", ui.checks.duplexMode);
    if (!complete) return false;
    XMLSCN_HANDLE list = nullptr;
    std::uint32_t status =
        ui.XMLSCNLST_Open((folder + kDeviceList).c_str(), (folder + kDeviceSchema).c_str(), &list);
    if (status == XMLSCN_OK) {
        status = ui.XMLSCNLST_Read(list, &device_);
        ui.XMLSCNLST_Close(list);
    }
    if (status != XMLSCN_OK) return false;
    // The library is never unloaded (its windows' threads may still reach the context while
    // it is loaded), and its context keeps pointers into this module's record: this module
    // must then stay too, even when the Data Source Manager frees it after MSG_CLOSEDS.
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&Instance), &self);
    ui_ = ui;
    ui_.module = owner.release();
    // A session starts on the model's defaults; later sessions keep what the user chose.
    std::int32_t ScanSettingsRecord::*const fields[DEVLIST_SETTING_COUNT] = {
        &ScanSettingsRecord::original_size,   &ScanSettingsRecord::original_orientation,
        &ScanSettingsRecord::original_image,  &ScanSettingsRecord::resolution,
        &ScanSettingsRecord::exposure_level,  &ScanSettingsRecord::duplex,
        &ScanSettingsRecord::color_selection, &ScanSettingsRecord::prevent_bleed_through,
        &ScanSettingsRecord::sending_size,    &ScanSettingsRecord::contrast};
    for (int setting = 0; setting < DEVLIST_SETTING_COUNT; ++setting) {
        const DevListValueList& values = device_->values[setting];
        for (std::uint32_t i = 0; i < values.count; ++i) {
            if (i == 0 || values.items[i].is_default != 0) {
                settings_.*fields[setting] = values.items[i].code;
            }
        }
    }
    settings_.reverse_image = 1;
    settings_.rotation = 1;
    return true;
}

bool ReferenceSource::CreateHostWindow() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = SourceModule();
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);  // fails harmlessly when a previous open registered it
    // Message-only, and on the application's thread: the library's host messages are then
    // handled where the application's loop runs.
    hostWindow_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  SourceModule(), nullptr);
    return hostWindow_ != nullptr;
}

TW_UINT16 ReferenceSource::Open(const TW_IDENTITY& application, const TW_IDENTITY& self) {
    if (state_ != 3) return Fail(TWCC_MAXCONNECTIONS);
    if (!LoadUiLibrary() || !CreateHostWindow()) return Fail(TWCC_BUMMER);
    application_ = application;
    self_ = OwnIdentity();
    self_.Id = self.Id;
    capabilities_ = std::make_unique<Capabilities>(settings_, *device_, ui_.checks);
    state_ = 4;
    return TWRC_SUCCESS;
}

TW_UINT16 ReferenceSource::Close() {
    if (state_ != 4) return Fail(TWCC_SEQERROR);
    DestroyWindow(hostWindow_);
    hostWindow_ = nullptr;
    capabilities_.reset();
    callback_ = TW_CALLBACK2{};
    state_ = 3;
    return TWRC_SUCCESS;
}

// ---- Enabling: the settings window, or a scan at once. ----

TW_UINT16 ReferenceSource::Enable(TW_UINT16 message, const TW_USERINTERFACE& ui) {
    if (state_ != 4) return Fail(TWCC_SEQERROR);
    // Again on every enable: the library takes the new owner window and keeps everything else.
    ui_.InitializeUI(hostWindow_, &settings_, device_, &option_, static_cast<HWND>(ui.hParent));
    cancelled_ = false;
    queuedEvent_ = 0;
    settingsOnly_ = message == MSG_ENABLEDSUIONLY;
    state_ = 5;
    if (settingsOnly_ || ui.ShowUI != 0) {
        ui_.OpenUI(nullptr);
        settingsOpen_ = true;
    } else {
        PostMessageW(hostWindow_, kStartScan, 0, 0);
    }
    return TWRC_SUCCESS;
}

TW_UINT16 ReferenceSource::Disable() {
    if (state_ != 5) return Fail(TWCC_SEQERROR);
    if (settingsOpen_) {
        settingsOpen_ = false;
        ui_.CloseUI();
    }
    queuedEvent_ = 0;
    state_ = 4;
    return TWRC_SUCCESS;
}

TW_UINT16 ReferenceSource::ProcessEvent(TW_EVENT& event) {
    if (state_ < 5) return Fail(TWCC_SEQERROR);
    event.TWMessage = 0;
    const MSG* message = static_cast<const MSG*>(event.pEvent);
    if (message != nullptr && message->hwnd == hostWindow_ && message->message == kQueuedEvent) {
        event.TWMessage = queuedEvent_;
        queuedEvent_ = 0;
        return TWRC_DSEVENT;
    }
    // Everything else, the source's own posted work included, goes back to the application's
    // DispatchMessage: work done here would run inside this call, and a notification from it
    // would re-enter the application while it waits for DSM_Entry to return.
    return TWRC_NOTDSEVENT;
}

// ---- Host messages and the notifications they become. ----

LRESULT CALLBACK ReferenceSource::HostWindowProc(HWND window, UINT message, WPARAM wParam,
                                                 LPARAM lParam) {
    try {
        ReferenceSource& source = Instance();
        if (window == source.hostWindow_) return source.OnHostMessage(message, wParam, lParam);
    } catch (...) {  // nothing may unwind into the library's or the application's loop
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT ReferenceSource::OnHostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case HM_SCAN:
            // The settings thread waits in here, so the record holds still: the scan's
            // settings are taken now, the scan itself starts from the application's loop.
            if (wParam == 1) {
                PostMessageW(hostWindow_, kPreview, 0, 0);
            } else if (settingsOnly_) {
                PostMessageW(hostWindow_, kNotify, MSG_CLOSEDSOK, 0);
            } else {
                job_ = CurrentJob();
                pending_ = ImagesInFeeder();
                PostMessageW(hostWindow_, kStartScan, 1, 0);
            }
            return 0;
        case HM_CANCEL:
            // The progress window's Cancel: the images not yet sent are dropped; the
            // application learns it from TWRC_CANCEL on its next transfer.
            if (state_ >= 6 && !cancelled_) {
                cancelled_ = true;
                if (progressShown_) {
                    progressShown_ = false;
                    ui_.CancelScanUI();
                }
            }
            return 0;
        case HM_UI_CLOSED:
            if (settingsOpen_) {
                settingsOpen_ = false;
                ui_.CloseUI();  // does not wait: the settings thread is ending
                PostMessageW(hostWindow_, kNotify, MSG_CLOSEDSREQ, 0);
            }
            return 0;
        case kStartScan:
            StartScan(wParam == 1);
            return 0;
        case kPreview:
            Preview();
            return 0;
        case kNotify:
            Notify(static_cast<TW_UINT16>(wParam));
            return 0;
        default:
            return DefWindowProcW(hostWindow_, message, wParam, lParam);
    }
}

// A notification leaves on the application's thread, from its own loop. Through the Data
// Source Manager when the application registered a callback there (TWAIN 2); otherwise the
// posted kQueuedEvent wakes the application's loop, which hands it to DAT_EVENT, and the
// message comes back as TW_EVENT.TWMessage.
void ReferenceSource::Notify(TW_UINT16 message) {
    if (state_ < 5) return;
    if (callback_.CallBackProc != nullptr && entry_.DSM_Entry != nullptr &&
        entry_.DSM_Entry(&self_, &application_, DG_CONTROL, DAT_NULL, message, nullptr) ==
            TWRC_SUCCESS) {
        return;
    }
    queuedEvent_ = message;
    PostMessageW(hostWindow_, kQueuedEvent, 0, 0);
}

ReferenceSource::Job ReferenceSource::CurrentJob() const {
    Job job;
    const TW_UINT16 type = capabilities_->PixelType();
    job.pixels = type == TWPT_BW     ? PagePixels::BlackWhite1
                 : type == TWPT_GRAY ? PagePixels::Gray8
                                     : PagePixels::Color24;
    job.xDpi = capabilities_->XDpi();
    job.yDpi = capabilities_->YDpi();
    job.frame = capabilities_->ScanFrame();
    job.memory = capabilities_->MemoryTransfer();
    return job;
}

int ReferenceSource::ImagesInFeeder() const {
    const int count = capabilities_->XferCount();
    if (count > 0) return count;
    return kSheetsInFeeder * (capabilities_->Duplex() ? 2 : 1);
}

void ReferenceSource::StartScan(bool settingsTaken) {
    if (state_ != 5) return;
    if (!settingsTaken) {
        job_ = CurrentJob();
        pending_ = ImagesInFeeder();
    }
    nextPage_ = 1;
    cancelled_ = false;
    page_.reset();
    state_ = 6;
    // With the settings window open the progress window is what enables it again.
    if (settingsOpen_ || capabilities_->Indicators()) {
        ui_.ShowScanProgress();
        progressShown_ = true;
    }
    Notify(MSG_XFERREADY);
}

// The preview window reads its frame in whole millimetres of an image taken at 200 dpi.
void ReferenceSource::Preview() {
    wchar_t folder[MAX_PATH] = {};
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    ui_.ShowScanProgress();
    const bool written = GetTempFileNameW(folder, L"prv", 0, path) != 0 &&
                         quorveltwain::host::WriteBmp(
                             path, quorveltwain::host::RenderTestPage(static_cast<int>(kPreviewDpi),
                                                                      PagePixels::Color24, 1));
    ui_.CloseScanProgress();
    if (written) ui_.ShowPreviewImage(path);
}

bool ReferenceSource::PageReady() {
    if (!page_) page_.emplace(nextPage_, job_.pixels, job_.xDpi, job_.yDpi, job_.frame);
    return page_->Width() > 0;
}

void ReferenceSource::EndScan() {
    state_ = 5;
    pending_ = 0;
    page_.reset();
    if (progressShown_) {
        progressShown_ = false;
        ui_.CloseScanProgress();
    }
}

// ---- Transfers. ----

TW_UINT16 ReferenceSource::PendingXfers(TW_UINT16 message, TW_PENDINGXFERS& pending) {
    pending.EOJ = 0;
    switch (message) {
        case MSG_GET:
            pending.Count = static_cast<TW_UINT16>(state_ >= 6 ? pending_ : 0);
            return TWRC_SUCCESS;
        case MSG_ENDXFER:
            if (state_ != 6 && state_ != 7) return Fail(TWCC_SEQERROR);
            page_.reset();
            ++nextPage_;
            pending_ = cancelled_ ? 0 : pending_ - 1;
            pending.Count = static_cast<TW_UINT16>(pending_);
            if (pending_ > 0) {
                state_ = 6;
            } else {
                EndScan();
            }
            return TWRC_SUCCESS;
        case MSG_RESET:
            if (state_ != 6) return Fail(TWCC_SEQERROR);
            pending.Count = 0;
            EndScan();
            return TWRC_SUCCESS;
        default:
            return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 ReferenceSource::ImageInfo(TW_IMAGEINFO& info) {
    if (state_ != 6 && state_ != 7) return Fail(TWCC_SEQERROR);
    if (!PageReady()) return Fail(TWCC_LOWMEMORY);
    const double perUnit = 1.0 / capabilities_->UnitsPerInch();
    info = TW_IMAGEINFO{};
    info.XResolution = ToFix32(page_->XDpi() * perUnit);
    info.YResolution = ToFix32(page_->YDpi() * perUnit);
    info.ImageWidth = page_->Width();
    info.ImageLength = page_->Height();
    const int bits = page_->BitsPerPixel();
    info.SamplesPerPixel = static_cast<TW_INT16>(bits == 24 ? 3 : 1);
    for (int sample = 0; sample < info.SamplesPerPixel; ++sample) {
        info.BitsPerSample[sample] = static_cast<TW_INT16>(bits == 1 ? 1 : 8);
    }
    info.BitsPerPixel = static_cast<TW_INT16>(bits);
    info.Planar = 0;
    info.PixelType = static_cast<TW_INT16>(bits == 24 ? TWPT_RGB : bits == 8 ? TWPT_GRAY : TWPT_BW);
    info.Compression = TWCP_NONE;
    return TWRC_SUCCESS;
}

TW_UINT16 ReferenceSource::ImageLayout(TW_UINT16 message, TW_IMAGELAYOUT& layout) {
    switch (message) {
        case MSG_GET:
        case MSG_GETCURRENT:
            layout = capabilities_->Layout();
            return TWRC_SUCCESS;
        case MSG_GETDEFAULT:
            layout = capabilities_->Layout(false);
            return TWRC_SUCCESS;
        case MSG_SET:
            if (state_ != 4) return Fail(TWCC_SEQERROR);
            return capabilities_->SetLayout(layout) ? TWRC_SUCCESS : Fail(TWCC_BADVALUE);
        case MSG_RESET:
            if (state_ != 4) return Fail(TWCC_SEQERROR);
            capabilities_->ResetLayout();
            layout = capabilities_->Layout();
            return TWRC_SUCCESS;
        default:
            return Fail(TWCC_BADPROTOCOL);
    }
}

TW_UINT16 ReferenceSource::NativeXfer(TW_HANDLE& dib) {
    if (state_ != 6) return Fail(TWCC_SEQERROR);
    state_ = 7;
    if (cancelled_) return TWRC_CANCEL;
    HGLOBAL image = PageReady() ? page_->ToDib() : nullptr;
    if (image == nullptr) {
        state_ = 6;
        return Fail(TWCC_LOWMEMORY);
    }
    dib = image;
    return TWRC_XFERDONE;
}

TW_UINT16 ReferenceSource::SetupMemXfer(TW_SETUPMEMXFER& setup) {
    if (state_ < 4 || state_ > 6) return Fail(TWCC_SEQERROR);
    const Job job = state_ == 6 ? job_ : CurrentJob();
    const int bits = quorveltwain::host::BitsPerPixel(job.pixels);
    const auto width = static_cast<TW_UINT32>(Pixels(job.frame.right - job.frame.left, job.xDpi));
    const auto height = static_cast<TW_UINT32>(Pixels(job.frame.bottom - job.frame.top, job.yDpi));
    const TW_UINT32 bytesPerRow = (width * bits + 7) / 8;
    setup.MinBufSize = bytesPerRow;
    setup.MaxBufSize = bytesPerRow * height;
    setup.Preferred =
        std::min(setup.MaxBufSize, std::max(bytesPerRow, 64u * 1024) / bytesPerRow * bytesPerRow);
    return TWRC_SUCCESS;
}

TW_UINT16 ReferenceSource::MemXfer(TW_IMAGEMEMXFER& strip) {
    if (state_ != 6 && state_ != 7) return Fail(TWCC_SEQERROR);
    if (cancelled_) {
        state_ = 7;
        return TWRC_CANCEL;
    }
    if (!PageReady()) return Fail(TWCC_LOWMEMORY);
    if (state_ == 6) rowsSent_ = 0;
    if (rowsSent_ >= page_->Height()) return Fail(TWCC_SEQERROR);
    const std::size_t bytesPerRow = page_->BytesPerRow();
    const TW_MEMORY& memory = strip.Memory;
    if ((memory.Flags & TWMF_APPOWNS) == 0 || memory.TheMem == nullptr ||
        memory.Length < bytesPerRow) {
        return Fail(TWCC_BADVALUE);
    }
    const bool isHandle = (memory.Flags & TWMF_HANDLE) != 0;
    const ContainerMemory lock{nullptr, entry_.DSM_MemLock, entry_.DSM_MemUnlock};
    auto* buffer = static_cast<std::uint8_t*>(isHandle ? lock.Lock(memory.TheMem) : memory.TheMem);
    if (buffer == nullptr) return Fail(TWCC_BADVALUE);
    const int rows =
        std::min(static_cast<int>(memory.Length / bytesPerRow), page_->Height() - rowsSent_);
    page_->CopyRows(rowsSent_, rows, buffer, bytesPerRow);
    if (isHandle) lock.Unlock(memory.TheMem);
    strip.Compression = TWCP_NONE;
    strip.BytesPerRow = static_cast<TW_UINT32>(bytesPerRow);
    strip.Columns = static_cast<TW_UINT32>(page_->Width());
    strip.Rows = static_cast<TW_UINT32>(rows);
    strip.XOffset = 0;
    strip.YOffset = static_cast<TW_UINT32>(rowsSent_);
    strip.BytesWritten = static_cast<TW_UINT32>(rows * bytesPerRow);
    rowsSent_ += rows;
    state_ = 7;
    return rowsSent_ >= page_->Height() ? TWRC_XFERDONE : TWRC_SUCCESS;
}

}  // namespace reference
