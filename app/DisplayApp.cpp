#include "DisplayApp.h"

#include "../base/HelpTopics.h"
#include "../base/ResourceText.h"
#include "../base/StoreResult.h"
#include "../panel/KeyPanelDlg.h"

#include "CComInit.h"
#include "CHandle.h"

#include <mbstring.h>

namespace {

constexpr char kLocaleLibrary[] = "RuRoredo.DLL";
constexpr char kShortcutLibrary[] = "VeDerovu.dll";

void ShowMissingLibrary(LPCSTR pszName) {
    AfxMessageBox(FormatResourceText(IDS_DLL_MISSING, {pszName}), MB_OK, 0);
}

// Starts the shortcut service from the suite's program folder; the panel waits for it to answer.
void StartShortcutService() {
    char szPath[MAX_PATH] = {};
    ZuComGetPath(ZUCOM_PATH_PROGRAM_FOLDER, szPath);
    ZuComPathAppend(szPath, "VeRiro.exe");
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (CreateProcessA(szPath, nullptr, nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS, nullptr,
                       nullptr, &si, &pi)) {
        CHandle thread(pi.hThread);
        CHandle process(pi.hProcess);
    }
}

// Claims a named mutex that stays held until the process ends. FALSE when another process holds
// it; a mutex whose owner died without releasing it counts as free.
BOOL ClaimInstanceMutex(LPCSTR pszName) {
    HANDLE hMutex = CreateMutexA(nullptr, FALSE, pszName);
    return WaitForSingleObject(hMutex, 0) != WAIT_TIMEOUT;
}

} // namespace

BEGIN_MESSAGE_MAP(CDisplayApp, CWinApp)
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

BOOL CDisplayApp::InitInstance() {
    HINSTANCE hLocale = AfxLoadLibrary(kLocaleLibrary);
    if (!hLocale) {
        ShowMissingLibrary(kLocaleLibrary);
        return FALSE;
    }
    AfxSetResourceHandle(hLocale);
    if (!ZuComLoadLibrary()) {
        ShowMissingLibrary(kShortcutLibrary);
        return FALSE;
    }
    // Only the first two bytes of the tail count, byte for byte and case-sensitively.
    const auto* pTail = reinterpret_cast<const unsigned char*>(m_lpCmdLine ? m_lpCmdLine : "");
    if (_mbsnbcmp(pTail, reinterpret_cast<const unsigned char*>("-I"), 2) == 0) {
        return RunKeyDataReset();
    }
    return RunKeyPanel();
}

void CDisplayApp::WinHelp(DWORD_PTR, UINT) {
    ShowDefaultHelpTopic();
}

BOOL CDisplayApp::RunKeyDataReset() {
    if (!ClaimInstanceMutex("CvnSkeyInit")) {
        ExitProcess(1);
    }
    if (AfxMessageBox(IDS_RESET_QUESTION, MB_OKCANCEL, static_cast<UINT>(-1)) == IDOK) {
        CheckStored(ZuComInitSKeyData(1), IDS_RESET_FAILED);
    }
    return FALSE;
}

BOOL CDisplayApp::RunKeyPanel() {
    HWND hServer = nullptr;
    if (!ZuComGetServer(&hServer) || !hServer) {
        StartShortcutService();
    }
    if (!ClaimInstanceMutex("VuViravuz")) {
        HWND hPanel = nullptr;
        ZuComGetClient(&hPanel);
        if (hPanel) {
            if (::IsIconic(hPanel)) {
                ::ShowWindow(hPanel, SW_RESTORE);
            }
            ::SetForegroundWindow(hPanel);
        }
        ExitProcess(1);
    }
    ZuComInitSKeyData(0);
    ReportSetAsideStore();

    // Once for the module's one thread: the shell's folder browser and its pictures of shortcuts
    // and the like need COM, whichever dialog asks first.
    CComInit com;
    CKeyPanelDlg panel;
    m_pMainWnd = &panel;
    panel.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
