// Resource numbers shared by the module and the locale resource library RuRoredo.DLL.
// The numbers are fixed; texts, layouts and images belong to the library.
#pragma once

// Dialog templates
#define IDD_KEYPANEL 196
#define IDD_DETAIL 198
#define IDD_SETTINGS 199
#define IDD_KEYICON 200

// Strings
#define IDS_DLL_MISSING 300 // the program's own: "...DLL(%s)..."
#define IDS_KEYFILE_MISSING 3017
#define IDS_COMMENT_PROGRAM 3329 // format: name, extension
#define IDS_COMMENT_OTHER 3330   // format: name, extension
#define IDS_BROWSE_FOLDER_TITLE 3335
#define IDS_SERVICE_MISSING 3409
#define IDS_WORKDIR_DRIVE 4114
#define IDS_WORKDIR_INVALID 4115
#define IDS_KEY_UNASSIGNED 4116
#define IDS_RESET_QUESTION 4117
#define IDS_TARGET_INVALID 4120
#define IDS_STORE_FAILED 4121    // format: the system's reason
#define IDS_RESET_FAILED 4122    // format: the system's reason
#define IDS_STORE_SET_ASIDE 4123 // format: the path of the copy
#define IDS_KEY_NAME 4124        // format: legend, title, comment
#define IDS_KEY_NAME_TITLE 4125  // format: legend, title
#define IDS_KEY_NAME_FREE 4126   // format: legend
#define IDS_NAME_NOT_KEPT 4130   // a path beyond the ANSI code page without a short name
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 57344
#endif

// Icons
#define IDR_MAINFRAME 128
#define IDI_PANEL 2039
#define IDI_KEY_BASE 2060 // key k uses IDI_KEY_BASE + k (2061 to 2066)

// Key panel (196): one block per kind, indexed by key - 1
#define IDC_KEY_BUTTON_FIRST 890 // 890..895
#define IDC_KEY_ICON_FIRST 896   // 896..901
#define IDC_KEY_LEGEND_FIRST 902 // 902..907
#define IDC_PANEL_SETTINGS 908
#define IDC_PANEL_DETAIL 909
#define IDC_PANEL_CLEAR 910
#define IDC_PANEL_ROWS 928
#define IDC_PANEL_CLOSE 936

// Detail dialog (198)
#define IDC_DETAIL_OPTION_FLAG 912
#define IDC_DETAIL_OPTION_NUMBER 913
#define IDC_DETAIL_OPTION_SPIN 914
#define IDC_DETAIL_TARGET 915
#define IDC_DETAIL_TITLE 916
#define IDC_DETAIL_WORKDIR 917
#define IDC_DETAIL_PARAMETERS 918
#define IDC_DETAIL_COMMENT 919
#define IDC_DETAIL_BROWSE 920
#define IDC_DETAIL_TARGET_ICON 921
#define IDC_DETAIL_OPTION_LABEL1 930 // the number's label
#define IDC_DETAIL_OPTION_LABEL2 931 // the hint after the number
#define IDC_DETAIL_OPTION_GROUP 932  // the frame around the option
#define IDC_DETAIL_KEY_ICON 940

// Settings dialog (199)
#define IDC_SETTINGS_CATEGORIES 922     // the frame around the category buttons
#define IDC_SETTINGS_CATEGORY_FIRST 923 // 923..926
#define IDC_SETTINGS_TREE 927
#define IDC_SETTINGS_PATH 929
#define IDC_SETTINGS_KEY_ICON 939

// Clear confirmation (200)
#define IDC_KEYICON_WARNING 933
#define IDC_KEYICON_PICTURE 941

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#ifndef ID_HELP
#define ID_HELP 57670
#endif
