#include "SuiteSettingsEdit.h"

#include "../VeDerovu/SuiteSettingsText.h"

#include <vector>

namespace {

bool SameName(const std::string& strName, const char* pszName) {
    return lstrcmpiA(strName.c_str(), pszName) == 0;
}

bool IsDefaultKeySection(const std::string& strName) {
    for (int i = 0; i < KEY_COUNT; ++i) {
        if (SameName(strName, KeySectionName(DEFAULT_KEY_PREFIX, i).c_str())) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> SplitLines(const std::string& strText) {
    std::vector<std::string> lines;
    size_t nPos = 0;
    while (nPos < strText.size()) {
        size_t nEnd = strText.find('\n', nPos);
        if (nEnd == std::string::npos) {
            nEnd = strText.size();
        }
        std::string strLine = strText.substr(nPos, nEnd - nPos);
        if (!strLine.empty() && strLine.back() == '\r') {
            strLine.pop_back();
        }
        lines.push_back(strLine);
        nPos = nEnd + 1;
    }
    return lines;
}

} // namespace

int AskedKeyCount(const std::wstring& strValue) {
    if (strValue.empty()) {
        return 0;
    }
    if (strValue.size() != 1 || strValue[0] < L'1' || strValue[0] > L'6') {
        return -1;
    }
    return strValue[0] - L'0';
}

std::string EditSuiteSettings(const std::string& strText, int nKeyCount,
                              const CKeyTable* pDefaults) {
    // The reader's own idea of sections and values decides what is replaced, so that the edit
    // meets exactly the lines the suite reads, however the file was written by hand.
    CIniText ini;
    ini.Parse(strText);
    std::vector<std::string> lines = SplitLines(strText);
    std::vector<bool> dropped(lines.size(), false);
    std::string strKeyCount = std::string(KEY_COUNT_NAME) + '=' + std::to_string(nKeyCount);
    int nSuiteLine = 0;
    bool bCountWritten = false;
    const std::vector<CIniSection>& sections = ini.Sections();
    for (size_t i = 0; i < sections.size(); ++i) {
        const CIniSection& section = sections[i];
        size_t nEnd = i + 1 < sections.size() ? sections[i + 1].m_nLine - 1 : lines.size();
        if (pDefaults && IsDefaultKeySection(section.m_strName)) {
            for (size_t nLine = section.m_nLine; nLine <= nEnd; ++nLine) {
                dropped[nLine - 1] = true;
            }
        } else if (nKeyCount != 0 && SameName(section.m_strName, SUITE_SECTION)) {
            nSuiteLine = nSuiteLine ? nSuiteLine : section.m_nLine;
            for (const CIniEntry& entry : section.m_entries) {
                if (SameName(entry.strName, KEY_COUNT_NAME)) {
                    lines[entry.nLine - 1] = strKeyCount;
                    bCountWritten = true;
                }
            }
        }
    }
    std::string strEdited;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!dropped[i]) {
            strEdited += lines[i] + "\r\n";
        }
        if (nKeyCount != 0 && !bCountWritten && static_cast<int>(i) + 1 == nSuiteLine) {
            strEdited += strKeyCount + "\r\n";
        }
    }
    CIniBuilder added;
    if (nKeyCount != 0 && nSuiteLine == 0) {
        added.Section(SUITE_SECTION);
        added.Value(KEY_COUNT_NAME, nKeyCount);
    }
    for (int i = 0; pDefaults && i < KEY_COUNT; ++i) {
        WriteKeySection(added, KeySectionName(DEFAULT_KEY_PREFIX, i), (*pDefaults)[i]);
    }
    // One blank line between what was there and what is added, as between any two sections.
    bool bBlankAtEnd =
        strEdited.empty() ||
        (strEdited.size() >= 4 && strEdited.compare(strEdited.size() - 4, 4, "\r\n\r\n") == 0);
    if (!added.Text().empty() && !bBlankAtEnd) {
        strEdited += "\r\n";
    }
    return strEdited + added.Text();
}
