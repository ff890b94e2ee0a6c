#include "KeyFile.h"

namespace {

constexpr char FILE_HEADER[] = "KeyStore";
constexpr char FILE_FORMAT[] = "Corvane key store";
constexpr int FILE_VERSION = 1;
constexpr char KEY_SECTION_PREFIX[] = "Key";

bool SameName(const std::string& strName, const char* pszName) {
    return lstrcmpiA(strName.c_str(), pszName) == 0;
}

bool IsHeaderRight(const CIniSection& header) {
    const std::string* pFormat = header.Find("Format");
    const std::string* pVersion = header.Find("Version");
    int nVersion = 0;
    return pFormat && *pFormat == FILE_FORMAT && pVersion && ParseIniInt(*pVersion, nVersion) &&
           nVersion == FILE_VERSION;
}

// The key index of a section name, or -1.
int KeyIndexOfSection(const std::string& strName) {
    for (int i = 0; i < KEY_COUNT; ++i) {
        if (SameName(strName, KeySectionName(KEY_SECTION_PREFIX, i).c_str())) {
            return i;
        }
    }
    return -1;
}

// 0, or the first line of the section that is wrong.
int CheckEntries(const CIniSection& section, CKeyState* pState) {
    for (auto it = section.m_entries.begin(); it != section.m_entries.end(); ++it) {
        for (auto earlier = section.m_entries.begin(); earlier != it; ++earlier) {
            if (SameName(earlier->strName, it->strName.c_str())) {
                return it->nLine;
            }
        }
        if (!pState) {
            if (!SameName(it->strName, "Format") && !SameName(it->strName, "Version")) {
                return it->nLine;
            }
        } else if (ReadKeyValue(*it, *pState) != KeyValueRead::Ok ||
                   (pState->m_bOption != 0 && pState->m_bOption != 1) ||
                   !IsOptionNumber(pState->m_nOptionNumber)) {
            return it->nLine;
        }
    }
    return 0;
}

} // namespace

std::string FormatKeyFile(const CKeyTable& table) {
    CIniBuilder builder;
    builder.Comment("Corvane key store: what each programmable key launches, and its option.");
    builder.Comment("Values are written as they are, except '%', control characters (such as line");
    builder.Comment("breaks) and blanks at either end, which are written as %XX (two hex digits):");
    builder.Comment("%25 for '%', %0D%0A for a line break, %20 for a leading or trailing blank.");
    builder.Section(FILE_HEADER);
    builder.Value("Format", CString(FILE_FORMAT));
    builder.Value("Version", FILE_VERSION);
    for (int i = 0; i < KEY_COUNT; ++i) {
        WriteKeySection(builder, KeySectionName(KEY_SECTION_PREFIX, i), table[i]);
    }
    return builder.Text();
}

bool ParseKeyFile(const std::string& strText, CKeyTable& table) {
    CIniText ini;
    if (!ini.Parse(strText)) {
        return false;
    }
    const CIniSection* pHeader = ini.FindSection(FILE_HEADER);
    if (!pHeader || !IsHeaderRight(*pHeader)) {
        return false;
    }
    for (int i = 0; i < KEY_COUNT; ++i) {
        const CIniSection* pKey = ini.FindSection(KeySectionName(KEY_SECTION_PREFIX, i).c_str());
        if (pKey && !ReadKeySection(*pKey, table[i])) {
            return false;
        }
    }
    return true;
}

int CheckKeyFile(const std::string& strText, CKeyTable& table) {
    table = CKeyTable();
    CIniText ini;
    int nBadLine = 0;
    if (!ini.Parse(strText, &nBadLine)) {
        return nBadLine;
    }
    bool bHeader = false;
    bool bSeen[KEY_COUNT] = {};
    for (const CIniSection& section : ini.Sections()) {
        int nIndex = KeyIndexOfSection(section.m_strName);
        bool bIsHeader = SameName(section.m_strName, FILE_HEADER);
        bool& bTwice = bIsHeader ? bHeader : bSeen[nIndex < 0 ? 0 : nIndex];
        if ((!bIsHeader && nIndex < 0) || bTwice || (bIsHeader && !IsHeaderRight(section))) {
            return section.m_nLine;
        }
        bTwice = true;
        if (int nLine = CheckEntries(section, bIsHeader ? nullptr : &table[nIndex])) {
            return nLine;
        }
    }
    return bHeader ? 0 : -1;
}

bool SameKeys(const CKeyTable& first, const CKeyTable& second) {
    return FormatKeyFile(first) == FormatKeyFile(second);
}
