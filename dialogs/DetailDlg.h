// CDetailDlg: refines what a key already starts: its title and comment, the working folder and
// parameters its target is started with, and the key's option (launch only when held down, for
// a number of tenths of a second). The target itself is only shown; the settings dialog changes
// it. The panel repaints the key after IDOK.
#pragma once

#include "../base/KeyDialog.h"
#include "../base/ZuCom.h"

#include "CIconHolder.h"
#include "CSpinButtonCtrl.h"

class CDetailDlg : public CKeyDialog {
public:
    explicit CDetailDlg(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnBrowse();
    afx_msg void OnOptionFlag();
    afx_msg void OnDestroy();
    afx_msg void OnTitleChanged();
    afx_msg void OnOptionNumberUpdate();

    DECLARE_MESSAGE_MAP()

    CSpinButtonCtrl m_spin;
    CString m_strComment;
    int m_nOptionValue = 5;
    CString m_strTarget;
    CString m_strParameters;
    CString m_strWorkingFolder;
    CString m_strTitle;
    CIconHolder m_hTargetIcon;
    KeyAssignment m_record; // as the library returned it; four fields are edited here
    int m_bOption = 0;
    BOOL m_bInitialized = FALSE;

private:
    void EnableOptionGroup(BOOL bEnable);
    void ExchangeOptionNumber(CDataExchange* pDX);
};
