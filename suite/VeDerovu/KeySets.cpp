#include "KeySets.h"

#include "KeyFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char SETS_FOLDER[] = "KeySets";
constexpr DWORD MAX_SET_SIZE = 16 * 1024 * 1024;

bool IsDeviceName(LPCSTR pszName) {
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL"};
    std::string strStem(pszName, std::strcspn(pszName, "."));
    for (const char* pszDevice : kDevices) {
        if (lstrcmpiA(strStem.c_str(), pszDevice) == 0) {
            return true;
        }
    }
    bool bNumbered = strStem.size() == 4 && strStem[3] >= '1' && strStem[3] <= '9';
    return bNumbered && (lstrcmpiA(strStem.substr(0, 3).c_str(), "COM") == 0 ||
                         lstrcmpiA(strStem.substr(0, 3).c_str(), "LPT") == 0);
}

// The set's file, or false with ERROR_INVALID_NAME.
bool SetPath(CKeyStore& store, LPCSTR pszName, LPSTR pszPath) {
    std::string strName = std::string(SETS_FOLDER) + "\\" + (pszName ? pszName : "") + ".ini";
    return (IsKeySetName(pszName) && store.PathInFolder(strName.c_str(), pszPath)) ||
           Failed(ERROR_INVALID_NAME);
}

} // namespace

bool IsKeySetName(LPCSTR pszName) {
    size_t nLength = pszName ? std::strlen(pszName) : 0;
    if (nLength == 0 || nLength > MAX_KEY_SET_NAME || pszName[0] == ' ' ||
        pszName[nLength - 1] == ' ' || pszName[nLength - 1] == '.' || IsDeviceName(pszName)) {
        return false;
    }
    // By characters, so that the second byte of a double-byte character is not taken for one.
    for (LPCSTR p = pszName; *p; p = CharNextA(p)) {
        auto ch = static_cast<unsigned char>(*p);
        if (ch < 0x20 || ch == 0x7F || std::strchr("\\/:*?\"<>|", ch)) {
            return false;
        }
    }
    return true;
}

bool SaveKeySet(CKeyStore& store, LPCSTR pszName, const CKeyTable& table) {
    char szSet[MAX_PATH];
    return SetPath(store, pszName, szSet) &&
           store.ReplaceFileIn(SETS_FOLDER, "set.new", szSet, FormatKeyFile(table));
}

bool ReadKeySet(CKeyStore& store, LPCSTR pszName, CKeyTable& table, int* pnLine) {
    char szSet[MAX_PATH];
    std::string strText;
    if (!SetPath(store, pszName, szSet)) {
        return false;
    }
    switch (ReadTextFile(szSet, strText, MAX_SET_SIZE, store.HoldWait())) {
    case FileRead::Ok:
        break;
    case FileRead::Missing:
        return Failed(ERROR_FILE_NOT_FOUND);
    case FileRead::TooLarge:
        return Failed(ERROR_FILE_TOO_LARGE);
    case FileRead::Failed:
        return false;
    }
    *pnLine = CheckKeyFile(strText, table);
    return *pnLine == 0 || Failed(ERROR_INVALID_DATA);
}

bool DeleteKeySet(CKeyStore& store, LPCSTR pszName) {
    char szSet[MAX_PATH];
    return SetPath(store, pszName, szSet) &&
           WhileHeld(store.HoldWait(), [&] { return DeleteFileA(szSet) != FALSE; });
}

std::vector<std::string> KeySetNames(CKeyStore& store) {
    std::vector<std::string> names;
    for (const std::string& strName : store.KeyFilesIn(SETS_FOLDER)) {
        if (IsKeySetName(strName.c_str())) {
            names.push_back(strName);
        }
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return lstrcmpiA(a.c_str(), b.c_str()) < 0;
    });
    return names;
}
