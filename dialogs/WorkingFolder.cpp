#include "WorkingFolder.h"

#include "PathText.h"

#include "../res/resource.h"

#include "CComHeapPtr.h"
#include "CFileFind.h"

#include <cstring>
#include <shlobj.h>
#include <wrl/client.h>

namespace {

// Folders the browser shows but will not let the user choose: no file-system path, the network
// neighbourhood, a drive that may be gone. Drives of unknown type are refused only at OK.
int CALLBACK OnBrowserEvent(HWND hBrowser, UINT nEvent, LPARAM lParam, LPARAM lpData) {
    if (nEvent == BFFM_INITIALIZED && lpData) {
        SendMessageA(hBrowser, BFFM_SETSELECTIONA, TRUE, lpData);
    } else if (nEvent == BFFM_SELCHANGED) {
        char szPath[MAX_PATH] = "";
        SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), szPath);
        BOOL bChoosable = *szPath && !std::strstr(szPath, "NetHood") &&
                          DriveClassOf(szPath) != DRIVE_CLASS_REFUSED;
        // Posted: Wine's browser sets the OK state itself after this notification, and the
        // answer must come last there too.
        PostMessageA(hBrowser, BFFM_ENABLEOK, 1, bChoosable);
    }
    return 0;
}

} // namespace

DriveClass DriveClassOf(LPCSTR pszPath) {
    char szVolume[MAX_PATH] = "";
    if (!GetVolumePathNameA(pszPath, szVolume, MAX_PATH)) {
        return DRIVE_CLASS_UNKNOWN;
    }
    switch (GetDriveTypeA(szVolume)) {
    case DRIVE_FIXED:
        return DRIVE_CLASS_FIXED;
    case DRIVE_REMOVABLE:
    case DRIVE_REMOTE:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK:
        return DRIVE_CLASS_REFUSED;
    default:
        return DRIVE_CLASS_UNKNOWN;
    }
}

BOOL IsExistingFolder(const CString& strPath) {
    if (strPath.IsEmpty()) {
        return FALSE;
    }
    CFileFind finder;
    if (!finder.FindFile(LookupPath(strPath))) {
        return FALSE;
    }
    finder.FindNextFile();
    return finder.IsDirectory();
}

UINT WorkingFolderProblem(const CString& strFolder) {
    if (strFolder.IsEmpty()) {
        return 0;
    }
    // A drive root is judged by its drive alone: the search finds no entry for it.
    if (!EndsWith(strFolder, ":\\") && !IsExistingFolder(strFolder)) {
        return IDS_WORKDIR_INVALID;
    }
    switch (DriveClassOf(strFolder)) {
    case DRIVE_CLASS_FIXED:
        return 0;
    case DRIVE_CLASS_REFUSED:
        return IDS_WORKDIR_DRIVE;
    default:
        return IDS_WORKDIR_INVALID;
    }
}

CString InitialBrowseFolder(CString strTyped, const CString& strTarget) {
    strTyped.Trim();
    if (!strTyped.IsEmpty()) {
        return strTyped;
    }
    if (EndsWith(strTarget, ":\\")) {
        return strTarget;
    }
    CString strFolder = LookupPath(strTarget);
    if (!IsExistingFolder(strFolder)) {
        int nSeparator = strFolder.ReverseFind('\\');
        if (nSeparator >= 0) {
            strFolder = strFolder.Left(nSeparator);
        }
    }
    return strFolder;
}

BOOL BrowseForWorkingFolder(HWND hOwner, const CString& strInitial, CString& strChosen) {
    // Without the shell's allocator the browser's answer could not be given back.
    Microsoft::WRL::ComPtr<IMalloc> pMalloc;
    if (FAILED(SHGetMalloc(&pMalloc)) || !pMalloc) {
        return FALSE;
    }
    CString strTitle;
    strTitle.LoadString(IDS_BROWSE_FOLDER_TITLE);
    char szDisplayName[MAX_PATH] = "";
    BROWSEINFOA info = {};
    info.hwndOwner = hOwner;
    info.pszDisplayName = szDisplayName;
    info.lpszTitle = strTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN;
    info.lpfn = OnBrowserEvent;
    info.lParam =
        strInitial.IsEmpty() ? 0 : reinterpret_cast<LPARAM>(static_cast<LPCSTR>(strInitial));
    CComHeapPtr<ITEMIDLIST> pItems(SHBrowseForFolderA(&info));
    char szPath[MAX_PATH] = "";
    if (!pItems || !SHGetPathFromIDListA(pItems, szPath)) {
        return FALSE;
    }
    strChosen = szPath;
    return TRUE;
}
