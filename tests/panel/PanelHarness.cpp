#include "PanelHarness.h"

#include "../common/Process.h"

// The application object: message boxes take their owner from its main window, and dialogs
// opened without a parent get the panel as owner through it.
CWinApp g_testApp;

HINSTANCE UseLocaleLibrary() {
    HINSTANCE hLibrary = LocaleLibrary();
    if (hLibrary) {
        AfxSetResourceHandle(hLibrary);
    }
    return hLibrary;
}

HICON ShownIcon(HWND hDialog, int nID) {
    return reinterpret_cast<HICON>(SendDlgItemMessageA(hDialog, nID, STM_GETICON, 0, 0));
}

HICON BuiltInKeyIcon(int nKey) {
    return LoadIconA(LocaleLibrary(), MAKEINTRESOURCEA(IDI_KEY_BASE + nKey));
}

CMessageRecorder KeyNotifications(const CTestPanel& panel) {
    return CMessageRecorder(panel.m_hWnd, {VV_MESSAGE(WM_KEYBUTTON_NOTIFY)});
}

RecordedMessage KeyNotification(WPARAM nCode, LPARAM lParam) {
    return {WM_KEYBUTTON_NOTIFY, nCode, lParam};
}

void CTestPanel::Click(int nID) const {
    SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(Item(nID)));
}

void CTestPanel::PostClick(int nID) const {
    PostMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(Item(nID)));
}

INT_PTR RunPanel(CTestPanel& panel, std::vector<ScriptStep> steps) {
    steps.insert(steps.begin(), [&panel] { return panel.m_hWnd && panel.IsWindowVisible(); });
    steps.push_back(Do([&panel] { panel.PostClick(IDC_PANEL_CLOSE); }));
    AfxGetApp()->m_pMainWnd = &panel;
    INT_PTR nResult = RunModal(panel, std::move(steps));
    AfxGetApp()->m_pMainWnd = nullptr;
    return nResult;
}

INT_PTR RunKeyDialog(CKeyDialog& dialog, int nKey, std::vector<ScriptStep> steps,
                     bool bStepsEndIt) {
    dialog.SetKeyNumber(nKey);
    steps.insert(steps.begin(), [&dialog] { return dialog.m_hWnd && dialog.IsWindowVisible(); });
    if (!bStepsEndIt) {
        steps.push_back(Do([&dialog] { dialog.PostMessage(WM_COMMAND, IDCANCEL); }));
    }
    return RunModal(dialog, std::move(steps));
}

void PanelTest::SetUp() {
    ASSERT_TRUE(m_hLocale) << LocaleLibraryName() << " is missing";
    ASSERT_TRUE(RunsAtAskedResolution());
}
