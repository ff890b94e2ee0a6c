// Running the key panel and its dialogs in a test: the real locale resource library as resource
// handle, a fake shortcut library, modal dialogs driven from inside their own message loops,
// message boxes read and answered, and other screen resolutions in child runs.
#pragma once

#include "FakeShortcutLibrary.h"

#include "../../panel/KeyPanelDlg.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

// Loads ..\stage\RuRoredo.DLL (beside the test folder) once and makes it the resource handle;
// null when it cannot be loaded.
HINSTANCE UseLocaleLibrary();

// One step of a script: true when done, false to be asked again at the next tick.
using ScriptStep = std::function<bool()>;
ScriptStep Do(std::function<void()> action);

// Runs its steps in order, one per tick of a thread timer. The tick is dispatched by whatever
// message loop runs at that moment: the dialog's own modal loop, or a nested one (a message box,
// a sub-dialog opened by a posted command), so input posted by one step has been handled, the
// way the program handles it, before the next step looks. A step that sends a command which runs
// a nested dialog lets the following steps run inside that dialog's loop. Past the deadline,
// finished or not, the script gives up, keeps cancelling every shown dialog of the thread and
// ends the dialog it drives.
class CModalScript {
public:
    CModalScript(CDialog& dialog, std::vector<ScriptStep> steps);
    ~CModalScript();
    CModalScript(const CModalScript&) = delete;
    CModalScript& operator=(const CModalScript&) = delete;

    bool Completed() const { return m_nNext == m_steps.size(); }
    bool TimedOut() const { return m_bTimedOut; }

private:
    static void CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD) noexcept;
    void Tick();

    static CModalScript* s_pRunning;
    CDialog& m_dialog;
    std::vector<ScriptStep> m_steps;
    size_t m_nNext = 0;
    DWORD m_nStart;
    bool m_bTimedOut = false;
    UINT_PTR m_nTimer;
};

// The panel with its inner state in view, recording every notification its key buttons send.
class CTestPanel : public CKeyPanelDlg {
public:
    int CurrentKey() const { return m_nCurKey; }
    int KeyCount() const { return m_nKeyCount; }
    CKeyButton& Key(int nKey) { return m_btnKey[nKey - 1]; }
    HWND Item(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    HWND KeyWindow(int nKey) const { return Item(IDC_KEY_BUTTON_FIRST + nKey - 1); }
    // Sends a button's click notification as the control itself would.
    void Click(int nID) const;

    std::vector<std::pair<WPARAM, LPARAM>> m_notifications;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Runs a dialog modally while the script drives it; returns DoModal's result. A script that
// times out or is left unfinished fails the test, and a dialog that hangs ends the test program
// with a message within seconds instead of holding the whole run.
INT_PTR RunModal(CDialog& dialog, std::vector<ScriptStep> steps);
// Runs the panel as the application's main window: the steps start once it is shown, and after
// the last one its Close button (936) ends it.
INT_PTR RunPanel(CTestPanel& panel, std::vector<ScriptStep> steps);

// Waits for a message box without owner (the panel is not shown while it starts), keeps its
// message in *pstrText and answers it with nAnswer.
ScriptStep AnswerMessageBox(std::string* pstrText, int nAnswer = IDOK);
// A string resource through the module's resource chain.
std::string ResourceString(UINT nID);

// The screen resolution that new processes start with. Set for the object's lifetime; back to 96
// dots per inch when it goes, however the test ended.
class CNewProcessDpi {
public:
    explicit CNewProcessDpi(DWORD nDpi);
    ~CNewProcessDpi();
    CNewProcessDpi(const CNewProcessDpi&) = delete;
    CNewProcessDpi& operator=(const CNewProcessDpi&) = delete;

    bool Applied() const { return m_bApplied; }

private:
    bool m_bApplied;
};

// Screen resolution of this process, LOGPIXELSX of the screen.
int ScreenDpi();

// Every panel test: the locale library, a fake shortcut library and a panel. A case run again
// by a parent at another resolution (VV_PANEL_DPI) first checks that it really runs at it.
class PanelTest : public testing::Test {
protected:
    void SetUp() override;

    HINSTANCE m_hLocale = UseLocaleLibrary();
    CFakeShortcutLibrary m_library;
    CTestPanel m_panel;
};
