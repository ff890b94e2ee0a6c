#include "SuiteFiles.h"

#include "KeyStore.h"

#include "CHandle.h"
#include "CString.h"

#include <algorithm>
#include <cstring>

// The linker's symbol for this module's own image, so the library finds its own folder whoever
// loaded it and from wherever.
extern "C" IMAGE_DOS_HEADER __ImageBase;

bool GetProgramPath(LPCSTR pszName, LPSTR pszPath) {
    char szModule[MAX_PATH];
    DWORD dwLength =
        GetModuleFileNameA(reinterpret_cast<HMODULE>(&__ImageBase), szModule, MAX_PATH);
    char* pSlash = dwLength > 0 && dwLength < MAX_PATH ? std::strrchr(szModule, '\\') : nullptr;
    if (!pSlash) {
        return false;
    }
    *pSlash = '\0';
    if (pszName && !AppendPath(szModule, pszName)) {
        return false;
    }
    std::strcpy(pszPath, szModule);
    return true;
}

namespace {

FileRead ReadWholeFile(LPCSTR pszPath, std::string& strText, DWORD dwMaxSize, DWORD& dwError) {
    CHandle file(CreateFileA(pszPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        dwError = GetLastError();
        bool bMissing = dwError == ERROR_FILE_NOT_FOUND || dwError == ERROR_PATH_NOT_FOUND;
        return bMissing ? FileRead::Missing : FileRead::Failed;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size)) {
        dwError = GetLastError();
        return FileRead::Failed;
    }
    if (size.QuadPart > dwMaxSize) {
        return FileRead::TooLarge;
    }
    auto dwSize = static_cast<DWORD>(size.QuadPart);
    strText.assign(dwSize, '\0');
    DWORD dwRead = 0;
    if (!ReadFile(file, &strText[0], dwSize, &dwRead, nullptr) || dwRead != dwSize) {
        dwError =
            dwRead != dwSize && GetLastError() == ERROR_SUCCESS ? ERROR_READ_FAULT : GetLastError();
        return FileRead::Failed;
    }
    return FileRead::Ok;
}

} // namespace

CHoldWait::CHoldWait(DWORD dwTimeoutMs) : m_nDeadline(GetTickCount64() + dwTimeoutMs) {}

bool CHoldWait::Again(DWORD dwError, bool bDenialIsHold) {
    const bool bHeld = dwError == ERROR_SHARING_VIOLATION || dwError == ERROR_LOCK_VIOLATION ||
                       (bDenialIsHold && dwError == ERROR_ACCESS_DENIED);
    const ULONGLONG nNow = GetTickCount64();
    if (!bHeld || nNow >= m_nDeadline) {
        SetLastError(dwError);
        return false;
    }
    Sleep(static_cast<DWORD>(std::min<ULONGLONG>(m_dwPauseMs, m_nDeadline - nNow)));
    m_dwPauseMs = std::min<DWORD>(m_dwPauseMs * 2, 200);
    return true;
}

FileRead ReadTextFile(LPCSTR pszPath, std::string& strText, DWORD dwMaxSize, CHoldWait& wait) {
    DWORD dwError = ERROR_SUCCESS;
    FileRead result = ReadWholeFile(pszPath, strText, dwMaxSize, dwError);
    while (result == FileRead::Failed && wait.Again(dwError)) {
        result = ReadWholeFile(pszPath, strText, dwMaxSize, dwError);
    }
    if (result == FileRead::Failed) {
        SetLastError(dwError);
    }
    if (result == FileRead::Ok) {
        strText = CodePageText(strText);
    }
    return result;
}

bool ReplaceWholeFile(LPCSTR pszPath, LPCSTR pszTemp, const std::string& strText, CHoldWait& wait) {
    if (WriteWholeFile(pszTemp, strText) && WhileHeld(wait, [&] {
            return MoveFileExA(pszTemp, pszPath,
                               MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        })) {
        return true;
    }
    DWORD dwError = GetLastError();
    DeleteFileA(pszTemp);
    return Failed(dwError);
}

bool WriteWholeFile(LPCSTR pszPath, const std::string& strText) {
    return WriteFileBytes(WideText(pszPath), strText);
}

bool GetSuitePath(int nKind, LPSTR pszBuffer) {
    LPCSTR pszName = nullptr;
    switch (nKind) {
    case ZUCOM_PATH_PROGRAM_FOLDER:
        break;
    case ZUCOM_PATH_HELP_FILE:
        pszName = "Corvane.chm";
        break;
    case ZUCOM_PATH_KEY_SETTINGS:
        pszName = "CvnSKey.ini";
        break;
    case ZUCOM_PATH_KEY_STORE:
        break;
    default:
        return false;
    }
    char szFolder[MAX_PATH];
    char szPath[MAX_PATH];
    bool bFound = nKind == ZUCOM_PATH_KEY_STORE ? CKeyStore::Locate(szFolder, szPath)
                                                : GetProgramPath(pszName, szPath);
    if (!pszBuffer || !bFound) {
        return false;
    }
    std::strcpy(pszBuffer, szPath);
    return true;
}

bool AppendPath(LPSTR pszBuffer, LPCSTR pszName) {
    if (!pszBuffer || !pszName) {
        return false;
    }
    size_t nLength = strnlen(pszBuffer, MAX_PATH);
    if (nLength == MAX_PATH) {
        return false; // no terminator within the buffer: not a path we can extend
    }
    while (*pszName == '\\') {
        ++pszName;
    }
    size_t nSeparator = nLength > 0 && pszBuffer[nLength - 1] != '\\' ? 1 : 0;
    size_t nName = std::strlen(pszName);
    if (nLength + nSeparator + nName >= MAX_PATH) {
        return false;
    }
    if (nSeparator) {
        pszBuffer[nLength] = '\\';
    }
    std::memcpy(pszBuffer + nLength + nSeparator, pszName, nName + 1);
    return true;
}
