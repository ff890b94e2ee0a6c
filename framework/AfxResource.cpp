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
