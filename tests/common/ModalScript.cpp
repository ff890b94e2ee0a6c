#include "ModalScript.h"

#include "ShownDialogs.h"
#include "Watchdog.h"

#include <gtest/gtest.h>

namespace {

// A script gives up after this long; a dialog that still has not ended some time later has hung
// beyond what a posted Cancel can reach.
constexpr DWORD kScriptDeadlineMs = 6000;
constexpr DWORD kHangDeadlineMs = 12000;

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
    // A dialog that does not end when told to, or a handler caught in a loop, would hold every
    // later test as well.
    CWatchdog watchdog(kHangDeadlineMs, "the dialog hung");
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
