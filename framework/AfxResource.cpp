#include "AfxResource.h"

#include "CString.h"

namespace {

HINSTANCE g_hResource = nullptr;

} // namespace

// Byte by byte is safe in double-byte code pages too: neither '%' nor a digit is ever the second
// byte of a character.
void AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2) {
    CString strFormat;
    strFormat.LoadString(nIDS);
    rString.Empty();
    for (LPCSTR p = strFormat; *p; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            ++p;
            rString += *p == '1' ? lpsz1 : lpsz2;
        } else {
            rString += *p;
        }
    }
}

std::wstring FormatModuleString(HMODULE hModule, UINT nId,
                                std::initializer_list<std::wstring> args) {
    const wchar_t* pText = nullptr;
    int nLength = LoadStringW(hModule, nId, reinterpret_cast<LPWSTR>(&pText), 0);
    std::wstring strFormat(pText ? pText : L"", static_cast<size_t>(nLength > 0 ? nLength : 0));
    std::wstring strText;
    for (size_t i = 0; i < strFormat.size(); ++i) {
        size_t nArg = i + 1 < strFormat.size() ? strFormat[i + 1] - L'1' : args.size();
        if (strFormat[i] == L'%' && nArg < args.size()) {
            strText += args.begin()[nArg];
            ++i;
        } else {
            strText += strFormat[i];
        }
    }
    return strText;
}

HINSTANCE AfxGetInstanceHandle() {
    return GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return g_hResource ? g_hResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hResource) {
    g_hResource = hResource;
}

HINSTANCE AfxFindResourceHandle(LPCSTR pszName, LPCSTR pszType) {
    HINSTANCE hResource = AfxGetResourceHandle();
    if (FindResourceA(hResource, pszName, pszType)) {
        return hResource;
    }
    return AfxGetInstanceHandle();
}

HINSTANCE AfxLoadLibrary(LPCSTR pszModuleName) {
    return LoadLibraryA(pszModuleName);
}

BOOL CString::LoadString(UINT nID) {
    // Strings live in blocks of sixteen; the block tells which module holds the string.
    HINSTANCE hModule = AfxFindResourceHandle(MAKEINTRESOURCEA((nID >> 4) + 1), RT_STRING);
    for (int nSize = 256;; nSize *= 2) {
        int nLength = ::LoadStringA(hModule, nID, GetBuffer(nSize), nSize);
        if (nLength < nSize - 1) {
            ReleaseBuffer(nLength);
            return nLength > 0;
        }
    }
}
