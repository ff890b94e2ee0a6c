#include "KeyButton.h"

#include "../base/NarrowPath.h"
#include "../base/NewAssignment.h"
#include "../base/ResourceText.h"
#include "../base/StoreResult.h"
#include "../base/ZuCom.h"
#include "../res/resource.h"

#include <cstring>
#include <shellapi.h>

namespace {

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
        CBrush brush(!m_bSelected ? KEY_FILL_UNSELECTED
                     : m_bFocused ? KEY_FILL_FOCUSED
                                  : KEY_FILL_SELECTED);
        CDCSelection brushSelection(dc, brush);
        dc.RoundRect(&rcFrame, kCorner);
        if (m_bSelected) {
            InflateRect(&rcFrame, -2, -2);
            CPen pen(PS_SOLID, 3, m_bFocused ? KEY_FRAME_FOCUSED : KEY_FRAME_SELECTED);
            CDCSelection penSelection(dc, pen);
            dc.RoundRect(&rcFrame, kCorner);
        }
    }

    LOGFONTA lf = {};
    lf.lfHeight = Scaled(13);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    std::strcpy(lf.lfFaceName, "MS UI Gothic");
    CFont font;
    if (!font.CreateFontIndirect(&lf)) {
        AfxMessageBox("Error: CreateFont()", MB_OK, 0);
    }
    KeyAssignment record;
    PaintText(dc, font, rcFrame, record);

    dc.SetMapMode(MM_TEXT);
    if (HICON hIcon = FaceIcon(record)) {
        dc.DrawIcon(Scaled(15), Scaled(16), hIcon);
    }
}

// The title and comment of the key's assignment as the library holds it now, or the hint of a
// free key; fills record with what the library returned.
void CKeyButton::PaintText(CDC& dc, const CFont& font, const RECT& rcFrame, KeyAssignment& record) {
    CDCSelection fontSelection(dc, font);
    if (!fontSelection.Succeeded()) {
        AfxMessageBox("Error: SelectObject()", MB_OK, 0);
    }
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));

    RECT rcText = {Scaled(60), 16, rcFrame.right - 10, rcFrame.bottom};
    if (ZuComGetAppDataOfHarlEvent(&record, m_nKey + ZUCOM_EVENT_BASE)) {
        dc.DrawText(record.Title, &rcText, DT_END_ELLIPSIS);
        rcText.top += Scaled(20);
        dc.DrawText(record.Comment, &rcText, DT_END_ELLIPSIS);
        m_bAssigned = TRUE;
        NameAfter(&record);
    } else {
        rcText.left = 0;
        rcText.top += Scaled(13);
        dc.DrawText(FormatResourceText(IDS_KEY_UNASSIGNED, {}), &rcText,
                    DT_END_ELLIPSIS | DT_CENTER);
        m_bAssigned = FALSE;
        NameAfter(nullptr);
    }
    if (m_bSelected) {
        NotifyPanel(KBN_ASSIGNED, m_bAssigned ? 1 : 0);
    }
}

// Every paint reads the assignment, so the name follows every change and refresh. The text goes
// to the window alone: the button's own handling of a new text would draw over the face.
void CKeyButton::NameAfter(const KeyAssignment* pAssigned) {
    CString strLegend = m_strLegend;
    if (strLegend.IsEmpty()) {
        strLegend.Format("S%d", m_nKey);
    }
    CString strName =
        !pAssigned ? FormatResourceText(IDS_KEY_NAME_FREE, {strLegend})
        : pAssigned->Comment.IsEmpty()
            ? FormatResourceText(IDS_KEY_NAME_TITLE, {strLegend, pAssigned->Title})
            : FormatResourceText(IDS_KEY_NAME, {strLegend, pAssigned->Title, pAssigned->Comment});
    CString strOld;
    GetWindowText(strOld);
    if (strOld.Compare(strName) != 0) {
        ::DefWindowProcA(m_hWnd, WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strName)));
    }
}

// Asking the shell for an icon costs far more than the rest of a paint, so the icon is made
// again only when the assignment names other paths; the assignment itself is read at every
// paint, so a change made anywhere still shows at the next one.
HICON CKeyButton::FaceIcon(const KeyAssignment& record) {
    if (m_bFaceIconKnown && record.IconSource.Compare(m_strFaceIconSource) == 0 &&
        record.Target.Compare(m_strFaceIconTarget) == 0) {
        return m_faceIcon;
    }
    HICON hIcon = nullptr;
    if (!ZuComGetIconHandle(&hIcon, record.IconSource, 1)) {
        ZuComGetIconHandle(&hIcon, record.Target, 1);
    }
    m_faceIcon.Attach(hIcon);
    m_strFaceIconSource = record.IconSource;
    m_strFaceIconTarget = record.Target;
    m_bFaceIconKnown = TRUE;
    return m_faceIcon;
}

void CKeyButton::OnDropFiles(HDROP hDropInfo) {
    // Only the first item counts; a path that does not fit is refused rather than stored cut
    // short, since a shortened path names another file or none. It is read as the shell holds it,
    // wide, so that a name beyond the code page is kept exactly or by its short name.
    WCHAR szPath[MAX_PATH] = {};
    UINT nLength = DragQueryFileW(hDropInfo, 0, nullptr, 0);
    bool bFits = nLength > 0 && nLength < MAX_PATH &&
                 DragQueryFileW(hDropInfo, 0, szPath, MAX_PATH) == nLength;
    DragFinish(hDropInfo);
    if (!bFits) {
        MessageBeep(MB_ICONWARNING);
        return;
    }
    NarrowPath path;
    if (!NarrowPathOf(szPath, path)) {
        AfxMessageBox(IDS_NAME_NOT_KEPT, MB_OK);
        return;
    }

    KeyAssignment record;
    FillNewAssignment(path.strPath, record, path.strLongName);
    record.Target = path.strPath;
    // Made current either way, the key shows what is stored.
    CheckStored(ZuComSetAppDataOfHarlEvent(&record, m_nKey + ZUCOM_EVENT_BASE), IDS_STORE_FAILED);

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
