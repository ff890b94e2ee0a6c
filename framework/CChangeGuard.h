// CChangeGuard: marks a dialog as filling its own controls for the guard's lifetime. The flag is a
// member of the dialog; its change handlers (EN_CHANGE, TVN_SELCHANGED) return at once while it is
// set, so they act only on what the user does. Guards nest: each puts back the value it found.
#pragma once

#include <windows.h>

class CChangeGuard {
public:
    explicit CChangeGuard(BOOL& bFilling) : m_bFilling(bFilling), m_bPrevious(bFilling) {
        bFilling = TRUE;
    }
    ~CChangeGuard() { m_bFilling = m_bPrevious; }
    CChangeGuard(const CChangeGuard&) = delete;
    CChangeGuard& operator=(const CChangeGuard&) = delete;

private:
    BOOL& m_bFilling;
    BOOL m_bPrevious;
};
