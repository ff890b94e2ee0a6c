// CCmdTarget and CWnd: message-map dispatch and a thin wrapper over a window handle.
//
// A CWnd is either attached (its window's messages come through the message map, from the
// moment the window is created or subclassed until WM_NCDESTROY) or a temporary, non-owning
// view that FromHandle hands out for a window nobody attached.
#pragma once

#include "CString.h"
#include "MessageMap.h"

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Dispatches a command (WM_COMMAND code and id) through the message map.
    virtual BOOL OnCmdMsg(UINT nID, UINT nCode, const AFX_MSG& msg, LRESULT& lResult);

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

class CWnd : public CCmdTarget {
public:
    CWnd() = default;
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { return m_hWnd; }

    // The attached object of a window, or a temporary view of it; null for a null handle.
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    // Forgets temporary views of windows that no longer exist.
    static void DeleteTempMap();

    BOOL CreateEx(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle,
                  const RECT& rect, CWnd* pParentWnd, UINT nID);
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    BOOL DestroyWindow();

    // Window state and geometry
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int nID) const;
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    static CWnd* GetFocus();
    CWnd* SetFocus();
    void SetWindowText(LPCSTR psz) { ::SetWindowTextA(m_hWnd, psz); }
    void GetWindowText(CString& str) const;
    void SetDlgItemText(int nID, LPCSTR psz) { ::SetDlgItemTextA(m_hWnd, nID, psz); }
    void GetDlgItemText(int nID, CString& str) const;
    UINT IsDlgButtonChecked(int nID) const { return ::IsDlgButtonChecked(m_hWnd, nID); }
    void CheckDlgButton(int nID, UINT nCheck) { ::CheckDlgButton(m_hWnd, nID, nCheck); }
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
    DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
    void GetClientRect(LPRECT pRect) const { ::GetClientRect(m_hWnd, pRect); }
    void GetWindowRect(LPRECT pRect) const { ::GetWindowRect(m_hWnd, pRect); }
    void ScreenToClient(LPRECT pRect) const;
    BOOL SetWindowPos(const CWnd* pInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    BOOL RedrawWindow(LPCRECT pRectUpdate = nullptr, HRGN hrgnUpdate = nullptr,
                      UINT nFlags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    BOOL GetWindowPlacement(WINDOWPLACEMENT* pPlacement) const;
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    // Off while code fills a control with many items, so it paints once at the end.
    void SetRedraw(BOOL bRedraw = TRUE) { SendMessage(WM_SETREDRAW, bRedraw); }

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendMessageA(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::PostMessageA(m_hWnd, message, wParam, lParam);
    }
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
    }

    // Asks the system's WinHelp engine on the window's behalf; HELP_QUIT tells it that the window
    // needs it no more. No help file is named: the application's help is not in WinHelp's format.
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) {
        ::WinHelpA(m_hWnd, nullptr, nCmd, dwData);
    }

    // Gives the window a chance to handle a queued message before it is dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Calls the window's own procedure (the one it had before it was subclassed).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window procedure of every attached window; the message map first, then the default.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Default processing of the message being handled.
    LRESULT Default();

protected:
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    virtual void PreSubclassWindow();
    virtual void PostNcDestroy();
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
    // Lets a control handle a notification it sent to its parent (reflection).
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

    // Default handlers that derived classes call as their base
    afx_msg int OnCreate(LPCREATESTRUCTA pCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* pMMI);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);

    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM) noexcept;
    friend void AfxAttachCreatingWindow(HWND hWnd);

private:
    void Attach(HWND hWnd);
    void Detach();

    WNDPROC m_pfnSuper = nullptr;
};

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
void AfxAttachCreatingWindow(HWND hWnd);

// Attaches pWnd to the next window this thread creates, before it sees its first message, so
// that WM_NCCREATE and WM_CREATE already go through its message map.
void AfxHookWindowCreate(CWnd* pWnd);
BOOL AfxUnhookWindowCreate();

// Lets the attached windows from pMsg's target up to its top-level window pre-translate it.
BOOL AfxPreTranslateMessage(MSG* pMsg);
