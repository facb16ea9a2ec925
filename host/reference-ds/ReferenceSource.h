#pragma once
// The reference data source: TWAIN's states and triplets on one side, TWAIN_UI.dll on the
// other. One instance per process serves the one application connection a source allows.
//
// Every call arrives on the application's thread, and the library sends its host messages
// to a window this source creates on that same thread, so its handlers run there too. A
// notification for the application is never made from inside a host message: the handler
// posts to the source's own window, and the notification goes out from the application's
// own loop when that message is dispatched (or passed to DAT_EVENT).

#include <windows.h>

#include <memory>
#include <optional>

#include "Capabilities.h"
#include "ScannedPage.h"
#include "TwainTypes.h"
#include "twain_ui.h"

namespace reference {

class ReferenceSource {
  public:
    static ReferenceSource& Instance();

    twain::TW_UINT16 Entry(twain::TW_IDENTITY* origin, twain::TW_UINT32 group, twain::TW_UINT16 dat,
                           twain::TW_UINT16 message, twain::TW_MEMREF data);

  private:
    ReferenceSource() = default;

    struct UiLibrary {
        HMODULE module = nullptr;
        decltype(&::InitializeUI) InitializeUI = nullptr;
        decltype(&::OpenUI) OpenUI = nullptr;
        decltype(&::CloseUI) CloseUI = nullptr;
        decltype(&::ShowScanProgress) ShowScanProgress = nullptr;
        decltype(&::CloseScanProgress) CloseScanProgress = nullptr;
        decltype(&::CancelScanUI) CancelScanUI = nullptr;
        decltype(&::ShowPreviewImage) ShowPreviewImage = nullptr;
        decltype(&::XMLSCNLST_Open) XMLSCNLST_Open = nullptr;
        decltype(&::XMLSCNLST_Read) XMLSCNLST_Read = nullptr;
        decltype(&::XMLSCNLST_Close) XMLSCNLST_Close = nullptr;
        RestrictionChecks checks;
    };

    // What one scan delivers, fixed when it starts.
    struct Job {
        quorveltwain::host::PagePixels pixels = quorveltwain::host::PagePixels::Color24;
        int xDpi = 200, yDpi = 200;
        FrameMm frame;
        bool memory = false;
    };

    twain::TW_UINT16 Fail(twain::TW_UINT16 condition);
    twain::TW_UINT16 Control(twain::TW_IDENTITY* origin, twain::TW_UINT16 dat,
                             twain::TW_UINT16 message, twain::TW_MEMREF data);
    twain::TW_UINT16 Image(twain::TW_UINT16 dat, twain::TW_UINT16 message, twain::TW_MEMREF data);
    twain::TW_UINT16 Open(const twain::TW_IDENTITY& application, const twain::TW_IDENTITY& self);
    twain::TW_UINT16 Close();
    twain::TW_UINT16 Enable(twain::TW_UINT16 message, const twain::TW_USERINTERFACE& ui);
    twain::TW_UINT16 Disable();
    twain::TW_UINT16 ProcessEvent(twain::TW_EVENT& event);
    twain::TW_UINT16 PendingXfers(twain::TW_UINT16 message, twain::TW_PENDINGXFERS& pending);
    twain::TW_UINT16 ImageInfo(twain::TW_IMAGEINFO& info);
    twain::TW_UINT16 ImageLayout(twain::TW_UINT16 message, twain::TW_IMAGELAYOUT& layout);
    twain::TW_UINT16 NativeXfer(twain::TW_HANDLE& dib);
    twain::TW_UINT16 MemXfer(twain::TW_IMAGEMEMXFER& strip);
    twain::TW_UINT16 SetupMemXfer(twain::TW_SETUPMEMXFER& setup);

    bool LoadUiLibrary();
    bool CreateHostWindow();
    static LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnHostMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // `settingsTaken`: HM_SCAN already read the job from the record.
    void StartScan(bool settingsTaken);
    void Preview();
    void Notify(twain::TW_UINT16 message);
    bool PageReady();
    void EndScan();
    Job CurrentJob() const;
    int ImagesInFeeder() const;

    int state_ = 3;
    twain::TW_UINT16 condition_ = twain::TWCC_SUCCESS;
    twain::TW_IDENTITY self_{};
    twain::TW_IDENTITY application_{};
    twain::TW_ENTRYPOINT entry_{};
    twain::TW_CALLBACK2 callback_{};
    UiLibrary ui_;
    DevListRecord* device_ = nullptr;
    ScanSettingsRecord settings_{};
    std::uint32_t option_ = 0;
    std::unique_ptr<Capabilities> capabilities_;
    HWND hostWindow_ = nullptr;
    bool settingsOpen_ = false;
    bool settingsOnly_ = false;  // MSG_ENABLEDSUIONLY: Scan means "keep these settings"
    bool progressShown_ = false;
    bool cancelled_ = false;
    twain::TW_UINT16 queuedEvent_ = 0;  // for DAT_EVENT when no callback carries it
    Job job_;
    int pending_ = 0;                  // images left, the current one included
    int nextPage_ = 1;                 // number of the next test page
    std::optional<ScannedPage> page_;  // the image in transfer (state 7) or about to be
    int rowsSent_ = 0;
};

}  // namespace reference
