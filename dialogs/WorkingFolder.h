// The folder a key's target is started in. It must be a folder on a local hard disk: a removable,
// network, CD or RAM drive may be gone when the key is pressed.
#pragma once

#include "CString.h"

// Which drives a working folder may be on.
enum DriveClass {
    DRIVE_CLASS_FIXED = 0,    // a local hard disk
    DRIVE_CLASS_UNKNOWN = -1, // no volume, or a drive of unknown type
    DRIVE_CLASS_REFUSED = -2, // removable, network, CD or RAM
};
DriveClass DriveClassOf(LPCSTR pszPath);

// Whether the text names an existing folder; one trailing backslash is allowed.
BOOL IsExistingFolder(const CString& strPath);

// 0 when the folder may be a key's working folder (empty means none); otherwise the message that
// says why not.
UINT WorkingFolderProblem(const CString& strFolder);

// Where the folder browser opens: the typed folder, else the target's own folder (a drive root
// and a folder stand for themselves).
CString InitialBrowseFolder(CString strTyped, const CString& strTarget);

// Lets the user pick a folder on a local hard disk, starting at strInitial; TRUE with the
// chosen path, FALSE when the user cancelled or the shell could not help.
BOOL BrowseForWorkingFolder(HWND hOwner, const CString& strInitial, CString& strChosen);
