// CEdit: an edit control.
#pragma once

#include "CWnd.h"

class CEdit : public CWnd {
public:
    // Selects from nStartChar up to nEndChar (-1: the end); the caret is scrolled into view
    // unless bNoScroll.
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE) {
        SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
        if (!bNoScroll) {
            SendMessage(EM_SCROLLCARET);
        }
    }
    // Limits what the user can type, in characters; 0 sets the largest limit.
    void LimitText(int nChars = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
    UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
};
