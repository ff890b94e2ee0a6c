// CSpinButtonCtrl: an up-down control, usually beside the edit control it counts in.
#pragma once

#include "CWnd.h"

#include <commctrl.h>

class CSpinButtonCtrl : public CWnd {
public:
    // UDM_SETRANGE carries the upper limit in the low word and the lower one in the high word.
    void SetRange(short nLower, short nUpper) {
        SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower));
    }
    void GetRange(int& lower, int& upper) const {
        LRESULT lRange = SendMessage(UDM_GETRANGE);
        lower = static_cast<short>(HIWORD(lRange));
        upper = static_cast<short>(LOWORD(lRange));
    }
    // Returns the previous position; the control keeps the new one within its range.
    int SetPos(int nPos) {
        return static_cast<short>(SendMessage(UDM_SETPOS, 0, MAKELPARAM(nPos, 0)));
    }
    // The position in the low word; the high word is nonzero when the buddy's text is no number
    // within the range.
    int GetPos() const { return static_cast<int>(SendMessage(UDM_GETPOS)); }
    CWnd* GetBuddy() const { return FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY))); }
};
