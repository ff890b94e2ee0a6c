// Test access to the staged shortcut-service library, loaded by path as the key panel loads it,
// and scratch folders for the files it reads and writes.
#pragma once

#include "../../app/ZuCom.h"

#include <string>
#include <vector>

constexpr char STAGED_LIBRARY[] = "..\\stage\\VeDerovu.dll";
constexpr char STAGED_SERVICE[] = "..\\stage\\VeRiro.exe";

class CSuiteLibrary : public ZuComLibrary {
public:
    explicit CSuiteLibrary(const char* pszPath = STAGED_LIBRARY);
    ~CSuiteLibrary();
    CSuiteLibrary(const CSuiteLibrary&) = delete;
    CSuiteLibrary& operator=(const CSuiteLibrary&) = delete;

    HMODULE m_hModule;
};

// A fresh, empty folder under the system's temporary folder, removed with all its content.
class CTempFolder {
public:
    CTempFolder();
    ~CTempFolder();
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    std::string Path(const char* pszName) const { return m_strPath + "\\" + pszName; }
    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

// Points APPDATA, and with it the user's key store, at a fresh folder for the object's lifetime.
class CScratchAppData {
public:
    CScratchAppData();
    ~CScratchAppData();

    std::string StoreFolder() const { return m_folder.Path("Corvane"); }
    std::string StorePath() const { return m_folder.Path("Corvane\\KeyStore.ini"); }

private:
    CTempFolder m_folder;
    std::string m_strSaved;
    bool m_bHadValue;
};

std::string ReadFileText(const std::string& strPath);
bool WriteFileText(const std::string& strPath, const std::string& strText);
// File names in a folder matching a wildcard pattern.
std::vector<std::string> ListFiles(const std::string& strFolder, const char* pszPattern);
