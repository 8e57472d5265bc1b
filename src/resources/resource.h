#pragma once
// Resource and command ids of tidewatch.exe (shared by the .rc file and the code).

#define IDI_TIDEWATCH 128

// Menus.
#define IDR_TRAY_MENU 130

// Dialogs and their controls.
#define IDD_LOADING 134
#define IDD_SITE_EDIT 135
#define IDD_DIRECTORY_SELECT 138
#define IDC_DIRECTORY_PATH 1022
#define IDC_DIRECTORY_BROWSE 1023
#define IDD_KEYWORD 139
#define IDC_KEYWORD_EDIT 1026

// Strings.
#define IDS_SITE_ADD 133
#define IDS_SITE_CHANGE 134

// Commands of the tray menu routed to the application.
#define ID_UPDATE_ALL 32796
#define ID_VIEW_SETTINGS 32781
#define ID_SYSTEM_SETTINGS 32783
#define ID_KEYWORD_SETTINGS 32797
#define ID_LEARNING_SETTINGS 32817
#define ID_CHANGE_SETTING_FOLDER 32788
#define ID_IMPORT 32800
#define ID_EXPORT 32802
#define ID_HELP_INDEX 32804
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
