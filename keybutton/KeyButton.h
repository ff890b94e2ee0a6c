// CKeyButton: the button of one programmable key. It paints the key's face from the assignment
// the library holds at that moment, tells the panel when it becomes current and whether the
// current key is assigned, and takes a file dropped on it as the key's new assignment. Its window
// text, which never shows on the face, is its name for screen readers: what the face shows.
#pragma once

#include "../base/ModuleMessages.h"
#include "../base/ScreenScale.h"
#include "../base/ZuCom.h"

#include "afxwin.h"

// The fill and inner frame of a key's face: not current (no frame); current with the focus;
// current without it.
constexpr COLORREF KEY_FILL_UNSELECTED = RGB(247, 247, 255);
constexpr COLORREF KEY_FILL_FOCUSED = RGB(255, 255, 252);
constexpr COLORREF KEY_FILL_SELECTED = RGB(252, 252, 255);
constexpr COLORREF KEY_FRAME_FOCUSED = RGB(160, 192, 255);
constexpr COLORREF KEY_FRAME_SELECTED = RGB(128, 224, 160);

class CKeyButton : public CButton {
public:
    CKeyButton();

    void SetKeyNumber(int nKey) { m_nKey = nKey; }
    // The key's name beside its row, which starts the button's own name.
    void SetLegend(const CString& strLegend) { m_strLegend = strLegend; }
    // Marks or unmarks the key as current and repaints it before returning; returns whether
    // that paint found an assignment.
    BOOL SetSelected(BOOL bSelected);

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void PreSubclassWindow() override;

    afx_msg void OnPaint();
    afx_msg LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam);
    afx_msg void OnDropFiles(HDROP hDropInfo);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);

    DECLARE_MESSAGE_MAP()

private:
    void PaintFace(CDC& dc);
    void PaintText(CDC& dc, const CFont& font, const RECT& rcFrame, KeyAssignment& record);
    HICON FaceIcon(const KeyAssignment& record);
    void NotifyPanel(WPARAM nCode, LPARAM lParam);
    void NameAfter(const KeyAssignment* pAssigned);
    // Lengths of the face given at 96 dots per inch, at the screen's resolution.
    int Scaled(int nPixels) const { return ScaledLength(nPixels, m_dScale); }

    int m_nKey;
    BOOL m_bSelected;
    double m_dScale;
    BOOL m_bAssigned;
    BOOL m_bFocused;

    CIconHolder m_faceIcon; // the target's icon, made for the two paths below
    CString m_strLegend;
    CString m_strFaceIconSource;
    CString m_strFaceIconTarget;
    BOOL m_bFaceIconKnown = FALSE;
};
