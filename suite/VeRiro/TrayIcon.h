// The service's icon in the taskbar's notification area, through which it tells the user what
// went wrong without stopping anyone: a balloon that goes by itself, never a dialog.
#pragma once

#include <windows.h>

#include <string>

class CTrayIcon {
public:
    CTrayIcon() = default;
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Adds the icon for hWnd. A taskbar that is not there yet gets it with the first notice, or
    // when it announces itself: call Add again on the "TaskbarCreated" message.
    void Show(HWND hWnd, HICON hIcon, const std::string& strTip);
    void Add();
    // A short notice: its title and text are cut to what the notification area holds.
    void Notify(const std::string& strTitle, const std::string& strText);

private:
    NOTIFYICONDATAA m_data = {};
    bool m_bShown = false;
};
