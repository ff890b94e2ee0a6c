#include "ShortcutService.h"

#include "../VeDerovu/ServiceProtocol.h"

bool CShortcutService::Create(HINSTANCE hInstance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = CVN_SERVICE_CLASS;
    if (!RegisterClassExA(&wc)) {
        return false;
    }
    // A top-level window rather than a message-only one: FindWindowA does not see those.
    return CreateWindowExA(WS_EX_TOOLWINDOW, CVN_SERVICE_CLASS, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, hInstance, this) != nullptr;
}

LRESULT CALLBACK CShortcutService::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* pService = reinterpret_cast<CShortcutService*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (uMsg == WM_NCCREATE) {
        pService = static_cast<CShortcutService*>(
            reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        pService->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pService));
    } else if (uMsg == WM_NCDESTROY && pService) {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        pService->m_hWnd = nullptr;
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
    return pService ? pService->OnMessage(uMsg, wParam, lParam)
                    : DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

LRESULT CShortcutService::OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_SERVICE_SET_CLIENT:
        return OnSetClient(reinterpret_cast<HWND>(wParam));
    case WM_SERVICE_GET_CLIENT:
        return OnGetClient();
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        return DefWindowProcA(m_hWnd, uMsg, wParam, lParam);
    }
}

LRESULT CShortcutService::OnSetClient(HWND hWndClient) {
    if (!IsWindow(hWndClient)) {
        return FALSE;
    }
    m_hWndClient = hWndClient;
    return TRUE;
}

LRESULT CShortcutService::OnGetClient() {
    // A key panel that has closed leaves its handle behind; it must not be handed out.
    if (m_hWndClient && !IsWindow(m_hWndClient)) {
        m_hWndClient = nullptr;
    }
    return reinterpret_cast<LRESULT>(m_hWndClient);
}

void CShortcutService::OnDestroy() {
    PostQuitMessage(0);
}
