// The text of a key table: the user's key store, a saved key set, one state kept for undo and
// the file the keys are exported to are all the same file.
#pragma once

#include "KeyState.h"

#include <string>

// The file as the code page's text, with CRLF line ends.
std::string FormatKeyFile(const CKeyTable& table);

// Reads the store as the library itself wrote it; names it does not know are passed over. False
// when it is not a key file or a value is malformed.
bool ParseKeyFile(const std::string& strText, CKeyTable& table);

// Checks a file a user hands over, whole, before anything of it is used: 0 when every line is
// right (table then holds it; a key without a section is unassigned), else the number of the
// first wrong line (one that is not a section, a value or a comment; a section or name that is
// unknown or given twice; a malformed value; an option that the detail dialog could not set),
// or -1 when the file is no key file at all.
int CheckKeyFile(const std::string& strText, CKeyTable& table);

// Whether two tables would be written alike.
bool SameKeys(const CKeyTable& first, const CKeyTable& second);
