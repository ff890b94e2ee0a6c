// The service's icon in the taskbar's notification area, through which it tells the user what
// went wrong without stopping anyone: a balloon that goes by itself, never a dialog. A right
// click on it opens the service's menu.
#pragma once

#include <windows.h>

#include <string>

// What the taskbar sends the icon's window of the user's doings with it, in the manner of the
// shell's newer icons: LOWORD(lParam) the event, WM_CONTEXTMENU for a right click and for the
// menu key alike; wParam the point for a menu, in screen coordinates (GET_X_LPARAM and
// GET_Y_LPARAM).
constexpr UINT WM_TRAY_ICON = WM_APP + 0x113;

// The longest start of the text that has at most nBytes bytes and ends on a whole character of
// the code page: a Japanese character cut after its lead byte would show as a stray sign.
std::string CutToWholeCharacters(const std::string& strText, size_t nBytes);

class CTrayIcon {
public:
    CTrayIcon() = default;
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Adds the icon for hWnd, which gets WM_TRAY_ICON. A taskbar that is not there yet gets it with
    // the first notice, or when it announces itself: call Add again on the "TaskbarCreated"
    // message.
    void Show(HWND hWnd, HICON hIcon, const std::string& strTip);
    void Add();
    // A short notice: its title and text are cut to what the notification area holds.
    void Notify(const std::string& strTitle, const std::string& strText);

private:
    NOTIFYICONDATAA m_data = {};
    bool m_bShown = false;
};
