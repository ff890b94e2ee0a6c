// The library's side of the contact with the shortcut service, beyond its exported calls.
#pragma once

// Posts WM_PANEL_REFRESH to the key panel registered with the service when that panel belongs to
// another process than the caller's.
void NotifyKeyDataChanged();
