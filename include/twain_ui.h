/*
 * twain_ui.h - the binary interface of TWAIN_UI.dll for its host, the TWAIN data source.
 *
 * A host needs nothing but this header and the DLL: the records below cross the interface
 * by address with natural x64 alignment, every export uses the platform's one x64 calling
 * convention, and every name is undecorated.
 */
#ifndef TWAIN_UI_H
#define TWAIN_UI_H

#include <windows.h>
#include <stdint.h>
#include <stddef.h>

#ifdef TWAINUI_BUILDING_LIBRARY
#define TWAINUI_API
#else
#define TWAINUI_API __declspec(dllimport)
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Host messages: sent synchronously to the host window, lParam always 0. ---- */
#define HM_SCAN (WM_USER + 100)      /* wParam 1: preview, 0: scan */
#define HM_CANCEL (WM_USER + 102)    /* wParam 0 */
#define HM_CONTINUE (WM_USER + 103)  /* wParam 0 */
#define HM_UI_CLOSED (WM_USER + 104) /* wParam 0 */

/* The library's own messages that a host's owner window may also receive while no
   settings window is open; a host that does not know them ignores them. */
#define UIM_ENABLE 100001            /* lParam 1: enable the receiving window */
#define UIM_SET_ACTIVE_WINDOW 100011 /* wParam: the window that now owns the UI */

/* ---- Status codes of the store and device-list exports. ---- */
#define XMLSCN_OK 0u
#define XMLSCN_READ_FAILED 1u
#define XMLSCN_NO_DOM 2u
#define XMLSCN_BAD_ARGUMENT 3u
#define XMLSCN_NO_MEMORY 5u
#define XMLSCN_FILE_UNUSABLE 6u
#define XMLSCN_SAVE_FAILED 7u

/* Capacities of the record's text fields, in UTF-16 units including the terminating NUL. */
#define SCAN_CONFIG_NAME_CHARS 33
#define SCAN_CONFIG_DETAIL_CHARS 33
#define SCAN_CONFIG_ID_CHARS 37
#define SCAN_AUX_TEXT_CHARS 33
#define DEVLIST_MODEL_NAME_CHARS 260
#define DEVLIST_SETTING_COUNT 10

/* One complete set of scan settings. Every enumerated setting is a code of its value
   vocabulary; 0 means "not set". Copied as a whole: it holds no pointers. */
typedef struct ScanSettingsRecord {
    int32_t reserved;
    int32_t original_size;
    int32_t original_orientation;
    int32_t duplex;
    int32_t exposure_level;
    int32_t original_image;
    int32_t resolution;
    int32_t color_selection;
    int32_t prevent_bleed_through;
    wchar_t config_name[SCAN_CONFIG_NAME_CHARS];
    wchar_t config_detail[SCAN_CONFIG_DETAIL_CHARS];
    wchar_t config_id[SCAN_CONFIG_ID_CHARS];
    int32_t sending_size;
    int32_t contrast;
    int32_t reverse_image;
    int32_t has_frame_entry; /* 1: the four coordinates below are the scan area */
    double left;
    double top;
    double right;
    double bottom;
    int32_t rotation;
    int32_t model;
    wchar_t aux_text[SCAN_AUX_TEXT_CHARS];
} ScanSettingsRecord;

/* A list of elements lying contiguously; `items` is valid only while `count` is not 0. */
#define TWAINUI_CODE_LIST(type) \
    struct {                    \
        type* items;            \
        uint32_t count;         \
    }

typedef TWAINUI_CODE_LIST(int32_t) CodeList;

/* The setting index used by the device list, its records and the restriction checks. */
enum DevListSetting {
    DEVLIST_ORIGINAL_SIZE = 0,
    DEVLIST_ORIGINAL_ORIENTATION = 1,
    DEVLIST_IMAGE_QUALITY = 2,
    DEVLIST_RESOLUTION = 3,
    DEVLIST_EXPOSURE_LEVEL = 4,
    DEVLIST_DUPLEX_MODE = 5,
    DEVLIST_COLOR_MODE = 6,
    DEVLIST_PREVENT_BLEED_THROUGH = 7,
    DEVLIST_SENDING_SIZE = 8,
    DEVLIST_CONTRAST = 9
};

