#include "ModalScript.h"

#include "ShownDialogs.h"

#include <gtest/gtest.h>

#include <cstdio>

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

} // namespace

ScriptStep Do(std::function<void()> action) {
    return [action = std::move(action)] {
        action();
        return true;
    };
}

CModalScript* CModalScript::s_pRunning = nullptr;

CModalScript::CModalScript(std::vector<ScriptStep> steps, CDialog* pDialog)
    : m_pDialog(pDialog), m_steps(std::move(steps)), m_nStart(GetTickCount()),
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
    const bool bLate = GetTickCount() - m_nStart > kScriptDeadlineMs;
    if (bLate && Completed() && m_pDialog) {
        EndHungTestProgram("every step ran but the dialog did not end");
    }
    if (m_bTimedOut || bLate) {
        m_bTimedOut = true;
        for (HWND hDialog : ShownDialogsOfThread()) {
            PostMessageA(hDialog, WM_COMMAND, IDCANCEL, 0);
        }
        if (m_pDialog) {
            m_pDialog->EndDialog(IDABORT); // even when its own Cancel is broken
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

INT_PTR RunModal(CDialog& dialog, std::vector<ScriptStep> steps) {
    CWatchdog watchdog;
    CModalScript script(std::move(steps), &dialog);
    INT_PTR nResult = dialog.DoModal();
    EXPECT_FALSE(script.TimedOut()) << "the script waited in vain";
    EXPECT_TRUE(script.Completed()) << "the dialog ended before the script did";
    return nResult;
}

ScriptStep DialogShown(const CWnd& owner, HWND* phDialog) {
    return [&owner, phDialog] { return (*phDialog = FindShownDialog(owner.m_hWnd)) != nullptr; };
}

ScriptStep DialogGone(const HWND* phDialog) {
    return [phDialog] { return !IsWindow(*phDialog); };
}

ScriptStep AnswerMessageBox(std::string* pstrText, int nAnswer, HWND* phOwner) {
    return [pstrText, nAnswer, phOwner] {
        for (HWND hBox : ShownDialogsOfThread()) {
            if (!CWnd::FromHandlePermanent(hBox)) {
                *pstrText = StaticTexts(hBox);
                if (phOwner) {
                    *phOwner = GetWindow(hBox, GW_OWNER);
                }
                PressButton(hBox, nAnswer);
                return true;
            }
        }
        return false;
    };
}
