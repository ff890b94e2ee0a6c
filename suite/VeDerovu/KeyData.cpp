#include "KeyData.h"

#include "KeyFile.h"
#include "KeyHistory.h"
#include "KeySets.h"
#include "KeyStore.h"
#include "KeyTableCache.h"
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

// A failed operation leaves the system's reason as the thread's last error, past the release of
// the lock.
template <class Operation> bool WithStore(Operation operation) {
    bool bDone = false;
    DWORD dwError = ERROR_SUCCESS;
    {
        CKeyStore store;
        bDone = store.IsOpen() ? operation(store) : false;
        dwError = store.IsOpen() ? GetLastError() : store.OpenError();
    }
    if (!bDone) {
        SetLastError(dwError);
    }
    return bDone;
}

// A table the process has read before serves while the store is unchanged; only a read that
// finds it changed takes the lock and goes to the file. A store that cannot be read then (held by
// another program) shows as the process last read it.
template <class Read> bool ReadKeys(Read read) {
    CKeyTable table;
    char szFolder[MAX_PATH];
    char szStore[MAX_PATH];
    if (!CKeyStore::Locate(szFolder, szStore)) {
        return false;
    }
    if (LookupKeyTable(szStore, table) ||
        WithStore([&](CKeyStore& store) { return store.Load(table); }) ||
        LastKeyTable(szStore, table)) {
        return read(table);
    }
    return false;
}

// Tells a key panel open in another process once the store is released again; the panel that
// made the change shows it by itself.
bool Notified(bool bStored) {
    if (bStored) {
        NotifyKeyDataChanged();
    }
    return bStored;
}

// Replaces the keys as one change. The state before it is kept for undo first, unless there was
// no store or nothing changes; a change that is not stored forgets it again.
bool SaveChange(CKeyStore& store, const CKeyTable& before, bool bFound, const CKeyTable& after) {
    std::string strKept;
    if (bFound && !SameKeys(before, after) && !KeepState(store, before, strKept)) {
        return false;
    }
    if (!store.Save(after)) {
        DWORD dwError = GetLastError();
        if (!strKept.empty()) {
            DeleteFileA(strKept.c_str());
        }
        SetLastError(dwError);
        return false;
    }
    return true;
}

// change turns the table into the new one, or refuses with the system's reason.
template <class Change> bool ChangeKeys(Change change) {
    return Notified(WithStore([&](CKeyStore& store) {
        CKeyTable table;
        bool bFound = false;
        if (!store.Load(table, &bFound)) {
            return false;
        }
        CKeyTable before = table;
        return change(store, table) && SaveChange(store, before, bFound, table);
    }));
}

// A record without assignment clears the key whole, so that nothing of the old assignment
// lingers in the slots the key panel never shows; change then does the rest of the key.
template <class Change> bool ChangeKey(const KeyAssignment* pRecord, int nEvent, Change change) {
    int nIndex = KeyIndexOfEvent(nEvent);
    if (!pRecord || nIndex < 0) {
        return false;
    }
    KeyAssignment record = HasAssignment(*pRecord) ? *pRecord : KeyAssignment();
    return ChangeKeys([&](CKeyStore&, CKeyTable& table) {
        table[nIndex].m_record = record;
        change(table[nIndex]);
        return true;
    });
}

void SetOption(CKeyState& state, int bFlag, int nNumber) {
    state.m_bOption = bFlag != 0;
    state.m_nOptionNumber = nNumber;
}

} // namespace

bool ReadKeyRecord(KeyAssignment* pRecord, int nEvent) {
    int nIndex = KeyIndexOfEvent(nEvent);
    if (!pRecord || nIndex < 0) {
        return false;
    }
    return ReadKeys([&](const CKeyTable& table) {
        *pRecord = table[nIndex].m_record;
        return HasAssignment(*pRecord);
    });
}

bool StoreKeyRecord(const KeyAssignment* pRecord, int nEvent) {
    return ChangeKey(pRecord, nEvent, [](CKeyState&) {});
}

bool StoreKeyAssignment(const KeyAssignment* pRecord, int nEvent, int bFlag, int nNumber) {
    return IsOptionNumber(nNumber) &&
           ChangeKey(pRecord, nEvent, [&](CKeyState& state) { SetOption(state, bFlag, nNumber); });
}

