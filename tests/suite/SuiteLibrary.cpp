#include "SuiteLibrary.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace {

template <class Fn> Fn* Resolve(HMODULE hModule, LPCSTR pszName) {
    return reinterpret_cast<Fn*>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
}

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

CSuiteLibrary::CSuiteLibrary(const char* pszPath) : m_hModule(LoadLibraryA(pszPath)) {
    if (!m_hModule) {
        ADD_FAILURE() << "cannot load " << pszPath << ", error " << GetLastError();
        return;
    }
    GetAppData = Resolve<ZuComGetAppDataOfHarlEventFn>(m_hModule, "ZuComGetAppDataOfHarlEvent");
    SetAppData = Resolve<ZuComSetAppDataOfHarlEventFn>(m_hModule, "ZuComSetAppDataOfHarlEvent");
    GetIconHandle = Resolve<ZuComGetIconHandleFn>(m_hModule, "ZuComGetIconHandle");
    GetPath = Resolve<ZuComGetPathFn>(m_hModule, "ZuComGetPath");
    PathAppend = Resolve<ZuComPathAppendFn>(m_hModule, "ZuComPathAppend");
    GetServer = Resolve<ZuComGetServerFn>(m_hModule, "ZuComGetServer");
    GetClient = Resolve<ZuComGetClientFn>(m_hModule, "ZuComGetClient");
    SetClient = Resolve<ZuComSetClientFn>(m_hModule, "ZuComSetClient");
    InitSKeyData = Resolve<ZuComInitSKeyDataFn>(m_hModule, "ZuComInitSKeyData");
    GetSKeyNum = Resolve<ZuComGetSKeyNumFn>(m_hModule, "ZuComGetSKeyNum");
    GetKeyOption =
        Resolve<ZuComGetKeyOptionFn>(m_hModule, MAKEINTRESOURCEA(ZUCOM_ORDINAL_GET_KEY_OPTION));
    SetKeyOption =
        Resolve<ZuComSetKeyOptionFn>(m_hModule, MAKEINTRESOURCEA(ZUCOM_ORDINAL_SET_KEY_OPTION));
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
