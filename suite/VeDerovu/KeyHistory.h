// The states of the user's key store before its latest changes, whoever made them, so that a
// change can be undone: the ten latest, each a key file in the folder Undo beside the store.
// Called under the store's lock.
#pragma once

#include "KeyStore.h"

#include <string>

// Keeps the state before a change; strKept is then the entry's path, which the caller deletes
// when the change itself fails. False with the system's reason as the thread's last error.
bool KeepState(CKeyStore& store, const CKeyTable& before, std::string& strKept);

// The state before the latest change still kept, and the path of its entry, which the caller
// deletes once the state is back. False with ERROR_NO_MORE_ITEMS when none is kept; an entry that
// cannot be read is deleted, and the call fails with ERROR_INVALID_DATA.
bool LatestState(CKeyStore& store, CKeyTable& table, std::string& strKept);
