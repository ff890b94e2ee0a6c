// The suite's program folder (the folder of this library) and the reading of its text files.
#pragma once

#include "FileText.h"

#include <windows.h>

#include <string>

// The path of a kind of ZuComPathKind into pszBuffer (MAX_PATH bytes); false for other kinds.
bool GetSuitePath(int nKind, LPSTR pszBuffer);
// Appends a name to a path with one backslash between; false when it does not fit MAX_PATH.
bool AppendPath(LPSTR pszBuffer, LPCSTR pszName);

// Fills pszPath (MAX_PATH bytes) with <program folder>\<pszName>, or the folder alone when
// pszName is null; false when the folder is unknown or the path does not fit.
bool GetProgramPath(LPCSTR pszName, LPSTR pszPath);

// Waits out another program's short hold on a file (a file-sync client, a virus scan, an editor
// saving): a call that fails with a sharing or lock violation is tried again, with pauses that
// grow, until the time given for all the calls made with this object has run out.
class CHoldWait {
public:
    explicit CHoldWait(DWORD dwTimeoutMs = 2000);
    // After a failed call: true, once a pause has passed, when the call should be tried again.
    // dwError is the call's error; ERROR_ACCESS_DENIED counts as a hold only where bDenialIsHold
    // (replacing a file that another program has open is refused so).
    bool Again(DWORD dwError, bool bDenialIsHold = false);

private:
    ULONGLONG m_nDeadline;
    DWORD m_dwPauseMs = 10;
};

// Runs a file call until it succeeds, or fails for another reason than a hold, or the wait runs
// out; false keeps the call's error.
template <class Call> bool WhileHeld(CHoldWait& wait, Call call) {
    while (!call()) {
        if (!wait.Again(GetLastError(), true)) {
            return false;
        }
    }
    return true;
}

// A failure whose reason must survive the clean-up after it.
inline bool Failed(DWORD dwError) {
    SetLastError(dwError);
    return false;
}

// Writes the file whole, flushed to the disk; false with the system's reason as the thread's
// last error.
bool WriteWholeFile(LPCSTR pszPath, const std::string& strText);
// Replaces pszPath by a file with the text, written first as pszTemp, in one step: a crash at any
// moment leaves either the old file or the new one. False leaves the old file as it was.
bool ReplaceWholeFile(LPCSTR pszPath, LPCSTR pszTemp, const std::string& strText, CHoldWait& wait);

enum class FileRead { Ok, Missing, TooLarge, Failed };

// Reads a whole text file as the code page's narrow text. Missing: neither the file nor its
// folder exists; Failed: it exists but cannot be read (in use, access denied), which must not be
// mistaken for missing; the system's error is then the thread's last error. The text is
// converted as CodePageText converts it.
FileRead ReadTextFile(LPCSTR pszPath, std::string& strText, DWORD dwMaxSize, CHoldWait& wait);
