#include "AfxResource.h"

#include "CString.h"

#include <initializer_list>

namespace {

HINSTANCE g_hResource = nullptr;

void FormatStrings(CString& rString, UINT nIDS, std::initializer_list<LPCSTR> texts) {
    CString strFormat;
    strFormat.LoadString(nIDS);
    rString.Empty();
    // Byte by byte is safe in double-byte code pages too: neither '%' nor a digit is ever the
    // second byte of a character.
    for (LPCSTR p = strFormat; *p; ++p) {
        size_t nIndex = texts.size();
        if (p[0] == '%' && p[1] >= '1' && p[1] <= '9') {
            nIndex = static_cast<size_t>(p[1] - '1');
        }
        if (nIndex < texts.size()) {
            rString += texts.begin()[nIndex];
            ++p;
        } else {
            rString += *p;
        }
    }
}

} // namespace

void AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1) {
    FormatStrings(rString, nIDS, {lpsz1});
}

void AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2) {
    FormatStrings(rString, nIDS, {lpsz1, lpsz2});
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
