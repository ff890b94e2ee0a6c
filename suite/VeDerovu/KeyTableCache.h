// The last key table a process read, kept while the store cannot have changed since.
//
// A read that finds the store's generation and file as they were (StoreState.h) needs neither
// the store's lock nor the file: the key panel reads every key at every paint.
#pragma once

#include "KeyState.h"

// Fills table with the table last read from pszStore when the store is still as it was then;
// false when the store must be read.
bool LookupKeyTable(const char* pszStore, CKeyTable& table);

// Fills table with the table last read from pszStore, whatever has become of the store since, and
// lets LookupKeyTable serve it for a few seconds: a store held by another program then costs one
// wait, not one at every read. False when the process has read none.
bool LastKeyTable(const char* pszStore, CKeyTable& table);

// Keeps a table just read from pszStore. Called under the store's lock.
void RememberKeyTable(const char* pszStore, const CKeyTable& table);

// Called under the store's lock after the library has replaced or set aside the store file.
void AdvanceStoreGeneration();
