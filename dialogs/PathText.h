// How the dialogs read the paths a user types: a folder may end in a backslash, a drive root
// always does.
#pragma once

#include "CString.h"

bool EndsWith(const CString& strText, LPCSTR pszEnd);
// The name to look for: without one trailing backslash, except that a drive root stays whole.
CString LookupPath(const CString& strPath);
