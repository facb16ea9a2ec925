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
#define IDD_PROFILE_EDITOR 132
#define IDD_PROFILE_SAVE_AS 133
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
/* The three keyboard stand-ins of the navigation column: focusable buttons of the main
   window that sit in the tab order after Scan; Tab and Return on them reach the page of
   the same rank (the navigation column itself is a window of its own). */
#define IDC_NAV_KEY_BASIC 1008
#define IDC_NAV_KEY_IMAGING 1009
#define IDC_NAV_KEY_ADVANCED 1010
#define IDB_MAIN_BACKGROUND 117

/* ==== Navigation column (template IDD_NAV_TABS) ==== */
/* The items' identifiers are also the page ids. */
#define IDC_NAV_BASIC 1016
#define IDC_NAV_IMAGING 1010
#define IDC_NAV_ADVANCED 1013
#define IDC_NAV_BASIC_LABEL 1014
#define IDC_NAV_IMAGING_LABEL 1011
#define IDC_NAV_ADVANCED_LABEL 1024
#define IDC_NAV_BASIC_ICON 1009
#define IDC_NAV_IMAGING_ICON 1012
#define IDC_NAV_ADVANCED_ICON 1015
#define IDS_NAV_BASIC 127
#define IDS_NAV_IMAGING 128
#define IDS_NAV_ADVANCED 129
#define IDS_NAV_IMAGING_TIP 207
#define IDS_NAV_BASIC_TIP 216
#define IDS_NAV_ADVANCED_TIP 218
/* Icons of the selected item (white on the accent colour) ... */
#define IDB_NAV_ADVANCED_SELECTED 337
#define IDB_NAV_BASIC_SELECTED 338
#define IDB_NAV_IMAGING_SELECTED 339
/* ... and of the others (grey on the panel), named by the template only. */
#define IDB_NAV_BASIC 340
#define IDB_NAV_IMAGING 341
#define IDB_NAV_ADVANCED 342

/* ==== Settings pages (templates IDD_BASIC, IDD_IMAGING, IDD_ADVANCED) ==== */
/* Shown over a control while the model offers nothing to choose there. */
#define IDS_NOT_AVAILABLE_TIP 105

/* Basic page */
#define IDC_ORIGINAL_SIZE 1031
#define IDC_SENDING_SIZE 1044
#define IDC_DUPLEX 1032
#define IDC_OPTION 1046
#define IDC_ORIENTATION_1 1024
#define IDC_ORIENTATION_2 1037
#define IDC_ORIENTATION_3 1038
#define IDC_ORIENTATION_4 1029
#define IDC_ORIENTATION_1_PICTURE 1033
#define IDC_ORIENTATION_2_PICTURE 1034
#define IDC_ORIENTATION_3_PICTURE 1035
#define IDC_ORIENTATION_4_PICTURE 1036
#define IDC_ORIGINAL_SIZE_LABEL 1048
#define IDC_DUPLEX_LABEL 1049
#define IDC_OPTION_LABEL 1149
#define IDC_SENDING_SIZE_LABEL 1050
#define IDC_ORIENTATION_LABEL 1051
#define IDC_ORIGINAL_SIZE_MARKER 1009
#define IDC_DUPLEX_MARKER 1008
#define IDC_SENDING_SIZE_MARKER 1007
#define IDC_OPTION_MARKER 1002

/* Imaging page */
#define IDC_RESOLUTION 1022
#define IDC_IMAGE_QUALITY 1023
#define IDC_COLOR_1 1041
#define IDC_COLOR_2 1027
#define IDC_COLOR_3 1028
#define IDC_COLOR_1_PICTURE 1040
#define IDC_COLOR_2_PICTURE 1042
#define IDC_COLOR_3_PICTURE 1043
#define IDC_EXPOSURE_SLIDER 1030
#define IDC_EXPOSURE_FIELD 1047
#define IDC_EXPOSURE_UP 1005
#define IDC_EXPOSURE_DOWN 1011
#define IDC_EXPOSURE_AUTO 1039
#define IDC_CONTRAST_SLIDER 1045
#define IDC_CONTRAST_FIELD 1048
#define IDC_CONTRAST_UP 1006
#define IDC_CONTRAST_DOWN 1012
#define IDC_RESOLUTION_LABEL 1052
#define IDC_IMAGE_QUALITY_LABEL 1053
#define IDC_EXPOSURE_LABEL 1054
#define IDC_CONTRAST_LABEL 1055
#define IDC_COLOR_LABEL 1056
#define IDC_RESOLUTION_MARKER 1017
#define IDC_IMAGE_QUALITY_MARKER 1018
#define IDC_EXPOSURE_AUTO_MARKER 1008
#define IDC_EXPOSURE_MARKER 1004
#define IDC_CONTRAST_MARKER 1003

