// A key's picture: the icon that the library makes from the key's icon path, or else the key's
// built-in icon 2060 + key from the locale resource library. Owns the icon only when it came from
// the library (the built-in ones are shared resources).
#pragma once

#include "CString.h"

class CKeyIcon {
public:
    CKeyIcon() = default;
    ~CKeyIcon() { Reset(); }
    CKeyIcon(const CKeyIcon&) = delete;
    CKeyIcon& operator=(const CKeyIcon&) = delete;

    HICON Load(int nKey, const CString& strIconPath);
    HICON GetHandle() const { return m_hIcon; }

private:
    void Reset();

    HICON m_hIcon = nullptr;
    BOOL m_bOwned = FALSE;
};
