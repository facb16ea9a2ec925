/* Every resource identifier that code and resource scripts share, grouped by kind.
 * Included by the C++ code and by every .rc script of the resource libraries, so it holds
 * nothing but #define lines that both the compiler and windres understand.
 * Numbers are part of the resource libraries' interface: never renumber one. */
#pragma once

/* ---- IDD_: dialog templates ---- */
#define IDD_MAIN 101
#define IDD_ABOUT 106
#define IDD_NAV_TABS 123
#define IDD_BASIC 124
#define IDD_DETAILS_PANE_BG 125
#define IDD_DETAILS_PANE 126
#define IDD_IMAGING 127
#define IDD_ADVANCED 128
#define IDD_PREVIEW 129
#define IDD_PROGRESS 130
#define IDD_PROFILES 131
#define IDD_PROFILE_NEW 132
#define IDD_PROFILE_EDIT 133
#define IDD_MESSAGES 134

/* ---- IDS_: strings (read into buffers of 512 characters) ---- */
#define IDS_ABOUT 109
#define IDS_SCAN 142
#define IDS_PREVIEW 169

/* ---- IDB_: bitmaps ---- */
#define IDB_EMBLEM 118

/* ---- IDI_: icons ---- */
#define IDI_APP_SMALL 105
#define IDI_APP_LARGE 106
#define IDI_STEP_UP 292
#define IDI_STEP_DOWN 293

/* ---- IDC_: controls ---- */
#define IDC_PREVIEW 1058
#define IDC_SCAN 1059
#define IDC_ABOUT 1060
#define IDC_PROGRESS_CANCEL 1076
#define IDC_MESSAGE_CONTINUE 1077
#define IDC_MESSAGE_CANCEL 1098

/* ==== Progress and message windows (templates IDD_PROGRESS, IDD_MESSAGES above) ==== */

/* ---- IDS_: strings of the progress and message windows ---- */
#define IDS_YES 106
#define IDS_NO 107
#define IDS_DELETE_TITLE 108
#define IDS_INTERRUPTION_TITLE 138
#define IDS_CONTINUE 143
#define IDS_OK 147
#define IDS_PROGRESS_TITLE 151
#define IDS_PROGRESS_LABEL 163
#define IDS_MESSAGE_TITLE 164
#define IDS_DEFAULTS_TEXT 167
#define IDS_DEFAULTS_TITLE 170
#define IDS_PREVIEW_RESET_TITLE 176
#define IDS_PREVIEW_RESET_TEXT 181
#define IDS_SCAN_ERROR_TEXT 256
#define IDS_INTERRUPTION_TEXT 259
#define IDS_CONNECTION_LOST_TEXT 264
#define IDS_SCANNER_BUSY_TEXT 265
#define IDS_SETTINGS_REFUSED_TEXT 267
#define IDS_CANCEL 281
#define IDS_DELETE_TEXT 285
#define IDS_OVERWRITE_TEXT 287
#define IDS_RESERVED_NAME_TEXT 305

/* ---- IDB_: bitmaps of the message window (40 x 40) ---- */
#define IDB_MESSAGE_QUESTION 102
#define IDB_MESSAGE_WARNING 103

/* ---- IDC_: controls of the progress and message windows ---- */
#define IDC_PROGRESS_BAR 1075
#define IDC_PROGRESS_LABEL 1078
#define IDC_MESSAGE_OK 1099
#define IDC_MESSAGE_YES 1103
#define IDC_MESSAGE_NO 1104
#define IDC_MESSAGE_TEXT 1146
#define IDC_MESSAGE_IMAGE 1147

/* ---- The font (resource type RT_FONT) ---- */
/* The one face of every window: the templates name it, the owner-drawn buttons ask for it,
   and the build gives the shipped font (IDR_UI_FONT) this family name, so the face that
   InitializeUI registers is the face the windows draw with. */
#define IDR_UI_FONT 110
#define UI_FONT_FACE "Sofia Pro Regular"
#define UI_FONT_FACE_NAME L"" UI_FONT_FACE

/* ==== Settings window frame (template IDD_MAIN) ==== */
#define IDS_MAIN_LABEL 145
#define IDS_ABOUT_TOOLTIP 277
#define IDC_MAIN_PANEL 1001
#define IDC_MAIN_FRAME 1003
#define IDC_MAIN_EMBLEM 1006
#define IDC_MAIN_LABEL 1007
