// The key data behind the library's key calls: each runs as one locked operation on the user's
// key store, and a change is announced to a key panel open in another process.
#pragma once

#include "VeDerovu.h"

// Fills the record with the key's assignment (event number: key number plus 512); true when the
// key has one.
bool ReadKeyRecord(KeyAssignment* pRecord, int nEvent);
// Stores the record as the key's assignment; a record without assignment clears the key.
bool StoreKeyRecord(const KeyAssignment* pRecord, int nEvent);
// Mode 0 writes the suite's defaults when there is no store yet; mode 1 always does.
bool InitKeyData(int nMode);
// Once for each damaged store set aside: the path of its copy (MAX_PATH bytes).
bool TakeSetAsideNotice(LPSTR pszAside);
bool ReadKeyOption(int nKeyIndex, int* pbFlag, int* pnNumber);
bool StoreKeyOption(int nKeyIndex, int bFlag, int nNumber);

// The calls of the console program and the service's tray menu (VeDerovu.h).
bool StoreKeyAssignment(const KeyAssignment* pRecord, int nEvent, int bFlag, int nNumber);
bool ExportKeys(CString* pText);
bool ImportKeys(const char* pBytes, int nSize, int* pnLine);
bool UndoKeyChange();
bool SaveNamedKeySet(LPCSTR pszName);
bool UseNamedKeySet(LPCSTR pszName, int* pnLine);
bool DeleteNamedKeySet(LPCSTR pszName);
bool ListNamedKeySets(CString* pNames, CString* pCurrent);
