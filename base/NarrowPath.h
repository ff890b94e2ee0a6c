// Paths as the module keeps them. The module, the shortcut-service library and the key store hold
// paths in the ANSI code page, but a path the user hands over as wide text (a drop, a typed or
// pasted target) may name a file whose name the code page cannot hold. Converted the usual way,
// such a name would turn into question marks, which are wildcards, or into look-alike characters:
// a path to another file or to none. So a wide path is narrowed exactly, or to its short name, or
// not at all.
#pragma once

#include "CString.h"

struct NarrowPath {
    // Names the very entry the wide path names: the path itself, or its short (8.3) form.
    CString strPath;
    // Only with the short form: what a title can show of the long name (the path's last part),
    // its characters that the code page holds, blanks tidied; empty when nothing of it but an
    // extension is left, and then the short name serves.
    CString strLongName;
};

// FALSE, with both parts empty, when the path can be held neither exactly nor by a short name:
// its name holds characters the code page lacks and the volume gives it no short name (or it names
// nothing, and so has none).
BOOL NarrowPathOf(LPCWSTR pszWide, NarrowPath& narrow);
