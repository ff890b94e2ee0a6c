#include "CWnd.h"

#include <memory>
#include <unordered_map>

namespace {

// The program has one user-interface thread; these maps belong to it.
std::unordered_map<HWND, CWnd*> g_permanentMap;
std::unordered_map<HWND, std::unique_ptr<CWnd>> g_tempMap;

// The message being handled, for Default(); saved and restored around nested dispatch.
AFX_MSG g_currentMsg = {};

CWnd* g_pWndInit = nullptr;
HHOOK g_hCreateHook = nullptr;

LRESULT CALLBACK CreateHookProc(int nCode, WPARAM wParam, LPARAM lParam) {
    HHOOK hHook = g_hCreateHook;
    if (nCode == HCBT_CREATEWND && g_pWndInit) {
        AfxAttachCreatingWindow(reinterpret_cast<HWND>(wParam));
        // Its one window is attached. Left in place until the creating call returns, the hook
        // would run for every control a dialog creates and for the focus and activation that
        // follow, each time with three round trips to the Wine server.
        UnhookWindowsHookEx(hHook);
        g_hCreateHook = nullptr;
    }
    return CallNextHookEx(hHook, nCode, wParam, lParam);
}

bool IsCommandMessage(UINT nMessage) {
    return nMessage == WM_COMMAND || nMessage == WM_NOTIFY ||
           nMessage == WM_REFLECT_BASE + WM_NOTIFY;
}

void ReadWindowText(HWND hWnd, CString& str) {
    int nLength = GetWindowTextLengthA(hWnd);
    ::GetWindowTextA(hWnd, str.GetBuffer(nLength), nLength + 1);
    str.ReleaseBuffer();
}

} // namespace

const AFX_MSGMAP_ENTRY* AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode,
                                            UINT nID) {
    const bool bCommand = IsCommandMessage(nMessage);
    for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* p = pMap->lpEntries; p->pfnThunk; ++p) {
            UINT nEntryMessage = p->pnRegistered ? *p->pnRegistered : p->nMessage;
            if (nEntryMessage != nMessage || (p->pnRegistered && nMessage == 0)) {
                continue;
            }
            if (!bCommand || (p->nCode == nCode && nID >= p->nID && nID <= p->nLastID)) {
                return p;
            }
        }
    }
    return nullptr;
}

CWnd* afx_thunk::WndFromHandle(HWND hWnd) {
    return CWnd::FromHandle(hWnd);
}

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, entries};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, UINT nCode, const AFX_MSG& msg, LRESULT& lResult) {
    const AFX_MSGMAP_ENTRY* pEntry = AfxFindMessageEntry(GetMessageMap(), WM_COMMAND, nCode, nID);
    if (!pEntry) {
        return FALSE;
    }
    pEntry->pfnThunk(this, msg, lResult);
    return TRUE;
}

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // The object goes before its window: give the window its own procedure back.
        if (m_pfnSuper) {
            SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        }
        Detach();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    auto it = g_permanentMap.find(hWnd);
    return it == g_permanentMap.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd) {
        return nullptr;
    }
    if (CWnd* pWnd = FromHandlePermanent(hWnd)) {
        return pWnd;
    }
    std::unique_ptr<CWnd>& pTemp = g_tempMap[hWnd];
    if (!pTemp) {
        pTemp = std::make_unique<CWnd>();
        pTemp->m_hWnd = hWnd;
    }
    return pTemp.get();
}

void CWnd::DeleteTempMap() {
    for (auto it = g_tempMap.begin(); it != g_tempMap.end();) {
        if (IsWindow(it->first)) {
            ++it;
        } else {
            it->second->m_hWnd = nullptr;
            it = g_tempMap.erase(it);
        }
    }
}

void CWnd::Attach(HWND hWnd) {
    m_hWnd = hWnd;
    g_permanentMap[hWnd] = this;
    auto it = g_tempMap.find(hWnd);
    if (it != g_tempMap.end()) {
        it->second->m_hWnd = nullptr;
        g_tempMap.erase(it);
    }
}

void CWnd::Detach() {
    g_permanentMap.erase(m_hWnd);
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
}

void AfxAttachCreatingWindow(HWND hWnd) {
    CWnd* pWnd = g_pWndInit;
    g_pWndInit = nullptr;
    pWnd->Attach(hWnd);
    pWnd->m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
}

void AfxHookWindowCreate(CWnd* pWnd) {
    g_pWndInit = pWnd;
    if (!g_hCreateHook) {
        g_hCreateHook = SetWindowsHookExA(WH_CBT, CreateHookProc, nullptr, GetCurrentThreadId());
    }
}