/* Advanced page */
#define IDC_REVERSE_IMAGE 1025
#define IDC_PREVENT_BLEED_THROUGH 1026
#define IDC_PREVENT_BLEED_THROUGH_MARKER 1004
#define IDC_REVERSE_IMAGE_MARKER 1005

/* Labels of the settings, shared by the pages, the details list and the editors. */
#define IDS_OPTION_LABEL 102
#define IDS_ORIGINAL_SIZE_LABEL 130
#define IDS_ORIENTATION_LABEL 131
#define IDS_COLOR_LABEL 133
#define IDS_RESOLUTION_LABEL 134
#define IDS_IMAGE_QUALITY_LABEL 135
#define IDS_EXPOSURE_LABEL 139
#define IDS_DUPLEX_LABEL 168
#define IDS_CONTRAST_LABEL 171
#define IDS_REVERSE_IMAGE_LABEL 172
#define IDS_SENDING_SIZE_LABEL 173
#define IDS_PREVENT_BLEED_THROUGH_LABEL 219
#define IDS_EXPOSURE_TIP 282
#define IDS_CONTRAST_TIP 283
#define IDS_REVERSE_IMAGE_TIP 286
#define IDS_PREVENT_BLEED_THROUGH_TIP 288
/* The automatic-exposure box reads the text of the value AUTO. */
#define IDS_AUTO 182

/* Pictures of the colour modes and orientations (the binder's table of sixteen). */
#define IDB_BLACK_AND_WHITE 316
#define IDB_FULL_COLOR 317
#define IDB_GRAYSCALE 318
#define IDB_BLACK_AND_WHITE_OFFERED 319
#define IDB_FULL_COLOR_OFFERED 320
#define IDB_GRAYSCALE_OFFERED 321
#define IDB_BLACK_AND_WHITE_SELECTED 322
#define IDB_FULL_COLOR_SELECTED 323
#define IDB_GRAYSCALE_SELECTED 324
#define IDB_LANDSCAPE_LONG 325
#define IDB_LANDSCAPE_LONG_DISABLED 326
#define IDB_LANDSCAPE_LONG_SELECTED 327
#define IDB_LANDSCAPE_SHORT_OFFERED 328
#define IDB_LANDSCAPE_SHORT 329
#define IDB_LANDSCAPE_SHORT_SELECTED 330
#define IDB_PORTRAIT_LONG_OFFERED 331
#define IDB_PORTRAIT_LONG 332
#define IDB_PORTRAIT_LONG_SELECTED 333
#define IDB_PORTRAIT_SHORT 334
#define IDB_PORTRAIT_SHORT_DISABLED 335
#define IDB_PORTRAIT_SHORT_SELECTED 336

/* ==== Details pane (templates IDD_DETAILS_PANE, IDD_DETAILS_PANE_BG) ==== */
#define IDC_DETAILS_LIST 1094
#define IDC_DETAILS_DEFAULTS 1017
#define IDC_DETAILS_SAVE_AS 1019
#define IDC_DETAILS_PROFILES 1020
#define IDS_DEFAULT_SETTINGS_NAME 111
#define IDS_DETAILS_PROFILES 137
#define IDS_DETAILS_SAVE_AS 141
#define IDS_DETAILS_DEFAULTS 148
#define IDS_CONFIG_NAME_LABEL 154
#define IDS_CONFIG_DETAIL_LABEL 155
#define IDS_DETAILS_DEFAULTS_TIP 159
#define IDS_DETAILS_SETTING_COLUMN 174
#define IDS_DETAILS_VALUE_COLUMN 175

