// The last key table a process read, kept while the store cannot have changed since.
//
// Every change the library makes to the store file advances a generation counter that all the
// processes of the session share; a change made without the library (an edit by hand, a copy
// put back) shows in the file's time or size. So a read that finds both as they were needs
// neither the store's lock nor the file: the key panel reads every key at every paint.
#pragma once

#include "KeyState.h"

// Fills table with the table last read from pszStore when the store is still as it was then;
// false when the store must be read.
bool LookupKeyTable(const char* pszStore, CKeyTable& table);

// Keeps a table just read from pszStore. Called under the store's lock.
void RememberKeyTable(const char* pszStore, const CKeyTable& table);

// Called under the store's lock after the library has replaced or set aside the store file.
void AdvanceStoreGeneration();
