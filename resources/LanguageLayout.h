/* Layout macros for the language-neutral dialog templates. The build defines
 * RESOURCE_LANGUAGE_RTL to 1 for right-to-left languages (Arabic, Hebrew), so one template
 * serves every language and mirrors itself where the language reads right to left:
 *
 *     IDD_EXAMPLE DIALOGEX 0, 0, 200, 100
 *     STYLE DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU
 *     EXSTYLE DIALOG_LAYOUT_EXSTYLE
 */
#pragma once

#ifndef RESOURCE_LANGUAGE_RTL
#define RESOURCE_LANGUAGE_RTL 0
#endif

#if RESOURCE_LANGUAGE_RTL
#define DIALOG_LAYOUT_EXSTYLE (WS_EX_LAYOUTRTL)
#else
#define DIALOG_LAYOUT_EXSTYLE 0
#endif
