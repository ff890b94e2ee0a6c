#include "KeyHistory.h"

#include "KeyFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

constexpr char HISTORY_FOLDER[] = "Undo";
constexpr int KEPT_STATES = 10;
constexpr DWORD MAX_STATE_SIZE = 16 * 1024 * 1024;

// The entries are numbered in the order of the changes: 00000001.ini, 00000002.ini and so on.
bool EntryPath(CKeyStore& store, unsigned nNumber, LPSTR pszPath) {
    char szName[32];
    std::snprintf(szName, sizeof szName, "%s\\%08u.ini", HISTORY_FOLDER, nNumber);
    return store.PathInFolder(szName, pszPath);
}

// The numbers of the entries there are, oldest first.
std::vector<unsigned> EntryNumbers(CKeyStore& store) {
    std::vector<unsigned> numbers;
    for (const std::string& strName : store.KeyFilesIn(HISTORY_FOLDER)) {
        char* pEnd = nullptr;
        unsigned long nNumber = std::strtoul(strName.c_str(), &pEnd, 10);
        if (strName.size() == 8 && *pEnd == '\0') {
            numbers.push_back(static_cast<unsigned>(nNumber));
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

} // namespace

bool KeepState(CKeyStore& store, const CKeyTable& before, std::string& strKept) {
    std::vector<unsigned> numbers = EntryNumbers(store);
    unsigned nNext = numbers.empty() ? 1 : numbers.back() + 1;
    char szEntry[MAX_PATH];
    if (!EntryPath(store, nNext, szEntry)) {
        return Failed(ERROR_FILENAME_EXCED_RANGE);
    }
    if (!store.ReplaceFileIn(HISTORY_FOLDER, "state.new", szEntry, FormatKeyFile(before))) {
        return false;
    }
    strKept = szEntry;
    // The oldest go once ten newer ones are kept.
    numbers.push_back(nNext);
    for (size_t i = 0; i + KEPT_STATES < numbers.size(); ++i) {
        char szOld[MAX_PATH];
        if (EntryPath(store, numbers[i], szOld)) {
            DeleteFileA(szOld);
        }
    }
    return true;
}

bool LatestState(CKeyStore& store, CKeyTable& table, std::string& strKept) {
    std::vector<unsigned> numbers = EntryNumbers(store);
    char szEntry[MAX_PATH];
    if (numbers.empty() || !EntryPath(store, numbers.back(), szEntry)) {
        return Failed(ERROR_NO_MORE_ITEMS);
    }
    std::string strText;
    FileRead read = ReadTextFile(szEntry, strText, MAX_STATE_SIZE, store.HoldWait());
    if (read == FileRead::Failed) {
        return false;
    }
    if (read != FileRead::Ok || !ParseKeyFile(strText, table)) {
        DeleteFileA(szEntry);
        return Failed(ERROR_INVALID_DATA);
    }
    strKept = szEntry;
    return true;
}
