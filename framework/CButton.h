// CButton: a button control; the base of buttons that paint or behave in their own way.
#pragma once

#include "CWnd.h"

class CButton : public CWnd {
public:
    BOOL Create(LPCSTR pszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
        return CreateEx(0, "BUTTON", pszCaption, dwStyle, rect, pParentWnd, nID);
    }
};
