// Driving modal dialogs and message boxes from inside their own message loops: a script of steps
// run by a thread timer, whichever loop dispatches it, and a watchdog for dialogs that hang.
#pragma once

#include "afxwin.h"

#include <functional>
#include <string>
#include <vector>

// One step of a script: true when done, false to be asked again at the next tick.
using ScriptStep = std::function<bool()>;
ScriptStep Do(std::function<void()> action);

// Runs its steps in order, one per tick of a thread timer. The tick is dispatched by whatever
// message loop runs at that moment: a dialog's own modal loop, or a nested one (a message box, a
// sub-dialog opened by a posted command), so input posted by one step has been handled, the way
// the program handles it, before the next step looks. A step that sends a command which runs a
// nested dialog lets the following steps run inside that dialog's loop. Past the deadline,
// finished or not, the script gives up, keeps cancelling every shown dialog of the thread and
// ends the dialog it drives, if any; when every step has run and the dialog has still not ended,
// the dialog is stuck, and the test program ends at once, saying where.
class CModalScript {
public:
    explicit CModalScript(std::vector<ScriptStep> steps, CDialog* pDialog = nullptr);
    ~CModalScript();
    CModalScript(const CModalScript&) = delete;
    CModalScript& operator=(const CModalScript&) = delete;

    bool Completed() const { return m_nNext == m_steps.size(); }
    bool TimedOut() const { return m_bTimedOut; }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) noexcept;
    void Tick();

    static CModalScript* s_pRunning;
    CDialog* m_pDialog;
    std::vector<ScriptStep> m_steps;
    size_t m_nNext = 0;
    DWORD m_nStart;
    bool m_bTimedOut = false;
    UINT_PTR m_nTimer;
};

// Runs a dialog modally while the script drives it; returns DoModal's result. A script that
// times out or is left unfinished fails the test, and a dialog that hangs ends the test program
// with a message within seconds instead of holding the whole run.
INT_PTR RunModal(CDialog& dialog, std::vector<ScriptStep> steps);

// Waits for a dialog of this thread that the owner's window owns to be shown (the owner's window
// is taken when the step runs), and keeps it in *phDialog.
ScriptStep DialogShown(const CWnd& owner, HWND* phDialog);
// Waits for the dialog kept in *phDialog to be gone.
ScriptStep DialogGone(const HWND* phDialog);

// Waits for a message box of this thread (a shown dialog that no dialog object of the test is
// attached to), keeps its message in *pstrText (and its owner in *phOwner) and answers it with
// nAnswer.
ScriptStep AnswerMessageBox(std::string* pstrText, int nAnswer = IDOK, HWND* phOwner = nullptr);
