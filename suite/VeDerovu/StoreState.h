// What tells one look at the user's key store from the next. Every change the library makes to
// the store advances a generation counter that all the processes of the session share; a change
// made without the library (an edit by hand, a copy put back) shows in the file's time or size.
#pragma once

#include <windows.h>

struct CFileState {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    bool bExists;

    explicit CFileState(const char* pszPath)
        : bExists(GetFileAttributesExA(pszPath, GetFileExInfoStandard, &data) != FALSE) {}

    bool operator==(const CFileState& other) const;
    bool operator!=(const CFileState& other) const { return !(*this == other); }
};

// The counter, in memory shared by name; null when that cannot be had.
volatile LONG* SharedStoreGeneration();
