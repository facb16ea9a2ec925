/* Every resource identifier that code and resource scripts share, grouped by kind.
 * Included by the C++ code and by every .rc script of the resource libraries, so it holds
 * nothing but #define lines that both the compiler and windres understand.
 * Numbers are part of the resource libraries' interface: never renumber one. */
#pragma once

/* ---- IDD_: dialog templates ---- */
#define IDD_MAIN                101
#define IDD_ABOUT               106
#define IDD_NAV_TABS            123
#define IDD_BASIC               124
#define IDD_DETAILS_PANE_BG     125
#define IDD_DETAILS_PANE        126
#define IDD_IMAGING             127
#define IDD_ADVANCED            128
#define IDD_PREVIEW             129
#define IDD_PROGRESS            130
#define IDD_PROFILES            131
#define IDD_PROFILE_NEW         132
#define IDD_PROFILE_EDIT        133
#define IDD_MESSAGES            134

/* ---- IDS_: strings (read into buffers of 512 characters) ---- */
#define IDS_ABOUT               109
#define IDS_SCAN                142
#define IDS_PREVIEW             169

/* ---- IDB_: bitmaps ---- */
#define IDB_EMBLEM              118

/* ---- IDI_: icons ---- */
#define IDI_APP_SMALL           105
#define IDI_APP_LARGE           106
#define IDI_STEP_UP             292
#define IDI_STEP_DOWN           293

/* ---- IDC_: controls ---- */
#define IDC_PREVIEW             1058
#define IDC_SCAN                1059
#define IDC_ABOUT               1060
#define IDC_PROGRESS_CANCEL     1076
#define IDC_MESSAGE_CONTINUE    1077
#define IDC_MESSAGE_CANCEL      1098

/* ---- The font (resource type RT_FONT) ---- */
/* The windows ask for their face by UI_FONT_FACE_NAME. The shipped font is a free font
   under its own family name, registered for the process; where the names differ Windows
   substitutes as it does for any missing face. */
#define IDR_UI_FONT             110
#define UI_FONT_FACE_NAME       L"Sofia Pro Regular"
