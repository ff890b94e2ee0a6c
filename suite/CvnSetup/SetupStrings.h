// The installer's messages, in the custom-action library's string table.
#pragma once

#define IDS_KEYCOUNT_WRONG 100
#define IDS_DEFAULTS_UNREADABLE 101
#define IDS_DEFAULTS_LINE 102
#define IDS_DEFAULTS_NOT_KEYS 103
#define IDS_SETTINGS_UNWRITTEN 104
#define IDS_PROGRAMS_NOT_ENDED 105
#define IDS_SETTINGS_NOT_KEPT 106
#define IDS_LANGUAGE_WRONG 107
