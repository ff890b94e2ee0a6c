// CKeyPanelDlg: the main window, one row per programmable key. One key is current at a time;
// the command buttons act on it. Every change is stored through the library by the dialog that
// makes it, so the panel keeps nothing beyond its own lifetime.
#pragma once

#include "../app/KeyIcon.h"
#include "../keybutton/KeyButton.h"
#include "../res/resource.h"

// Sent to the panel from outside (through the window it registered with the library) when the
// key data changed: the panel repaints and so shows what the library now holds.
constexpr UINT WM_PANEL_REFRESH = WM_APP + 0x81;

constexpr int MAX_KEYS = 6;

class CKeyPanelDlg : public CDialog {
public:
    explicit CKeyPanelDlg(CWnd* pParent = nullptr);

    // The icon path of key nKey (1 to 6) from the key settings file; empty for any other number.
    CString GetKeyIconPath(int nKey) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    afx_msg int OnCreate(LPCREATESTRUCTA pCreateStruct);
    afx_msg void OnKeyClicked(UINT nID);
    afx_msg LRESULT OnKeyButtonNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPanelRefresh(WPARAM wParam, LPARAM lParam);
    afx_msg void OnClear();
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* pMMI);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

    CKeyButton m_btnKey[MAX_KEYS];
    CString m_strKeyIcon[MAX_KEYS];
    CKeyIcon m_keyIcon[MAX_KEYS]; // the pictures beside the keys, shown by the icon statics
    HICON m_hIcon;
    int m_nCurKey;
    RECT m_rcInitial;
    double m_dScale;
    int m_nKeyCount; // keys wired as key buttons: the library's count, kept within 1 to 6

private:
    void SelectKey(int nKey);
    void LayoutForKeyCount();
    void RepaintKey(int nKey);
    int Scaled(int nPixels) const { return static_cast<int>(nPixels * m_dScale); }
};
