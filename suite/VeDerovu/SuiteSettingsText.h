// The text of the suite's settings file Corvane.ini as the suite reads it: the key count in
// [Suite] and the keys' defaults in [DefaultKey1] to [DefaultKey6]. The library reads the file
// through these, and the installer's edit of the file meets the lines they read.
#pragma once

#include "IniText.h"
#include "KeyState.h"

constexpr char SUITE_SECTION[] = "Suite";
constexpr char KEY_COUNT_NAME[] = "KeyCount";
constexpr char DEFAULT_KEY_PREFIX[] = "DefaultKey";

// The key count, 1 to 6; KEY_COUNT when the text gives none.
int KeyCountIn(const CIniText& ini);

// Every key as the text sets it up; keys without a default are unassigned.
CKeyTable DefaultKeysIn(const CIniText& ini);
