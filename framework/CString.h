// CString: narrow, reference-counted string whose object is a single pointer.
//
// The shortcut-service library assigns into strings that the module later frees (and the other
// way round), so the character buffers come from the process heap, never from one binary's own
// allocator, and the shared empty string is recognised by its reference count, not its address.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <string>

struct CStringData {
    LONG nRefs; // -1 marks the static empty string, which is never freed
    int nDataLength;
    int nAllocLength;
    char* data() { return reinterpret_cast<char*>(this + 1); }
};

class CString {
public:
    CString();
    CString(const CString& src);
    CString(LPCSTR psz);
    CString(LPCSTR pch, int nLength);
    ~CString();

    CString& operator=(const CString& src);
    CString& operator=(LPCSTR psz);
    CString& operator+=(const CString& src);
    CString& operator+=(LPCSTR psz);
    CString& operator+=(char ch);

    int GetLength() const { return GetData()->nDataLength; }
    BOOL IsEmpty() const { return GetLength() == 0; }
    void Empty();
    char GetAt(int nIndex) const { return m_pchData[nIndex]; }
    char operator[](int nIndex) const { return m_pchData[nIndex]; }
    operator LPCSTR() const { return m_pchData; }

    int Compare(LPCSTR psz) const;
    int CompareNoCase(LPCSTR psz) const;

    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;

    void MakeUpper();
    void MakeLower();
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim();

    void Format(LPCSTR pszFormat, ...);
    void FormatV(LPCSTR pszFormat, va_list args);
    // Loads a string through the resource chain (current resource handle, then the program).
    BOOL LoadString(UINT nID);

    LPSTR GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);

private:
    CStringData* GetData() const { return reinterpret_cast<CStringData*>(m_pchData) - 1; }
    void Assign(LPCSTR pch, int nLength);
    void Append(LPCSTR pch, int nLength);
    void AllocBuffer(int nLength);
    void CopyBeforeWrite();
    void Release();

    LPSTR m_pchData;
};

inline bool operator==(const CString& a, LPCSTR b) {
    return a.Compare(b) == 0;
}
inline bool operator!=(const CString& a, LPCSTR b) {
    return a.Compare(b) != 0;
}
CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCSTR b);
CString operator+(LPCSTR a, const CString& b);

// Wide text in the ANSI code page, character for character: FALSE, leaving strNarrow empty, when
// a character has no exact counterpart there. The usual conversion would put a look-alike (best
// fit) or a question mark in its place, and in a file name either names another file or a
// pattern. nLength counts wide characters; -1 takes the text up to its terminator.
BOOL NarrowExactly(LPCWSTR pszWide, int nLength, CString& strNarrow);
// Text of the ANSI code page as wide text, which every character of it has.
std::wstring WideText(LPCSTR pszText);