/* ==== Texts of the setting values ==== */
/* The value tables of the code give each setting code one of these; a number may serve
   several settings (IDS_AUTO above is also the automatic sides and exposure). */
/* Original and output sizes */
#define IDS_SIZE_A3 183
#define IDS_SIZE_A4 184
#define IDS_SIZE_A5 185
#define IDS_SIZE_A6 186
#define IDS_SIZE_B4 187
#define IDS_SIZE_B5 188
#define IDS_SIZE_B6 189
#define IDS_SIZE_LEDGER 190
#define IDS_SIZE_LETTER 191
#define IDS_SIZE_LEGAL 192
#define IDS_SIZE_STATEMENT 193
#define IDS_SIZE_11_X_15 194
#define IDS_SIZE_8_5_X_13_5 195
#define IDS_SIZE_OFICIO_II 196
#define IDS_SIZE_FOLIO 197
#define IDS_SIZE_8K 198
#define IDS_SIZE_16K 199
#define IDS_SIZE_HAGAKI 227
#define IDS_SIZE_OUFUKU_HAGAKI 228
#define IDS_SIZE_CUSTOM 229
#define IDS_SIZE_ENVELOPE_MONARCH 230
#define IDS_SIZE_216_X_340 243
#define IDS_SIZE_ENVELOPE_10 244
#define IDS_SIZE_ENVELOPE_9 245
#define IDS_SIZE_ENVELOPE_6 246
#define IDS_SIZE_ENVELOPE_DL 247
#define IDS_SIZE_ENVELOPE_C5 248
#define IDS_SIZE_ISO_B5 249
#define IDS_SIZE_YOUKEI_2 250
#define IDS_SIZE_YOUKEI_4 251
#define IDS_SIZE_EXECUTIVE 252
#define IDS_SIZE_CARD 253
#define IDS_SIZE_NAME_CARD 254
/* Sides */
#define IDS_DUPLEX_DUPLEX 200
#define IDS_DUPLEX_TOP 217
#define IDS_DUPLEX_SIMPLEX 224
#define IDS_DUPLEX_DP 225
/* Orientation */
#define IDS_ORIENTATION_PORTRAIT_SHORT 231
#define IDS_ORIENTATION_PORTRAIT_LONG 232
#define IDS_ORIENTATION_LANDSCAPE_SHORT 233
#define IDS_ORIENTATION_LANDSCAPE_LONG 234
/* Resolution (not in the order of the codes) */
#define IDS_RESOLUTION_600 208
#define IDS_RESOLUTION_400 209
#define IDS_RESOLUTION_300 210
#define IDS_RESOLUTION_200 211
#define IDS_RESOLUTION_1200 289
/* Image type */
#define IDS_IMAGE_LIGHT_TEXT 132
#define IDS_IMAGE_TEXT 212
#define IDS_IMAGE_TEXT_AND_PHOTO 213
#define IDS_IMAGE_PHOTO 214
#define IDS_IMAGE_FOR_OCR 215
/* Exposure, levels -3 ... +3 */
#define IDS_EXPOSURE_MINUS_3 122
#define IDS_EXPOSURE_MINUS_2 123
#define IDS_EXPOSURE_MINUS_1 124
#define IDS_EXPOSURE_0 125
#define IDS_EXPOSURE_PLUS_1 126
#define IDS_EXPOSURE_PLUS_2 140
#define IDS_EXPOSURE_PLUS_3 153
/* Contrast, levels -3 ... +3 */
#define IDS_CONTRAST_MINUS_3 156
#define IDS_CONTRAST_MINUS_2 157
#define IDS_CONTRAST_MINUS_1 158
#define IDS_CONTRAST_0 160
#define IDS_CONTRAST_PLUS_1 162
#define IDS_CONTRAST_PLUS_2 165
#define IDS_CONTRAST_PLUS_3 166
/* Color mode */
#define IDS_COLOR_FULL 202
#define IDS_COLOR_GRAYSCALE 203
#define IDS_COLOR_BLACK_AND_WHITE 204
/* On and off */
#define IDS_ON 136
#define IDS_OFF 201
/* The host's two-entry list (IDS_OPTION_LABEL), values 1 and 2 */
#define IDS_OPTION_VALUE_1 205
#define IDS_OPTION_VALUE_2 206

