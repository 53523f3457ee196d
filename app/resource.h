#pragma once
// Resource ids of Morvane.exe (shared by the .rc and the entry code).

#define IDS_APP_TITLE         103
#define IDD_ABOUTBOX          103
#define IDI_MORVANE           107
#define IDI_SMALL             108
#define IDC_MORVANE           109
#define IDM_ABOUT             104
#define IDM_EXIT              105
#define IDC_ABOUT_ICON        1000
#define IDR_SKIN_ZIP          131
