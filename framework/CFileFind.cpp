#include "CFileFind.h"

BOOL CFileFind::FindFile(LPCSTR pszName) {
    Close();
    // No longer than the narrow search takes: what it would find could not be held in the
    // MAX_PATH buffers that narrow paths live in.
    int nLength = pszName ? lstrlenA(pszName) : 0;
    if (nLength == 0 || nLength > MAX_PATH) {
        return FALSE;
    }
    // The wide search reports names the code page cannot hold as they are, with their short names.
    WIN32_FIND_DATAW data;
    m_find.Attach(FindFirstFileW(WideText(pszName).c_str(), &data));
    m_bHasNext = TakeNext(m_find.IsValid(), data);
    if (!m_bHasNext) {
        Close();
        return FALSE;
    }
    // The folder part of the full pattern, for GetFilePath.
    char szFull[MAX_PATH];
    LPSTR pszFilePart = nullptr;
    DWORD nFullLength = GetFullPathNameA(pszName, MAX_PATH, szFull, &pszFilePart);
    if (nFullLength == 0 || nFullLength >= MAX_PATH) {
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
    WIN32_FIND_DATAW data;
    m_bHasNext = TakeNext(::FindNextFileW(m_find, &data), data);
    return m_bHasNext;
}

BOOL CFileFind::TakeNext(BOOL bReported, WIN32_FIND_DATAW& data) {
    for (; bReported; bReported = ::FindNextFileW(m_find, &data)) {
        if (NarrowExactly(data.cFileName, -1, m_next.strName) ||
            (data.cAlternateFileName[0] &&
             NarrowExactly(data.cAlternateFileName, -1, m_next.strName))) {
            m_next.nAttributes = data.dwFileAttributes;
            return TRUE;
        }
    }
    return FALSE;
}

void CFileFind::Close() {
    m_find.Close();
    m_bHasNext = FALSE;
}

CString CFileFind::GetFilePath() const {
    if (m_strRoot.IsEmpty() || m_strRoot.Right(1) == "\\") {
        return m_strRoot + m_found.strName;
    }
    return m_strRoot + "\\" + m_found.strName;
}

BOOL CFileFind::IsDots() const {
    return IsDirectory() &&
           (m_found.strName.Compare(".") == 0 || m_found.strName.Compare("..") == 0);
}
