// CKeyIconDlg: asks before the current key's assignment is cleared, showing the key's picture.
// It only answers; the panel clears the key after IDOK.
#pragma once

#include "../base/KeyIcon.h"

#include "afxwin.h"

class CKeyIconDlg : public CDialog {
public:
    explicit CKeyIconDlg(CWnd* pParent = nullptr);

    void SetKeyNumber(int nKey) { m_nKey = nKey; }

protected:
    BOOL OnInitDialog() override;

private:
    int m_nKey;         // 1 to 6; 0 until set, which makes the dialog answer Cancel at once
    CKeyIcon m_keyIcon; // released when the dialog goes
};
