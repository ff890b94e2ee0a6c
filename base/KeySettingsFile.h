// The key settings file of the suite (the INI file the library names as kind 5): each key's
// legend and icon path for the key panel, and the categories the settings dialog offers. The
// module only reads it, value by value, with the system's private-profile rules.
#pragma once

#include "CString.h"

class CKeySettingsFile {
public:
    // The file the library names; empty when it names none.
    CKeySettingsFile();
    explicit CKeySettingsFile(const CString& strPath) : m_strPath(strPath) {}

    const CString& GetPath() const { return m_strPath; }
    // Whether a file-system search finds the file.
    BOOL Exists() const;

    // Section "SKeySilk", value "S<key>": the legend shown beside the key (at most 259 bytes).
    CString GetLegend(int nKey) const;
    // Section "SKeyIcon", value "S<key>": the path of the key's picture (at most 259 bytes).
    CString GetIconPath(int nKey) const;
    // A value of a category section such as "SKey3Button0" (at most 511 bytes); empty when the
    // value is absent or empty.
    CString GetCategoryValue(LPCSTR pszSection, LPCSTR pszName) const;

private:
    CString Read(LPCSTR pszSection, LPCSTR pszName, DWORD nBufferSize) const;

    CString m_strPath;
};
