#include "SuiteLibrary.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace {

void RemoveTree(const std::string& strFolder) {
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((strFolder + "\\*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::string strName = data.cFileName;
            std::string strPath = strFolder + "\\" + strName;
            if (strName == "." || strName == "..") {
                continue;
            }
            SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(strPath);
            } else {
                DeleteFileA(strPath.c_str());
            }
        } while (FindNextFileA(hFind, &data));
        FindClose(hFind);
    }
    RemoveDirectoryA(strFolder.c_str());
}

} // namespace

CSuiteLibrary::CSuiteLibrary(const char* pszPath)
    : ZuComLibrary(), m_hModule(LoadLibraryA(pszPath)) {
    if (!m_hModule) {
        ADD_FAILURE() << "cannot load " << pszPath << ", error " << GetLastError();
        return;
    }
    ZuComResolve(m_hModule, *this);
}

CSuiteLibrary::~CSuiteLibrary() {
    if (m_hModule) {
        FreeLibrary(m_hModule);
    }
}

CTempFolder::CTempFolder() {
    char szTemp[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    static LONG s_nCount = 0;
    for (;;) {
        std::ostringstream name;
        name << szTemp << "cvn-test-" << GetCurrentProcessId() << "-"
             << InterlockedIncrement(&s_nCount);
        m_strPath = name.str();
        if (CreateDirectoryA(m_strPath.c_str(), nullptr)) {
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot create " << m_strPath;
            return;
        }
    }
}

CTempFolder::~CTempFolder() {
    RemoveTree(m_strPath);
}

CScratchAppData::CScratchAppData() {
    char szSaved[MAX_PATH];
    DWORD dwLength = GetEnvironmentVariableA("APPDATA", szSaved, MAX_PATH);
    m_bHadValue = dwLength > 0 && dwLength < MAX_PATH;
    m_strSaved = m_bHadValue ? szSaved : "";
    SetEnvironmentVariableA("APPDATA", m_folder.Path().c_str());
}

CScratchAppData::~CScratchAppData() {
    SetEnvironmentVariableA("APPDATA", m_bHadValue ? m_strSaved.c_str() : nullptr);
}

std::string ReadFileText(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool WriteFileText(const std::string& strPath, const std::string& strText) {
    std::ofstream file(strPath, std::ios::binary | std::ios::trunc);
    file << strText;
    return static_cast<bool>(file.flush());
}

std::vector<std::string> ListFiles(const std::string& strFolder, const char* pszPattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE hFind = FindFirstFileA((strFolder + "\\" + pszPattern).c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            names.push_back(data.cFileName);
        } while (FindNextFileA(hFind, &data));
        FindClose(hFind);
    }
    return names;
}
