#include "CDialog.h"

#include "CWinApp.h"
#include "DataExchange.h"

namespace {

// The dialog class's own procedure does the dialog manager's work; every message the dialog
// handles goes through the window's message map first.
INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// The owner a dialog without a parent gets: the application's main window, unless that is the
// dialog itself or not created yet.
HWND SafeOwner(CWnd* pParentWnd, const CWnd* pDialog) {
    CWnd* pOwner = pParentWnd ? pParentWnd : AfxGetMainWnd();
    if (!pOwner || pOwner == pDialog || !pOwner->m_hWnd) {
        return nullptr;
    }
    return GetAncestor(pOwner->m_hWnd, GA_ROOT);
}

} // namespace

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

INT_PTR CDialog::DoModal() {
    LPCSTR pszTemplate = MAKEINTRESOURCEA(m_nIDTemplate);
    HINSTANCE hInstance = AfxFindResourceHandle(pszTemplate, RT_DIALOG);
    HWND hOwner = SafeOwner(m_pParentWnd, this);
    BOOL bEnableOwner = hOwner && ::IsWindowEnabled(hOwner);
    if (bEnableOwner) {
        ::EnableWindow(hOwner, FALSE);
    }

    m_bContinueModal = TRUE;
    m_nModalResult = -1;
    AfxHookWindowCreate(this);
    HWND hWnd = CreateDialogParamA(hInstance, pszTemplate, hOwner, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (hWnd && m_bContinueModal) {
        RunModalLoop();
    }

    // Give the activation back to the owner before the dialog goes away.
    if (bEnableOwner) {
        ::EnableWindow(hOwner, TRUE);
    }
    if (hWnd) {
        if (hOwner && GetActiveWindow() == hWnd) {
            SetActiveWindow(hOwner);
        }
        ::DestroyWindow(hWnd);
    }
    CWnd::DeleteTempMap();
    return hWnd ? m_nModalResult : -1;
}

void CDialog::RunModalLoop() {
    if (!CWnd::IsWindowVisible()) {
        ShowWindow(SW_SHOWNORMAL);
    }
    MSG msg;
    while (m_bContinueModal) {
        BOOL bGot = GetMessageA(&msg, nullptr, 0, 0);
        if (bGot == 0 || bGot == -1) {
            // Leave WM_QUIT for the outer loop (there is none here, but the caller may have one).
            PostQuitMessage(static_cast<int>(msg.wParam));
            m_nModalResult = -1;
            break;
        }
        if (!AfxPreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

void CDialog::EndDialog(int nResult) {
    m_nModalResult = nResult;
    if (m_bContinueModal) {
        m_bContinueModal = FALSE;
        PostMessage(WM_NULL); // wakes the modal loop
    }
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return !dx.m_bFailed;
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    return IsDialogMessageA(m_hWnd, pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, UINT nCode, const AFX_MSG& msg, LRESULT& lResult) {
    if (CWnd::OnCmdMsg(nID, nCode, msg, lResult)) {
        return TRUE;
    }
    // Commands nobody in the dialog takes go to the application (help, for example).
    CWinApp* pApp = AfxGetApp();
    return pApp && pApp->OnCmdMsg(nID, nCode, msg, lResult);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        return OnInitDialog();
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (UpdateData(TRUE)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::DoDataExchange(CDataExchange*) {}
