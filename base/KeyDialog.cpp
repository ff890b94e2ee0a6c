#include "KeyDialog.h"

#include "HelpTopics.h"
#include "ModuleMessages.h"

BEGIN_MESSAGE_MAP(CKeyDialog, CDialog)
ON_WM_HELPINFO()
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

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

BOOL CKeyDialog::OnHelpInfo(HELPINFO*) {
    if (!m_pszHelpTopic) {
        return static_cast<BOOL>(Default());
    }
    ShowHelpTopic(m_pszHelpTopic);
    return TRUE;
}

void CKeyDialog::OnHelp() {
    ShowHelpTopic(m_pszHelpTopic);
}
