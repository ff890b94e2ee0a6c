// CKeyDialog: a dialog about one key that the panel opens, showing the key's picture (the icon its
// owner, the panel, names for the key, or the key's built-in one).
#pragma once

#include "KeyIcon.h"

#include "afxwin.h"

class CKeyDialog : public CDialog {
public:
    CKeyDialog(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

    // The key, 1 to 6; set before DoModal.
    void SetKeyNumber(int nKey) { m_nKey = nKey; }

protected:
    // Base initialisation, then the key's picture in the static icon nPictureID. Without a key
    // number the dialog has nothing to be about: it ends with Cancel and this returns FALSE.
    BOOL InitKeyDialog(int nPictureID);

    int m_nKey = 0;

private:
    CKeyIcon m_keyIcon; // released when the dialog goes
};
