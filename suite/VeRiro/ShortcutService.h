// The shortcut service's hidden window. The suite's modules find it by its class and register the
// key panel with it; what the service does on a key press will be handled by this window too.
#pragma once

#include <windows.h>

class CShortcutService {
public:
    CShortcutService() = default;
    CShortcutService(const CShortcutService&) = delete;
    CShortcutService& operator=(const CShortcutService&) = delete;

    // Registers the window class and creates the window, never shown; false when either fails.
    bool Create(HINSTANCE hInstance);

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam);
    LRESULT OnSetClient(HWND hWndClient);
    LRESULT OnGetClient();
    void OnDestroy();

    HWND m_hWnd = nullptr;
    HWND m_hWndClient = nullptr;
};
