#include "KeyPanelDlg.h"

#include "../base/HelpTopics.h"
#include "../base/KeySettingsFile.h"
#include "../base/ModuleMessages.h"
#include "../base/StoreResult.h"
#include "../dialogs/DetailDlg.h"
#include "../dialogs/SettingsDlg.h"
#include "../keybutton/KeyIconDlg.h"
#include "KeyPanelLayout.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kServiceTries = 6;
constexpr DWORD kServiceRetryMs = 500;

BOOL ServiceAnswers() {
    HWND hServer = nullptr;
    return ZuComGetServer(&hServer) && hServer;
}

} // namespace

BEGIN_MESSAGE_MAP(CKeyPanelDlg, CDialog)
ON_WM_CREATE()
ON_CONTROL_RANGE(BN_CLICKED, IDC_KEY_BUTTON_FIRST, IDC_KEY_BUTTON_FIRST + MAX_KEYS - 1,
                 OnKeyClicked)
ON_MESSAGE(WM_KEYBUTTON_NOTIFY, OnKeyButtonNotify)
ON_MESSAGE(WM_PANEL_REFRESH, OnPanelRefresh)
ON_MESSAGE(WM_GET_KEY_ICON_PATH, OnGetKeyIconPath)
ON_BN_CLICKED(IDC_PANEL_SETTINGS, OnSettings)
ON_BN_CLICKED(IDC_PANEL_DETAIL, OnDetail)
ON_BN_CLICKED(IDC_PANEL_CLEAR, OnClear)
ON_BN_CLICKED(IDC_PANEL_CLOSE, OnOK)
ON_WM_GETMINMAXINFO()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_DESTROY()
ON_WM_HELPINFO()
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CKeyPanelDlg::CKeyPanelDlg(CWnd* pParent)
    : CDialog(IDD_KEYPANEL, pParent),
      m_hIcon(LoadIconA(AfxFindResourceHandle(MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON),
                        MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_nCurKey(1), m_rcInitial(), m_dScale(1.0), m_nKeyCount(0) {}

void CKeyPanelDlg::DoDataExchange(CDataExchange*) {}

int CKeyPanelDlg::OnCreate(LPCREATESTRUCTA pCreateStruct) {
    if (CDialog::OnCreate(pCreateStruct) == -1) {
        return -1;
    }
    // The service may just have been started: give it a moment to answer.
    BOOL bPresent = ServiceAnswers();
    for (int nTry = 1; !bPresent && nTry < kServiceTries; ++nTry) {
        Sleep(kServiceRetryMs);
        bPresent = ServiceAnswers();
    }
    if (!bPresent) {
        AfxMessageBox(IDS_SERVICE_MISSING, MB_OK, static_cast<UINT>(-1));
        return -1;
    }
    return ZuComSetClient(m_hWnd) ? 0 : -1;
}

BOOL CKeyPanelDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    const CKeySettingsFile keyFile;
    if (!keyFile.Exists()) {
        AfxMessageBox(IDS_KEYFILE_MISSING, MB_OK, static_cast<UINT>(-1));
        ExitProcess(1);
    }

    m_dScale = ScreenScale();

    SetIcon(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_PANEL)), TRUE);

    // Without an answer the machine counts as having the suite's usual six keys.
    int nCount = 0;
    if (!ZuComGetSKeyNum(&nCount)) {
        nCount = MAX_KEYS;
    }
    m_nKeyCount = std::clamp(nCount, 1, MAX_KEYS);
    m_nCurKey = 1;

    for (int nKey = 1; nKey <= m_nKeyCount; ++nKey) {
        CKeyButton& button = m_btnKey[nKey - 1];
        button.SubclassDlgItem(IDC_KEY_BUTTON_FIRST + nKey - 1, this);
        button.SetKeyNumber(nKey);

        button.SetLegend(keyFile.GetLegend(nKey));
        if (CWnd* pLegend = GetDlgItem(IDC_KEY_LEGEND_FIRST + nKey - 1)) {
            pLegend->SetWindowText(keyFile.GetLegend(nKey));
            pLegend->ShowWindow(SW_SHOW);
        }

        m_strKeyIcon[nKey - 1] = keyFile.GetIconPath(nKey);
        HICON hKeyIcon = m_keyIcon[nKey - 1].Load(nKey, m_strKeyIcon[nKey - 1]);
        SendDlgItemMessage(IDC_KEY_ICON_FIRST + nKey - 1, STM_SETICON,
                           reinterpret_cast<WPARAM>(hKeyIcon));
    }

    m_btnKey[0].SetSelected(TRUE);
    LayoutForKeyCount();
    GetWindowRect(&m_rcInitial);
    return TRUE;
}

