// Dialog data exchange and validation: DoDataExchange calls one DDX_ function per control, each
// followed by the DDV_ functions that check what it exchanged.
//
// A failed check shows its message, puts the focus back on the control with its text selected and
// marks the exchange failed; every later DDX_/DDV_ call of that pass then does nothing, so only the
// first failure is shown and UpdateData returns FALSE. No exception is thrown.
#pragma once

#include "CWnd.h"

// Direction and context of one data exchange between a window's controls and its members.
class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate; // TRUE: controls to members (and validate)
    CWnd* m_pDlgWnd;
    BOOL m_bFailed = FALSE;
    // The control exchanged last, which a DDV_ call checks and a failure returns to.
    UINT m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;

    // Remembers the control as the one exchanged last and returns it.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Ends the pass at the control exchanged last: focus on it, its whole text selected.
    void Fail();
};

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// To the control in decimal; from it, the whole text must be one int in decimal, with blanks
// around it and a sign allowed.
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
// Subclasses the control into rControl the first time; later passes leave it attached.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// Towards the controls it limits typing in the edit exchanged last to nChars characters.
void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
