// CKeyPanelDlg: the main window, one row per programmable key. One key is current at a time;
// the command buttons act on it. Every change is stored through the library by the dialog that
// makes it, so the panel keeps nothing beyond its own lifetime.
#pragma once

#include "../base/KeyDialog.h"
#include "../base/KeyIcon.h"
#include "../base/ScreenScale.h"
#include "../base/ZuCom.h"
#include "../keybutton/KeyButton.h"
#include "../res/resource.h"

class CKeyPanelDlg : public CDialog {
public:
    explicit CKeyPanelDlg(CWnd* pParent = nullptr);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    afx_msg int OnCreate(LPCREATESTRUCTA pCreateStruct);
    afx_msg void OnKeyClicked(UINT nID);
    afx_msg LRESULT OnKeyButtonNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnPanelRefresh(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetKeyIconPath(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSettings();
    afx_msg void OnDetail();
    afx_msg void OnClear();
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* pMMI);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnDestroy();
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    afx_msg void OnHelp();

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
    // Runs a dialog about the current key and repaints that key when the dialog stored a change.
    void EditKey(CKeyDialog& dlg);
    int Scaled(int nPixels) const { return ScaledLength(nPixels, m_dScale); }
};
