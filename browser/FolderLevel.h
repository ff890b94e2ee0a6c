// One level of the target tree as the disk gives it: the entries of a folder, or of the
// same-named folders under two roots, merged, filtered by the category's rule and put in the order
// in which the tree control sorts its own items. Apart from the tree's window, so that the rules
// can be checked on folders alone.
#pragma once

#include "CString.h"

#include <vector>

// Which of the entries found a category shows.
enum class LevelRule {
    kEverything, // one folder: every entry
    kFavorites,  // folders and Internet shortcuts (.url)
    // Desktops, Start menus and drives: each name once, no parts of programs or of the system
    // (by their extension), no folder that cannot be listed.
    kTargets,
};

// A folder whose entries go into the level.
struct LevelSource {
    CString strFolder; // empty for a root the shell could not name, which adds nothing
    LPARAM nTag;       // which root the entries come from, kept with each of them
};

struct LevelEntry {
    CString strName;
    // As the folder's search found them: a folder's say whether it may have a picture of its own.
    DWORD nAttributes;
    LPARAM nTag;

    bool IsFolder() const { return (nAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
};

// The entries of the sources' folders but . and .., in the tree control's sort order; entries
// that sort alike keep the order of the sources and of their searches, and where kTargets finds a
// name twice (case ignored) the first one found stays.
std::vector<LevelEntry> ReadFolderLevel(const std::vector<LevelSource>& sources, LevelRule rule);
