#include "SettingsDlg.h"

#include "PathText.h"

#include "../base/HelpTopics.h"
#include "../base/KeySettingsFile.h"
#include "../base/ModuleMessages.h"
#include "../base/NewAssignment.h"
#include "../base/StoreResult.h"
#include "../base/ZuCom.h"
#include "../res/resource.h"

#include "DataExchange.h"

namespace {

constexpr int kCategories = 4;

} // namespace

BEGIN_MESSAGE_MAP(CSettingsDlg, CKeyDialog)
ON_CONTROL_RANGE(BN_CLICKED, IDC_SETTINGS_CATEGORY_FIRST,
                 IDC_SETTINGS_CATEGORY_FIRST + kCategories - 1, OnCategory)
ON_EN_CHANGE(IDC_SETTINGS_PATH, OnPathChanged)
ON_REGISTERED_MESSAGE(g_nSelectChangedMsg, OnSelectChanged)
END_MESSAGE_MAP()

CSettingsDlg::CSettingsDlg(CWnd* pParent) : CKeyDialog(IDD_SETTINGS, pParent, kSettingsHelpTopic) {}

void CSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_SETTINGS_PATH, m_strPath);
}

BOOL CSettingsDlg::OnInitDialog() {
    if (!InitKeyDialog(IDC_SETTINGS_KEY_ICON)) {
        return TRUE;
    }
    if (CWnd* pOK = GetDlgItem(IDOK)) {
        pOK->EnableWindow(FALSE);
    }

    m_tree.SubclassDlgItem(IDC_SETTINGS_TREE, this);
    m_strCategoryFile = CKeySettingsFile().GetPath();
    m_strKeyName.Format("SKey%d", m_nKey);
    m_tree.Init(m_strKeyName, m_strCategoryFile, m_hWnd, g_nSelectChangedMsg);
    for (int nCategory = 0; nCategory < kCategories; ++nCategory) {
        LoadCategoryButton(nCategory);
    }
    m_tree.LoadCategory(0);
    SendDlgItemMessage(IDC_SETTINGS_CATEGORY_FIRST, BM_SETCHECK, BST_CHECKED);
    return TRUE;
}

void CSettingsDlg::LoadCategoryButton(int nCategory) {
    CString strSection;
    strSection.Format("%sButton%d", static_cast<LPCSTR>(m_strKeyName), nCategory);
    CKeySettingsFile file(m_strCategoryFile);
    CWnd* pButton = GetDlgItem(IDC_SETTINGS_CATEGORY_FIRST + nCategory);
    if (!pButton) {
        return;
    }
    CString strTitle = file.GetCategoryValue(strSection, "Title");
    if (!strTitle.IsEmpty()) {
        pButton->SetWindowText(strTitle);
    }
    // Offered only with both a caption and something to show; the others keep their places.
    if (strTitle.IsEmpty() || file.GetCategoryValue(strSection, "Tree").IsEmpty()) {
        pButton->ShowWindow(SW_HIDE);
    }
}

void CSettingsDlg::OnCategory(UINT nID) {
    m_tree.LoadCategory(static_cast<int>(nID) - IDC_SETTINGS_CATEGORY_FIRST);
}

// The path is looked up as OK will store it: read wide, so that a name the code page cannot hold
// is not mistaken for look-alike characters or question marks, which are wildcards.
void CSettingsDlg::OnPathChanged() {
    UpdateData(TRUE);
    NarrowPath typed;
    if (CWnd* pOK = GetDlgItem(IDOK)) {
        pOK->EnableWindow(ReadTypedPath(*this, IDC_SETTINGS_PATH, typed) &&
                          IsValidTarget(typed.strPath));
    }
}

LRESULT CSettingsDlg::OnSelectChanged(WPARAM, LPARAM) {
    m_strSelection = m_tree.m_strSelectedPath;
    // An item that names no target leaves the typed path alone.
    if (IsValidTarget(m_strSelection)) {
        SetDlgItemText(IDC_SETTINGS_PATH, m_strSelection);
    }
    return 0;
}

void CSettingsDlg::OnOK() {
    NarrowPath target;
    if (!ReadTypedPath(*this, IDC_SETTINGS_PATH, target)) {
        AfxMessageBox(IDS_NAME_NOT_KEPT, MB_OK);
        return;
    }
    const CString& strTarget = target.strPath;
    if (!IsValidTarget(strTarget)) {
        AfxMessageBox(IDS_TARGET_INVALID, MB_OK);
        return;
    }
    // The target is stored as given (or by its short name), a folder's trailing backslash
    // included; its name and kind come from what the path names.
    KeyAssignment record;
    FillNewAssignment(LookupPath(strTarget), record, target.strLongName);
    record.Target = strTarget;
    // Not stored, the dialog stays with what was typed, for another try.
    if (CheckStored(ZuComSetAppDataOfHarlEvent(&record, m_nKey + ZUCOM_EVENT_BASE),
                    IDS_STORE_FAILED)) {
        CDialog::OnOK();
    }
}
