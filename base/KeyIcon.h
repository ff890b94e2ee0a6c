// A key's picture: the icon that the library makes from the key's icon path, or else the key's
// built-in icon 2060 + key from the locale resource library. Owns the icon only when it came from
// the library (the built-in ones are shared resources).
#pragma once

#include "CIconHolder.h"
#include "CString.h"

class CKeyIcon {
public:
    HICON Load(int nKey, const CString& strIconPath);

private:
    CIconHolder m_fromLibrary;
    HICON m_hIcon = nullptr;
};
