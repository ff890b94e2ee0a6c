#include "KeyIconDlg.h"

#include "../res/resource.h"

CKeyIconDlg::CKeyIconDlg(CWnd* pParent) : CKeyDialog(IDD_KEYICON, pParent) {}

BOOL CKeyIconDlg::OnInitDialog() {
    if (!InitKeyDialog(IDC_KEYICON_PICTURE)) {
        return TRUE;
    }

    // Cancel takes the focus and the default, so that Enter does not clear the key.
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(::GetDlgItem(m_hWnd, IDCANCEL)), TRUE);
    SendDlgItemMessage(IDC_KEYICON_WARNING, STM_SETICON,
                       reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_WARNING)));
    return FALSE;
}
