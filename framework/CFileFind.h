// CFileFind: a file-system search that always knows whether another entry follows the current.
#pragma once

#include "CString.h"

class CFileFind {
public:
    CFileFind() = default;
    ~CFileFind() { Close(); }
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search (wildcards allowed); FALSE when nothing matches.
    BOOL FindFile(LPCSTR pszName = "*.*");
    // Moves to the next entry found; returns FALSE when that entry is the last one.
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const { return m_found.cFileName; }
    CString GetFilePath() const;
    CString GetRoot() const { return m_strRoot; }
    BOOL IsDirectory() const { return (m_found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    BOOL IsDots() const;

private:
    HANDLE m_hFind = INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA m_found = {};
    WIN32_FIND_DATAA m_next = {};
    BOOL m_bHasNext = FALSE;
    CString m_strRoot;
};
