#include "ShellIcons.h"

#include <shellapi.h>

namespace {

// HKEY_CLASSES_ROOT\<name>\<subKey> has a value (its default value in pszValue, if given).
bool ClassValue(const std::string& strName, LPCSTR pszSubKey, std::string* pstrValue) {
    std::string strKey = strName + pszSubKey;
    char szValue[MAX_PATH] = {};
    LONG nSize = sizeof(szValue);
    if (RegQueryValueA(HKEY_CLASSES_ROOT, strKey.c_str(), szValue, &nSize) != ERROR_SUCCESS) {
        return false;
    }
    if (pstrValue) {
        *pstrValue = szValue;
    }
    return true;
}

} // namespace

CString LowerExtension(const CString& strPath) {
    int nDot = strPath.ReverseFind('.');
    CString strExtension = nDot > strPath.ReverseFind('\\') ? strPath.Mid(nDot) : CString();
    strExtension.MakeLower();
    return strExtension;
}

BOOL ShellIconIndex(LPCSTR pszPath, BOOL bOpen, int* pnIndex) {
    // Only the index is wanted: no icon handle is made, so none has to be destroyed.
    SHFILEINFOA info = {};
    UINT nFlags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | (bOpen ? SHGFI_OPENICON : 0);
    BOOL bFound = SHGetFileInfoA(pszPath, 0, &info, sizeof(info), nFlags) != 0;
    *pnIndex = info.iIcon;
    return bFound;
}

namespace {

int IconIndex(LPCSTR pszPath, BOOL bOpen) {
    int nIndex = 0;
    ShellIconIndex(pszPath, bOpen, &nIndex);
    return nIndex;
}

// A folder shows itself open while selected.
bool FolderImages(LPCSTR pszPath, ShellImages* pImages) {
    return ShellIconIndex(pszPath, FALSE, &pImages->nNormal) &&
           ShellIconIndex(pszPath, TRUE, &pImages->nSelected);
}

} // namespace

bool CShellIcons::HasOwnIcons(const std::string& strExtension) {
    auto found = m_ownIcons.find(strExtension);
    if (found != m_ownIcons.end()) {
        return found->second;
    }
    // A type whose DefaultIcon names the file itself ("%1"), or that has an icon handler, draws
    // each file differently.
    std::string strClass;
    bool bOwn = ClassValue(strExtension, "\\shellex\\IconHandler", nullptr);
    if (!bOwn && ClassValue(strExtension, "", &strClass) && !strClass.empty()) {
        std::string strIcon;
        bOwn = ClassValue(strClass, "\\shellex\\IconHandler", nullptr) ||
               (ClassValue(strClass, "\\DefaultIcon", &strIcon) &&
                strIcon.find("%1") != std::string::npos);
    }
    m_ownIcons.emplace(strExtension, bOwn);
    return bOwn;
}

ShellImages CShellIcons::Lookup(const CString& strPath, DWORD nAttributes) {
    if (nAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        // The shell reads a folder's desktop.ini, which may give it a picture of its own, only
        // when the folder is read-only or a system folder. Only an answer the shell really gave
        // is shared, so that a folder it cannot find does not blank every other.
        ShellImages images = {0, 0};
        if (nAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM)) {
            FolderImages(strPath, &images);
        } else if (m_plainFolder) {
            images = *m_plainFolder;
        } else if (FolderImages(strPath, &images)) {
            m_plainFolder = images;
        }
        return images;
    }
    std::string strKey(LowerExtension(strPath));
    if (!strKey.empty() && HasOwnIcons(strKey)) {
        int nIndex = IconIndex(strPath, FALSE);
        return {nIndex, nIndex};
    }
    auto found = m_byExtension.find(strKey);
    if (found == m_byExtension.end()) {
        found = m_byExtension.emplace(strKey, IconIndex(strPath, FALSE)).first;
    }
    return {found->second, found->second};
}
