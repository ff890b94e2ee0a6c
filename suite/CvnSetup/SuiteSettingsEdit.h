// What an administrator chooses at install, written into the suite's settings file Corvane.ini:
// the machine's key count and the keys every new user starts with. Everything else in the file
// (its comments, other sections, an edit made by hand) stays as it was.
#pragma once

#include "../VeDerovu/KeyState.h"

#include <string>

// The key count KEYCOUNT asks for, 1 to 6: 0 when none was asked for, -1 when the value is no
// key count.
int AskedKeyCount(const std::wstring& strValue);

// The text with KeyCount in [Suite] set to nKeyCount (0: left as it is) and the sections
// [DefaultKey1] to [DefaultKey6] replaced by the keys of pDefaults (null: left as they are).
std::string EditSuiteSettings(const std::string& strText, int nKeyCount,
                              const CKeyTable* pDefaults);
