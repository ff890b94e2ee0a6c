#include "KeyDialog.h"

#include "ModuleMessages.h"

BOOL CKeyDialog::InitKeyDialog(int nPictureID) {
    CDialog::OnInitDialog();
    if (m_nKey == 0) {
        EndDialog(IDCANCEL);
        return FALSE;
    }
    HICON hKeyIcon = m_keyIcon.Load(m_nKey, GetOwnerKeyIconPath(m_hWnd, m_nKey));
    SendDlgItemMessage(nPictureID, STM_SETICON, reinterpret_cast<WPARAM>(hKeyIcon));
    return TRUE;
}
