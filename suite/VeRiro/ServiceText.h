// The service's own texts, from its string table, and the numbers of its resources.
#pragma once

#define IDI_SERVICE 1

#define IDS_SERVICE_TIP 1
#define IDS_LAUNCH_FAILED 2
#define IDS_TARGET_NOT_FOUND 3
#define IDS_DRIVE_MISSING 4
#define IDS_NO_PROGRAM 5
#define IDS_FOLDER_NOT_FOUND 6
#define IDS_LAUNCH_ERROR 7
#define IDS_HOTKEYS_FAILED 8
#define IDS_HOTKEY_TAKEN 9
#define IDS_HOTKEY_INVALID 10
#define IDS_HOTKEYS_HINT 11
#define IDS_STORE_SET_ASIDE_TITLE 12
#define IDS_STORE_SET_ASIDE 13
#define IDS_NO_ANSWER 14
#define IDS_NO_KEY_SETS 15
#define IDS_OPEN_KEY_SETTINGS 16
#define IDS_KEY_SETS_UNREAD 17
#define IDS_KEY_SET_FAILED 18
#define IDS_KEY_SET_WRONG_LINE 19
#define IDS_KEY_SET_NO_KEYS 20
#define IDS_PANEL_NOT_STARTED 21

#ifndef RC_INVOKED
#include <string>

// The text of string nId with the given texts in place of its %1 and %2.
std::string ServiceText(unsigned nId, const std::string& strFirst = "",
                        const std::string& strSecond = "");
#endif
