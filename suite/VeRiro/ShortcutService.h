// The shortcut service's hidden window. The suite's modules find it by its class and register the
// key panel with it. It holds the keys S1 to S6 as global hot keys and starts a key's target when
// the key is pressed (or held, as the key's option asks); it watches the user's key store and the
// program folder, so that a hand edit of the store reaches the key panel and a change of the
// hot keys in the key settings file takes effect at once. Its tray icon's menu brings back a saved
// key set and opens the key panel.
#pragma once

#include "FolderWatch.h"
#include "HotKeys.h"
#include "KeyPress.h"
#include "TrayIcon.h"

#include "../VeDerovu/StoreState.h"

#include <windows.h>

#include <array>
#include <string>

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
    // What the service does once its window is there: icon, watches, keys.
    void StartServing(HINSTANCE hInstance);
    LRESULT OnSetClient(HWND hWndClient);
    LRESULT OnGetClient();
    void OnHotKey(int nKey);
    void OnTimer(UINT_PTR nId);
    void OnDestroy();
    void ShowTrayMenu(POINT point);
    void UseKeySet(const std::string& strName);
    void OpenKeySettings();
    void NotifyLastError(UINT nTitle);

    void ApplyKeyBindings();
    void Launch(int nKey);
    void CheckStore();
    void ReportSetAsideStore();

    HWND m_hWnd = nullptr;
    HWND m_hWndClient = nullptr;
    UINT m_uTaskbarCreated = 0;
    CTrayIcon m_tray;
    CFolderWatch m_watch;
    CKeyBindings m_bindings;
    std::array<CKeyPress, SERVICE_KEY_COUNT> m_presses;
    char m_szStore[MAX_PATH] = {};
    CFileState m_storeState{""};
    LONG m_nStoreGeneration = 0;
};
