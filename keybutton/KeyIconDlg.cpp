#include "KeyIconDlg.h"

#include "../base/ModuleMessages.h"
#include "../res/resource.h"

CKeyIconDlg::CKeyIconDlg(CWnd* pParent) : CDialog(IDD_KEYICON, pParent), m_nKey(0) {}

BOOL CKeyIconDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_nKey == 0) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    HICON hKeyIcon = m_keyIcon.Load(m_nKey, GetOwnerKeyIconPath(m_hWnd, m_nKey));
    SendDlgItemMessage(IDC_KEYICON_PICTURE, STM_SETICON, reinterpret_cast<WPARAM>(hKeyIcon));

    // Cancel takes the focus and the default, so that Enter does not clear the key.
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, IDCANCEL)), TRUE);
    SendDlgItemMessage(IDC_KEYICON_WARNING, STM_SETICON,
                       reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_WARNING)));
    return FALSE;
}
