// What `CvnKeys list` shows of the keys: a table for people, JSON for scripts.
#pragma once

#include <string>
#include <vector>

struct CKeyLine {
    std::wstring strKey; // "S1"
    bool bAssigned = false;
    std::wstring strTitle;
    std::wstring strComment;
    std::wstring strTarget;
    std::wstring strFolder;
    std::wstring strParameters;
    bool bHold = false;
    int nHoldTenths = 0;
    int nHealth = 0; // a ZuComTargetHealth; unassigned keys have none
};

// One row per key under a heading; each column as wide as its widest entry, in console columns. A
// control character (a line break in a title, say) shows as a blank, so that every key stays on one
// line.
std::wstring KeyTable(const std::vector<CKeyLine>& keys);
// {"keys": [{"key": "S1", "assigned": true, "title": ..., "health": "ok"}, ...]}
std::wstring KeyJson(const std::vector<CKeyLine>& keys);
