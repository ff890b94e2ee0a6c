// CSettingsDlg: gives one key a new target. The user picks a program, document, folder or drive
// in the target tree, or types its path; OK stays disabled until the path names something, and
// stores a fresh record for the key. The panel repaints the key after IDOK.
#pragma once

#include "../base/KeyDialog.h"
#include "../browser/TargetTree.h"

class CSettingsDlg : public CKeyDialog {
public:
    explicit CSettingsDlg(CWnd* pParent = nullptr);

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

private:
    void LoadCategoryButton(int nCategory);
};
