// Where the target tree's items find their pictures in the shell's system image list. Asking the
// shell costs milliseconds per query, so the tree asks only for items it draws, a file whose type
// alone decides its icon shares the answer with every file of that type, and a folder that no
// desktop.ini can customise shares it with every such folder.
#pragma once

#include "CString.h"

#include <optional>
#include <string>
#include <unordered_map>

struct ShellImages {
    int nNormal;
    int nSelected; // a folder shows itself open while selected; a file looks the same
};

class CShellIcons {
public:
    // The pictures of the entry at strPath, whose attributes (FILE_ATTRIBUTE_...) its folder's
    // search gave: a file's are not needed.
    ShellImages Lookup(const CString& strPath, DWORD nAttributes);

private:
    // Programs, shortcuts, icon files: types whose files each carry their own picture.
    bool HasOwnIcons(const std::string& strExtension);

    std::unordered_map<std::string, int> m_byExtension;
    std::unordered_map<std::string, bool> m_ownIcons;
    std::optional<ShellImages> m_plainFolder;
};

// The extension of a name or path as _splitpath gives it (from the last dot of the file name on),
// in lower case; empty without one.
CString LowerExtension(const CString& strPath);

// The index of a path's small icon, closed or open, in *pnIndex (0 when the shell has none);
// FALSE when the shell cannot answer for the path.
BOOL ShellIconIndex(LPCSTR pszPath, BOOL bOpen, int* pnIndex);
