#include "KeySettingsFile.h"

#include "ZuCom.h"

#include "CFileFind.h"

namespace {

constexpr DWORD kKeyValueSize = MAX_PATH;
constexpr DWORD kCategoryValueSize = 512;

CString KeyValueName(int nKey) {
    CString strName;
    strName.Format("S%d", nKey);
    return strName;
}

} // namespace

CKeySettingsFile::CKeySettingsFile() {
    char szPath[MAX_PATH] = {};
    ZuComGetPath(ZUCOM_PATH_KEY_SETTINGS, szPath);
    szPath[MAX_PATH - 1] = '\0';
    m_strPath = szPath;
}

BOOL CKeySettingsFile::Exists() const {
    CFileFind finder;
    return finder.FindFile(m_strPath); // FALSE for an empty path too
}

CString CKeySettingsFile::GetLegend(int nKey) const {
    return Read("SKeySilk", KeyValueName(nKey), kKeyValueSize);
}

CString CKeySettingsFile::GetIconPath(int nKey) const {
    return Read("SKeyIcon", KeyValueName(nKey), kKeyValueSize);
}

CString CKeySettingsFile::GetCategoryValue(LPCSTR pszSection, LPCSTR pszName) const {
    return Read(pszSection, pszName, kCategoryValueSize);
}

CString CKeySettingsFile::Read(LPCSTR pszSection, LPCSTR pszName, DWORD nBufferSize) const {
    CString strValue;
    if (m_strPath.IsEmpty()) {
        return strValue; // an empty file name would mean the system's own WIN.INI
    }
    DWORD nLength = GetPrivateProfileStringA(pszSection, pszName, "",
                                             strValue.GetBuffer(static_cast<int>(nBufferSize)),
                                             nBufferSize, m_strPath);
    strValue.ReleaseBuffer(static_cast<int>(nLength));
    return strValue;
}
