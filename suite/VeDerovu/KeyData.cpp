// The key data calls: each runs as one locked operation on the user's key store.
#include "KeyStore.h"
#include "KeyTableCache.h"
#include "NoThrow.h"
#include "ServiceClient.h"
#include "SuiteSettings.h"

namespace {

bool IsKeyIndex(int nKeyIndex) {
    return nKeyIndex >= 0 && nKeyIndex < KEY_COUNT;
}

// Key index of an event number, or -1; compared before any arithmetic so that no int overflows.
int KeyIndexOfEvent(int nEvent) {
    return nEvent > ZUCOM_EVENT_BASE && nEvent <= ZUCOM_EVENT_BASE + KEY_COUNT
               ? nEvent - ZUCOM_EVENT_BASE - 1
               : -1;
}

template <class Operation> int WithStore(Operation operation) {
    return CallNoThrow([&] {
        CKeyStore store;
        return store.IsOpen() && operation(store);
    });
}

// A table the process has read before serves while the store is unchanged; only a read that
// finds it changed takes the lock and goes to the file.
template <class Read> int ReadKeys(Read read) {
    return CallNoThrow([&] {
        CKeyTable table;
        char szFolder[MAX_PATH];
        char szStore[MAX_PATH];
        if (CKeyStore::Locate(szFolder, szStore) && LookupKeyTable(szStore, table)) {
            return read(table);
        }
        CKeyStore store;
        return store.IsOpen() && store.Load(table) && read(table);
    });
}

// Tells a key panel open in another process once the store is released again; the panel that
// made the change shows it by itself.
int Notified(int nStored) {
    if (nStored) {
        NotifyKeyDataChanged();
    }
    return nStored;
}

template <class Change> int ChangeKeys(Change change) {
    return Notified(WithStore([&](CKeyStore& store) {
        CKeyTable table;
        if (!store.Load(table)) {
            return false;
        }
        change(table);
        return store.Save(table);
    }));
}

} // namespace

int ZuComGetAppDataOfHarlEvent(KeyAssignment* pRecord, int nEvent) {
    int nIndex = KeyIndexOfEvent(nEvent);
    if (!pRecord || nIndex < 0) {
        return 0;
    }
    return ReadKeys([&](const CKeyTable& table) {
        *pRecord = table[nIndex].m_record;
        return HasAssignment(*pRecord);
    });
}

int ZuComSetAppDataOfHarlEvent(KeyAssignment* pRecord, int nEvent) {
    int nIndex = KeyIndexOfEvent(nEvent);
    if (!pRecord || nIndex < 0) {
        return 0;
    }
    // A record without assignment clears the key whole, so that nothing of the old assignment
    // lingers in the slots the key panel never shows.
    KeyAssignment record = HasAssignment(*pRecord) ? *pRecord : KeyAssignment();
    return ChangeKeys([&](CKeyTable& table) { table[nIndex].m_record = record; });
}

int ZuComInitSKeyData(int nMode) {
    if (nMode != 0 && nMode != 1) {
        return 0;
    }
    bool bWritten = false;
    int nResult = WithStore([&](CKeyStore& store) {
        CKeyTable table;
        bool bFound = false;
        if (!store.Load(table, &bFound)) {
            return false;
        }
        bWritten = !(bFound && nMode == 0);
        return !bWritten || store.Save(ReadDefaultKeys());
    });
    Notified(nResult && bWritten);
    return nResult;
}

int ZuComGetKeyOption(int nKeyIndex, int* pbFlag, int* pnNumber) {
    if (!IsKeyIndex(nKeyIndex) || !pbFlag || !pnNumber) {
        return 0;
    }
    return ReadKeys([&](const CKeyTable& table) {
        *pbFlag = table[nKeyIndex].m_bOption;
        *pnNumber = table[nKeyIndex].m_nOptionNumber;
        return true;
    });
}

int ZuComSetKeyOption(int nKeyIndex, int bFlag, int nNumber) {
    if (!IsKeyIndex(nKeyIndex) || !IsOptionNumber(nNumber)) {
        return 0;
    }
    return ChangeKeys([&](CKeyTable& table) {
        table[nKeyIndex].m_bOption = bFlag != 0;
        table[nKeyIndex].m_nOptionNumber = nNumber;
    });
}
