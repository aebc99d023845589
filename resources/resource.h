// Resource numbers shared by the resource script and the code.
#pragma once

#define IDI_UNINSTALL 128

#define IDS_INIT_DATA 1004
#define IDS_REMOVE_SHELLOBJ 1005
#define IDS_REMOVE_REGINFO 1006
#define IDS_UNREGIST 1007
#define IDS_REMOVE 1008
#define IDS_UNINSTALL_ERROR 1009
#define IDS_UNINSTALL_SUCCESS 1010
#define IDS_NOT_UNINSTALLED 1011
#define IDS_UNINSTALLED 1012
#define IDS_NOT_FIND_INFO 1013
#define IDS_CONFIRM 1014
#define IDS_UNINSTALL_TITLE 1016
#define IDS_CLEANING_APP 1017
#define IDS_STOP_SERVICE 1018
#define IDS_WAITING 1019

// Dialog templates.
#define IDD_UNINSTALL_FINISH 106
#define IDD_UNCOPYFILE 112
#define IDD_BANNER_WAITING 127
#define IDD_UNINSTALL_REBOOT 132
#define IDD_WAITING 2003

// Bitmaps that the templates and pages name; the program carries neither,
// so without banner files those areas stay empty.
#define IDB_TOP_BANNER 131
#define IDB_LEFT_BANNER 137

// Controls of the dialogs (one number may serve in several dialogs).
#define IDC_STATIC -1
#define IDC_BACK 1001          // "< &Back" of the wizard pages
#define IDC_REMOVE_LABEL 1001  // "Remove:" of the progress dialog
#define IDC_LEFT_BANNER 1003
#define IDC_HEADING 1004
#define IDC_RESULT_LINE 1005
#define IDC_STATUS 2002
#define IDC_PROGRESS 2003
#define IDC_TOP_BANNER 2004
#define IDC_SECOND_AREA 2005
#define IDC_MAIN_TEXT 2029
#define IDC_NEXT_INSTALLER 2056
#define IDC_REBOOT_YES 2067
#define IDC_REBOOT_NO 2068
#define IDC_ETCHED_LINE 2086