bool InitKeyData(int nMode) {
    if (nMode != 0 && nMode != 1) {
        return false;
    }
    bool bWritten = false;
    bool bResult = WithStore([&](CKeyStore& store) {
        CKeyTable table;
        bool bFound = false;
        if (!store.Load(table, &bFound)) {
            return false;
        }
        bWritten = !(bFound && nMode == 0);
        return !bWritten || SaveChange(store, table, bFound, ReadDefaultKeys());
    });
    Notified(bResult && bWritten);
    return bResult;
}

bool TakeSetAsideNotice(LPSTR pszAside) {
    return pszAside &&
           WithStore([&](CKeyStore& store) { return store.TakeSetAsideNotice(pszAside); });
}

bool ReadKeyOption(int nKeyIndex, int* pbFlag, int* pnNumber) {
    if (!IsKeyIndex(nKeyIndex) || !pbFlag || !pnNumber) {
        return false;
    }
    return ReadKeys([&](const CKeyTable& table) {
        *pbFlag = table[nKeyIndex].m_bOption;
        *pnNumber = table[nKeyIndex].m_nOptionNumber;
        return true;
    });
}

bool StoreKeyOption(int nKeyIndex, int bFlag, int nNumber) {
    if (!IsKeyIndex(nKeyIndex) || !IsOptionNumber(nNumber)) {
        return false;
    }
    return ChangeKeys([&](CKeyStore&, CKeyTable& table) {
        SetOption(table[nKeyIndex], bFlag, nNumber);
        return true;
    });
}

bool ExportKeys(CString* pText) {
    return pText && ReadKeys([&](const CKeyTable& table) {
               std::string strFile = Utf8FileText(FormatKeyFile(table));
               *pText = CString(strFile.data(), static_cast<int>(strFile.size()));
               return true;
           });
}

bool ImportKeys(const char* pBytes, int nSize, int* pnLine) {
    if (!pBytes || nSize < 0 || !pnLine) {
        return false;
    }
    CKeyTable imported;
    *pnLine = CheckKeyFile(CodePageText(std::string(pBytes, static_cast<size_t>(nSize))), imported);
    if (*pnLine != 0) {
        SetLastError(ERROR_INVALID_DATA);
        return false;
    }
    return ChangeKeys([&](CKeyStore&, CKeyTable& table) {
        table = imported;
        return true;
    });
}

bool UndoKeyChange() {
    return Notified(WithStore([&](CKeyStore& store) {
        CKeyTable table;
        std::string strKept;
        if (!LatestState(store, table, strKept) || !store.Save(table)) {
            return false;
        }
        DeleteFileA(strKept.c_str());
        return true;
    }));
}

bool SaveNamedKeySet(LPCSTR pszName) {
    return WithStore([&](CKeyStore& store) {
        CKeyTable table;
        return store.Load(table) && SaveKeySet(store, pszName, table);
    });
}

bool UseNamedKeySet(LPCSTR pszName, int* pnLine) {
    if (!pnLine) {
        return false;
    }
    *pnLine = 0;
    return ChangeKeys([&](CKeyStore& store, CKeyTable& table) {
        return ReadKeySet(store, pszName, table, pnLine);
    });
}

bool DeleteNamedKeySet(LPCSTR pszName) {
    return WithStore([&](CKeyStore& store) { return DeleteKeySet(store, pszName); });
}

bool ListNamedKeySets(CString* pNames, CString* pCurrent) {
    if (!pNames || !pCurrent) {
        return false;
    }
    return WithStore([&](CKeyStore& store) {
        CKeyTable current;
        if (!store.Load(current)) {
            return false;
        }
        CString strNames;
        CString strCurrent;
        for (const std::string& strName : KeySetNames(store)) {
            CKeyTable set;
            int nLine = 0;
            strNames += CString(strName.c_str()) + "\n";
            if (strCurrent.IsEmpty() && ReadKeySet(store, strName.c_str(), set, &nLine) &&
                SameKeys(set, current)) {
                strCurrent = strName.c_str();
            }
        }
        *pNames = strNames;
        *pCurrent = strCurrent;
        return true;
    });
}
