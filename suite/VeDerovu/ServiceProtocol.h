// What the shortcut-service library and the service process agree on: the class of the service's
// hidden window, the messages it answers and the name of its single-instance mutex.
#pragma once

#include <windows.h>

// FindWindowA looks the service up by this class; its window is never shown.
constexpr char CVN_SERVICE_CLASS[] = "CvnShortcutService";

// One service per user session. A service that died holding it leaves it abandoned, which the
// next service takes as free.
constexpr char CVN_SERVICE_MUTEX[] = "Local\\CvnShortcutService";

// wParam: the key panel's window. The service keeps it and answers TRUE, or FALSE when wParam is
// not a window.
constexpr UINT WM_SERVICE_SET_CLIENT = WM_APP + 0x101;

// Answers the registered key panel window as the LRESULT; 0 when there is none or it has gone.
constexpr UINT WM_SERVICE_GET_CLIENT = WM_APP + 0x102;
