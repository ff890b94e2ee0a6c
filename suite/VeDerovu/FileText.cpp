#include "FileText.h"

#include "CHandle.h"
#include "CString.h"

#include <algorithm>

namespace {

// The text as UTF-16 when the file was saved as Unicode; false when it is the code page's own.
// Without a byte-order mark only text that is valid UTF-8 and not plain ASCII counts as UTF-8:
// the code page's own text hardly ever is.
bool UnicodeText(const std::string& strFile, std::wstring& strWide) {
    const auto* pBytes = reinterpret_cast<const unsigned char*>(strFile.data());
    const size_t nSize = strFile.size();
    if (nSize >= 2 &&
        ((pBytes[0] == 0xFF && pBytes[1] == 0xFE) || (pBytes[0] == 0xFE && pBytes[1] == 0xFF))) {
        const bool bBigEndian = pBytes[0] == 0xFE;
        strWide.resize((nSize - 2) / 2);
        for (size_t i = 0; i < strWide.size(); ++i) {
            unsigned nFirst = pBytes[2 + 2 * i];
            unsigned nSecond = pBytes[3 + 2 * i];
            strWide[i] =
                static_cast<wchar_t>(bBigEndian ? nFirst << 8 | nSecond : nSecond << 8 | nFirst);
        }
        return true;
    }
    const size_t nSkip = strFile.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    const bool bAscii = std::all_of(strFile.begin(), strFile.end(),
                                    [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
    const char* pText = strFile.data() + nSkip;
    const auto nText = static_cast<int>(nSize - nSkip);
    // With a mark, text that is not valid UTF-8 is read all the same, its faults as characters
    // that no code page holds.
    const DWORD dwFlags = nSkip ? 0 : MB_ERR_INVALID_CHARS;
    int nWide = nText > 0 ? MultiByteToWideChar(CP_UTF8, dwFlags, pText, nText, nullptr, 0) : 0;
    if (!nSkip && (bAscii || nWide <= 0)) {
        return false;
    }
    strWide.resize(static_cast<size_t>(nWide));
    if (nWide > 0) {
        MultiByteToWideChar(CP_UTF8, dwFlags, pText, nText, &strWide[0], nWide);
    }
    return true;
}

// One line in the code page, exactly (no look-alike characters, no default character), or a
// control character in its place.
std::string NarrowLine(const wchar_t* pLine, int nLength) {
    CString strLine;
    if (!NarrowExactly(pLine, nLength, strLine)) {
        return nLength > 0 && pLine[nLength - 1] == L'\n' ? "\x01\n" : "\x01";
    }
    return std::string(strLine, static_cast<size_t>(strLine.GetLength()));
}

std::string NarrowText(const std::wstring& strWide) {
    std::string strText;
    size_t nStart = 0;
    while (nStart < strWide.size()) {
        size_t nEnd = strWide.find(L'\n', nStart);
        nEnd = nEnd == std::wstring::npos ? strWide.size() : nEnd + 1;
        strText += NarrowLine(strWide.data() + nStart, static_cast<int>(nEnd - nStart));
        nStart = nEnd;
    }
    return strText;
}

} // namespace

std::string CodePageText(const std::string& strFile) {
    std::wstring strWide;
    return UnicodeText(strFile, strWide) ? NarrowText(strWide) : strFile;
}

std::string Utf8FileText(const std::string& strText) {
    // The text holds no terminator: the key file writes control characters escaped.
    std::wstring strWide = WideText(strText.c_str());
    int nWide = static_cast<int>(strWide.size());
    int nSize =
        WideCharToMultiByte(CP_UTF8, 0, strWide.data(), nWide, nullptr, 0, nullptr, nullptr);
    std::string strFile(static_cast<size_t>(nSize), '\0');
    if (nSize > 0) {
        WideCharToMultiByte(CP_UTF8, 0, strWide.data(), nWide, &strFile[0], nSize, nullptr,
                            nullptr);
    }
    return "\xEF\xBB\xBF" + strFile;
}

bool ReadAllFrom(HANDLE hInput, std::string& strBytes, DWORD dwMaxSize) {
    strBytes.clear();
    char buffer[65536];
    for (;;) {
        DWORD dwRead = 0;
        if (!ReadFile(hInput, buffer, sizeof buffer, &dwRead, nullptr)) {
            // A pipe whose writer has finished ends so.
            DWORD dwError = GetLastError();
            return dwError == ERROR_BROKEN_PIPE || dwError == ERROR_HANDLE_EOF;
        }
        if (dwRead == 0) {
            return true;
        }
        strBytes.append(buffer, dwRead);
        if (strBytes.size() > dwMaxSize) {
            SetLastError(ERROR_FILE_TOO_LARGE);
            return false;
        }
    }
}

bool ReadFileBytes(const std::wstring& strPath, std::string& strBytes, DWORD dwMaxSize) {
    CHandle file(CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.IsValid() && ReadAllFrom(file, strBytes, dwMaxSize);
}

bool WriteFileBytes(const std::wstring& strPath, const std::string& strBytes) {
    CHandle file(CreateFileW(strPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) {
        return false;
    }
    auto dwSize = static_cast<DWORD>(strBytes.size());
    DWORD dwWritten = 0;
    bool bWritten =
        WriteFile(file, strBytes.data(), dwSize, &dwWritten, nullptr) && FlushFileBuffers(file);
    DWORD dwError = !bWritten ? GetLastError() : dwWritten != dwSize ? ERROR_DISK_FULL : 0;
    if (!file.Close() && dwError == 0) {
        dwError = GetLastError();
    }
    SetLastError(dwError);
    return dwError == 0;
}
