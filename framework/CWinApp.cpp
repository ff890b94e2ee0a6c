#include "CWinApp.h"

#include <commctrl.h>

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp() {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    g_pApp = nullptr;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWinThread* AfxGetThread() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->GetMainWnd() : nullptr;
}

void CWinApp::OnHelp() {
    WinHelp(0, HELP_CONTENTS);
}

int CWinApp::DoMessageBox(LPCSTR pszPrompt, UINT nType, UINT) {
    // A box without an icon of its own gets the one that matches its buttons.
    if ((nType & MB_ICONMASK) == 0) {
        UINT nButtons = nType & MB_TYPEMASK;
        nType |= (nButtons == MB_YESNO || nButtons == MB_YESNOCANCEL) ? MB_ICONQUESTION
                                                                      : MB_ICONEXCLAMATION;
    }
    HWND hOwner = nullptr;
    CWnd* pMainWnd = AfxGetMainWnd();
    if (pMainWnd && pMainWnd->m_hWnd && IsWindowVisible(pMainWnd->m_hWnd)) {
        hOwner = GetLastActivePopup(pMainWnd->m_hWnd);
    }
    return MessageBoxA(hOwner, pszPrompt, m_pszAppName, nType);
}

int AfxMessageBox(LPCSTR pszText, UINT nType, UINT nIDHelp) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        return MessageBoxA(nullptr, pszText, nullptr, nType);
    }
    return pApp->DoMessageBox(pszText, nType, nIDHelp);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp) {
    CString strPrompt;
    strPrompt.LoadString(nIDPrompt);
    return AfxMessageBox(strPrompt, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

BOOL AfxInitCommonControls() {
    static const BOOL s_bInitialized = [] {
        INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_TREEVIEW_CLASSES | ICC_UPDOWN_CLASS};
        return InitCommonControlsEx(&icc);
    }();
    return s_bInitialized;
}

int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow) {
    CWinApp* pApp = AfxGetApp();
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;

    if (!pApp->m_strAppName.LoadString(AFX_IDS_APP_TITLE)) {
        char szModule[MAX_PATH] = {};
        GetModuleFileNameA(hInstance, szModule, MAX_PATH);
        CString strModule(szModule);
        pApp->m_strAppName = strModule.Mid(strModule.ReverseFind('\\') + 1);
    }
    pApp->m_pszAppName = pApp->m_strAppName;
    AfxInitCommonControls();

    // A dialog-based program does all its work in InitInstance and ends when it returns.
    pApp->InitInstance();
    return pApp->ExitInstance();
}
