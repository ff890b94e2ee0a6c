// Device contexts and the drawing objects selected into them. Each object owns its handle and
// deletes it when it goes out of scope, so a paint leaves nothing behind.
#pragma once

#include "CWnd.h"

class CGdiObject {
public:
    CGdiObject() = default;
    explicit CGdiObject(HGDIOBJ hObject) : m_hObject(hObject) {}
    ~CGdiObject() {
        if (m_hObject) {
            DeleteObject(m_hObject);
        }
    }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    operator HGDIOBJ() const { return m_hObject; }
};

class CBrush : public CGdiObject {
public:
    explicit CBrush(COLORREF crColor) : CGdiObject(CreateSolidBrush(crColor)) {}
};

class CPen : public CGdiObject {
public:
    CPen(int nPenStyle, int nWidth, COLORREF crColor)
        : CGdiObject(CreatePen(nPenStyle, nWidth, crColor)) {}
};

class CFont : public CGdiObject {
public:
    BOOL CreateFontIndirect(const LOGFONTA* pLogFont) {
        m_hObject = ::CreateFontIndirectA(pLogFont);
        return m_hObject != nullptr;
    }
};

// A non-owning view of a device context.
class CDC {
public:
    HDC m_hDC = nullptr;
    operator HDC() const { return m_hDC; }

    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    BOOL RoundRect(LPCRECT pRect, POINT ptEllipse) {
        return ::RoundRect(m_hDC, pRect->left, pRect->top, pRect->right, pRect->bottom, ptEllipse.x,
                           ptEllipse.y);
    }
    int DrawText(const CString& str, LPRECT pRect, UINT nFormat) {
        return ::DrawTextA(m_hDC, str, str.GetLength(), pRect, nFormat);
    }
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    int SetMapMode(int nMapMode) { return ::SetMapMode(m_hDC, nMapMode); }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
};

// Selects a pen, brush, font or bitmap into a device context for the selection's lifetime and then
// puts back the object it replaced, so that the object can be deleted and the context is left as
// found. Not for regions: selecting one returns no object to put back.
class CDCSelection {
public:
    CDCSelection(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC), m_hOld(::SelectObject(hDC, hObject)) {}
    ~CDCSelection() {
        if (m_hOld) {
            ::SelectObject(m_hDC, m_hOld);
        }
    }
    CDCSelection(const CDCSelection&) = delete;
    CDCSelection& operator=(const CDCSelection&) = delete;

    // Whether the object went in: the context gave back the object it replaced.
    BOOL Succeeded() const { return m_hOld != nullptr; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// The device context of a WM_PAINT: BeginPaint on construction, EndPaint on destruction.
class CPaintDC : public CDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC();
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;

    PAINTSTRUCT m_ps = {};

private:
    HWND m_hWnd;
};
