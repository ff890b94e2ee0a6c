#include "DetailDlg.h"

#include "DetailLimits.h"
#include "PathText.h"
#include "WorkingFolder.h"

#include "../base/HelpTopics.h"
#include "../base/StoreResult.h"
#include "../res/resource.h"

#include "DataExchange.h"

#include <initializer_list>

namespace {

// A text that came longer than its limit (a drop's comment for a long file name, the defaults, an
// edit of the store by hand) is kept as it came: only what the user typed is held to the limit.
void DDV_MaxTypedChars(CDataExchange* pDX, const CString& value, const CString& strAsItCame,
                       int nChars) {
    if (!pDX->m_bSaveAndValidate || value.Compare(strAsItCame) != 0) {
        DDV_MaxChars(pDX, value, nChars);
    }
}

} // namespace

BEGIN_MESSAGE_MAP(CDetailDlg, CKeyDialog)
ON_BN_CLICKED(IDC_DETAIL_BROWSE, OnBrowse)
ON_BN_CLICKED(IDC_DETAIL_OPTION_FLAG, OnOptionFlag)
ON_WM_DESTROY()
ON_EN_CHANGE(IDC_DETAIL_TITLE, OnTitleChanged)
ON_EN_UPDATE(IDC_DETAIL_OPTION_NUMBER, OnOptionNumberUpdate)
END_MESSAGE_MAP()

CDetailDlg::CDetailDlg(CWnd* pParent) : CKeyDialog(IDD_DETAIL, pParent, kDetailHelpTopic) {}

void CDetailDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_DETAIL_OPTION_SPIN, m_spin);
    DDX_Text(pDX, IDC_DETAIL_COMMENT, m_strComment);
    DDV_MaxTypedChars(pDX, m_strComment, m_record.Comment, kCommentChars);
    ExchangeOptionNumber(pDX);
    // The target is only shown and never stored: a long one must not keep the user from storing
    // the other fields.
    DDX_Text(pDX, IDC_DETAIL_TARGET, m_strTarget);
    DDX_Text(pDX, IDC_DETAIL_PARAMETERS, m_strParameters);
    DDV_MaxTypedChars(pDX, m_strParameters, m_record.Parameters, kPathChars);
    DDX_Text(pDX, IDC_DETAIL_WORKDIR, m_strWorkingFolder);
    DDV_MaxTypedChars(pDX, m_strWorkingFolder, m_record.WorkingFolder, kPathChars);
    DDX_Text(pDX, IDC_DETAIL_TITLE, m_strTitle);
    DDV_MaxTypedChars(pDX, m_strTitle, m_record.Title, kTitleChars);
}

void CDetailDlg::ExchangeOptionNumber(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_DETAIL_OPTION_NUMBER, m_nOptionValue);
    DDV_MinMaxInt(pDX, m_nOptionValue, kOptionMin, kOptionMax);
}

BOOL CDetailDlg::OnInitDialog() {
    m_bInitialized = FALSE; // the number's own updates come in while it is being filled
    if (!InitKeyDialog(IDC_DETAIL_KEY_ICON)) {
        return FALSE;
    }
    // Details belong to an assignment; a key without one has nothing to refine.
    if (!ZuComGetAppDataOfHarlEvent(&m_record, m_nKey + ZUCOM_EVENT_BASE)) {
        EndDialog(IDCANCEL);
        return FALSE;
    }
    SetDlgItemText(IDC_DETAIL_TARGET, m_record.Target);
    SetDlgItemText(IDC_DETAIL_TITLE, m_record.Title); // its EN_CHANGE sets the OK state
    SetDlgItemText(IDC_DETAIL_WORKDIR, m_record.WorkingFolder);
    SetDlgItemText(IDC_DETAIL_PARAMETERS, m_record.Parameters);
    SetDlgItemText(IDC_DETAIL_COMMENT, m_record.Comment);

    HICON hIcon = nullptr;
    if (ZuComGetIconHandle(&hIcon, m_record.IconSource, 1) ||
        ZuComGetIconHandle(&hIcon, m_record.Target, 1)) {
        m_hTargetIcon.Attach(hIcon);
    }
    SendDlgItemMessage(IDC_DETAIL_TARGET_ICON, STM_SETICON,
                       reinterpret_cast<WPARAM>(static_cast<HICON>(m_hTargetIcon)));

    int nNumber = 0;
    ZuComGetKeyOption(m_nKey - 1, &m_bOption, &nNumber);
    CheckDlgButton(IDC_DETAIL_OPTION_FLAG, m_bOption ? BST_CHECKED : BST_UNCHECKED);
    EnableOptionGroup(m_bOption != 0);
    m_nOptionValue = ShownOptionNumber(nNumber);
    CString strNumber;
    strNumber.Format("%d", m_nOptionValue);
    SetDlgItemText(IDC_DETAIL_OPTION_NUMBER, strNumber);
    m_bInitialized = TRUE;
    m_spin.SetRange(kOptionMin, kOptionMax);
    return FALSE;
}

