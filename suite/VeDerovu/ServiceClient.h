// The library's side of the contact with the shortcut service, through its hidden window.
#pragma once

#include <windows.h>

// The service's window; false when no service runs.
bool FindService(HWND* phWnd);
// Registers the key panel's window with the service; false when it is refused or not there.
bool SetServiceClient(HWND hWnd);
// The key panel's window registered with the service; false, with null, when there is none.
bool GetServiceClient(HWND* phWnd);

// Posts WM_PANEL_REFRESH to the key panel registered with the service when that panel belongs to
// another process than the caller's.
void NotifyKeyDataChanged();
