#include "FolderLevel.h"

#include "ShellIcons.h"

#include "CFileFind.h"

#include <algorithm>
#include <numeric>
#include <string>
#include <unordered_set>

namespace {

constexpr int kTextSize = MAX_PATH;

// The order in which the tree control itself sorts its items (TVI_SORT): the linguistic
// comparison of the thread's locale, taken once per name as a sort key instead of once per pair.
std::string SortKey(LPCSTR pszName) {
    WCHAR szWide[kTextSize];
    if (!MultiByteToWideChar(CP_ACP, 0, pszName, -1, szWide, kTextSize)) {
        szWide[0] = L'\0';
    }
    // A key takes a few bytes per character; this holds one for any name that fits the tree.
    BYTE key[kTextSize * 8];
    int nSize = LCMapStringW(GetThreadLocale(), LCMAP_SORTKEY, szWide, -1,
                             reinterpret_cast<LPWSTR>(key), sizeof(key));
    return std::string(reinterpret_cast<const char*>(key), static_cast<size_t>(nSize));
}

// A name as the file system compares names: case ignored.
std::string UpperName(const CString& strName) {
    std::string strUpper(strName);
    CharUpperBuffA(&strUpper[0], static_cast<DWORD>(strUpper.size()));
    return strUpper;
}

// Files of these kinds are parts of programs and the system, not targets; the test is on the
// start of the extension, so .info, .data and .axd go too, and it applies to folders alike.
bool HiddenByExtension(const CString& strName) {
    CString strExtension = LowerExtension(strName);
    for (LPCSTR pszHidden : {".dll", ".ocx", ".nls", ".ini", ".sys", ".inf", ".dat"}) {
        if (strncmp(strExtension, pszHidden, 4) == 0) {
            return true;
        }
    }
    return strncmp(strExtension, ".ax", 3) == 0;
}

// A folder whose search finds nothing cannot be listed (even an empty one holds . and ..).
bool CanBeListed(const CString& strFolder) {
    CFileFind probe;
    return probe.FindFile(strFolder + "\\*.*") != FALSE;
}

// The attributes that decide an entry's picture, as its folder's search found them.
DWORD PictureAttributes(const CFileFind& finder) {
    static constexpr DWORD kDeciding[] = {FILE_ATTRIBUTE_DIRECTORY, FILE_ATTRIBUTE_READONLY,
                                          FILE_ATTRIBUTE_SYSTEM};
    DWORD nAttributes = 0;
    for (DWORD nAttribute : kDeciding) {
        nAttributes |= finder.MatchesMask(nAttribute) ? nAttribute : 0;
    }
    return nAttributes;
}

bool Shown(const LevelEntry& entry, const CString& strFolder, LevelRule rule) {
    switch (rule) {
    case LevelRule::kFavorites:
        return entry.IsFolder() || LowerExtension(entry.strName) == ".url";
    case LevelRule::kTargets:
        // The probe costs a search, so it comes last.
        return !HiddenByExtension(entry.strName) &&
               (!entry.IsFolder() || CanBeListed(strFolder + "\\" + entry.strName));
    default:
        return true;
    }
}

} // namespace

std::vector<LevelEntry> ReadFolderLevel(const std::vector<LevelSource>& sources, LevelRule rule) {
    std::vector<LevelEntry> found;
    std::vector<std::string> keys;
    std::unordered_set<std::string> names; // upper case, for kTargets
    for (const LevelSource& source : sources) {
        if (source.strFolder.IsEmpty()) {
            continue;
        }
        CFileFind finder;
        BOOL bMore = finder.FindFile(source.strFolder + "\\*.*");
        while (bMore) {
            bMore = finder.FindNextFile();
            if (finder.IsDots()) {
                continue;
            }
            LevelEntry entry = {finder.GetFileName(), PictureAttributes(finder), source.nTag};
            if (!Shown(entry, source.strFolder, rule) ||
                (rule == LevelRule::kTargets && !names.insert(UpperName(entry.strName)).second)) {
                continue;
            }
            keys.push_back(SortKey(entry.strName));
            found.push_back(entry);
        }
    }
    // Sorted by position, so that entries are copied once.
    std::vector<size_t> order(found.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](size_t a, size_t b) { return keys[a] < keys[b]; });
    std::vector<LevelEntry> entries;
    entries.reserve(found.size());
    for (size_t nFound : order) {
        entries.push_back(found[nFound]);
    }
    return entries;
}
