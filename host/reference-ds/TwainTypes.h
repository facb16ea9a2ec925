#pragma once
// The TWAIN 2.x declarations the reference data source and its test client use: the published
// structure layouts and constants, written out here so the example needs no header from
// anywhere else. Windows compilers pack every TWAIN structure on 2-byte boundaries; the
// static_asserts below hold the sizes and offsets an application or the Data Source Manager
// expects, so a layout slip fails the build, not a scan.

#include <windows.h>

#include <cstddef>
#include <cstdint>

namespace twain {

using TW_INT8 = char;
using TW_INT16 = std::int16_t;
using TW_INT32 = std::int32_t;
using TW_UINT8 = std::uint8_t;
using TW_UINT16 = std::uint16_t;
using TW_UINT32 = std::uint32_t;
using TW_BOOL = std::uint16_t;
using TW_HANDLE = HANDLE;
using TW_MEMREF = void*;
using TW_UINTPTR = std::uintptr_t;
using TW_STR32 = char[34];
using TW_STR255 = char[256];

#pragma pack(push, 2)

struct TW_FIX32 {
    TW_INT16 Whole;
    TW_UINT16 Frac;
};

struct TW_FRAME {
    TW_FIX32 Left, Top, Right, Bottom;
};

struct TW_VERSION {
    TW_UINT16 MajorNum, MinorNum, Language, Country;
    TW_STR32 Info;
};

struct TW_IDENTITY {
    TW_UINT32 Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor, ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer, ProductFamily, ProductName;
};

struct TW_USERINTERFACE {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    TW_HANDLE hParent;
};

struct TW_PENDINGXFERS {
    TW_UINT16 Count;
    TW_UINT32 EOJ;
};

struct TW_IMAGEINFO {
    TW_FIX32 XResolution, YResolution;
    TW_INT32 ImageWidth, ImageLength;
    TW_INT16 SamplesPerPixel;
    TW_INT16 BitsPerSample[8];
    TW_INT16 BitsPerPixel;
    TW_BOOL Planar;
    TW_INT16 PixelType;
    TW_UINT16 Compression;
};

struct TW_IMAGELAYOUT {
    TW_FRAME Frame;
    TW_UINT32 DocumentNumber, PageNumber, FrameNumber;
};

struct TW_CAPABILITY {
    TW_UINT16 Cap;
    TW_UINT16 ConType;
    TW_HANDLE hContainer;
};

struct TW_ONEVALUE {
    TW_UINT16 ItemType;
    TW_UINT32 Item;
};

struct TW_ENUMERATION {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems, CurrentIndex, DefaultIndex;
    TW_UINT8 ItemList[1];
};

struct TW_ARRAY {
    TW_UINT16 ItemType;
    TW_UINT32 NumItems;
    TW_UINT8 ItemList[1];
};

struct TW_SETUPMEMXFER {
    TW_UINT32 MinBufSize, MaxBufSize, Preferred;
};

struct TW_MEMORY {
    TW_UINT32 Flags;
    TW_UINT32 Length;
    TW_MEMREF TheMem;
};

struct TW_IMAGEMEMXFER {
    TW_UINT16 Compression;
    TW_UINT32 BytesPerRow, Columns, Rows, XOffset, YOffset, BytesWritten;
    TW_MEMORY Memory;
};

struct TW_EVENT {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
};

struct TW_STATUS {
    TW_UINT16 ConditionCode;
    TW_UINT16 Data;
};

using DSMENTRYPROC = TW_UINT16(WINAPI*)(TW_IDENTITY*, TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16,
                                        TW_MEMREF);
using DSENTRYPROC = TW_UINT16(WINAPI*)(TW_IDENTITY*, TW_UINT32, TW_UINT16, TW_UINT16, TW_MEMREF);
using DSM_MEMALLOCATE = TW_HANDLE(WINAPI*)(TW_UINT32);
using DSM_MEMFREE = void(WINAPI*)(TW_HANDLE);
using DSM_MEMLOCK = TW_MEMREF(WINAPI*)(TW_HANDLE);
using DSM_MEMUNLOCK = void(WINAPI*)(TW_HANDLE);

struct TW_ENTRYPOINT {
    TW_UINT32 Size;
    DSMENTRYPROC DSM_Entry;
    DSM_MEMALLOCATE DSM_MemAllocate;
    DSM_MEMFREE DSM_MemFree;
    DSM_MEMLOCK DSM_MemLock;
    DSM_MEMUNLOCK DSM_MemUnlock;
};

struct TW_CALLBACK2 {
    TW_MEMREF CallBackProc;
    TW_UINTPTR RefCon;
    TW_INT16 Message;
};

#pragma pack(pop)

static_assert(sizeof(TW_FIX32) == 4 && sizeof(TW_FRAME) == 16);
static_assert(sizeof(TW_VERSION) == 42);
static_assert(sizeof(TW_IDENTITY) == 156 && offsetof(TW_IDENTITY, ProtocolMajor) == 46 &&
              offsetof(TW_IDENTITY, SupportedGroups) == 50 &&
              offsetof(TW_IDENTITY, Manufacturer) == 54 &&
              offsetof(TW_IDENTITY, ProductName) == 122);
static_assert(sizeof(TW_USERINTERFACE) == 12 && offsetof(TW_USERINTERFACE, hParent) == 4);
static_assert(sizeof(TW_PENDINGXFERS) == 6);
static_assert(sizeof(TW_IMAGEINFO) == 42 && offsetof(TW_IMAGEINFO, SamplesPerPixel) == 16 &&
              offsetof(TW_IMAGEINFO, PixelType) == 38);
static_assert(sizeof(TW_IMAGELAYOUT) == 28);
static_assert(sizeof(TW_CAPABILITY) == 12 && offsetof(TW_CAPABILITY, hContainer) == 4);
static_assert(sizeof(TW_ONEVALUE) == 6);
static_assert(sizeof(TW_ENUMERATION) == 16 && offsetof(TW_ENUMERATION, ItemList) == 14);
static_assert(sizeof(TW_ARRAY) == 8 && offsetof(TW_ARRAY, ItemList) == 6);
static_assert(sizeof(TW_SETUPMEMXFER) == 12);
static_assert(sizeof(TW_MEMORY) == 16 && offsetof(TW_MEMORY, TheMem) == 8);
static_assert(sizeof(TW_IMAGEMEMXFER) == 42 && offsetof(TW_IMAGEMEMXFER, Memory) == 26);
static_assert(sizeof(TW_EVENT) == 10 && offsetof(TW_EVENT, TWMessage) == 8);
static_assert(sizeof(TW_STATUS) == 4);
static_assert(sizeof(TW_ENTRYPOINT) == 44 && offsetof(TW_ENTRYPOINT, DSM_Entry) == 4);
static_assert(sizeof(TW_CALLBACK2) == 18 && offsetof(TW_CALLBACK2, Message) == 16);

// Data groups and the identity's supported-groups flags.
constexpr TW_UINT32 DG_CONTROL = 0x1, DG_IMAGE = 0x2;
constexpr TW_UINT32 DF_DSM2 = 0x10000000, DF_APP2 = 0x20000000, DF_DS2 = 0x40000000;

// Data argument types.
constexpr TW_UINT16 DAT_NULL = 0x0, DAT_CAPABILITY = 0x1, DAT_EVENT = 0x2, DAT_IDENTITY = 0x3,
                    DAT_PARENT = 0x4, DAT_PENDINGXFERS = 0x5, DAT_SETUPMEMXFER = 0x6,
                    DAT_STATUS = 0x8, DAT_USERINTERFACE = 0x9, DAT_XFERGROUP = 0xa,
                    DAT_CALLBACK = 0x10, DAT_CALLBACK2 = 0x12, DAT_IMAGEINFO = 0x101,
                    DAT_IMAGELAYOUT = 0x102, DAT_IMAGEMEMXFER = 0x103, DAT_IMAGENATIVEXFER = 0x104,
                    DAT_ENTRYPOINT = 0x403;

// Messages.
constexpr TW_UINT16 MSG_GET = 0x1, MSG_GETCURRENT = 0x2, MSG_GETDEFAULT = 0x3, MSG_GETFIRST = 0x4,
                    MSG_GETNEXT = 0x5, MSG_SET = 0x6, MSG_RESET = 0x7, MSG_QUERYSUPPORT = 0x8,
                    MSG_XFERREADY = 0x101, MSG_CLOSEDSREQ = 0x102, MSG_CLOSEDSOK = 0x103,
                    MSG_OPENDSM = 0x301, MSG_CLOSEDSM = 0x302, MSG_OPENDS = 0x401,
                    MSG_CLOSEDS = 0x402, MSG_DISABLEDS = 0x501, MSG_ENABLEDS = 0x502,
                    MSG_ENABLEDSUIONLY = 0x503, MSG_PROCESSEVENT = 0x601, MSG_ENDXFER = 0x701,
                    MSG_REGISTER_CALLBACK = 0x902;

// Return and condition codes.
constexpr TW_UINT16 TWRC_SUCCESS = 0, TWRC_FAILURE = 1, TWRC_CHECKSTATUS = 2, TWRC_CANCEL = 3,
                    TWRC_DSEVENT = 4, TWRC_NOTDSEVENT = 5, TWRC_XFERDONE = 6, TWRC_ENDOFLIST = 7;
constexpr TW_UINT16 TWCC_SUCCESS = 0, TWCC_BUMMER = 1, TWCC_LOWMEMORY = 2, TWCC_NODS = 3,
                    TWCC_MAXCONNECTIONS = 4, TWCC_OPERATIONERROR = 5, TWCC_BADCAP = 6,
                    TWCC_BADPROTOCOL = 9, TWCC_BADVALUE = 10, TWCC_SEQERROR = 11, TWCC_BADDEST = 12,
                    TWCC_CAPUNSUPPORTED = 13, TWCC_CAPBADOPERATION = 14, TWCC_CAPSEQERROR = 15;

// Containers and item types.
constexpr TW_UINT16 TWON_ARRAY = 3, TWON_ENUMERATION = 4, TWON_ONEVALUE = 5, TWON_RANGE = 6,
                    TWON_DONTCARE16 = 0xffff;
constexpr TW_UINT16 TWTY_INT16 = 1, TWTY_INT32 = 2, TWTY_UINT16 = 4, TWTY_UINT32 = 5, TWTY_BOOL = 6,
                    TWTY_FIX32 = 7;

// What MSG_QUERYSUPPORT reports.
constexpr TW_INT32 TWQC_GET = 0x1, TWQC_SET = 0x2, TWQC_GETDEFAULT = 0x4, TWQC_GETCURRENT = 0x8,
                   TWQC_RESET = 0x10;

// Capabilities.
constexpr TW_UINT16 CAP_XFERCOUNT = 0x1, ICAP_COMPRESSION = 0x100, ICAP_PIXELTYPE = 0x101,
                    ICAP_UNITS = 0x102, ICAP_XFERMECH = 0x103, CAP_SUPPORTEDCAPS = 0x1005,
                    CAP_INDICATORS = 0x100b, CAP_UICONTROLLABLE = 0x100e, CAP_DEVICEONLINE = 0x100f,
                    CAP_DUPLEX = 0x1012, CAP_DUPLEXENABLED = 0x1013, CAP_ENABLEDSUIONLY = 0x1014,
                    ICAP_PHYSICALWIDTH = 0x1111, ICAP_PHYSICALHEIGHT = 0x1112,
                    ICAP_XRESOLUTION = 0x1118, ICAP_YRESOLUTION = 0x1119,
                    ICAP_SUPPORTEDSIZES = 0x1122, ICAP_BITDEPTH = 0x112b;

// Capability values.
constexpr TW_UINT16 TWPT_BW = 0, TWPT_GRAY = 1, TWPT_RGB = 2;
constexpr TW_UINT16 TWUN_INCHES = 0, TWUN_CENTIMETERS = 1, TWUN_MILLIMETERS = 6;
constexpr TW_UINT16 TWSX_NATIVE = 0, TWSX_MEMORY = 2;
constexpr TW_UINT16 TWSS_NONE = 0, TWSS_A4 = 1, TWSS_JISB5 = 2, TWSS_USLETTER = 3, TWSS_USLEGAL = 4,
                    TWSS_A5 = 5, TWSS_USLEDGER = 9, TWSS_A3 = 11, TWSS_A6 = 13;
constexpr TW_UINT16 TWDX_NONE = 0, TWDX_1PASSDUPLEX = 1;
constexpr TW_UINT16 TWCP_NONE = 0;
constexpr TW_UINT16 TWLG_ENGLISH = 2, TWCY_USA = 1;
constexpr TW_UINT32 TWMF_APPOWNS = 0x1, TWMF_POINTER = 0x8, TWMF_HANDLE = 0x10;

inline TW_FIX32 ToFix32(double value) {
    const auto scaled = static_cast<TW_INT32>(value * 65536.0 + (value < 0 ? -0.5 : 0.5));
    return TW_FIX32{static_cast<TW_INT16>(scaled >> 16), static_cast<TW_UINT16>(scaled & 0xffff)};
}

inline double FromFix32(TW_FIX32 value) {
    return value.Whole + value.Frac / 65536.0;
}

}  // namespace twain
