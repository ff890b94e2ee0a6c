#include "KeyButton.h"

#include "../app/NewAssignment.h"
#include "../app/ResourceText.h"
#include "../app/ScreenScale.h"
#include "../app/ZuCom.h"
#include "../res/resource.h"

#include <cstring>
#include <shellapi.h>

namespace {

constexpr COLORREF kFillUnselected = RGB(247, 247, 255);
constexpr COLORREF kFillFocused = RGB(255, 255, 252);
constexpr COLORREF kFillSelected = RGB(252, 252, 255);
constexpr COLORREF kFrameFocused = RGB(160, 192, 255);
constexpr COLORREF kFrameSelected = RGB(128, 224, 160);
constexpr POINT kCorner = {6, 6};

} // namespace

BEGIN_MESSAGE_MAP(CKeyButton, CButton)
ON_WM_PAINT()
ON_MESSAGE(WM_PRINTCLIENT, OnPrintClient)
ON_WM_DROPFILES()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CKeyButton::CKeyButton()
    : m_nKey(0), m_bSelected(FALSE), m_dScale(ScreenScale()), m_bAssigned(FALSE),
      m_bFocused(FALSE) {}

BOOL CKeyButton::SetSelected(BOOL bSelected) {
    m_bSelected = bSelected;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return m_bAssigned;
}

BOOL CKeyButton::PreCreateWindow(CREATESTRUCTA& cs) {
    cs.dwExStyle |= WS_EX_ACCEPTFILES;
    return CButton::PreCreateWindow(cs);
}

void CKeyButton::PreSubclassWindow() {
    SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE,
                      GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
    CButton::PreSubclassWindow();
}

void CKeyButton::NotifyPanel(WPARAM nCode, LPARAM lParam) {
    ::SendMessageA(::GetParent(m_hWnd), WM_KEYBUTTON_NOTIFY, nCode, lParam);
}

void CKeyButton::OnPaint() {
    CPaintDC dc(this);
    PaintFace(dc);
}

// Printing draws the same face into the caller's device context (off-screen renderings).
LRESULT CKeyButton::OnPrintClient(WPARAM wParam, LPARAM) {
    CDC dc;
    dc.m_hDC = reinterpret_cast<HDC>(wParam);
    PaintFace(dc);
    return 0;
}

void CKeyButton::PaintFace(CDC& dc) {
    RECT rcFrame;
    GetClientRect(&rcFrame);

    // Fill and outline, then the inner frame of the current key, then text, then the icon.
    {
        CBrush brush(!m_bSelected ? kFillUnselected : m_bFocused ? kFillFocused : kFillSelected);
        HGDIOBJ hOldBrush = dc.SelectObject(brush);
        dc.RoundRect(&rcFrame, kCorner);
        if (m_bSelected) {
            InflateRect(&rcFrame, -2, -2);
            CPen pen(PS_SOLID, 3, m_bFocused ? kFrameFocused : kFrameSelected);
            HGDIOBJ hOldPen = dc.SelectObject(pen);
            dc.RoundRect(&rcFrame, kCorner);
            dc.SelectObject(hOldPen);
        }
        dc.SelectObject(hOldBrush);
    }

    LOGFONTA lf = {};
    lf.lfHeight = static_cast<LONG>(13 * m_dScale);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    std::strcpy(lf.lfFaceName, "MS UI Gothic");
    CFont font;
    if (!font.CreateFontIndirect(&lf)) {
        AfxMessageBox("Error: CreateFont()", MB_OK, 0);
    }
    HGDIOBJ hOldFont = dc.SelectObject(font);
    if (!hOldFont) {
        AfxMessageBox("Error: SelectObject()", MB_OK, 0);
    }
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));

    RECT rcText = {60, 16, rcFrame.right - 10, rcFrame.bottom};
    KeyAssignment record;
    if (ZuComGetAppDataOfHarlEvent(&record, m_nKey + ZUCOM_EVENT_BASE)) {
        dc.DrawText(record.Title, &rcText, DT_END_ELLIPSIS);
        rcText.top += static_cast<LONG>(20 * m_dScale);
        dc.DrawText(record.Comment, &rcText, DT_END_ELLIPSIS);
        m_bAssigned = TRUE;
    } else {
        rcText.left = 0;
        rcText.top += static_cast<LONG>(13 * m_dScale);
        dc.DrawText(FormatResourceText(IDS_KEY_UNASSIGNED, {}), &rcText,
                    DT_END_ELLIPSIS | DT_CENTER);
        m_bAssigned = FALSE;
    }
    if (m_bSelected) {
        NotifyPanel(KBN_ASSIGNED, m_bAssigned ? 1 : 0);
    }
    if (hOldFont) {
        dc.SelectObject(hOldFont);
    }

    HICON hIcon = nullptr;
    if (!ZuComGetIconHandle(&hIcon, record.IconSource, 1)) {
        ZuComGetIconHandle(&hIcon, record.Target, 1);
    }
    dc.SetMapMode(MM_TEXT);
    if (hIcon) {
        dc.DrawIcon(15, 16, hIcon);
        DestroyIcon(hIcon);
    }
}

void CKeyButton::OnDropFiles(HDROP hDropInfo) {
    // Only the first item counts; a path that does not fit is refused rather than stored cut
    // short, since a shortened path names another file or none.
    char szPath[MAX_PATH] = {};
    UINT nLength = DragQueryFileA(hDropInfo, 0, nullptr, 0);
    bool bFits = nLength > 0 && nLength < MAX_PATH &&
                 DragQueryFileA(hDropInfo, 0, szPath, MAX_PATH) == nLength;
    DragFinish(hDropInfo);
    if (!bFits) {
        MessageBeep(MB_ICONWARNING);
        return;
    }

    KeyAssignment record;
    FillNewAssignment(szPath, record);
    record.Target = szPath;
    ZuComSetAppDataOfHarlEvent(&record, m_nKey + ZUCOM_EVENT_BASE);

    NotifyPanel(KBN_SELECT, m_nKey);
    SetFocus();
}

void CKeyButton::OnSetFocus(CWnd* pOldWnd) {
    CButton::OnSetFocus(pOldWnd);
    m_bFocused = TRUE;
    NotifyPanel(KBN_SELECT, m_nKey);
}

void CKeyButton::OnKillFocus(CWnd* pNewWnd) {
    CButton::OnKillFocus(pNewWnd);
    m_bFocused = FALSE;
}
