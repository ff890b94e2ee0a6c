// CKeyDialog: a dialog about one key that the panel opens, showing the key's picture (the icon its
// owner, the panel, names for the key, or the key's built-in one). F1 and a Help button open the
// dialog's help topic; a dialog without one leaves F1 to its owner.
#pragma once

#include "KeyIcon.h"

#include "afxwin.h"

class CKeyDialog : public CDialog {
public:
    CKeyDialog(UINT nIDTemplate, CWnd* pParent, LPCSTR pszHelpTopic = nullptr)
        : CDialog(nIDTemplate, pParent), m_pszHelpTopic(pszHelpTopic) {}

    // The key, 1 to 6; set before DoModal.
    void SetKeyNumber(int nKey) { m_nKey = nKey; }

protected:
    // Base initialisation, then the key's picture in the static icon nPictureID. Without a key
    // number the dialog has nothing to be about: it ends with Cancel and this returns FALSE.
    BOOL InitKeyDialog(int nPictureID);

    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    afx_msg void OnHelp();

    DECLARE_MESSAGE_MAP()

    int m_nKey = 0;

private:
    CKeyIcon m_keyIcon; // released when the dialog goes
    LPCSTR m_pszHelpTopic;
};
