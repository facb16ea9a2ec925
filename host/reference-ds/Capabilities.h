#pragma once
// Capability negotiation, read from and written to the library's ScanSettingsRecord: what the
// application sets through TWAIN is what the settings window then shows, and what the user
// picks there is what the application reads back. The scanner model's device list decides
// which values are offered; the library's restriction checks decide whether a value fits the
// other settings.

#include <vector>

#include "TwainTypes.h"
#include "twain_ui.h"

namespace reference {

using RestrictionCheck = uint32_t (*)(uint32_t, const DevListRecord*, const ScanSettingsRecord*);

struct RestrictionChecks {
    RestrictionCheck originalSize = nullptr;
    RestrictionCheck resolution = nullptr;
    RestrictionCheck colorMode = nullptr;
    RestrictionCheck duplexMode = nullptr;
};

// Memory the application frees: the Data Source Manager's allocator when it gave one.
struct ContainerMemory {
    twain::DSM_MEMALLOCATE allocate = nullptr;
    twain::DSM_MEMLOCK lock = nullptr;
    twain::DSM_MEMUNLOCK unlock = nullptr;
    twain::TW_HANDLE Allocate(std::size_t bytes) const;
    void* Lock(twain::TW_HANDLE handle) const;
    void Unlock(twain::TW_HANDLE handle) const;
};

// The scan area in millimetres from the top-left corner of the original.
struct FrameMm {
    double left = 0, top = 0, right = 0, bottom = 0;
};

class Capabilities {
  public:
    Capabilities(ScanSettingsRecord& settings, const DevListRecord& device,
                 const RestrictionChecks& checks);

    // One DAT_CAPABILITY triplet in `state` (4 to 7); the return code, with the condition
    // code for DAT_STATUS in `condition`.
    twain::TW_UINT16 Handle(twain::TW_UINT16 message, twain::TW_CAPABILITY& capability, int state,
                            const ContainerMemory& memory, twain::TW_UINT16& condition);

    // DAT_IMAGELAYOUT, in the current units; the default is the whole original.
    twain::TW_IMAGELAYOUT Layout(bool withScanArea = true) const;
    bool SetLayout(const twain::TW_IMAGELAYOUT& layout);
    void ResetLayout();

    // What a scan needs to know.
    int XferCount() const { return xferCount_; }
    bool MemoryTransfer() const { return xferMech_ == twain::TWSX_MEMORY; }
    bool Indicators() const { return indicators_; }
    double UnitsPerInch() const;
    FrameMm ScanFrame(bool withScanArea = true) const;
    int XDpi() const;
    int YDpi() const;
    twain::TW_UINT16 PixelType() const;
    bool Duplex() const { return settings_.duplex == kDuplexOn; }

  private:
    static constexpr int kDuplexOn = 2, kDuplexOff = 1;

    struct Values {
        twain::TW_UINT16 itemType = 0;
        std::vector<twain::TW_UINT32> allowed;  // empty: any value Apply accepts
        twain::TW_UINT32 current = 0, defaultValue = 0;
        twain::TW_INT32 operations = 0;  // TWQC_ flags
    };
    bool Describe(twain::TW_UINT16 cap, Values& values) const;
    bool Apply(twain::TW_UINT16 cap, twain::TW_UINT32 value);
    twain::TW_UINT32 ToUnits(double mm) const;
    std::vector<twain::TW_UINT32> Resolutions(bool x) const;
    bool SelectResolution(int xDpi, int yDpi);
    bool Allowed(RestrictionCheck check, int code) const;
    bool Offers(int setting, int code) const;
    int DefaultCode(int setting) const;

    ScanSettingsRecord& settings_;
    const DevListRecord& device_;
    RestrictionChecks checks_;
    twain::TW_INT16 xferCount_ = -1;
    twain::TW_UINT16 units_ = twain::TWUN_INCHES;
    twain::TW_UINT16 xferMech_ = twain::TWSX_NATIVE;
    bool indicators_ = true;
};

}  // namespace reference