/* ==== Scan parameter binders ==== */
/* The profile editor's own controls: its name and detail fields and the lists that stand
   for the main window's radio buttons, sliders and check boxes. The other settings lists
   share their identifiers with the settings pages. */
#define IDC_PROFILE_NAME 1099
#define IDC_PROFILE_DETAIL 1102
#define IDC_PROFILE_ORIENTATION 1109
#define IDC_PROFILE_EXPOSURE 1112
#define IDC_PROFILE_CONTRAST 1113
#define IDC_PROFILE_COLOR 1114
#define IDC_PROFILE_REVERSE_IMAGE 1128
#define IDC_PROFILE_PREVENT_BLEED_THROUGH 1130
/* A choice that another setting's value rules out: %1 the refused value, %2 the other
   setting's label, %3 its value. */
#define IDS_REFUSED_BECAUSE 306

// ---- About window ----
#define IDS_ABOUT_TITLE 113
#define IDS_ABOUT_YEAR 114
#define IDS_ABOUT_VERSION 115
#define IDS_ABOUT_PRODUCT 116
#define IDC_ABOUT_PICTURE 112
#define IDC_ABOUT_YEAR 119
#define IDC_ABOUT_VERSION 120
#define IDC_ABOUT_PRODUCT 121
#define IDB_ABOUT_BACKGROUND 119
#define IDB_ABOUT_PICTURE 120
#define IDB_ABOUT_BACKGROUND_RTL 121

/* ==== Profiles window (IDD_PROFILES) ==== */
#define IDC_PROFILES_LIST 1088
#define IDC_PROFILES_SETTINGS 1089
#define IDC_PROFILES_NEW 1063
#define IDC_PROFILES_EDIT 1064
#define IDC_PROFILES_DELETE 1065
#define IDC_PROFILES_APPLY 1091
#define IDC_PROFILES_CANCEL 1092
#define IDC_PROFILES_LIST_LABEL 1093
#define IDC_PROFILES_SETTINGS_LABEL 1094
#define IDS_PROFILES_TITLE 150
#define IDS_PROFILES_NEW 161
#define IDS_PROFILES_EDIT 178
#define IDS_PROFILES_DELETE 179
#define IDS_PROFILES_LIST_LABEL 180
#define IDS_PROFILES_SETTINGS_LABEL 269
#define IDS_PROFILES_APPLY 280

/* ==== Profile editors: New and Edit (IDD_PROFILE_EDITOR), Save as (IDD_PROFILE_SAVE_AS) ==== */
#define IDC_PROFILE_SAVE 1097
#define IDC_PROFILE_CANCEL 1098
#define IDC_PROFILE_NAME_LABEL 1096
#define IDC_PROFILE_DETAIL_LABEL 1101
#define IDC_PROFILE_SETTINGS_TITLE 1025
#define IDC_PROFILE_BASIC_TITLE 1014
#define IDC_PROFILE_IMAGING_TITLE 1011
#define IDC_PROFILE_ADVANCED_TITLE 1024
#define IDC_PROFILE_SIZE_LABEL 1116
#define IDC_PROFILE_DUPLEX_LABEL 1117
#define IDC_PROFILE_OPTION_LABEL 1118
#define IDC_PROFILE_SENDING_SIZE_LABEL 1119
#define IDC_PROFILE_ORIENTATION_LABEL 1120
#define IDC_PROFILE_RESOLUTION_LABEL 1122
#define IDC_PROFILE_IMAGE_QUALITY_LABEL 1123
#define IDC_PROFILE_EXPOSURE_LABEL 1124
#define IDC_PROFILE_CONTRAST_LABEL 1125
#define IDC_PROFILE_COLOR_LABEL 1126
#define IDC_PROFILE_REVERSE_IMAGE_LABEL 1129
#define IDC_PROFILE_PREVENT_BLEED_THROUGH_LABEL 1131
/* The Save-as editor's read-only values, in the order of the labels above. */
#define IDC_SAVE_AS_SIZE 1134
#define IDC_SAVE_AS_DUPLEX 1135
#define IDC_SAVE_AS_OPTION 1136
#define IDC_SAVE_AS_SENDING_SIZE 1137
#define IDC_SAVE_AS_ORIENTATION 1138
#define IDC_SAVE_AS_RESOLUTION 1139
#define IDC_SAVE_AS_IMAGE_QUALITY 1140
#define IDC_SAVE_AS_EXPOSURE 1141
#define IDC_SAVE_AS_CONTRAST 1142
#define IDC_SAVE_AS_COLOR 1143
#define IDC_SAVE_AS_REVERSE_IMAGE 1144
#define IDC_SAVE_AS_PREVENT_BLEED_THROUGH 1145
#define IDS_EDITOR_SAVE_AS_TITLE 101
#define IDS_EDITOR_EDIT_TITLE 144
#define IDS_EDITOR_NEW_TITLE 152
#define IDS_EDITOR_SAVE 177
#define IDS_EDITOR_SETTINGS_TITLE 268
#define IDS_EDITOR_NAME_LABEL 270
#define IDS_EDITOR_DETAIL_LABEL 271

