// Running the key panel and its dialogs in a test: the real locale resource library as resource
// handle, the real shortcut library over a scratch suite, modal dialogs driven from inside their
// own message loops, message boxes read and answered, and other screen resolutions in child runs.
#pragma once

#include "../common/BoundLibrary.h"
#include "../common/DialogGeometry.h"
#include "../common/LocaleLibrary.h"
#include "../common/ModalScript.h"
#include "../common/ShownDialogs.h"

#include "../../panel/KeyPanelDlg.h"

#include "CComInit.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// Makes the staged locale library the resource handle; null when it cannot be loaded.
HINSTANCE UseLocaleLibrary();

// The panel with its inner state in view.
class CTestPanel : public CKeyPanelDlg {
public:
    int CurrentKey() const { return m_nCurKey; }
    int KeyCount() const { return m_nKeyCount; }
    CKeyButton& Key(int nKey) { return m_btnKey[nKey - 1]; }
    HWND Item(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
    bool IsEnabled(int nID) const { return ::IsWindowEnabled(Item(nID)) != FALSE; }
    HWND KeyWindow(int nKey) const { return Item(IDC_KEY_BUTTON_FIRST + nKey - 1); }
    // A key button's request to make its key current.
    void Select(LPARAM nKey) const { SendMessage(WM_KEYBUTTON_NOTIFY, KBN_SELECT, nKey); }
    // Sends a button's click notification as the control itself would.
    void Click(int nID) const;
    // Posts it instead, so that a dialog the click opens runs while the script goes on.
    void PostClick(int nID) const;
};

// The icon a picture control of a dialog shows, and the locale library's own icon of a key.
HICON ShownIcon(HWND hDialog, int nID);
HICON BuiltInKeyIcon(int nKey);

// Records the notifications that the key buttons send to the panel from now on.
CMessageRecorder KeyNotifications(const CTestPanel& panel);
// One such notification, as the recorder holds it.
RecordedMessage KeyNotification(WPARAM nCode, LPARAM lParam);

// Runs the panel as the application's main window: the steps start once it is shown, and after
// the last one its Close button (936) ends it.
INT_PTR RunPanel(CTestPanel& panel, std::vector<ScriptStep> steps);

// A dialog of the module driven as a user would drive it: a click or typing returns once the
// dialog has handled it.
template <class TDialog> class CDriven : public TDialog {
public:
    HWND Item(int nID) const { return ::GetDlgItem(this->m_hWnd, nID); }
    bool IsEnabled(int nID) const { return ::IsWindowEnabled(Item(nID)) != FALSE; }
    std::string Text(int nID) const { return WindowText(Item(nID)); }
    void Click(int nID) const { this->SendDlgItemMessage(nID, BM_CLICK); }
    // Replaces an edit's text, with the notifications a user's typing brings.
    void Type(int nID, const std::string& strText) const {
        this->SendDlgItemMessage(nID, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strText.c_str()));
    }
    // The same with wide text, as a name beyond the ANSI code page is pasted.
    void Type(int nID, const std::wstring& strText) const {
        ::SendDlgItemMessageW(this->m_hWnd, nID, WM_SETTEXT, 0,
                              reinterpret_cast<LPARAM>(strText.c_str()));
    }
};

// Runs a dialog about one key; the steps start once it is shown, and after them it is cancelled,
// unless they end it.
INT_PTR RunKeyDialog(CKeyDialog& dialog, int nKey, std::vector<ScriptStep> steps,
                     bool bStepsEndIt = false);

// Every panel test: the locale library, the shortcut library and a panel. A case run again
// by a parent at another resolution first checks that it really runs at it.
class PanelTest : public testing::Test {
protected:
    void SetUp() override;
    // Runs the panel for one step.
    INT_PTR InPanel(const std::function<void()>& step) { return RunPanel(m_panel, {Do(step)}); }

    CComInit m_com; // as the program has it for its one thread
    HINSTANCE m_hLocale = UseLocaleLibrary();
    CBoundLibrary m_library;
    CTestPanel m_panel;
};
