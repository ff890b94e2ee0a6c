#include "PanelHarness.h"

#include "../common/Process.h"
#include "../common/ShownDialogs.h"

#include <cstdio>

// The application object: message boxes take their owner from its main window, and dialogs
// opened without a parent get the panel as owner through it.
CWinApp g_testApp;

namespace {

// A script gives up after this long; a dialog that still has not ended some time later has hung
// beyond what a posted Cancel can reach.
constexpr DWORD kScriptDeadlineMs = 6000;
constexpr DWORD kHangDeadlineMs = 12000;

// A dialog that does not end when told to, or a handler caught in a loop, would hold every later
// test as well: the whole test program ends at once, saying where.
[[noreturn]] void EndHungTestProgram(const char* pszWhat) {
    const testing::TestInfo* pTest = testing::UnitTest::GetInstance()->current_test_info();
    std::fprintf(stderr, "\n%s.%s: %s; ending the test program\n",
                 pTest ? pTest->test_suite_name() : "?", pTest ? pTest->name() : "?", pszWhat);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 4);
    ExitProcess(4);
}

bool SetLogPixels(DWORD nDpi) {
    return RegSetKeyValueA(HKEY_CURRENT_USER, "Control Panel\\Desktop", "LogPixels", REG_DWORD,
                           &nDpi, sizeof(nDpi)) == ERROR_SUCCESS;
}

} // namespace

HINSTANCE UseLocaleLibrary() {
    static const HINSTANCE s_hLibrary = [] {
        return LoadLibraryA(StagedPath("RuRoredo.DLL").c_str());
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

CModalScript::CModalScript(CDialog& dialog, std::vector<ScriptStep> steps)
    : m_dialog(dialog), m_steps(std::move(steps)), m_nStart(GetTickCount()),
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
    if (Completed() && GetTickCount() - m_nStart > kScriptDeadlineMs) {
        EndHungTestProgram("every step ran but the dialog did not end");
    }
    if (m_bTimedOut || GetTickCount() - m_nStart > kScriptDeadlineMs) {
        m_bTimedOut = true;
        for (HWND hDialog : ShownDialogsOfThread()) {
            PostMessageA(hDialog, WM_COMMAND, IDCANCEL, 0);
        }
        m_dialog.EndDialog(IDABORT); // even when its own Cancel is broken
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

// Watches a dialog run from another thread: a handler caught in a loop never lets the script's
// timer tick.
class CWatchdog {
public:
    CWatchdog() : m_hDone(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {
        m_hThread = CreateThread(nullptr, 0, &Watch, this, 0, nullptr);
    }
    ~CWatchdog() {
        SetEvent(m_hDone);
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
        CloseHandle(m_hDone);
    }
    CWatchdog(const CWatchdog&) = delete;
    CWatchdog& operator=(const CWatchdog&) = delete;

private:
    static DWORD WINAPI Watch(void* pParameter) {
        auto* pWatchdog = static_cast<CWatchdog*>(pParameter);
        if (WaitForSingleObject(pWatchdog->m_hDone, kHangDeadlineMs) == WAIT_TIMEOUT) {
            EndHungTestProgram("the dialog hung");
        }
        return 0;
    }

    HANDLE m_hDone;
    HANDLE m_hThread;
};

INT_PTR RunModal(CDialog& dialog, std::vector<ScriptStep> steps) {
    CWatchdog watchdog;
    CModalScript script(dialog, std::move(steps));
    INT_PTR nResult = dialog.DoModal();
    EXPECT_FALSE(script.TimedOut()) << "the script waited in vain";
    EXPECT_TRUE(script.Completed()) << "the dialog ended before the script did";
    return nResult;
}

void CTestPanel::Click(int nID) const {
    SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(Item(nID)));
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

ScriptStep AnswerMessageBox(std::string* pstrText, int nAnswer) {
    return [pstrText, nAnswer] {
        HWND hBox = FindShownDialog(nullptr);
        if (!hBox) {
            return false;
        }
        *pstrText = StaticTexts(hBox);
        PressButton(hBox, nAnswer);
        return true;
    };
}

std::string ResourceString(UINT nID) {
    CString strText;
    strText.LoadString(nID);
    return std::string(strText);
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

void PanelTest::SetUp() {
    ASSERT_TRUE(m_hLocale) << "..\\stage\\RuRoredo.DLL is missing";
    std::string strDpi = EnvironmentValue("VV_PANEL_DPI");
    if (!strDpi.empty()) {
        ASSERT_EQ(std::stoi(strDpi), ScreenDpi()) << "the resolution was not applied";
    }
}
