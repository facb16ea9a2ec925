#include "Capabilities.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

namespace reference {
namespace {

using namespace twain;

constexpr double kMmPerInch = 25.4;
constexpr TW_INT32 kGetOnly = TWQC_GET | TWQC_GETCURRENT | TWQC_GETDEFAULT;
constexpr TW_INT32 kSettable = kGetOnly | TWQC_SET | TWQC_RESET;

// Codes of SCANCONFIGLIST.xsd's vocabularies as TWAIN values.
struct Resolution {
    int code, x, y;
};
constexpr Resolution kResolutions[] = {{1, 200, 100}, {2, 200, 200},  {3, 200, 400},
                                       {4, 300, 300}, {5, 400, 400},  {6, 600, 600},
                                       {7, 150, 150}, {8, 1200, 1200}};

struct PageSize {
    int code;
    TW_UINT16 twain;
    double widthMm, heightMm;
};
// AUTO measures the sheet in the feeder; the stand-in feeder holds A4 test pages.
constexpr PageSize kSizes[] = {{1, TWSS_NONE, 210, 297},         {2, TWSS_A3, 297, 420},
                               {3, TWSS_A4, 210, 297},           {4, TWSS_A5, 148, 210},
                               {5, TWSS_A6, 105, 148},           {7, TWSS_JISB5, 182, 257},
                               {9, TWSS_USLEDGER, 279.4, 431.8}, {10, TWSS_USLETTER, 215.9, 279.4},
                               {11, TWSS_USLEGAL, 215.9, 355.6}};

struct ColourMode {
    int code;
    TW_UINT16 pixelType;
};
// The automatic modes scan in the richest type they may choose.
constexpr ColourMode kColourModes[] = {{1, TWPT_RGB}, {2, TWPT_GRAY}, {3, TWPT_BW},
                                       {4, TWPT_RGB}, {5, TWPT_BW},   {6, TWPT_GRAY}};

constexpr TW_UINT16 kSupportedCaps[] = {CAP_XFERCOUNT,      ICAP_COMPRESSION,    ICAP_PIXELTYPE,
                                        ICAP_UNITS,         ICAP_XFERMECH,       CAP_SUPPORTEDCAPS,
                                        CAP_INDICATORS,     CAP_UICONTROLLABLE,  CAP_DEVICEONLINE,
                                        CAP_DUPLEX,         CAP_DUPLEXENABLED,   CAP_ENABLEDSUIONLY,
                                        ICAP_PHYSICALWIDTH, ICAP_PHYSICALHEIGHT, ICAP_XRESOLUTION,
                                        ICAP_YRESOLUTION,   ICAP_SUPPORTEDSIZES};

TW_UINT32 Fix(double value) {
    const TW_FIX32 fix = ToFix32(value);
    TW_UINT32 raw = 0;
    std::memcpy(&raw, &fix, sizeof(raw));
    return raw;
}

double Unfix(TW_UINT32 raw) {
    TW_FIX32 fix;
    std::memcpy(&fix, &raw, sizeof(fix));
    return FromFix32(fix);
}

std::size_t ItemSize(TW_UINT16 type) {
    return type == TWTY_INT16 || type == TWTY_UINT16 || type == TWTY_BOOL ? 2 : 4;
}

// An item of `from` type as a value of `to` type: applications send a resolution as an
// integer or a pixel type as a 32-bit number often enough that a strict source is a nuisance.
TW_UINT32 Convert(TW_UINT16 from, TW_UINT32 raw, TW_UINT16 to) {
    double value = raw;
    switch (from) {
        case TWTY_FIX32:
            value = Unfix(raw);
            break;
        case TWTY_INT16:
            value = static_cast<TW_INT16>(raw & 0xffff);
            break;
        case TWTY_UINT16:
        case TWTY_BOOL:
            value = raw & 0xffff;
            break;
        case TWTY_INT32:
            value = static_cast<TW_INT32>(raw);
            break;
        default:
            break;
    }
    if (to == TWTY_FIX32) return Fix(value);
    return static_cast<TW_UINT32>(static_cast<TW_INT32>(std::lround(value)));
}

template <typename Table, typename Match>
const auto* Find(const Table& table, Match match) {
    const auto found = std::find_if(std::begin(table), std::end(table), match);
    return found == std::end(table) ? nullptr : &*found;
}

const PageSize& SizeOf(int code) {
    const PageSize* size = Find(kSizes, [&](const PageSize& s) { return s.code == code; });
    return size != nullptr ? *size : kSizes[0];
}

}  // namespace

TW_HANDLE ContainerMemory::Allocate(std::size_t bytes) const {
    return allocate != nullptr ? allocate(static_cast<TW_UINT32>(bytes)) : GlobalAlloc(GHND, bytes);
}

void* ContainerMemory::Lock(TW_HANDLE handle) const {
    return lock != nullptr ? lock(handle) : GlobalLock(handle);
}

void ContainerMemory::Unlock(TW_HANDLE handle) const {
    if (unlock != nullptr) {
        unlock(handle);
    } else {
        GlobalUnlock(handle);
    }
}

Capabilities::Capabilities(ScanSettingsRecord& settings, const DevListRecord& device,
                           const RestrictionChecks& checks)
    : settings_(settings), device_(device), checks_(checks) {}

bool Capabilities::Offers(int setting, int code) const {
    const DevListValueList& values = device_.values[setting];
    for (std::uint32_t i = 0; i < values.count; ++i) {
        if (values.items[i].code == code) return true;
    }
    return false;
}

int Capabilities::DefaultCode(int setting) const {
    const DevListValueList& values = device_.values[setting];
    for (std::uint32_t i = 0; i < values.count; ++i) {
        if (values.items[i].is_default != 0) return values.items[i].code;
    }
    return values.count > 0 ? values.items[0].code : 0;
}

bool Capabilities::Allowed(RestrictionCheck check, int code) const {
    return check == nullptr || check(static_cast<uint32_t>(code), &device_, &settings_) != 0;
}

double Capabilities::UnitsPerInch() const {
    return units_ == TWUN_CENTIMETERS ? 2.54 : units_ == TWUN_MILLIMETERS ? kMmPerInch : 1.0;
}

TW_UINT32 Capabilities::ToUnits(double mm) const {
    return Fix(mm / kMmPerInch * UnitsPerInch());
}

int Capabilities::XDpi() const {
    const int code =
        settings_.resolution != 0 ? settings_.resolution : DefaultCode(DEVLIST_RESOLUTION);
    const Resolution* r = Find(kResolutions, [&](const Resolution& r) { return r.code == code; });
    return r != nullptr ? r->x : 200;
}

int Capabilities::YDpi() const {
    const int code =
        settings_.resolution != 0 ? settings_.resolution : DefaultCode(DEVLIST_RESOLUTION);
    const Resolution* r = Find(kResolutions, [&](const Resolution& r) { return r.code == code; });
    return r != nullptr ? r->y : 200;
}

TW_UINT16 Capabilities::PixelType() const {
    const ColourMode* mode = Find(
        kColourModes, [&](const ColourMode& m) { return m.code == settings_.color_selection; });
    return mode != nullptr ? mode->pixelType : TWPT_RGB;
}

FrameMm Capabilities::ScanFrame(bool withScanArea) const {
    if (withScanArea && settings_.has_frame_entry == 1) {
        return FrameMm{settings_.left, settings_.top, settings_.right, settings_.bottom};
    }
    const PageSize& size = SizeOf(settings_.original_size);
    return FrameMm{0, 0, size.widthMm, size.heightMm};
}

std::vector<TW_UINT32> Capabilities::Resolutions(bool x) const {
    std::vector<int> dpis;
    for (const Resolution& r : kResolutions) {
        if (Offers(DEVLIST_RESOLUTION, r.code)) dpis.push_back(x ? r.x : r.y);
    }
    std::sort(dpis.begin(), dpis.end());
    dpis.erase(std::unique(dpis.begin(), dpis.end()), dpis.end());
    std::vector<TW_UINT32> values;
    for (int dpi : dpis) values.push_back(Fix(dpi / UnitsPerInch()));
    return values;
}

// A resolution pair the model offers and allows; a new X keeps Y when the pair exists and
// otherwise takes the square resolution, as a flatbed user expects.
bool Capabilities::SelectResolution(int xDpi, int yDpi) {
    const Resolution* exact = Find(kResolutions, [&](const Resolution& r) {
        return r.x == xDpi && r.y == yDpi && Offers(DEVLIST_RESOLUTION, r.code) &&
               Allowed(checks_.resolution, r.code);
    });
    if (exact == nullptr) return false;
    settings_.resolution = exact->code;
    return true;
}

bool Capabilities::Describe(TW_UINT16 cap, Values& v) const {
    auto boolean = [&](bool current, bool fallback, TW_INT32 operations) {
        v.itemType = TWTY_BOOL;
        v.allowed = {0, 1};
        v.current = current;
        v.defaultValue = fallback;
        v.operations = operations;
    };
    auto fixed = [&](TW_UINT16 type, TW_UINT32 value) {
        v.itemType = type;
        v.allowed = {value};
        v.current = v.defaultValue = value;
        v.operations = kGetOnly;
    };
    switch (cap) {
        case CAP_XFERCOUNT:
            v.itemType = TWTY_INT16;
            v.current = static_cast<TW_UINT32>(static_cast<TW_INT32>(xferCount_));
            v.defaultValue = 0xffffffffu;
            v.operations = kSettable;
            return true;
        case ICAP_COMPRESSION:
            fixed(TWTY_UINT16, TWCP_NONE);
            v.operations = kSettable;
            return true;
        case ICAP_PIXELTYPE: {
            v.itemType = TWTY_UINT16;
            for (const ColourMode& mode : kColourModes) {
                if (mode.code <= 3 && Offers(DEVLIST_COLOR_MODE, mode.code)) {
                    v.allowed.push_back(mode.pixelType);
                }
            }
            std::sort(v.allowed.begin(), v.allowed.end());
            v.current = PixelType();
            const ColourMode* fallback = Find(kColourModes, [&](const ColourMode& m) {
                return m.code == DefaultCode(DEVLIST_COLOR_MODE);
            });
            v.defaultValue = fallback != nullptr ? fallback->pixelType : TWPT_RGB;
            v.operations = kSettable;
            return true;
        }
        case ICAP_UNITS:
            v.itemType = TWTY_UINT16;
            v.allowed = {TWUN_INCHES, TWUN_CENTIMETERS, TWUN_MILLIMETERS};
            v.current = units_;
            v.defaultValue = TWUN_INCHES;
            v.operations = kSettable;
            return true;
        case ICAP_XFERMECH:
            v.itemType = TWTY_UINT16;
            v.allowed = {TWSX_NATIVE, TWSX_MEMORY};
            v.current = xferMech_;
            v.defaultValue = TWSX_NATIVE;
            v.operations = kSettable;
            return true;
        case CAP_SUPPORTEDCAPS:
            v.itemType = TWTY_UINT16;
            v.allowed.assign(std::begin(kSupportedCaps), std::end(kSupportedCaps));
            v.operations = TWQC_GET;
            return true;
        case CAP_INDICATORS:
            boolean(indicators_, true, kSettable);
            return true;
        case CAP_UICONTROLLABLE:  // the scan runs without the settings window too
        case CAP_DEVICEONLINE:
        case CAP_ENABLEDSUIONLY:
            fixed(TWTY_BOOL, 1);
            return true;
        case CAP_DUPLEX:
            fixed(TWTY_UINT16,
                  Offers(DEVLIST_DUPLEX_MODE, kDuplexOn) ? TWDX_1PASSDUPLEX : TWDX_NONE);
            return true;
        case CAP_DUPLEXENABLED:
            boolean(settings_.duplex == kDuplexOn, DefaultCode(DEVLIST_DUPLEX_MODE) == kDuplexOn,
                    kSettable);
            if (!Offers(DEVLIST_DUPLEX_MODE, kDuplexOn)) v.allowed = {0};
            return true;
        case ICAP_PHYSICALWIDTH:
            fixed(TWTY_FIX32, ToUnits(device_.max_width > 0 ? device_.max_width : 297));
            return true;
        case ICAP_PHYSICALHEIGHT:
            fixed(TWTY_FIX32, ToUnits(device_.max_length > 0 ? device_.max_length : 420));
            return true;
        case ICAP_XRESOLUTION:
        case ICAP_YRESOLUTION: {
            const bool x = cap == ICAP_XRESOLUTION;
            v.itemType = TWTY_FIX32;
            v.allowed = Resolutions(x);
            v.current = Fix((x ? XDpi() : YDpi()) / UnitsPerInch());
            const int code = DefaultCode(DEVLIST_RESOLUTION);
            const Resolution* r =
                Find(kResolutions, [&](const Resolution& r) { return r.code == code; });
            v.defaultValue = Fix((r == nullptr ? 200 : x ? r->x : r->y) / UnitsPerInch());
            v.operations = kSettable;
            return true;
        }
        case ICAP_SUPPORTEDSIZES: {
            v.itemType = TWTY_UINT16;
            for (const PageSize& size : kSizes) {
                if (Offers(DEVLIST_ORIGINAL_SIZE, size.code)) v.allowed.push_back(size.twain);
            }
            v.current = SizeOf(settings_.original_size).twain;
            v.defaultValue = SizeOf(DefaultCode(DEVLIST_ORIGINAL_SIZE)).twain;
            v.operations = kSettable;
            return true;
        }
        default:
            return false;
    }
}

bool Capabilities::Apply(TW_UINT16 cap, TW_UINT32 value) {
    switch (cap) {
        case CAP_XFERCOUNT: {
            const auto count = static_cast<TW_INT16>(value & 0xffff);
            if (count == 0 || count < -1) return false;
            xferCount_ = count;
            return true;
        }
        case ICAP_COMPRESSION:
            return value == TWCP_NONE;
        case ICAP_PIXELTYPE: {
            const ColourMode* mode = Find(kColourModes, [&](const ColourMode& m) {
                return m.code <= 3 && m.pixelType == value;
            });
            if (mode == nullptr || !Allowed(checks_.colorMode, mode->code)) return false;
            settings_.color_selection = mode->code;
            return true;
        }
        case ICAP_UNITS:
            units_ = static_cast<TW_UINT16>(value);
            return true;
        case ICAP_XFERMECH:
            xferMech_ = static_cast<TW_UINT16>(value);
            return true;
        case CAP_INDICATORS:
            indicators_ = value != 0;
            return true;
        case CAP_DUPLEXENABLED: {
            const int code = value != 0 ? kDuplexOn : kDuplexOff;
            if (!Allowed(checks_.duplexMode, code)) return false;
            settings_.duplex = code;
            return true;
        }
        case ICAP_XRESOLUTION:
        case ICAP_YRESOLUTION: {
            const int dpi = static_cast<int>(std::lround(Unfix(value) * UnitsPerInch()));
            if (cap == ICAP_YRESOLUTION) return SelectResolution(XDpi(), dpi);
            return SelectResolution(dpi, YDpi()) || SelectResolution(dpi, dpi);
        }
        case ICAP_SUPPORTEDSIZES: {
            const PageSize* size = Find(kSizes, [&](const PageSize& s) {
                return s.twain == value && Offers(DEVLIST_ORIGINAL_SIZE, s.code);
            });
            if (size == nullptr || !Allowed(checks_.originalSize, size->code)) return false;
            settings_.original_size = size->code;
            settings_.has_frame_entry = 0;  // a chosen size replaces any scan area
            return true;
        }
        default:
            return false;
    }
}

TW_UINT16 Capabilities::Handle(TW_UINT16 message, TW_CAPABILITY& capability, int state,
                               const ContainerMemory& memory, TW_UINT16& condition) {
    Values v;
    if (!Describe(capability.Cap, v)) {
        condition = TWCC_CAPUNSUPPORTED;
        return TWRC_FAILURE;
    }
    auto reply = [&](TW_UINT16 container, TW_UINT16 itemType, const std::vector<TW_UINT32>& items,
                     TW_UINT32 current, TW_UINT32 fallback) -> TW_UINT16 {
        const std::size_t itemSize = container == TWON_ONEVALUE ? 4 : ItemSize(itemType);
        const std::size_t header = container == TWON_ENUMERATION
                                       ? offsetof(TW_ENUMERATION, ItemList)
                                   : container == TWON_ARRAY ? offsetof(TW_ARRAY, ItemList)
                                                             : offsetof(TW_ONEVALUE, Item);
        const std::size_t count = container == TWON_ONEVALUE ? 1 : items.size();
        TW_HANDLE handle = memory.Allocate(header + count * itemSize);
        auto* bytes = handle != nullptr ? static_cast<TW_UINT8*>(memory.Lock(handle)) : nullptr;
        if (bytes == nullptr) {
            condition = TWCC_LOWMEMORY;
            return TWRC_FAILURE;
        }
        std::memcpy(bytes, &itemType, sizeof(itemType));
        if (container == TWON_ONEVALUE) {
            std::memcpy(bytes + header, &current, sizeof(current));
        } else {
            const auto n = static_cast<TW_UINT32>(items.size());
            std::memcpy(bytes + 2, &n, sizeof(n));
            if (container == TWON_ENUMERATION) {
                const auto index = [&](TW_UINT32 value) {
                    const auto at = std::find(items.begin(), items.end(), value);
                    return static_cast<TW_UINT32>(at == items.end() ? 0 : at - items.begin());
                };
                const TW_UINT32 indices[2] = {index(current), index(fallback)};
                std::memcpy(bytes + 6, indices, sizeof(indices));
            }
            for (std::size_t i = 0; i < items.size(); ++i) {
                std::memcpy(bytes + header + i * itemSize, &items[i], itemSize);
            }
        }
        memory.Unlock(handle);
        capability.ConType = container;
        capability.hContainer = handle;
        return TWRC_SUCCESS;
    };
    auto refuse = [&](TW_UINT16 code) {
        condition = code;
        return TWRC_FAILURE;
    };

    switch (message) {
        case MSG_QUERYSUPPORT:
            return reply(TWON_ONEVALUE, TWTY_INT32, {}, static_cast<TW_UINT32>(v.operations), 0);
        case MSG_GET:
            if (capability.Cap == CAP_SUPPORTEDCAPS)
                return reply(TWON_ARRAY, v.itemType, v.allowed, 0, 0);
            if (v.allowed.size() > 1) {
                return reply(TWON_ENUMERATION, v.itemType, v.allowed, v.current, v.defaultValue);
            }
            return reply(TWON_ONEVALUE, v.itemType, {}, v.current, 0);
        case MSG_GETCURRENT:
        case MSG_GETDEFAULT:
            if ((v.operations & TWQC_GETCURRENT) == 0) return refuse(TWCC_CAPBADOPERATION);
            return reply(TWON_ONEVALUE, v.itemType, {},
                         message == MSG_GETCURRENT ? v.current : v.defaultValue, 0);
        case MSG_SET: {
            if ((v.operations & TWQC_SET) == 0) return refuse(TWCC_CAPBADOPERATION);
            if (state != 4) return refuse(TWCC_SEQERROR);
            if (capability.ConType != TWON_ONEVALUE || capability.hContainer == nullptr) {
                return refuse(TWCC_BADVALUE);
            }
            TW_ONEVALUE one{};
            if (const void* data = memory.Lock(capability.hContainer)) {
                std::memcpy(&one, data, sizeof(one));
                memory.Unlock(capability.hContainer);
            }
            TW_UINT32 value = Convert(one.ItemType, one.Item, v.itemType);
            if (v.itemType == TWTY_FIX32 && !v.allowed.empty()) {
                // A resolution the application computed in centimetres is near, not equal.
                for (TW_UINT32 item : v.allowed) {
                    if (std::fabs(Unfix(item) - Unfix(value)) < 0.01) value = item;
                }
            }
            if (!v.allowed.empty() &&
                std::find(v.allowed.begin(), v.allowed.end(), value) == v.allowed.end()) {
                return refuse(TWCC_BADVALUE);
            }
            return Apply(capability.Cap, value) ? TWRC_SUCCESS : refuse(TWCC_BADVALUE);
        }
        case MSG_RESET:
            if ((v.operations & TWQC_RESET) == 0) return refuse(TWCC_CAPBADOPERATION);
            if (state != 4) return refuse(TWCC_SEQERROR);
            Apply(capability.Cap, v.defaultValue);
            Describe(capability.Cap, v);
            return reply(TWON_ONEVALUE, v.itemType, {}, v.current, 0);
        default:
            return refuse(TWCC_CAPBADOPERATION);
    }
}

TW_IMAGELAYOUT Capabilities::Layout(bool withScanArea) const {
    const FrameMm frame = ScanFrame(withScanArea);
    TW_IMAGELAYOUT layout{};
    const TW_UINT32 edges[4] = {ToUnits(frame.left), ToUnits(frame.top), ToUnits(frame.right),
                                ToUnits(frame.bottom)};
    std::memcpy(&layout.Frame, edges, sizeof(edges));
    layout.DocumentNumber = layout.PageNumber = layout.FrameNumber = 1;
    return layout;
}

bool Capabilities::SetLayout(const TW_IMAGELAYOUT& layout) {
    const double mmPerUnit = kMmPerInch / UnitsPerInch();
    const FrameMm frame{
        FromFix32(layout.Frame.Left) * mmPerUnit, FromFix32(layout.Frame.Top) * mmPerUnit,
        FromFix32(layout.Frame.Right) * mmPerUnit, FromFix32(layout.Frame.Bottom) * mmPerUnit};
    const double maxWidth = device_.max_width > 0 ? device_.max_width : 297;
    const double maxLength = device_.max_length > 0 ? device_.max_length : 420;
    // At least a millimetre each way, and within what the scanner's glass can see.
    if (frame.left < 0 || frame.top < 0 || frame.right > maxWidth + 0.5 ||
        frame.bottom > maxLength + 0.5 || frame.right - frame.left < 1 ||
        frame.bottom - frame.top < 1) {
        return false;
    }
    settings_.has_frame_entry = 1;
    settings_.left = frame.left;
    settings_.top = frame.top;
    settings_.right = frame.right;
    settings_.bottom = frame.bottom;
    return true;
}

void Capabilities::ResetLayout() {
    settings_.has_frame_entry = 0;
    settings_.left = settings_.top = settings_.right = settings_.bottom = 0;
}

}  // namespace reference