/* One value a model offers for a setting, with the values of other settings that refuse it. */
typedef struct DevListValue {
    int32_t code;
    uint32_t restricted;        /* 1 once any restriction was added */
    uint32_t restriction_count; /* codes in all ten lists together */
    CodeList restrictions[DEVLIST_SETTING_COUNT];
    uint32_t is_default;
} DevListValue;

typedef TWAINUI_CODE_LIST(DevListValue) DevListValueList;

/* One scanner model's allowed values. Starts with the model name, so a pointer to the
   record is also a pointer to that name. Records stay valid while the library is loaded. */
typedef struct DevListRecord {
    wchar_t model_name[DEVLIST_MODEL_NAME_CHARS];
    DevListValueList values[DEVLIST_SETTING_COUNT];
    CodeList reverse_image;
    double max_width;
    double max_length;
    int32_t* rotation_codes; /* a plain pointer and count, not a CodeList */
    uint32_t rotation_count;
    int32_t memory_size;
} DevListRecord;

typedef void* XMLSCN_HANDLE;

/* ---- Window exports: run on the host's thread, always return 0. ---- */
TWAINUI_API int32_t InitializeUI(HWND host_window, ScanSettingsRecord* settings,
                                 DevListRecord* device, uint32_t* option_value, HWND owner_window);
TWAINUI_API int32_t OpenUI(void* reserved);
TWAINUI_API int32_t CloseUI(void);
TWAINUI_API int32_t ShowScanProgress(void);
TWAINUI_API int32_t CloseScanProgress(void);
TWAINUI_API int32_t CancelScanUI(void);
TWAINUI_API int32_t ShowScanInterruptionUI(int32_t message_code);
TWAINUI_API int32_t ShowErrorMessage(int32_t message_code);
TWAINUI_API int32_t ShowPreviewImage(const wchar_t* image_path);

/* ---- Scan configuration store. ---- */
TWAINUI_API uint32_t XMLSCN_Open(const wchar_t* xml_path, const wchar_t* schema_path,
                                 XMLSCN_HANDLE* handle);
TWAINUI_API uint32_t XMLSCN_Close(XMLSCN_HANDLE handle);
TWAINUI_API uint32_t XMLSCN_GetSize(XMLSCN_HANDLE handle);
TWAINUI_API uint32_t XMLSCN_Read(void* ignored);
TWAINUI_API uint32_t XMLSCN_Update(void* ignored);
TWAINUI_API uint32_t XMLSCN_ReadSet(XMLSCN_HANDLE handle, uint32_t index,
                                    ScanSettingsRecord* record);
TWAINUI_API uint32_t XMLSCN_UpdateSet(XMLSCN_HANDLE handle, int32_t index,
                                      const ScanSettingsRecord* record);
TWAINUI_API uint32_t XMLSCN_Add(XMLSCN_HANDLE handle, ScanSettingsRecord* record);
TWAINUI_API uint32_t XMLSCN_Delete(XMLSCN_HANDLE handle, uint32_t index);
TWAINUI_API uint32_t XMLSCN_Save(XMLSCN_HANDLE handle, const wchar_t* path);

/* ---- Device list. XMLSCNLST_Close is the same entry point as XMLSCN_Close. ---- */
TWAINUI_API uint32_t XMLSCNLST_Open(const wchar_t* xml_path, const wchar_t* schema_path,
                                    XMLSCN_HANDLE* handle);
TWAINUI_API uint32_t XMLSCNLST_Read(XMLSCN_HANDLE handle, DevListRecord** record);
TWAINUI_API uint32_t XMLSCNLST_Close(XMLSCN_HANDLE handle);