/* ==== Preview window (template IDD_PREVIEW above) ==== */

/* ---- IDS_: strings of the preview window ---- */
#define IDS_ZOOM_IN 112
#define IDS_ZOOM_OUT 118
#define IDS_ROTATE_CLOCKWISE 119
#define IDS_ROTATE_COUNTERCLOCKWISE 120
#define IDS_ROTATE_HALF_TURN 121
#define IDS_PREVIEW_TITLE 146
#define IDS_ZOOM_50 235
#define IDS_ZOOM_75 236
#define IDS_ZOOM_100 237
#define IDS_ZOOM_150 238
#define IDS_ZOOM_200 239
#define IDS_ZOOM_300 240
#define IDS_ZOOM_400 241
#define IDS_FRAME_TOOL_TIP 299
#define IDS_HAND_TOOL_TIP 300
#define IDS_ZOOM_TOOL_TIP 301
#define IDS_ROTATE_TIP 302
#define IDS_RESET_TIP 304
#define IDS_ZOOM_LABEL 340

/* ---- IDI_: tool icons (20 x 20) and status bar icons (18 x 18); the hand and zoom
 * icons double as the pointer over the image ---- */
#define IDI_PREVIEW_STATUS_POSITION 290
#define IDI_PREVIEW_STATUS_SIZE 291
#define IDI_PREVIEW_FRAME_TOOL 295
#define IDI_PREVIEW_ROTATE 297
#define IDI_PREVIEW_ZOOM_IN 298
#define IDI_PREVIEW_HAND 300
#define IDI_PREVIEW_HAND_GRABBING 301
#define IDI_PREVIEW_ZOOM_OUT 302

/* ---- cursor shown when the pointer leaves the image while a tool is active ---- */
#define IDC_CURSOR_LEAVING 32512

/* ---- IDC_: controls of the preview window ---- */
#define IDC_PREVIEW_HAND_TOOL 1018
#define IDC_PREVIEW_ROTATE 1021
#define IDC_PREVIEW_FRAME_TOOL 1059
#define IDC_PREVIEW_CLOSE 1061
#define IDC_PREVIEW_SCAN 1062
#define IDC_PREVIEW_RESET 1063
#define IDC_PREVIEW_ZOOM_LIST 1065
#define IDC_PREVIEW_ZOOM_TOOL 1070
#define IDC_PREVIEW_VSCROLL 1071
#define IDC_PREVIEW_HSCROLL 1072
#define IDC_PREVIEW_IMAGE 1073
#define IDC_PREVIEW_ZOOM_LABEL 1150
#define IDC_PREVIEW_STATUS 100
#define IDM_ROTATE_CLOCKWISE 110001
#define IDM_ROTATE_COUNTERCLOCKWISE 110002
#define IDM_ROTATE_HALF_TURN 110003
#define IDM_ZOOM_IN 110004
#define IDM_ZOOM_OUT 110005
