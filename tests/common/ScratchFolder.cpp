#include "ScratchFolder.h"

#include "CHandle.h"

#include <shlobj.h>

#include <fstream>
#include <sstream>

// Read-only entries go too: tests protect files to see writes fail. An entry goes by its short name
// where it has one, the only narrow name of a name beyond the code page.
void RemoveTree(const std::string& strFolder) {
    WIN32_FIND_DATAA data;
    CFindHandle find(FindFirstFileA((strFolder + "\\*").c_str(), &data));
    for (BOOL bMore = find.IsValid(); bMore; bMore = FindNextFileA(find, &data)) {
        const std::string strName =
            data.cAlternateFileName[0] ? data.cAlternateFileName : data.cFileName;
        if (strName == "." || strName == "..") {
            continue;
        }
        std::string strPath = strFolder + "\\" + strName;
        SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveTree(strPath);
        } else {
            DeleteFileA(strPath.c_str());
        }
    }
    RemoveDirectoryA(strFolder.c_str());
}

bool MakeFolders(const std::string& strPath) {
    size_t nSlash = strPath.rfind('\\');
    if (nSlash != std::string::npos && nSlash > 2) {
        MakeFolders(strPath.substr(0, nSlash));
    }
    return CreateDirectoryA(strPath.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

CScratchFolder::CScratchFolder() {
    char szTemp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, szTemp);
    // Process id and a counter keep parallel test programs and several folders apart.
    static LONG s_nSerial = 0;
    for (;;) {
        m_strPath = std::string(szTemp) + "vvtest-" + std::to_string(GetCurrentProcessId()) + "-" +
                    std::to_string(InterlockedIncrement(&s_nSerial));
        if (CreateDirectoryA(m_strPath.c_str(), nullptr) ||
            GetLastError() != ERROR_ALREADY_EXISTS) {
            return;
        }
    }
}

CScratchFolder::~CScratchFolder() {
    RemoveTree(m_strPath);
}

bool CScratchFolder::WriteFile(const std::string& strName, const std::string& strText) const {
    std::string strPath = *this / strName;
    MakeFolders(strPath.substr(0, strPath.rfind('\\')));
    return WriteFileText(strPath, strText);
}

bool CScratchFolder::MakeFolder(const std::string& strName) const {
    return MakeFolders(*this / strName);
}

bool CScratchFolder::MakeWideEntry(const std::wstring& strName) const {
    const std::wstring strPath = WidePath(strName);
    if (strName.back() == L'\\') {
        return CreateDirectoryW(strPath.c_str(), nullptr) != FALSE;
    }
    return CHandle(CreateFileW(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr))
        .IsValid();
}

bool Exists(const std::string& strPath) {
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string SpecialFolder(int nCsidl) {
    char szPath[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, nCsidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, szPath);
    return szPath;
}

std::string ShortPath(const std::wstring& strPath) {
    WCHAR szShort[MAX_PATH] = {};
    DWORD nLength = GetShortPathNameW(strPath.c_str(), szShort, MAX_PATH);
    return nLength > 0 && nLength < MAX_PATH ? std::string(szShort, szShort + nLength) : "";
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
    CFindHandle find(FindFirstFileA((strFolder + "\\" + pszPattern).c_str(), &data));
    if (find.IsValid()) {
        do {
            names.push_back(data.cFileName);
        } while (FindNextFileA(find, &data));
    }
    return names;
}

CScratchAppData::CScratchAppData() {
    char szSaved[MAX_PATH];
    DWORD nLength = GetEnvironmentVariableA("APPDATA", szSaved, MAX_PATH);
    m_bHadValue = nLength > 0 && nLength < MAX_PATH;
    m_strSaved = m_bHadValue ? szSaved : "";
    SetEnvironmentVariableA("APPDATA", m_folder.Path().c_str());
}

CScratchAppData::~CScratchAppData() {
    SetEnvironmentVariableA("APPDATA", m_bHadValue ? m_strSaved.c_str() : nullptr);
}
