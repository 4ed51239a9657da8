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
#define IDD_TASKDIALOG 9000

// Menus
#define IDR_MAINMENU 4000
#define IDR_TASKDIALOGMENU 9001

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
#define IDC_OTHERSTYLE 1040

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
#define IDC_PARAMS_INSTANCE 5005

// Task dialog designer (9100..9199). The common-button check boxes follow the
// order of their TDCBF_ bits.
#define IDC_TD_TITLE 9101
#define IDC_TD_TITLEVAR 9102
#define IDC_TD_MAININSTR 9103
#define IDC_TD_MAININSTRVAR 9104
#define IDC_TD_CONTENT 9105
#define IDC_TD_CONTENTVAR 9106
#define IDC_TD_MAINICON 9107
#define IDC_TD_OWNER 9108
#define IDC_TD_FOOTER 9109
#define IDC_TD_FOOTERICON 9110
#define IDC_TD_CANCELLATION 9111
#define IDC_TD_HYPERLINKS 9112
#define IDC_TD_MINIMIZE 9113
#define IDC_TD_RELATIVE 9114
#define IDC_TD_RTL 9115
#define IDC_TD_SIZETOCONTENT 9116
#define IDC_TD_WIDTH 9117
#define IDC_TD_COMMON_OK 9120
#define IDC_TD_COMMON_YES 9121
#define IDC_TD_COMMON_NO 9122
#define IDC_TD_COMMON_CANCEL 9123
#define IDC_TD_COMMON_RETRY 9124
#define IDC_TD_COMMON_CLOSE 9125
#define IDC_TD_BUTTONLIST 9130
#define IDC_TD_BUTTONADD 9131
#define IDC_TD_BUTTONREMOVE 9132
#define IDC_TD_BUTTONUP 9133
#define IDC_TD_BUTTONDOWN 9134
#define IDC_TD_BUTTONID 9135
#define IDC_TD_BUTTONTEXT 9136
#define IDC_TD_BUTTONNOTE 9137
#define IDC_TD_COMMANDLINKS 9138
#define IDC_TD_DEFBUTTON 9139
#define IDC_TD_RADIOLIST 9140
#define IDC_TD_RADIOADD 9141
#define IDC_TD_RADIOREMOVE 9142
#define IDC_TD_RADIOUP 9143
#define IDC_TD_RADIODOWN 9144
#define IDC_TD_RADIOID 9145
#define IDC_TD_RADIOTEXT 9146
#define IDC_TD_DEFRADIO 9147
#define IDC_TD_NODEFRADIO 9148
#define IDC_TD_VERIFY 9150
#define IDC_TD_VERIFYCHECKED 9151
#define IDC_TD_EXPANDED 9152
#define IDC_TD_EXPANDEDDEFAULT 9153
#define IDC_TD_EXPANDFOOTER 9154
#define IDC_TD_EXPANDEDTEXT 9155
#define IDC_TD_COLLAPSEDTEXT 9156
#define IDC_TD_FOOTERVAR 9157
#define IDC_TD_VERIFYVAR 9158
#define IDC_TD_EXPANDEDVAR 9159
#define IDC_TD_CODE 9160
#define IDC_TD_INSERT 9161
#define IDC_TD_COPY 9162
#define IDC_TD_GENERATE 9163
#define IDC_TD_LOADCODE 9164
#define IDC_TD_PREVIEW 9165
#define IDC_TD_CLOSE 9166
#define IDM_TD_CLEAR 9167
#define IDM_TD_HELP 9168

// Menu commands
#define IDM_CLEAR 4001
#define IDM_HELP 4010
#define IDM_ABOUT 4011
// The "Co&de" menu: each group's items in the order of its option values.
#define IDM_CHARSET_ANSI 4020
#define IDM_CHARSET_TEXT 4021
#define IDM_CHARSET_WIDE 4022
#define IDM_ANSWER_NONE 4030
#define IDM_ANSWER_IF 4031
#define IDM_ANSWER_SWITCH 4032
#define IDM_TASKDIALOG 4040
#define IDM_QUICKBOX_LOAD 4100
#define IDM_QUICKBOX_SET 4200

// Help window and help texts
#define IDD_HELP 8000
#define IDC_HELP_TOPICS 8001
#define IDC_HELP_TEXT 8002
#define IDR_HELP_TEXT 8100
// The context-help text of a control: string IDS_CONTROL_HELP + its identifier.
#define IDS_CONTROL_HELP 20000
