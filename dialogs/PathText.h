// How the dialogs read the paths a user types: a folder may end in a backslash, a drive root
// always does; a name may hold characters beyond the ANSI code page.
#pragma once

#include "../base/NarrowPath.h"

#include "CWnd.h"

bool EndsWith(const CString& strText, LPCSTR pszEnd);
// The name to look for: without one trailing backslash, except that a drive root stays whole.
CString LookupPath(const CString& strPath);
// Whether a path names a target a key can start: a drive root ("Q:\", even of a drive the
// machine lacks), or something a file search finds, files and folders alike, wildcards allowed;
// one trailing backslash is not part of the name. A drive letter alone ("Q:") is none.
BOOL IsValidTarget(const CString& strPath);

// The path typed in a dialog's edit, read as wide text (a pasted name beyond the code page would
// read as question marks, which match other files), without blanks at either end, and narrowed as
// the module keeps paths; FALSE when it can be kept neither exactly nor by a short name.
BOOL ReadTypedPath(const CWnd& dialog, int nID, NarrowPath& path);
