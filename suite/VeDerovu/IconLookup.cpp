// The picture of a key's target: an icon file's own image, or the shell's icon for anything else.
#include "VeDerovu.h"

#include <shellapi.h>

namespace {

bool IsIconFile(const CString& strPath) {
    int nDot = strPath.ReverseFind('.');
    return nDot >= 0 && strPath.Mid(nDot).CompareNoCase(".ico") == 0;
}

} // namespace

int ZuComGetIconHandle(HICON* phIcon, CString strPath, int nLarge) {
    // The shell's calls take MAX_PATH paths; a longer one names nothing they could find.
    if (!phIcon || strPath.IsEmpty() || strPath.GetLength() >= MAX_PATH) {
        return 0;
    }
    HICON hIcon = nullptr;
    if (IsIconFile(strPath)) {
        int cx = GetSystemMetrics(nLarge ? SM_CXICON : SM_CXSMICON);
        int cy = GetSystemMetrics(nLarge ? SM_CYICON : SM_CYSMICON);
        hIcon =
            static_cast<HICON>(LoadImageA(nullptr, strPath, IMAGE_ICON, cx, cy, LR_LOADFROMFILE));
    } else {
        SHFILEINFOA info = {};
        UINT uFlags = SHGFI_ICON | (nLarge ? SHGFI_LARGEICON : SHGFI_SMALLICON);
        if (SHGetFileInfoA(strPath, 0, &info, sizeof info, uFlags)) {
            hIcon = info.hIcon;
        }
    }
    if (!hIcon) {
        return 0;
    }
    *phIcon = hIcon;
    return 1;
}
