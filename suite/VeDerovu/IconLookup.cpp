#include "IconLookup.h"

#include <shellapi.h>

namespace {

bool IsIconFile(const CString& strPath) {
    int nDot = strPath.ReverseFind('.');
    return nDot >= 0 && strPath.Mid(nDot).CompareNoCase(".ico") == 0;
}

} // namespace

bool LoadTargetIcon(HICON* phIcon, const CString& strPath, int nLarge) {
    // The shell's calls take MAX_PATH paths; a longer one names nothing they could find.
    if (!phIcon || strPath.IsEmpty() || strPath.GetLength() >= MAX_PATH) {
        return false;
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
        return false;
    }
    *phIcon = hIcon;
    return true;
}
