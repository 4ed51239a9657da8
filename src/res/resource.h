// Resource and control identifiers, shared by the .rc file, the Win32 shell and
// the portable core (no <windows.h> here). Numbers that stored files, help
// contexts or other programs may rely on must not change.
#pragma once

// Dialog templates
#define IDD_MAIN_SIMPLE 100
#define IDD_MAIN_ADVANCED 101
#define IDD_ABOUT 3000
#define IDD_PARAMS 5000
#define IDD_QUICKINSERT 6000

// Menus
#define IDR_MAINMENU 4000

// Icons
#define IDI_PROGRAM 1

// Main form controls (1000..1099). Radio groups are consecutive so that one
// identifier range names each group.
#define IDC_TITLE 1001
#define IDC_TITLEVAR 1002
#define IDC_TEXT 1003
#define IDC_TEXTVAR 1004
#define IDC_PARENT 1005
#define IDC_BUTTONS 1006
#define IDC_LABEL 1007
#define IDC_DEFBUTTON 1008
// <winuser.h> names an obsolete cursor IDC_ICON; the icon list takes the name
// (Win32 files include <windows.h> before this header).
#ifdef IDC_ICON
#undef IDC_ICON
#endif
#define IDC_ICON 1009
#define IDC_ICONPREVIEW 1010
#define IDC_APPLMODAL 1011
#define IDC_SYSTEMMODAL 1012
#define IDC_TASKMODAL 1013
#define IDC_HELPBUTTON 1014
#define IDC_RIGHT 1015
#define IDC_RTLREADING 1016
#define IDC_INSERT 1017
#define IDC_EXIT 1018
#define IDC_PREVIEW 1019
#define IDC_GENERATE 1020
#define IDC_SETFOREGROUND 1021
#define IDC_DEFAULTDESKTOP 1022
#define IDC_TOPMOST 1023
#define IDC_SERVICE 1024
#define IDC_SERVICE_NT3X 1025
#define IDC_QI_CODE 1026
#define IDC_LANGUAGE 1027
#define IDC_TYPE_BOX 1028
#define IDC_TYPE_BOXEX 1029
#define IDC_TYPE_INDIRECT 1030
#define IDC_CODE 1031
#define IDC_SAVEWARN1 1032
#define IDC_SAVEWARN2 1033
#define IDC_COPY 1037
#define IDC_LOADCODE 1039

// About box
#define IDC_ABOUT_LINK 3001
#define IDC_OK 3002

// QuickInsert window
#define IDC_QI_EDIT 3003
#define IDC_QI_LIST 6001
#define IDC_QI_TREE 6002
#define IDC_QI_TABS 7004

// MessageBoxIndirect options dialog
#define IDC_PARAMS_NAME 5001
#define IDC_PARAMS_ICONID 5002
#define IDC_PARAMS_CALLBACK 5003
#define IDC_PARAMS_HELPID 5004

// Menu commands
#define IDM_CLEAR 4001
#define IDM_HELP 4010
#define IDM_ABOUT 4011
// The "&Code" menu: each group's items in the order of its option values.
#define IDM_CHARSET_ANSI 4020
#define IDM_CHARSET_TEXT 4021
#define IDM_CHARSET_WIDE 4022
#define IDM_ANSWER_NONE 4030
#define IDM_ANSWER_IF 4031
#define IDM_ANSWER_SWITCH 4032
#define IDM_QUICKBOX_LOAD 4100
#define IDM_QUICKBOX_SET 4200

// Help window and help texts
#define IDD_HELP 8000
#define IDC_HELP_TOPICS 8001
#define IDC_HELP_TEXT 8002
#define IDR_HELP_TEXT 8100
// The context-help text of a control: string IDS_CONTROL_HELP + its identifier.
#define IDS_CONTROL_HELP 20000