BOOL AfxUnhookWindowCreate() {
    if (g_hCreateHook) {
        UnhookWindowsHookEx(g_hCreateHook);
        g_hCreateHook = nullptr;
    }
    BOOL bAttached = g_pWndInit == nullptr;
    g_pWndInit = nullptr;
    return bAttached;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd) {
        return DefWindowProcA(hWnd, message, wParam, lParam);
    }
    AFX_MSG saved = g_currentMsg;
    g_currentMsg = {hWnd, message, wParam, lParam};
    LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
    g_currentMsg = saved;
    if (message == WM_NCDESTROY) {
        pWnd->Detach();
        pWnd->PostNcDestroy();
    }
    return lResult;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCSTR pszClassName, LPCSTR pszWindowName, DWORD dwStyle,
                    const RECT& rect, CWnd* pParentWnd, UINT nID) {
    CREATESTRUCTA cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = pszClassName;
    cs.lpszName = pszWindowName;
    cs.style = dwStyle;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = pParentWnd ? pParentWnd->m_hWnd : nullptr;
    // Only a child window's menu handle is its control id.
    cs.hMenu = (dwStyle & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)) : nullptr;
    cs.hInstance = GetModuleHandleA(nullptr);
    if (!PreCreateWindow(cs)) {
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd =
        CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                        cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    return hWnd != nullptr;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (!hWnd || FromHandlePermanent(hWnd)) {
        return FALSE;
    }
    Attach(hWnd);
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    return pParent && SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

BOOL CWnd::DestroyWindow() {
    return m_hWnd && ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::GetParent() const {
    return FromHandle(::GetParent(m_hWnd));
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

CWnd* CWnd::GetFocus() {
    return FromHandle(::GetFocus());
}

CWnd* CWnd::SetFocus() {
    return FromHandle(::SetFocus(m_hWnd));
}

void CWnd::GetWindowText(CString& str) const {
    ReadWindowText(m_hWnd, str);
}

void CWnd::GetDlgItemText(int nID, CString& str) const {
    ReadWindowText(::GetDlgItem(m_hWnd, nID), str);
}

void CWnd::ScreenToClient(LPRECT pRect) const {
    MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(pRect), 2);
}

BOOL CWnd::SetWindowPos(const CWnd* pInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pInsertAfter ? pInsertAfter->m_hWnd : nullptr, x, y, cx, cy,
                          nFlags);
}

BOOL CWnd::RedrawWindow(LPCRECT pRectUpdate, HRGN hrgnUpdate, UINT nFlags) {
    return ::RedrawWindow(m_hWnd, pRectUpdate, hrgnUpdate, nFlags);
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* pPlacement) const {
    pPlacement->length = sizeof(WINDOWPLACEMENT);
    return ::GetWindowPlacement(m_hWnd, pPlacement);
}

HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
    return reinterpret_cast<HICON>(
        SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}

BOOL CWnd::PreTranslateMessage(MSG*) {
    return FALSE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&) {
    return TRUE;
}

void CWnd::PreSubclassWindow() {}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return m_pfnSuper ? CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam)
                      : ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(g_currentMsg.message, g_currentMsg.wParam, g_currentMsg.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, lResult)) {
        lResult = DefWindowProc(message, wParam, lParam);
    }
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    const AFX_MSG msg = {m_hWnd, message, wParam, lParam};
    if (message == WM_COMMAND) {
        return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), msg, lResult);
    }
    const AFX_MSGMAP_ENTRY* pEntry = nullptr;
    if (message == WM_NOTIFY) {
        const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
        CWnd* pChild = FromHandlePermanent(pHeader->hwndFrom);
        if (pChild && pChild->OnChildNotify(message, wParam, lParam, lResult)) {
            return TRUE;
        }
        pEntry = AfxFindMessageEntry(GetMessageMap(), message, pHeader->code,
                                     static_cast<UINT>(pHeader->idFrom));
    } else {
        pEntry = AfxFindMessageEntry(GetMessageMap(), message, 0, 0);
    }
    if (!pEntry) {
        return FALSE;
    }
    pEntry->pfnThunk(this, msg, lResult);
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult) {
    const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
    const AFX_MSGMAP_ENTRY* pEntry =
        AfxFindMessageEntry(GetMessageMap(), WM_REFLECT_BASE + message, pHeader->code,
                            static_cast<UINT>(pHeader->idFrom));
    if (!pEntry) {
        return FALSE;
    }
    pEntry->pfnThunk(this, {m_hWnd, WM_REFLECT_BASE + message, wParam, lParam}, lResult);
    return TRUE;
}

int CWnd::OnCreate(LPCREATESTRUCTA) {
    return static_cast<int>(Default());
}
void CWnd::OnDestroy() {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
void CWnd::OnSetFocus(CWnd*) {
    Default();
}
void CWnd::OnKillFocus(CWnd*) {
    Default();
}
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) {
    Default();
}
void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}

BOOL AfxPreTranslateMessage(MSG* pMsg) {
    for (HWND hWnd = pMsg->hwnd; hWnd;) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg)) {
            return TRUE;
        }
        hWnd = (GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD) ? ::GetParent(hWnd) : nullptr;
    }
    return FALSE;
}
