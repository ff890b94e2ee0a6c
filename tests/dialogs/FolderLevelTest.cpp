// One level of the target tree read from real folders, without a window: what each rule shows of
// one or more roots, and in which order.
#include "../common/ScratchFolder.h"

#include "../../browser/FolderLevel.h"

#include <gtest/gtest.h>

#include <sstream>
#include <tuple>

namespace {

// Makes the entries of each root (;-separated; ? is a root the shell could not name, and a root
// without entries is not made) in folders a, b ... of a scratch folder and reads their level, each
// entry as "tag:name|" (a is 1). Entries are |-separated; a folder's name ends in \, and *\ is a
// folder too deep for a search pattern.
std::string ReadLevel(LevelRule rule, const std::string& strRoots) {
    CScratchFolder scratch;
    const std::string strDeep(MAX_PATH - 3 - (scratch / "a\\").size(), 'z');
    std::vector<LevelSource> sources;
    std::istringstream roots(strRoots);
    for (std::string strEntries; std::getline(roots, strEntries, ';');) {
        const std::string strRoot(1, static_cast<char>('a' + sources.size()));
        const LPARAM nTag = static_cast<LPARAM>(sources.size() + 1);
        sources.push_back({strEntries == "?" ? "" : (scratch / strRoot).c_str(), nTag});
        std::istringstream entries(strEntries == "?" ? "" : strEntries);
        for (std::string strEntry; std::getline(entries, strEntry, '|');) {
            strEntry = strRoot + "\\" + (strEntry == "*\\" ? strDeep + "\\" : strEntry);
            strEntry.back() == '\\' ? scratch.MakeFolder(strEntry)
                                    : scratch.WriteFile(strEntry, "");
        }
    }
    std::string strRead;
    for (const LevelEntry& entry : ReadFolderLevel(sources, rule)) {
        std::string strName(entry.strName);
        strRead += std::to_string(entry.nTag) + ":" + (strName == strDeep ? "*" : strName) +
                   (entry.IsFolder() ? "\\|" : "|");
    }
    return strRead;
}

TEST(FolderLevel, EachRuleShowsItsEntriesInTheControlsOwnOrder) {
    const std::tuple<const char*, LevelRule, const char*, const char*> cases[] = {
        {"first root wins, any case; no root, no entries", LevelRule::kTargets,
         "?;Tools\\|notes;;TOOLS\\|NOTES\\|b.txt", "4:b.txt|2:notes|2:Tools\\|"},
        {"hidden by the extension's start, folders too, or unlistable", LevelRule::kTargets,
         "setup.INF|notes.info|filter.ax|codec.axd|x.dll|a.ocx|b.nls|c.ini|d.sys|.dat|cache.dat\\|"
         "lib.a|tool.dl|readme|v1.2\\|x.dll.txt|Notepad.lnk|empty\\|*\\",
         "1:empty\\|1:lib.a|1:Notepad.lnk|1:readme|1:tool.dl|1:v1.2\\|1:x.dll.txt|"},
        {"favourites: folders and Internet shortcuts", LevelRule::kFavorites,
         "News.url|MORE.URL|doc.lnk|page.urlx|url|Sites\\|*\\",
         "1:MORE.URL|1:News.url|1:Sites\\|1:*\\|"},
        {"one folder: everything, as TVI_SORT orders it", LevelRule::kEverything,
         "b.txt|B2.TXT|a b.txt|a-b.txt|_x.txt|\351clair.txt|x.dll|*\\;"
         "eclair.txt|10.txt|9.txt|Zeta\\|zeta.doc|cache.dat\\",
         "1:_x.txt|2:10.txt|2:9.txt|1:a b.txt|1:a-b.txt|1:b.txt|1:B2.TXT|2:cache.dat\\|"
         "2:eclair.txt|1:\351clair.txt|1:x.dll|2:Zeta\\|2:zeta.doc|1:*\\|"},
        {"names that sort alike keep the order of their roots", LevelRule::kEverything,
         "x;x;x;x;x;x;x;x;x;x;x;x;x;x;x;x;x",
         "1:x|2:x|3:x|4:x|5:x|6:x|7:x|8:x|9:x|10:x|11:x|12:x|13:x|14:x|15:x|16:x|17:x|"},
    };
    for (const auto& [pszWhat, rule, pszRoots, pszRead] : cases) {
        EXPECT_EQ(pszRead, ReadLevel(rule, pszRoots)) << pszWhat;
    }
}

// A name the code page cannot hold is listed by the short name of that very entry, not as the
// look-alike "aAb.txt".
TEST(FolderLevel, ANameBeyondTheCodePageIsListedByItsShortName) {
    CScratchFolder scratch;
    ASSERT_TRUE(scratch.MakeWideEntry(L"a\u0100b.txt"));
    const std::vector<LevelEntry> entries =
        ReadFolderLevel({{scratch.Path().c_str(), 1}}, LevelRule::kEverything);
    ASSERT_EQ(1u, entries.size());
    const std::string strListed(entries[0].strName);
    EXPECT_EQ(ShortPath(scratch.WidePath(L"a\u0100b.txt")),
              ShortPath(scratch.WidePath(std::wstring(strListed.begin(), strListed.end()))));
}

} // namespace
