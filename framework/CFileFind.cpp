#include "CFileFind.h"

#include <cstring>

BOOL CFileFind::FindFile(LPCSTR pszName) {
    Close();
    if (!pszName || !*pszName) {
        return FALSE;
    }
    m_find.Attach(FindFirstFileA(pszName, &m_next));
    if (!m_find.IsValid()) {
        return FALSE;
    }
    m_bHasNext = TRUE;
    // The folder part of the full pattern, for GetFilePath.
    char szFull[MAX_PATH];
    LPSTR pszFilePart = nullptr;
    DWORD nLength = GetFullPathNameA(pszName, MAX_PATH, szFull, &pszFilePart);
    if (nLength == 0 || nLength >= MAX_PATH) {
        m_strRoot = pszName;
    } else {
        m_strRoot = pszFilePart ? CString(szFull, static_cast<int>(pszFilePart - szFull)) : szFull;
    }
    if (m_strRoot.GetLength() > 0 && m_strRoot[m_strRoot.GetLength() - 1] == '\\' &&
        m_strRoot.Right(2) != ":\\") {
        m_strRoot = m_strRoot.Left(m_strRoot.GetLength() - 1);
    }
    return TRUE;
}

BOOL CFileFind::FindNextFile() {
    if (!m_bHasNext) {
        return FALSE;
    }
    m_found = m_next;
    m_bHasNext = ::FindNextFileA(m_find, &m_next);
    return m_bHasNext;
}

void CFileFind::Close() {
    m_find.Close();
    m_bHasNext = FALSE;
}

CString CFileFind::GetFilePath() const {
    if (m_strRoot.IsEmpty() || m_strRoot.Right(1) == "\\") {
        return m_strRoot + m_found.cFileName;
    }
    return m_strRoot + "\\" + m_found.cFileName;
}

BOOL CFileFind::IsDots() const {
    return IsDirectory() &&
           (std::strcmp(m_found.cFileName, ".") == 0 || std::strcmp(m_found.cFileName, "..") == 0);
}