void CDetailDlg::EnableOptionGroup(BOOL bEnable) {
    for (int nID : {IDC_DETAIL_OPTION_NUMBER, IDC_DETAIL_OPTION_SPIN, IDC_DETAIL_OPTION_LABEL2,
                    IDC_DETAIL_OPTION_LABEL1}) {
        if (CWnd* pControl = GetDlgItem(nID)) {
            pControl->EnableWindow(bEnable);
        }
    }
}

void CDetailDlg::OnOptionFlag() {
    EnableOptionGroup(IsDlgButtonChecked(IDC_DETAIL_OPTION_FLAG) == BST_CHECKED);
}

void CDetailDlg::OnDestroy() {
    CKeyDialog::OnDestroy();
    m_hTargetIcon.Attach(nullptr);
}

void CDetailDlg::OnTitleChanged() {
    // Only the title decides; checking the other fields here would send the user's typing into
    // whichever of them failed.
    CString strTitle;
    GetDlgItemText(IDC_DETAIL_TITLE, strTitle);
    if (CWnd* pOK = GetDlgItem(IDOK)) {
        pOK->EnableWindow(!strTitle.TrimLeft().IsEmpty());
    }
}

void CDetailDlg::OnOptionNumberUpdate() {
    if (!m_bInitialized) {
        return;
    }
    // 0 is a number the user is about to correct; it becomes the nearest allowed one. Only this
    // field is looked at: the user is typing in it, not in the others.
    CDataExchange dx(this, TRUE);
    ExchangeOptionNumber(&dx);
    if (m_nOptionValue == 0) {
        m_nOptionValue = kOptionMin;
        SetDlgItemText(IDC_DETAIL_OPTION_NUMBER, "1");
    }
}

void CDetailDlg::OnBrowse() {
    CString strTyped;
    GetDlgItemText(IDC_DETAIL_WORKDIR, strTyped);
    CString strChosen;
    if (BrowseForWorkingFolder(m_hWnd, InitialBrowseFolder(strTyped, m_record.Target), strChosen)) {
        SetDlgItemText(IDC_DETAIL_WORKDIR, strChosen);
    }
}

void CDetailDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    NarrowPath folder;
    if (!ReadTypedPath(*this, IDC_DETAIL_WORKDIR, folder)) {
        AfxMessageBox(IDS_NAME_NOT_KEPT, MB_OK);
        return;
    }
    const CString& strFolder = folder.strPath;
    if (UINT nProblem = WorkingFolderProblem(strFolder)) {
        AfxMessageBox(nProblem, MB_OK);
        return;
    }
    m_record.WorkingFolder = strFolder;
    m_record.Title = m_strTitle;
    m_record.Parameters = m_strParameters;
    m_record.Comment = m_strComment;
    // Not stored, the dialog stays with what was typed, for another try. The number is kept even
    // while the option is off, for when it is turned on again.
    if (CheckStored(ZuComSetAppDataOfHarlEvent(&m_record, m_nKey + ZUCOM_EVENT_BASE),
                    IDS_STORE_FAILED) &&
        CheckStored(ZuComSetKeyOption(m_nKey - 1,
                                      IsDlgButtonChecked(IDC_DETAIL_OPTION_FLAG) ? 1 : 0,
                                      m_nOptionValue),
                    IDS_STORE_FAILED)) {
        CKeyDialog::OnOK();
    }
}
