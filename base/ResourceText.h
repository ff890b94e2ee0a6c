// Resource texts used as printf-style formats with string arguments only.
//
// The texts come from a resource library the program does not control, so they are never handed
// to the C runtime's printf: each %s takes the next argument (an empty text once they run out),
// %% gives one percent sign, and anything else after a percent sign is shown as written.
#pragma once

#include "CString.h"

#include <initializer_list>

CString FormatText(LPCSTR pszFormat, std::initializer_list<LPCSTR> args);
// Loads string nID through the resource chain and formats it as above.
CString FormatResourceText(UINT nID, std::initializer_list<LPCSTR> args);
