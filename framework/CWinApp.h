// CWinThread and CWinApp: the one application object and its main window.
#pragma once

#include "AfxResource.h"
#include "CWnd.h"

class CWinThread : public CCmdTarget {
public:
    CWnd* m_pMainWnd = nullptr;

    virtual CWnd* GetMainWnd() { return m_pMainWnd; }
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }
};

class CWinApp : public CWinThread {
public:
    // Registers itself as the application; exactly one exists, as a global object.
    CWinApp();
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    LPSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCSTR m_pszAppName = nullptr; // string AFX_IDS_APP_TITLE, else the program's name

    // Nothing by default: an application that has help overrides it.
    virtual void WinHelp(DWORD_PTR, UINT = HELP_CONTEXT) {}
    // Shows a message box captioned with the application name, owned by the main window.
    virtual int DoMessageBox(LPCSTR pszPrompt, UINT nType, UINT nIDPrompt);

protected:
    afx_msg void OnHelp();

private:
    friend int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);
    CString m_strAppName;
};

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();

// Message boxes: by text, or by string number through the resource chain.
int AfxMessageBox(LPCSTR pszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// Registers the common-control classes that dialog templates use (tree view, up-down control);
// the first call does the work, later ones return its result.
BOOL AfxInitCommonControls();

// The entry point's work: fills the application's members, registers the common controls, runs
// InitInstance, and returns the process exit code.
int AfxWinMain(HINSTANCE hInstance, LPSTR lpCmdLine, int nCmdShow);
