// Files for tests: a fresh folder that goes with everything in it, whole-file reads and writes,
// and the user's key store pointed at a scratch folder. Temporary folders live in the Wine prefix
// of the build, so no test writes outside the build folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CScratchFolder {
public:
    CScratchFolder();
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    const std::string& Path() const { return m_strPath; }
    // The path of an entry inside the folder.
    std::string operator/(const std::string& strName) const { return m_strPath + "\\" + strName; }

    // Creates a file (with its missing folders) holding strText; false when that fails.
    bool WriteFile(const std::string& strName, const std::string& strText) const;
    bool MakeFolder(const std::string& strName) const;
    // Names beyond the ANSI code page: the wide path of an entry inside the folder (whose own path
    // is plain ASCII), and an empty file or (a name ending in a backslash) a folder made there.
    std::wstring WidePath(const std::wstring& strName) const {
        return std::wstring(m_strPath.begin(), m_strPath.end()) + L"\\" + strName;
    }
    bool MakeWideEntry(const std::wstring& strName) const;

private:
    std::string m_strPath;
};

// The short (8.3) form of an existing entry's wide path; empty when the system gives none.
std::string ShortPath(const std::wstring& strPath);
// A folder with every folder above it that is missing.
bool MakeFolders(const std::string& strPath);
// A folder and everything in it.
void RemoveTree(const std::string& strFolder);
// Whether a file or folder is there.
bool Exists(const std::string& strPath);
// A folder the system names by its CSIDL, made when it is missing.
std::string SpecialFolder(int nCsidl);

std::string ReadFileText(const std::string& strPath);
bool WriteFileText(const std::string& strPath, const std::string& strText);
// Names of the entries of a folder that match a wildcard pattern.
std::vector<std::string> ListFiles(const std::string& strFolder, const char* pszPattern);

// Points APPDATA, and with it the user's key store, at a scratch folder for the object's
// lifetime; programs started meanwhile inherit it.
class CScratchAppData {
public:
    CScratchAppData();
    ~CScratchAppData();
    CScratchAppData(const CScratchAppData&) = delete;
    CScratchAppData& operator=(const CScratchAppData&) = delete;

    std::string StoreFolder() const { return m_folder / "Corvane"; }
    std::string StorePath() const { return m_folder / "Corvane\\KeyStore.ini"; }

private:
    CScratchFolder m_folder;
    std::string m_strSaved;
    bool m_bHadValue;
};
