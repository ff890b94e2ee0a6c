#include "NarrowPath.h"

#include <string>

namespace {

// The characters of the name that the code page holds, in their order (one beyond the first plane,
// a surrogate pair, is held by none); blanks in a row, at either end and just before the extension
// are left out.
CString ReadablePart(const std::wstring& strName) {
    CString strKept;
    for (const wchar_t& chWide : strName) {
        CString strChar;
        if (NarrowExactly(&chWide, 1, strChar) && !(strChar == " " && strKept.Right(1) == " ")) {
            strKept += strChar;
        }
    }
    int nDot = strKept.ReverseFind('.');
    CString strStem = nDot < 0 ? strKept : strKept.Left(nDot);
    if (strStem.Trim().IsEmpty()) {
        return CString();
    }
    return nDot < 0 ? strStem : strStem + strKept.Mid(nDot);
}

} // namespace

BOOL NarrowPathOf(LPCWSTR pszWide, NarrowPath& narrow) {
    narrow.strLongName.Empty();
    if (NarrowExactly(pszWide, -1, narrow.strPath)) {
        return TRUE;
    }
    WCHAR szShort[MAX_PATH];
    DWORD nLength = GetShortPathNameW(pszWide, szShort, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH || !NarrowExactly(szShort, -1, narrow.strPath)) {
        return FALSE;
    }
    // The last part, a folder's one trailing backslash aside.
    std::wstring strName(pszWide);
    if (!strName.empty() && strName.back() == L'\\') {
        strName.pop_back();
    }
    narrow.strLongName = ReadablePart(strName.substr(strName.find_last_of(L"\\/") + 1));
    return TRUE;
}
