// The library's exported calls, all in one place. They are called from window procedures of other
// modules, which no C++ exception may cross: each goes through the same guard, which turns the
// one exception our code can raise (running out of memory) into a failed call.
#include "IconLookup.h"
#include "KeyData.h"
#include "NoThrow.h"
#include "ServiceClient.h"
#include "SuiteFiles.h"
#include "SuiteSettings.h"
#include "TargetHealth.h"

int ZuComGetAppDataOfHarlEvent(KeyAssignment* pRecord, int nEvent) {
    return CallNoThrow([&] { return ReadKeyRecord(pRecord, nEvent); });
}

int ZuComSetAppDataOfHarlEvent(KeyAssignment* pRecord, int nEvent) {
    return CallNoThrow([&] { return StoreKeyRecord(pRecord, nEvent); });
}

int ZuComGetIconHandle(HICON* phIcon, CString strPath, int nLarge) {
    return CallNoThrow([&] { return LoadTargetIcon(phIcon, strPath, nLarge); });
}

int ZuComGetPath(int nKind, LPSTR pszBuffer) {
    return CallNoThrow([&] { return GetSuitePath(nKind, pszBuffer); });
}

int ZuComPathAppend(LPSTR pszBuffer, LPCSTR pszName) {
    return CallNoThrow([&] { return AppendPath(pszBuffer, pszName); });
}

int ZuComGetServer(HWND* phWnd) {
    return CallNoThrow([&] { return FindService(phWnd); });
}

int ZuComGetClient(HWND* phWnd) {
    return CallNoThrow([&] { return GetServiceClient(phWnd); });
}

int ZuComSetClient(HWND hWnd) {
    return CallNoThrow([&] { return SetServiceClient(hWnd); });
}

int ZuComInitSKeyData(int nMode) {
    return CallNoThrow([&] { return InitKeyData(nMode); });
}

int ZuComGetSKeyNum(int* pnCount) {
    return CallNoThrow([&] {
        if (!pnCount) {
            return false;
        }
        *pnCount = ReadKeyCount();
        return true;
    });
}

int ZuComGetKeyOption(int nKeyIndex, int* pbFlag, int* pnNumber) {
    return CallNoThrow([&] { return ReadKeyOption(nKeyIndex, pbFlag, pnNumber); });
}

int ZuComSetKeyOption(int nKeyIndex, int bFlag, int nNumber) {
    return CallNoThrow([&] { return StoreKeyOption(nKeyIndex, bFlag, nNumber); });
}

int ZuComTakeStoreNotice(LPSTR pszAside) {
    return CallNoThrow([&] { return TakeSetAsideNotice(pszAside); });
}

int ZuComSetKeyAssignment(const KeyAssignment* pRecord, int nEvent, int bFlag, int nNumber) {
    return CallNoThrow([&] { return StoreKeyAssignment(pRecord, nEvent, bFlag, nNumber); });
}

int ZuComExportKeys(CString* pText) {
    return CallNoThrow([&] { return ExportKeys(pText); });
}

int ZuComImportKeys(const char* pBytes, int nSize, int* pnLine) {
    return CallNoThrow([&] { return ImportKeys(pBytes, nSize, pnLine); });
}

int ZuComUndoKeys() {
    return CallNoThrow([&] { return UndoKeyChange(); });
}

int ZuComSaveKeySet(LPCSTR pszName) {
    return CallNoThrow([&] { return SaveNamedKeySet(pszName); });
}

int ZuComUseKeySet(LPCSTR pszName, int* pnLine) {
    return CallNoThrow([&] { return UseNamedKeySet(pszName, pnLine); });
}

int ZuComDeleteKeySet(LPCSTR pszName) {
    return CallNoThrow([&] { return DeleteNamedKeySet(pszName); });
}

int ZuComListKeySets(CString* pNames, CString* pCurrent) {
    return CallNoThrow([&] { return ListNamedKeySets(pNames, pCurrent); });
}

int ZuComCheckTarget(LPCSTR pszTarget, LPCSTR pszFolder, int* pnHealth) {
    return CallNoThrow([&] { return CheckTargetHealth(pszTarget, pszFolder, pnHealth); });
}
