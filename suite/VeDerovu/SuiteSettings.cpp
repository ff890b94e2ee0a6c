#include "SuiteSettings.h"

#include "SuiteFiles.h"

namespace {

constexpr DWORD MAX_SETTINGS_SIZE = 1024 * 1024;

// The file is edited by hand, so what cannot be read is passed over and the rest still counts:
// a stray line must not cost the machine its keys.
CIniText ReadSuiteSettings() {
    CIniText ini;
    char szPath[MAX_PATH];
    std::string strText;
    CHoldWait wait;
    if (GetProgramPath("Corvane.ini", szPath) &&
        ReadTextFile(szPath, strText, MAX_SETTINGS_SIZE, wait) == FileRead::Ok) {
        ini.Parse(strText);
    }
    return ini;
}

} // namespace

int ReadKeyCount() {
    CIniText ini = ReadSuiteSettings();
    const CIniSection* pSuite = ini.FindSection("Suite");
    const std::string* pCount = pSuite ? pSuite->Find("KeyCount") : nullptr;
    int nCount = KEY_COUNT;
    if (pCount && ParseIniInt(*pCount, nCount)) {
        nCount = nCount < 1 ? 1 : nCount > KEY_COUNT ? KEY_COUNT : nCount;
    }
    return nCount;
}

CKeyTable ReadDefaultKeys() {
    CIniText ini = ReadSuiteSettings();
    CKeyTable table;
    for (int i = 0; i < KEY_COUNT; ++i) {
        const CIniSection* pKey = ini.FindSection(KeySectionName("DefaultKey", i).c_str());
        if (!pKey) {
            continue;
        }
        ReadKeySection(*pKey, table[i]);
        // The defaults go through the same door as the user's own choices.
        if (!IsOptionNumber(table[i].m_nOptionNumber)) {
            table[i].m_nOptionNumber = DEFAULT_OPTION_NUMBER;
        }
    }
    return table;
}
