#include "ModuleMessages.h"

// In this file, not the tree's: every dialog that shows a key's icon links it, so the message is
// registered at load time in the program whichever window uses it first.
const UINT g_nSelectChangedMsg = RegisterWindowMessageA("ZuSelectChanged");

CString GetOwnerKeyIconPath(HWND hDialog, int nKey) {
    char szPath[MAX_PATH] = {};
    HWND hOwner = GetWindow(hDialog, GW_OWNER);
    if (!hOwner || !SendMessageA(hOwner, WM_GET_KEY_ICON_PATH, static_cast<WPARAM>(nKey),
                                 reinterpret_cast<LPARAM>(szPath))) {
        return CString();
    }
    szPath[MAX_PATH - 1] = '\0';
    return szPath;
}
