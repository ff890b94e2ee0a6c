// Named key sets ("Work", "Games"): whole key tables the user saves and brings back in one step,
// each a key file in the folder KeySets beside the store. Called under the store's lock.
#pragma once

#include "KeyStore.h"

#include <string>
#include <vector>

constexpr int MAX_KEY_SET_NAME = 64;

// A name that can be a file name as it is, on every file system: 1 to 64 bytes, none of
// \ / : * ? " < > | or a control character, no blank or dot at its end, no blank at its start,
// and no device name such as CON or LPT1.
bool IsKeySetName(LPCSTR pszName);

// False with the system's reason as the thread's last error; ERROR_INVALID_NAME for a name that
// is none, ERROR_FILE_NOT_FOUND for a set that is not there.
bool SaveKeySet(CKeyStore& store, LPCSTR pszName, const CKeyTable& table);
// A set edited by hand and no longer right fails with ERROR_INVALID_DATA and *pnLine as
// CheckKeyFile gives it.
bool ReadKeySet(CKeyStore& store, LPCSTR pszName, CKeyTable& table, int* pnLine);
bool DeleteKeySet(CKeyStore& store, LPCSTR pszName);
// The names of the saved sets, in the order of their names, case aside.
std::vector<std::string> KeySetNames(CKeyStore& store);
