// Window messages between the module's own windows, declared here so that every layer that
// sends or answers one finds it without including the layer that handles it.
#pragma once

#include "CString.h"

// Key button to panel, always sent (never posted) to the button's parent.
constexpr UINT WM_KEYBUTTON_NOTIFY = WM_USER + 200;
constexpr WPARAM KBN_ASSIGNED = 1; // lParam: 1 when the current key has an assignment
constexpr WPARAM KBN_SELECT = 2;   // lParam: the key number to make current

// The registered message with which the target tree tells its host that the selection changed;
// registered once when the program loads.
extern const UINT g_nSelectChangedMsg;

// Asks a dialog's owner (the key panel) for the icon path of a key, as the key settings file
// gives it. wParam: the key number, 1 to 6; lParam: a buffer of MAX_PATH characters that the
// owner fills. The owner returns TRUE when it knows the key; an owner that does not answer the
// message returns 0 and the buffer stays as it was.
constexpr UINT WM_GET_KEY_ICON_PATH = WM_USER + 201;

// The key's icon path as the owner of hDialog answers WM_GET_KEY_ICON_PATH; empty when the
// dialog has no owner or the owner does not know the key.
CString GetOwnerKeyIconPath(HWND hDialog, int nKey);