/* ---- Restriction checks: 1 allowed, 0 refused. They only read both records. ---- */
#define TWAINUI_RESTRICTION_CHECK(name)                                    \
    TWAINUI_API uint32_t name(uint32_t value, const DevListRecord* device, \
                              const ScanSettingsRecord* settings)
TWAINUI_RESTRICTION_CHECK(XML_ValidateOriginalSizeRestriction);
TWAINUI_RESTRICTION_CHECK(XML_ValidateOriginalOrientationRestriction);
TWAINUI_RESTRICTION_CHECK(XML_ValidateImageQualityRestriction);
TWAINUI_RESTRICTION_CHECK(XML_ValidateResolutionRestriction);
TWAINUI_RESTRICTION_CHECK(XML_ValidateExposureLevelRestriction);
TWAINUI_RESTRICTION_CHECK(XML_ValidateDuplexModeRestriction);
TWAINUI_RESTRICTION_CHECK(XML_ValidateColorModeRestriction);
TWAINUI_RESTRICTION_CHECK(XML_ValidatePreventBleedThroughRestriction);
TWAINUI_RESTRICTION_CHECK(XML_ValidateSendingSizeRestriction);
TWAINUI_RESTRICTION_CHECK(XML_ValidateContrastRestriction);
#undef TWAINUI_RESTRICTION_CHECK

#ifdef __cplusplus
} /* extern "C" */
#endif

/* The layout as a host sees it; a change here breaks every host built against the DLL. */
#if defined(_WIN64)
#ifdef __cplusplus
#define TWAINUI_STATIC_ASSERT static_assert
#else
#define TWAINUI_STATIC_ASSERT _Static_assert
#endif
TWAINUI_STATIC_ASSERT(sizeof(ScanSettingsRecord) == 376, "ScanSettingsRecord size");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, original_size) == 4, "original_size");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, prevent_bleed_through) == 32, "bleed");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, config_name) == 36, "config_name");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, config_detail) == 102, "config_detail");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, config_id) == 168, "config_id");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, sending_size) == 244, "sending_size");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, contrast) == 248, "contrast");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, reverse_image) == 252, "reverse_image");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, has_frame_entry) == 256, "has_frame_entry");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, left) == 264, "left");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, top) == 272, "top");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, right) == 280, "right");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, bottom) == 288, "bottom");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, rotation) == 296, "rotation");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, model) == 300, "model");
TWAINUI_STATIC_ASSERT(offsetof(ScanSettingsRecord, aux_text) == 304, "aux_text");
TWAINUI_STATIC_ASSERT(sizeof(CodeList) == 16, "CodeList size");
TWAINUI_STATIC_ASSERT(sizeof(DevListValue) == 184, "DevListValue size");
TWAINUI_STATIC_ASSERT(offsetof(DevListValue, restrictions) == 16, "restrictions");
TWAINUI_STATIC_ASSERT(offsetof(DevListValue, is_default) == 176, "is_default");
TWAINUI_STATIC_ASSERT(offsetof(DevListRecord, values) == 520, "values");
TWAINUI_STATIC_ASSERT(offsetof(DevListRecord, reverse_image) == 680, "reverse_image list");
TWAINUI_STATIC_ASSERT(offsetof(DevListRecord, max_width) == 696, "max_width");
TWAINUI_STATIC_ASSERT(offsetof(DevListRecord, max_length) == 704, "max_length");
TWAINUI_STATIC_ASSERT(offsetof(DevListRecord, rotation_codes) == 712, "rotation_codes");
TWAINUI_STATIC_ASSERT(offsetof(DevListRecord, rotation_count) == 720, "rotation_count");
TWAINUI_STATIC_ASSERT(offsetof(DevListRecord, memory_size) == 724, "memory_size");
TWAINUI_STATIC_ASSERT(sizeof(DevListRecord) == 728, "DevListRecord size");
#undef TWAINUI_STATIC_ASSERT
#endif

#endif /* TWAIN_UI_H */
