#include "IniText.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsBlank(char ch) {
    return ch == ' ' || ch == '\t';
}

std::string Trimmed(const std::string& str) {
    size_t nFirst = 0;
    size_t nEnd = str.size();
    while (nFirst < nEnd && IsBlank(str[nFirst])) {
        ++nFirst;
    }
    while (nEnd > nFirst && IsBlank(str[nEnd - 1])) {
        --nEnd;
    }
    return str.substr(nFirst, nEnd - nFirst);
}

bool SameName(const std::string& strName, const char* pszName) {
    return lstrcmpiA(strName.c_str(), pszName) == 0;
}

// Raw control characters never come from our own writer; a line holding one was not written by
// it, and might hide a value's end.
bool HasControlChar(const std::string& strLine) {
    for (char ch : strLine) {
        if (static_cast<unsigned char>(ch) < 0x20 && ch != '\t') {
            return true;
        }
    }
    return false;
}

int HexDigit(char ch) {
    if (ch >= '0' && ch <= '9') {
        return ch - '0';
    }
    if (ch >= 'A' && ch <= 'F') {
        return ch - 'A' + 10;
    }
    if (ch >= 'a' && ch <= 'f') {
        return ch - 'a' + 10;
    }
    return -1;
}

} // namespace

const std::string* CIniSection::Find(const char* pszName) const {
    const std::string* pValue = nullptr;
    for (const CIniEntry& entry : m_entries) {
        if (SameName(entry.strName, pszName)) {
            pValue = &entry.strValue;
        }
    }
    return pValue;
}

bool CIniText::Parse(const std::string& strText, int* pnBadLine) {
    size_t nPos = 0;
    int nLine = 0;
    int nBadLine = 0;
    CIniSection* pSection = nullptr;
    while (nPos < strText.size()) {
        ++nLine;
        size_t nEnd = strText.find('\n', nPos);
        if (nEnd == std::string::npos) {
            nEnd = strText.size();
        }
        std::string strLine = strText.substr(nPos, nEnd - nPos);
        nPos = nEnd + 1;
        if (!strLine.empty() && strLine.back() == '\r') {
            strLine.pop_back();
        }
        strLine = Trimmed(strLine);
        if (strLine.empty() || strLine[0] == ';' || strLine[0] == '#') {
            continue;
        }
        size_t nEquals = strLine.find('=');
        if (HasControlChar(strLine)) {
            nBadLine = nBadLine ? nBadLine : nLine;
        } else if (strLine[0] == '[' && strLine.back() == ']') {
            m_sections.push_back({Trimmed(strLine.substr(1, strLine.size() - 2)), nLine, {}});
            pSection = &m_sections.back();
        } else if (pSection && nEquals != std::string::npos && nEquals > 0) {
            pSection->m_entries.push_back(
                {Trimmed(strLine.substr(0, nEquals)), Trimmed(strLine.substr(nEquals + 1)), nLine});
        } else {
            nBadLine = nBadLine ? nBadLine : nLine;
        }
    }
    if (pnBadLine) {
        *pnBadLine = nBadLine;
    }
    return nBadLine == 0;
}

const CIniSection* CIniText::FindSection(const char* pszName) const {
    for (const CIniSection& section : m_sections) {
        if (SameName(section.m_strName, pszName)) {
            return &section;
        }
    }
    return nullptr;
}

void CIniBuilder::Comment(const char* pszText) {
    m_strText += "; ";
    m_strText += pszText;
    m_strText += "\r\n";
}

void CIniBuilder::Section(const char* pszName) {
    if (!m_strText.empty()) {
        m_strText += "\r\n";
    }
    m_strText += '[';
    m_strText += pszName;
    m_strText += "]\r\n";
}

void CIniBuilder::Value(const char* pszName, const CString& strValue) {
    m_strText += pszName;
    m_strText += '=';
    int nLength = strValue.GetLength();
    for (int i = 0; i < nLength; ++i) {
        auto ch = static_cast<unsigned char>(strValue[i]);
        bool bAtEnd = i == 0 || i == nLength - 1;
        if (ch < 0x20 || ch == 0x7F || ch == '%' || (bAtEnd && ch == ' ')) {
            char szEscape[4];
            std::snprintf(szEscape, sizeof szEscape, "%%%02X", ch);
            m_strText += szEscape;
        } else {
            m_strText += static_cast<char>(ch);
        }
    }
    m_strText += "\r\n";
}

void CIniBuilder::Value(const char* pszName, int nValue) {
    char szNumber[16];
    std::snprintf(szNumber, sizeof szNumber, "%d", nValue);
    Value(pszName, CString(szNumber));
}

bool UnescapeIniValue(const std::string& strRaw, CString& strValue) {
    std::string strPlain;
    strPlain.reserve(strRaw.size());
    for (size_t i = 0; i < strRaw.size(); ++i) {
        if (strRaw[i] != '%') {
            strPlain += strRaw[i];
            continue;
        }
        int nHigh = i + 2 < strRaw.size() ? HexDigit(strRaw[i + 1]) : -1;
        int nLow = nHigh >= 0 ? HexDigit(strRaw[i + 2]) : -1;
        if (nLow < 0) {
            return false;
        }
        strPlain += static_cast<char>(nHigh * 16 + nLow);
        i += 2;
    }
    strValue = CString(strPlain.data(), static_cast<int>(strPlain.size()));
    return true;
}

bool ParseIniInt(const std::string& strRaw, int& nValue) {
    if (strRaw.empty()) {
        return false;
    }
    errno = 0;
    char* pEnd = nullptr;
    long long nParsed = std::strtoll(strRaw.c_str(), &pEnd, 10);
    if (errno != 0 || *pEnd != '\0' || IsBlank(strRaw[0]) || nParsed < INT_MIN ||
        nParsed > INT_MAX) {
        return false;
    }
    nValue = static_cast<int>(nParsed);
    return true;
}
