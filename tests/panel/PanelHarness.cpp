#include "PanelHarness.h"

#include <gtest/gtest.h>

// The application object: message boxes take their owner from its main window, and dialogs
// opened without a parent get the panel as owner through it.
CWinApp g_testApp;

namespace {

std::string ProgramPath() {
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    return szPath;
}

bool IsShownDialog(HWND hWnd) {
    char szClass[16] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    return lstrcmpA(szClass, "#32770") == 0 && IsWindowVisible(hWnd);
}

std::vector<HWND> ShownDialogs() {
    std::vector<HWND> dialogs;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            if (IsShownDialog(hWnd)) {
                reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

bool SetLogPixels(DWORD nDpi) {
    return RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD,
                           &nDpi, sizeof(nDpi)) == ERROR_SUCCESS;
}

} // namespace

HINSTANCE UseLocaleLibrary() {
    static const HINSTANCE s_hLibrary = [] {
        std::string strPath = ProgramPath();
        strPath = strPath.substr(0, strPath.rfind('\\') + 1) + "..\\stage\\RuRoredo.DLL";
        return LoadLibraryA(strPath.c_str());
    }();
    if (s_hLibrary) {
        AfxSetResourceHandle(s_hLibrary);
    }
    return s_hLibrary;
}

ScriptStep Do(std::function<void()> action) {
    return [action = std::move(action)] {
        action();
        return true;
    };
}

CModalScript* CModalScript::s_pRunning = nullptr;

CModalScript::CModalScript(std::vector<ScriptStep> steps, DWORD nTimeoutMs)
    : m_steps(std::move(steps)), m_nStart(GetTickCount()), m_nTimeoutMs(nTimeoutMs),
      m_nTimer(SetTimer(nullptr, 0, 0, &OnTick)) {
    s_pRunning = this;
}

CModalScript::~CModalScript() {
    KillTimer(nullptr, m_nTimer);
    s_pRunning = nullptr;
}

void CALLBACK CModalScript::OnTick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    if (s_pRunning) {
        s_pRunning->Tick();
    }
}

void CModalScript::Tick() {
    if (m_bTimedOut || GetTickCount() - m_nStart > m_nTimeoutMs) {
        m_bTimedOut = true;
        for (HWND hDialog : ShownDialogs()) {
            PostMessageA(hDialog, WM_COMMAND, IDCANCEL, 0);
        }
        return;
    }
    if (Completed()) {
        return;
    }
    // Taken before the step runs: steps that run inside a nested loop started by this one go on
    // from the next position.
    size_t nStep = m_nNext++;
    if (!m_steps[nStep]() && m_nNext == nStep + 1) {
        m_nNext = nStep;
    }
}

LRESULT CTestPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYBUTTON_NOTIFY) {
        m_notifications.emplace_back(wParam, lParam);
    }
    return CKeyPanelDlg::WindowProc(message, wParam, lParam);
}

INT_PTR RunModal(CDialog& dialog, std::vector<ScriptStep> steps) {
    CModalScript script(std::move(steps));
    INT_PTR nResult = dialog.DoModal();
    EXPECT_FALSE(script.TimedOut()) << "the script waited in vain";
    EXPECT_TRUE(script.Completed()) << "the dialog ended before the script did";
    return nResult;
}

INT_PTR RunPanel(CTestPanel& panel, std::vector<ScriptStep> steps) {
    steps.insert(steps.begin(), [&panel] { return panel.m_hWnd && panel.IsWindowVisible(); });
    steps.push_back(Do([&panel] {
        panel.PostMessage(WM_COMMAND, MAKEWPARAM(IDC_PANEL_CLOSE, BN_CLICKED),
                          reinterpret_cast<LPARAM>(panel.Item(IDC_PANEL_CLOSE)));
    }));
    AfxGetApp()->m_pMainWnd = &panel;
    INT_PTR nResult = RunModal(panel, std::move(steps));
    AfxGetApp()->m_pMainWnd = nullptr;
    return nResult;
}

HWND FindShownDialog(HWND hOwner, HWND hExcept) {
    for (HWND hDialog : ShownDialogs()) {
        if (hDialog != hExcept && GetWindow(hDialog, GW_OWNER) == hOwner) {
            return hDialog;
        }
    }
    return nullptr;
}

ScriptStep AnswerMessageBox(std::string* pstrText, int nAnswer) {
    return [pstrText, nAnswer] {
        HWND hBox = FindShownDialog(nullptr);
        if (!hBox) {
            return false;
        }
        *pstrText = StaticTexts(hBox);
        PostMessageA(hBox, WM_COMMAND, static_cast<WPARAM>(nAnswer), 0);
        return true;
    };
}

std::string StaticTexts(HWND hDialog) {
    std::string strTexts;
    for (HWND hChild = GetWindow(hDialog, GW_CHILD); hChild;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        char szClass[16] = {};
        char szText[1024] = {};
        GetClassNameA(hChild, szClass, sizeof(szClass));
        if (lstrcmpiA(szClass, "Static") == 0 && GetWindowTextA(hChild, szText, sizeof(szText))) {
            strTexts += (strTexts.empty() ? "" : "\n") + std::string(szText);
        }
    }
    return strTexts;
}

std::string ResourceString(UINT nID) {
    CString strText;
    strText.LoadString(nID);
    return std::string(strText);
}

int RunThisProgram(const std::string& strFilter,
                   const std::vector<std::pair<std::string, std::string>>& environment) {
    for (const auto& [strName, strValue] : environment) {
        SetEnvironmentVariableA(strName.c_str(), strValue.c_str());
    }
    std::string strCommand = "\"" + ProgramPath() + "\" --gtest_also_run_disabled_tests " +
                             "--gtest_filter=" + strFilter;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    BOOL bStarted = CreateProcessA(nullptr, &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &si, &pi);
    for (const auto& entry : environment) {
        SetEnvironmentVariableA(entry.first.c_str(), nullptr);
    }
    if (!bStarted) {
        return -1;
    }
    DWORD nExitCode = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(pi.hProcess, &nExitCode);
    } else {
        TerminateProcess(pi.hProcess, nExitCode);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(nExitCode);
}

std::string EnvironmentValue(const char* pszName) {
    char szValue[MAX_PATH] = {};
    DWORD nLength = GetEnvironmentVariableA(pszName, szValue, MAX_PATH);
    return nLength < MAX_PATH ? szValue : "";
}

CNewProcessDpi::CNewProcessDpi(DWORD nDpi) : m_bApplied(SetLogPixels(nDpi)) {}

CNewProcessDpi::~CNewProcessDpi() {
    SetLogPixels(96);
}

int ScreenDpi() {
    HDC hdc = GetDC(nullptr);
    int nDpi = GetDeviceCaps(hdc, LOGPIXELSX);
    ReleaseDC(nullptr, hdc);
    return nDpi;
}
