// The record a key gets when the user gives it a new target, by a drop or in the settings dialog.
#pragma once

#include "ZuCom.h"

// Fills Title and Comment of a fresh record from the target at strLookupPath: a drive root
// ("D:\") names itself without a lookup; a path that matches exactly one entry gives the
// folder's whole path, or the file's name without its extension plus that extension; anything
// else leaves both empty. The comment says "program" or "other target" with name and extension.
// Target is the caller's: the drop stores the path as dropped, the dialog as typed. When the lookup
// path is a short (8.3) form, strLongName (NarrowPath's) stands for it in title and comment unless
// empty; a folder is then titled with that name alone rather than with a path of short names.
void FillNewAssignment(const CString& strLookupPath, KeyAssignment& record,
                       const CString& strLongName = CString());
