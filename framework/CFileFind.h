// CFileFind: a file-system search that always knows whether another entry follows the current.
#pragma once

#include "CHandle.h"
#include "CString.h"

class CFileFind {
public:
    CFileFind() = default;
    CFileFind(const CFileFind&) = delete;
    CFileFind& operator=(const CFileFind&) = delete;

    // Starts a search (wildcards allowed); FALSE when nothing matches. Each entry is named so that
    // its name opens it: the long name when the ANSI code page holds it exactly, else the short
    // (8.3) name; an entry with neither is passed over.
    BOOL FindFile(LPCSTR pszName = "*.*");
    // Moves to the next entry found; returns FALSE when that entry is the last one.
    BOOL FindNextFile();
    void Close();

    CString GetFileName() const { return m_found.strName; }
    CString GetFilePath() const;
    CString GetRoot() const { return m_strRoot; }
    // Whether the entry found has any of the attributes in dwMask (FILE_ATTRIBUTE_...).
    BOOL MatchesMask(DWORD dwMask) const { return (m_found.nAttributes & dwMask) != 0; }
    BOOL IsDirectory() const { return MatchesMask(FILE_ATTRIBUTE_DIRECTORY); }
    BOOL IsDots() const;

private:
    struct Entry {
        CString strName;
        DWORD nAttributes = 0;
    };
    // Takes the entry the search reported in data (bReported) into m_next, or the first one after
    // it that has a name; FALSE when the search has no more.
    BOOL TakeNext(BOOL bReported, WIN32_FIND_DATAW& data);

    CFindHandle m_find;
    Entry m_found;
    Entry m_next;
    BOOL m_bHasNext = FALSE;
    CString m_strRoot;
};
