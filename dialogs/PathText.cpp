#include "PathText.h"

#include "CFileFind.h"

#include <string>

bool EndsWith(const CString& strText, LPCSTR pszEnd) {
    return strText.Right(lstrlenA(pszEnd)) == pszEnd;
}

CString LookupPath(const CString& strPath) {
    if (EndsWith(strPath, "\\") && !EndsWith(strPath, ":\\")) {
        return strPath.Left(strPath.GetLength() - 1);
    }
    return strPath;
}

BOOL IsValidTarget(const CString& strPath) {
    if (strPath.IsEmpty() || EndsWith(strPath, ":")) {
        return FALSE;
    }
    if (EndsWith(strPath, ":\\")) {
        return TRUE;
    }
    CFileFind finder;
    return finder.FindFile(LookupPath(strPath));
}

BOOL ReadTypedPath(const CWnd& dialog, int nID, NarrowPath& path) {
    std::wstring strText(
        static_cast<size_t>(GetWindowTextLengthW(::GetDlgItem(dialog.m_hWnd, nID))) + 1, L'\0');
    strText.resize(
        GetDlgItemTextW(dialog.m_hWnd, nID, &strText[0], static_cast<int>(strText.size())));
    // The blanks that CString::Trim takes away.
    const wchar_t kBlanks[] = L" \t\n\v\f\r";
    size_t nFirst = strText.find_first_not_of(kBlanks);
    strText = nFirst == std::wstring::npos
                  ? std::wstring()
                  : strText.substr(nFirst, strText.find_last_not_of(kBlanks) - nFirst + 1);
    return NarrowPathOf(strText.c_str(), path);
}
