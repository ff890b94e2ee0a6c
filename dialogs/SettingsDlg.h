// CSettingsDlg: gives one key a new target. The user picks a program, document, folder or drive
// in the target tree, or types its path; OK stays disabled until the path names something, and
// stores a fresh record for the key. The panel repaints the key after IDOK.
#pragma once

#include "../base/KeyIcon.h"
#include "../browser/TargetTree.h"

#include "afxwin.h"

class CSettingsDlg : public CDialog {
public:
    explicit CSettingsDlg(CWnd* pParent = nullptr);

    // The key to edit, 1 to 6; set before DoModal.
    void SetKeyNumber(int nKey) { m_nKey = nKey; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnCategory(UINT nID);
    afx_msg void OnPathChanged();
    afx_msg LRESULT OnSelectChanged(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

    CString m_strPath;
    CTargetTree m_tree;
    CString m_strKeyName;
    CString m_strSelection; // the tree's path at its last selection, valid or not
    CString m_strCategoryFile;
    int m_nKey;

private:
    void LoadCategoryButton(int nCategory);

    CKeyIcon m_keyIcon; // released when the dialog goes
};
