#include "CString.h"

#include <cstdio>
#include <cstring>

namespace {

// The empty string every binary shares the layout of; its negative count keeps it from ever being
// freed, whichever binary's copy a string happens to point at.
struct {
    CStringData header;
    char nul;
} g_emptyString = {{-1, 0, 0}, 0};

LPSTR EmptyChars() {
    return g_emptyString.header.data();
}

int SafeLength(LPCSTR psz) {
    return psz ? static_cast<int>(std::strlen(psz)) : 0;
}

} // namespace

CString::CString() : m_pchData(EmptyChars()) {}

CString::CString(const CString& src) : m_pchData(src.m_pchData) {
    if (GetData()->nRefs >= 0) {
        InterlockedIncrement(&GetData()->nRefs);
    }
}

CString::CString(LPCSTR psz) : m_pchData(EmptyChars()) {
    Assign(psz, SafeLength(psz));
}

CString::CString(LPCSTR pch, int nLength) : m_pchData(EmptyChars()) {
    Assign(pch, nLength);
}

CString::~CString() {
    Release();
}

void CString::Release() {
    CStringData* pData = GetData();
    if (pData->nRefs >= 0 && InterlockedDecrement(&pData->nRefs) == 0) {
        HeapFree(GetProcessHeap(), 0, pData);
    }
    m_pchData = EmptyChars();
}

