// CFileFind: a file-system search that always knows whether another entry follows the current.
#pragma once

#include "CHandle.h"
#include "CString.h"

class CFileFind {
public:
    CFileFind() = default;
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
    // Whether the entry found has any of the attributes in dwMask (FILE_ATTRIBUTE_...).
    BOOL MatchesMask(DWORD dwMask) const { return (m_found.dwFileAttributes & dwMask) != 0; }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsDots() const;

private:
    CFindHandle m_find;
    WIN32_FIND_DATAA m_found = {};
    WIN32_FIND_DATAA m_next = {};
    BOOL m_bHasNext = FALSE;
    CString m_strRoot;
};
