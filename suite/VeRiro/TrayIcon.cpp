#include "TrayIcon.h"

#include <shellapi.h>

namespace {

template <size_t N> void CopyCut(char (&szTarget)[N], const std::string& strSource) {
    const std::string strCut = CutToWholeCharacters(strSource, N - 1);
    lstrcpynA(szTarget, strCut.c_str(), N);
}

} // namespace

std::string CutToWholeCharacters(const std::string& strText, size_t nBytes) {
    const char* pszStart = strText.c_str();
    const char* pszEnd = pszStart;
    while (*pszEnd) {
        const char* pszNext = CharNextA(pszEnd);
        if (static_cast<size_t>(pszNext - pszStart) > nBytes) {
            break;
        }
        pszEnd = pszNext;
    }
    return std::string(pszStart, pszEnd);
}

CTrayIcon::~CTrayIcon() {
    if (m_bShown) {
        Shell_NotifyIconA(NIM_DELETE, &m_data);
    }
}

void CTrayIcon::Show(HWND hWnd, HICON hIcon, const std::string& strTip) {
    m_data.cbSize = sizeof m_data;
    m_data.hWnd = hWnd;
    m_data.uID = 1;
    m_data.uFlags = NIF_ICON | NIF_TIP | NIF_MESSAGE;
    m_data.uCallbackMessage = WM_TRAY_ICON;
    m_data.hIcon = hIcon;
    CopyCut(m_data.szTip, strTip);
    Add();
}

void CTrayIcon::Add() {
    m_bShown = Shell_NotifyIconA(NIM_ADD, &m_data) != FALSE;
    if (m_bShown) {
        // The version shares its place with a balloon's time, which the icon's own data keeps
        // at 0.
        NOTIFYICONDATAA version = m_data;
        version.uVersion = NOTIFYICON_VERSION_4;
        Shell_NotifyIconA(NIM_SETVERSION, &version);
    }
}

void CTrayIcon::Notify(const std::string& strTitle, const std::string& strText) {
    if (!m_bShown) {
        Add();
    }
    NOTIFYICONDATAA data = m_data;
    data.uFlags = NIF_INFO;
    data.dwInfoFlags = NIIF_WARNING;
    CopyCut(data.szInfoTitle, strTitle);
    CopyCut(data.szInfo, strText);
    Shell_NotifyIconA(NIM_MODIFY, &data);
}