void CString::AllocBuffer(int nLength) {
    if (nLength == 0) {
        m_pchData = EmptyChars();
        return;
    }
    auto* pData = static_cast<CStringData*>(
        HeapAlloc(GetProcessHeap(), 0, sizeof(CStringData) + static_cast<SIZE_T>(nLength) + 1));
    if (!pData) {
        // Out of memory: the program cannot go on in any meaningful way.
        RaiseException(STATUS_NO_MEMORY, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    }
    pData->nRefs = 1;
    pData->nDataLength = nLength;
    pData->nAllocLength = nLength;
    pData->data()[nLength] = '\0';
    m_pchData = pData->data();
}

void CString::Assign(LPCSTR pch, int nLength) {
    // Copy first: the source may live inside this string's own buffer.
    CString copy;
    copy.AllocBuffer(nLength);
    if (nLength > 0) {
        std::memcpy(copy.m_pchData, pch, static_cast<size_t>(nLength));
    }
    Release();
    m_pchData = copy.m_pchData;
    copy.m_pchData = EmptyChars();
}

void CString::Append(LPCSTR pch, int nLength) {
    if (nLength <= 0) {
        return;
    }
    int nOld = GetLength();
    int nNew = nOld + nLength;
    if (GetData()->nRefs == 1 && nNew <= GetData()->nAllocLength) {
        std::memcpy(m_pchData + nOld, pch, static_cast<size_t>(nLength));
    } else {
        // Grow by half again at least, so that appending piece by piece stays linear.
        CString joined;
        joined.AllocBuffer(nNew > nOld + nOld / 2 ? nNew : nOld + nOld / 2);
        std::memcpy(joined.m_pchData, m_pchData, static_cast<size_t>(nOld));
        std::memcpy(joined.m_pchData + nOld, pch, static_cast<size_t>(nLength));
        *this = joined;
    }
    GetData()->nDataLength = nNew;
    m_pchData[nNew] = '\0';
}

void CString::CopyBeforeWrite() {
    if (GetData()->nRefs != 1 && GetLength() > 0) {
        CString copy(m_pchData, GetLength());
        *this = copy;
    }
}

CString& CString::operator=(const CString& src) {
    if (m_pchData != src.m_pchData) {
        if (src.GetData()->nRefs >= 0) {
            InterlockedIncrement(&src.GetData()->nRefs);
        }
        Release();
        m_pchData = src.m_pchData;
    }
    return *this;
}

CString& CString::operator=(LPCSTR psz) {
    Assign(psz, SafeLength(psz));
    return *this;
}

CString& CString::operator+=(const CString& src) {
    CString keep(src); // src may be *this
    Append(keep.m_pchData, keep.GetLength());
    return *this;
}

CString& CString::operator+=(LPCSTR psz) {
    CString keep(psz);
    Append(keep.m_pchData, keep.GetLength());
    return *this;
}

CString& CString::operator+=(char ch) {
    Append(&ch, 1);
    return *this;
}

void CString::Empty() {
    Release();
}

int CString::Compare(LPCSTR psz) const {
    return std::strcmp(m_pchData, psz ? psz : "");
}

int CString::CompareNoCase(LPCSTR psz) const {
    return lstrcmpiA(m_pchData, psz ? psz : "");
}

CString CString::Mid(int nFirst) const {
    return Mid(nFirst, GetLength() - nFirst);
}

CString CString::Mid(int nFirst, int nCount) const {
    if (nFirst < 0) {
        nFirst = 0;
    }
    if (nFirst > GetLength()) {
        nFirst = GetLength();
    }
    if (nCount < 0) {
        nCount = 0;
    }
    if (nCount > GetLength() - nFirst) {
        nCount = GetLength() - nFirst;
    }
    return CString(m_pchData + nFirst, nCount);
}

CString CString::Left(int nCount) const {
    return Mid(0, nCount);
}

CString CString::Right(int nCount) const {
    if (nCount < 0) {
        nCount = 0;
    }
    if (nCount > GetLength()) {
        nCount = GetLength();
    }
    return Mid(GetLength() - nCount, nCount);
}

int CString::Find(char ch, int nStart) const {
    if (nStart < 0 || nStart > GetLength()) {
        return -1;
    }
    const char* p = std::strchr(m_pchData + nStart, ch);
    return (p && ch != '\0') ? static_cast<int>(p - m_pchData) : -1;
}

int CString::Find(LPCSTR pszSub, int nStart) const {
    if (nStart < 0 || nStart > GetLength()) {
        return -1;
    }
    const char* p = std::strstr(m_pchData + nStart, pszSub ? pszSub : "");
    return p ? static_cast<int>(p - m_pchData) : -1;
}

int CString::ReverseFind(char ch) const {
    const char* p = std::strrchr(m_pchData, ch);
    return (p && ch != '\0') ? static_cast<int>(p - m_pchData) : -1;
}

void CString::MakeUpper() {
    CopyBeforeWrite();
    CharUpperBuffA(m_pchData, static_cast<DWORD>(GetLength()));
}

void CString::MakeLower() {
    CopyBeforeWrite();
    CharLowerBuffA(m_pchData, static_cast<DWORD>(GetLength()));
}

static bool IsBlank(char ch) {
    return ch == ' ' || (ch >= '\t' && ch <= '\r');
}

CString& CString::TrimLeft() {
    int n = 0;
    while (n < GetLength() && IsBlank(m_pchData[n])) {
        ++n;
    }
    if (n > 0) {
        *this = Mid(n);
    }
    return *this;
}

CString& CString::TrimRight() {
    int n = GetLength();
    while (n > 0 && IsBlank(m_pchData[n - 1])) {
        --n;
    }
    if (n < GetLength()) {
        *this = Left(n);
    }
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

void CString::Format(LPCSTR pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::FormatV(LPCSTR pszFormat, va_list args) {
    va_list measure;
    va_copy(measure, args);
    int nLength = std::vsnprintf(nullptr, 0, pszFormat, measure);
    va_end(measure);
    if (nLength < 0) {
        Empty();
        return;
    }
    CString result;
    result.AllocBuffer(nLength);
    std::vsnprintf(result.m_pchData, static_cast<size_t>(nLength) + 1, pszFormat, args);
    *this = result;
}

LPSTR CString::GetBuffer(int nMinBufLength) {
    if (GetData()->nRefs != 1 || nMinBufLength > GetData()->nAllocLength) {
        int nKeep = GetLength();
        CString grown;
        grown.AllocBuffer(nMinBufLength > nKeep ? nMinBufLength : nKeep);
        std::memcpy(grown.m_pchData, m_pchData, static_cast<size_t>(nKeep) + 1);
        grown.GetData()->nDataLength = nKeep;
        *this = grown;
    }
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength) {
    if (GetData()->nRefs < 0) {
        return; // GetBuffer(0) on an empty string hands out the shared terminator
    }
    if (nNewLength < 0) {
        nNewLength =
            static_cast<int>(strnlen(m_pchData, static_cast<size_t>(GetData()->nAllocLength)));
    }
    if (nNewLength > GetData()->nAllocLength) {
        nNewLength = GetData()->nAllocLength;
    }
    GetData()->nDataLength = nNewLength;
    m_pchData[nNewLength] = '\0';
}

CString operator+(const CString& a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(const CString& a, LPCSTR b) {
    CString result(a);
    result += b;
    return result;
}

CString operator+(LPCSTR a, const CString& b) {
    CString result(a);
    result += b;
    return result;
}

std::wstring WideText(LPCSTR pszText) {
    // Room for the terminator, which the conversion writes and counts.
    std::wstring strWide(static_cast<size_t>(lstrlenA(pszText)) + 1, L'\0');
    int nLength =
        MultiByteToWideChar(CP_ACP, 0, pszText, -1, &strWide[0], static_cast<int>(strWide.size()));
    strWide.resize(nLength > 0 ? static_cast<size_t>(nLength) - 1 : 0);
    return strWide;
}

BOOL NarrowExactly(LPCWSTR pszWide, int nLength, CString& strNarrow) {
    strNarrow.Empty();
    if (nLength < 0) {
        nLength = lstrlenW(pszWide);
    }
    if (nLength == 0) {
        return TRUE;
    }
    // A UTF-8 code page holds every character; there only a broken surrogate cannot be held, and
    // the call refuses a default-character flag.
    const bool bUtf8 = GetACP() == CP_UTF8;
    const DWORD dwFlags = bUtf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    int nSize =
        WideCharToMultiByte(CP_ACP, dwFlags, pszWide, nLength, nullptr, 0, nullptr, nullptr);
    if (nSize <= 0) {
        return FALSE;
    }
    BOOL bDefaulted = FALSE;
    int nWritten =
        WideCharToMultiByte(CP_ACP, dwFlags, pszWide, nLength, strNarrow.GetBuffer(nSize), nSize,
                            nullptr, bUtf8 ? nullptr : &bDefaulted);
    BOOL bExact = nWritten == nSize && !bDefaulted;
    strNarrow.ReleaseBuffer(bExact ? nSize : 0);
    return bExact;
}
