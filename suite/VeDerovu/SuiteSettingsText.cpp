#include "SuiteSettingsText.h"

int KeyCountIn(const CIniText& ini) {
    const CIniSection* pSuite = ini.FindSection(SUITE_SECTION);
    const std::string* pCount = pSuite ? pSuite->Find(KEY_COUNT_NAME) : nullptr;
    int nCount = KEY_COUNT;
    if (pCount && ParseIniInt(*pCount, nCount)) {
        nCount = nCount < 1 ? 1 : nCount > KEY_COUNT ? KEY_COUNT : nCount;
    }
    return nCount;
}

CKeyTable DefaultKeysIn(const CIniText& ini) {
    CKeyTable table;
    for (int i = 0; i < KEY_COUNT; ++i) {
        const CIniSection* pKey = ini.FindSection(KeySectionName(DEFAULT_KEY_PREFIX, i).c_str());
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
