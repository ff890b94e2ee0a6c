#include "HotKeys.h"

#include <cctype>
#include <cstdlib>

namespace {

struct CNamedValue {
    const char* pszName;
    UINT nValue;
};

const CNamedValue kModifiers[] = {
    {"ctrl", MOD_CONTROL}, {"control", MOD_CONTROL}, {"alt", MOD_ALT},
    {"shift", MOD_SHIFT},  {"win", MOD_WIN},
};

const CNamedValue kNamedKeys[] = {
    {"space", VK_SPACE}, {"insert", VK_INSERT}, {"delete", VK_DELETE}, {"home", VK_HOME},
    {"end", VK_END},     {"pageup", VK_PRIOR},  {"pagedown", VK_NEXT}, {"left", VK_LEFT},
    {"right", VK_RIGHT}, {"up", VK_UP},         {"down", VK_DOWN},     {"pause", VK_PAUSE},
};

template <size_t N> UINT FindName(const CNamedValue (&table)[N], const std::string& strName) {
    for (const CNamedValue& entry : table) {
        if (strName == entry.pszName) {
            return entry.nValue;
        }
    }
    return 0;
}

// The number after a prefix such as "f" in "f12", within [nFirst, nLast]; -1 when there is none.
int NumberAfter(const std::string& strName, const char* pszPrefix, int nFirst, int nLast) {
    size_t nPrefix = std::char_traits<char>::length(pszPrefix);
    if (strName.compare(0, nPrefix, pszPrefix) != 0 || strName.size() == nPrefix ||
        strName.size() > nPrefix + 2 || (strName[nPrefix] == '0' && strName.size() > nPrefix + 1)) {
        return -1;
    }
    int nNumber = 0;
    for (size_t i = nPrefix; i < strName.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(strName[i]))) {
            return -1;
        }
        nNumber = nNumber * 10 + (strName[i] - '0');
    }
    return nNumber >= nFirst && nNumber <= nLast ? nNumber : -1;
}

UINT KeyOfName(const std::string& strName) {
    if (strName.size() == 1 && std::isalnum(static_cast<unsigned char>(strName[0]))) {
        return static_cast<UINT>(std::toupper(static_cast<unsigned char>(strName[0])));
    }
    int nNumber = NumberAfter(strName, "f", 1, 24);
    if (nNumber > 0) {
        return VK_F1 + nNumber - 1;
    }
    nNumber = NumberAfter(strName, "num", 0, 9);
    return nNumber >= 0 ? VK_NUMPAD0 + nNumber : FindName(kNamedKeys, strName);
}

std::string Trimmed(const std::string& strText) {
    size_t nFirst = strText.find_first_not_of(" \t");
    return nFirst == std::string::npos
               ? std::string()
               : strText.substr(nFirst, strText.find_last_not_of(" \t") - nFirst + 1);
}

std::string ReadSetting(const char* pszFile, const char* pszSection, const std::string& strName,
                        const std::string& strDefault) {
    char szValue[512];
    GetPrivateProfileStringA(pszSection, strName.c_str(), strDefault.c_str(), szValue,
                             sizeof szValue, pszFile);
    return szValue;
}

} // namespace

bool ParseHotKey(const std::string& strText, CHotKey& hotKey) {
    hotKey = CHotKey();
    size_t nStart = 0;
    while (nStart <= strText.size()) {
        size_t nEnd = strText.find('+', nStart);
        if (nEnd == std::string::npos) {
            nEnd = strText.size();
        }
        std::string strName = Trimmed(strText.substr(nStart, nEnd - nStart));
        for (char& ch : strName) {
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        }
        if (UINT fsModifier = FindName(kModifiers, strName)) {
            hotKey.fsModifiers |= fsModifier;
        } else if (hotKey.vk != 0 || (hotKey.vk = KeyOfName(strName)) == 0) {
            return false;
        }
        nStart = nEnd + 1;
    }
    return hotKey.vk != 0;
}

bool IsHotKeyHeld(const CHotKey& hotKey) {
    auto down = [](int vk) { return GetAsyncKeyState(vk) < 0; };
    return down(static_cast<int>(hotKey.vk)) &&
           (!(hotKey.fsModifiers & MOD_CONTROL) || down(VK_CONTROL)) &&
           (!(hotKey.fsModifiers & MOD_ALT) || down(VK_MENU)) &&
           (!(hotKey.fsModifiers & MOD_SHIFT) || down(VK_SHIFT)) &&
           (!(hotKey.fsModifiers & MOD_WIN) || down(VK_LWIN) || down(VK_RWIN));
}

CKeyBindings ReadKeyBindings(const char* pszKeySettings, int nKeyCount) {
    CKeyBindings bindings;
    bindings.nKeyCount = nKeyCount;
    for (int i = 0; i < nKeyCount && i < SERVICE_KEY_COUNT; ++i) {
        std::string strKey = "S" + std::to_string(i + 1);
        CKeyBinding& binding = bindings.keys[i];
        binding.strLegend = ReadSetting(pszKeySettings, "SKeySilk", strKey, strKey);
        binding.strText = Trimmed(
            ReadSetting(pszKeySettings, "SKeyHotKey", strKey, "Ctrl+Alt+" + std::to_string(i + 1)));
        binding.bValid = ParseHotKey(binding.strText, binding.hotKey);
    }
    return bindings;
}
