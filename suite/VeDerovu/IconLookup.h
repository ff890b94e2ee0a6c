// The picture of a key's target: an icon file's own image, or the shell's icon for anything else.
#pragma once

#include "VeDerovu.h"

// A large (nLarge non-zero) or small icon for the path into *phIcon, which the caller destroys;
// false when none could be had.
bool LoadTargetIcon(HICON* phIcon, const CString& strPath, int nLarge);
