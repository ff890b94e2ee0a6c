#include "PathText.h"

bool EndsWith(const CString& strText, LPCSTR pszEnd) {
    return strText.Right(lstrlenA(pszEnd)) == pszEnd;
}

CString LookupPath(const CString& strPath) {
    if (EndsWith(strPath, "\\") && !EndsWith(strPath, ":\\")) {
        return strPath.Left(strPath.GetLength() - 1);
    }
    return strPath;
}
