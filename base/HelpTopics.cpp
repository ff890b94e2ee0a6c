#include "HelpTopics.h"

#include "ZuCom.h"

#include "CRegKey.h"

#include <htmlhelp.h>

namespace {

constexpr char kControlKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr char kControlName[] = "hhctrl.ocx";
constexpr WORD kHtmlHelpOrdinal = 14; // HtmlHelpA

using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// Process-wide and never reset: the control is never freed, and after one failure the process
// does without help rather than search the disk again on every key press.
HMODULE g_hControl = nullptr;
HtmlHelpFn g_pfnHtmlHelp = nullptr;
bool g_bFailed = false;

// The control where its registration says it is; null without a registration.
HMODULE LoadRegisteredControl() {
    CRegKey key;
    if (key.Open(HKEY_CLASSES_ROOT, kControlKey, KEY_READ) != ERROR_SUCCESS) {
        return nullptr;
    }
    char szPath[MAX_PATH] = {};
    DWORD cbPath = sizeof(szPath) - 1; // a value stored without its terminator still ends here
    LONG lResult =
        RegQueryValueExA(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(szPath), &cbPath);
    return lResult == ERROR_SUCCESS ? LoadLibraryA(szPath) : nullptr;
}

void ShowHelp(HWND hOwner, DWORD_PTR dwTopic) {
    char szHelpFile[MAX_PATH] = {};
    ZuComGetPath(ZUCOM_PATH_HELP_FILE, szHelpFile);
    CallHtmlHelp(hOwner, szHelpFile, HH_DISPLAY_TOPIC, dwTopic);
}

} // namespace

HWND CallHtmlHelp(HWND hwndCaller, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData) {
    if (g_bFailed) {
        return nullptr;
    }
    if (!g_hControl) {
        g_hControl = LoadRegisteredControl();
        if (!g_hControl) {
            g_hControl = LoadLibraryA(kControlName);
        }
        if (!g_hControl) {
            g_bFailed = true;
            return nullptr;
        }
    }
    if (!g_pfnHtmlHelp) {
        FARPROC pfn = GetProcAddress(g_hControl, MAKEINTRESOURCEA(kHtmlHelpOrdinal));
        g_pfnHtmlHelp = reinterpret_cast<HtmlHelpFn>(reinterpret_cast<void*>(pfn));
        if (!g_pfnHtmlHelp) {
            g_bFailed = true;
            return nullptr;
        }
    }
    return g_pfnHtmlHelp(hwndCaller, pszFile, uCommand, dwData);
}

void ShowHelpTopic(LPCSTR pszTopic) {
    ShowHelp(nullptr, reinterpret_cast<DWORD_PTR>(pszTopic));
}

void ShowDefaultHelpTopic() {
    CWnd* pMainWnd = AfxGetMainWnd();
    ShowHelp(pMainWnd ? pMainWnd->m_hWnd : nullptr, 0);
}
