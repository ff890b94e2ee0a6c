// The user's key store, %APPDATA%\Corvane\KeyStore.ini: every key's assignment and option.
//
// An object holds the store's lock, a mutex shared by every process of the user's session, for
// its whole life, so that a read-modify-write of one process never interleaves with another's.
#pragma once

#include "KeyState.h"
#include "SuiteFiles.h"

#include "CHandle.h"

#include <string>
#include <vector>

class CKeyStore {
public:
    CKeyStore();
    ~CKeyStore();
    CKeyStore(const CKeyStore&) = delete;
    CKeyStore& operator=(const CKeyStore&) = delete;

    // The store's folder and file (MAX_PATH bytes each); false when the place is unknown.
    static bool Locate(LPSTR pszFolder, LPSTR pszStore);

    // False when the lock could not be had in time or the store's place is unknown; Load and Save
    // must not be called then.
    bool IsOpen() const { return m_bLocked && m_szStore[0] != '\0'; }
    // Why the store is not open, as a system error.
    DWORD OpenError() const;

    // Reads every key; with no store yet all keys are unassigned and *pbFound is false. A damaged
    // store is set aside under another name, kept, and the keys read as unassigned. False when the
    // store exists but cannot be read, or is damaged and cannot be set aside.
    bool Load(CKeyTable& table, bool* pbFound = nullptr);

    // Replaces the store as a whole: a crash at any moment leaves either the old store or the new
    // one. False leaves the old store as it was.
    bool Save(const CKeyTable& table);

    // Fills pszAside (MAX_PATH bytes) with the path of the copy a damaged store was set aside as,
    // once: true for the one caller that takes the notice.
    bool TakeSetAsideNotice(LPSTR pszAside);

    // Load, Save and TakeSetAsideNotice return false with the system's reason as the thread's
    // last error. Another program's hold on the store is waited out for about two seconds in all
    // (CHoldWait), counted from the moment the lock was had.

    // pszPath (MAX_PATH bytes) is the path of a file of that name in the store's folder; false
    // when it does not fit.
    bool PathInFolder(LPCSTR pszName, LPSTR pszPath) const;
    // The names, without ".ini", of the key files in a folder beside the store (none when it is
    // not there).
    std::vector<std::string> KeyFilesIn(LPCSTR pszFolder) const;
    // Replaces the file pszPath of pszFolder (a folder beside the store, or "" for the store's
    // own) as a whole, written first as pszTempName there; the folder is made when it is not
    // there yet.
    bool ReplaceFileIn(LPCSTR pszFolder, LPCSTR pszTempName, LPCSTR pszPath,
                       const std::string& strText);
    // The wait for another program's hold that the store's calls share.
    CHoldWait& HoldWait() { return m_wait; }

private:
    bool SetAside();
    void LeaveSetAsideNotice(LPCSTR pszAside) const;

    CHandle m_mutex;
    bool m_bLocked = false;
    char m_szFolder[MAX_PATH] = {};
    char m_szStore[MAX_PATH] = {};
    CHoldWait m_wait;
};