// Keys beyond the machine's count are hidden and never wired, and the panel shrinks by one
// 67-pixel row per missing key, staying centred where the template centred it.
void CKeyPanelDlg::LayoutForKeyCount() {
    for (int nKey = m_nKeyCount + 1; nKey <= MAX_KEYS; ++nKey) {
        for (int nFirst : {IDC_KEY_BUTTON_FIRST, IDC_KEY_ICON_FIRST}) {
            if (CWnd* pControl = GetDlgItem(nFirst + nKey - 1)) {
                pControl->ShowWindow(SW_HIDE);
            }
        }
    }
    const KeyCountLayout* pLayout =
        std::find_if(std::begin(KEY_COUNT_LAYOUTS), std::end(KEY_COUNT_LAYOUTS),
                     [this](const KeyCountLayout& layout) { return layout.nKeys == m_nKeyCount; });
    if (pLayout == std::end(KEY_COUNT_LAYOUTS)) {
        return;
    }
    RECT rc;
    if (CWnd* pRows = GetDlgItem(IDC_PANEL_ROWS)) {
        pRows->GetClientRect(&rc);
        pRows->SetWindowPos(nullptr, 0, 0, rc.right, Scaled(pLayout->nRowsHeight),
                            SWP_NOMOVE | SWP_NOZORDER);
    }
    auto moveTo = [this, &rc](int nID, int nY) {
        if (CWnd* pButton = GetDlgItem(nID)) {
            pButton->GetWindowRect(&rc);
            ScreenToClient(&rc);
            pButton->SetWindowPos(nullptr, rc.left, Scaled(nY), 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
    };
    moveTo(IDC_PANEL_CLOSE, pLayout->nBottomY);
    moveTo(ID_HELP, pLayout->nBottomY);
    const int nCommands[] = {IDC_PANEL_SETTINGS, IDC_PANEL_DETAIL, IDC_PANEL_CLEAR};
    for (int i = 0; i < 3; ++i) {
        if (pLayout->nCommandY[i]) {
            moveTo(nCommands[i], pLayout->nCommandY[i]);
        }
    }
    GetWindowRect(&rc);
    const int nHeight = Scaled(pLayout->nWindowHeight);
    SetWindowPos(nullptr, rc.left, rc.top + (rc.bottom - rc.top - nHeight) / 2, rc.right - rc.left,
                 nHeight, SWP_NOZORDER);
}

void CKeyPanelDlg::SelectKey(int nKey) {
    if (m_nCurKey != nKey) {
        m_btnKey[m_nCurKey - 1].SetSelected(FALSE);
    }
    m_btnKey[nKey - 1].SetSelected(TRUE);
    m_nCurKey = nKey;
}

void CKeyPanelDlg::OnKeyClicked(UINT nID) {
    int nKey = static_cast<int>(nID) - IDC_KEY_BUTTON_FIRST + 1;
    if (nKey <= m_nKeyCount) {
        SelectKey(nKey);
    }
}

LRESULT CKeyPanelDlg::OnKeyButtonNotify(WPARAM wParam, LPARAM lParam) {
    if (wParam == KBN_ASSIGNED) {
        for (int nID : {IDC_PANEL_DETAIL, IDC_PANEL_CLEAR}) {
            if (CWnd* pButton = GetDlgItem(nID)) {
                pButton->EnableWindow(lParam == 1);
            }
        }
    } else if (wParam == KBN_SELECT && lParam >= 1 && lParam <= m_nKeyCount) {
        SelectKey(static_cast<int>(lParam));
    }
    return 0;
}

LRESULT CKeyPanelDlg::OnGetKeyIconPath(WPARAM wParam, LPARAM lParam) {
    const auto nKey = static_cast<int>(wParam);
    if (nKey < 1 || nKey > MAX_KEYS || !lParam) {
        return FALSE;
    }
    lstrcpynA(reinterpret_cast<LPSTR>(lParam), m_strKeyIcon[nKey - 1], MAX_PATH);
    return TRUE;
}

LRESULT CKeyPanelDlg::OnPanelRefresh(WPARAM, LPARAM) {
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return 0;
}

void CKeyPanelDlg::RepaintKey(int nKey) {
    m_btnKey[nKey - 1].RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CKeyPanelDlg::EditKey(CKeyDialog& dlg) {
    // The dialog stores what it changes itself; the key it was opened for shows it.
    const int nKey = m_nCurKey;
    dlg.SetKeyNumber(nKey);
    if (dlg.DoModal() == IDOK) {
        RepaintKey(nKey);
    }
}

void CKeyPanelDlg::OnSettings() {
    CSettingsDlg dlg;
    EditKey(dlg);
}

void CKeyPanelDlg::OnDetail() {
    CDetailDlg dlg;
    EditKey(dlg);
}

void CKeyPanelDlg::OnClear() {
    // The key asked about is the key cleared: when the confirmation closes, the focus returns to
    // the panel and may make another key current before the answer is acted on.
    const int nKey = m_nCurKey;
    CKeyIconDlg dlg;
    dlg.SetKeyNumber(nKey);
    if (dlg.DoModal() != IDOK) {
        return;
    }
    KeyAssignment empty;
    if (CheckStored(ZuComSetAppDataOfHarlEvent(&empty, nKey + ZUCOM_EVENT_BASE),
                    IDS_STORE_FAILED)) {
        RepaintKey(nKey);
    }
}

void CKeyPanelDlg::OnGetMinMaxInfo(MINMAXINFO* pMMI) {
    // Until the panel has laid itself out there is no size to keep.
    if (!IsRectEmpty(&m_rcInitial)) {
        POINT ptSize = {m_rcInitial.right - m_rcInitial.left, m_rcInitial.bottom - m_rcInitial.top};
        pMMI->ptMaxSize = ptSize;
        pMMI->ptMinTrackSize = ptSize;
        pMMI->ptMaxTrackSize = ptSize;
        WINDOWPLACEMENT placement;
        if (GetWindowPlacement(&placement)) {
            pMMI->ptMaxPosition = {placement.rcNormalPosition.left, placement.rcNormalPosition.top};
        }
    }
    CDialog::OnGetMinMaxInfo(pMMI);
}

void CKeyPanelDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.m_hDC));
    RECT rc;
    GetClientRect(&rc);
    int x = (rc.right - rc.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (rc.bottom - rc.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CKeyPanelDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void CKeyPanelDlg::OnDestroy() {
    WinHelp(0, HELP_QUIT);
    CDialog::OnDestroy();
}

// The panel's topic is the settings dialog's: it explains the panel together with assigning.
BOOL CKeyPanelDlg::OnHelpInfo(HELPINFO*) {
    ShowHelpTopic(kSettingsHelpTopic);
    return TRUE;
}

void CKeyPanelDlg::OnHelp() {
    ShowHelpTopic(kSettingsHelpTopic);
}

BOOL CKeyPanelDlg::PreTranslateMessage(MSG* pMsg) {
    // Enter on a key moves on to the next control instead of pressing a button.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
        CWnd* pFocus = GetFocus();
        int nID = pFocus ? pFocus->GetDlgCtrlID() : 0;
        if (nID >= IDC_KEY_BUTTON_FIRST && nID < IDC_KEY_BUTTON_FIRST + MAX_KEYS) {
            SendMessage(WM_NEXTDLGCTL, 0, 0);
            return TRUE;
        }
    }
    return CDialog::PreTranslateMessage(pMsg);
}
