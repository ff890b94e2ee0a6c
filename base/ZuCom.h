// The module's one binding to the shortcut-service library VeDerovu.dll.
//
// Every call goes through a table of the library's entry points. The program binds the table to
// the real library at start; tests bind it to a fake of their own.
#pragma once

#include "../suite/VeDerovu/VeDerovu.h"

// Keys S1 to S6 are numbered 1 to 6; the module's per-key tables have this many slots.
constexpr int MAX_KEYS = 6;

struct ZuComLibrary {
    ZuComGetAppDataOfHarlEventFn* pfnGetAppDataOfHarlEvent;
    ZuComSetAppDataOfHarlEventFn* pfnSetAppDataOfHarlEvent;
    ZuComGetIconHandleFn* pfnGetIconHandle;
    ZuComGetPathFn* pfnGetPath;
    ZuComPathAppendFn* pfnPathAppend;
    ZuComGetServerFn* pfnGetServer;
    ZuComGetClientFn* pfnGetClient;
    ZuComSetClientFn* pfnSetClient;
    ZuComInitSKeyDataFn* pfnInitSKeyData;
    ZuComGetSKeyNumFn* pfnGetSKeyNum;
    ZuComGetKeyOptionFn* pfnGetKeyOption;
    ZuComSetKeyOptionFn* pfnSetKeyOption;
    ZuComTakeStoreNoticeFn* pfnTakeStoreNotice; // null with a library that lacks it
    // The calls of the suite's console program; the module uses none of them.
    ZuComSetKeyAssignmentFn* pfnSetKeyAssignment;
    ZuComExportKeysFn* pfnExportKeys;
    ZuComImportKeysFn* pfnImportKeys;
    ZuComUndoKeysFn* pfnUndoKeys;
    ZuComSaveKeySetFn* pfnSaveKeySet;
    ZuComUseKeySetFn* pfnUseKeySet;
    ZuComDeleteKeySetFn* pfnDeleteKeySet;
    ZuComListKeySetsFn* pfnListKeySets;
    ZuComCheckTargetFn* pfnCheckTarget;
};

// Fills the table with the library's entry points (two of them by ordinal); TRUE when every one
// the module needs was found: it does without the store notice and the console program's calls.
BOOL ZuComResolve(HMODULE hModule, ZuComLibrary& library);
// Loads "VeDerovu.dll" (standard search order: the program's folder first) and binds to it;
// FALSE when the library or one of its entry points is missing.
BOOL ZuComLoadLibrary();
// Binds the calls below to a table; returns the table bound before.
const ZuComLibrary* ZuComBind(const ZuComLibrary* pLibrary);
const ZuComLibrary& ZuComBound();

inline int ZuComGetAppDataOfHarlEvent(KeyAssignment* pRecord, int nEvent) {
    return ZuComBound().pfnGetAppDataOfHarlEvent(pRecord, nEvent);
}
inline int ZuComSetAppDataOfHarlEvent(KeyAssignment* pRecord, int nEvent) {
    return ZuComBound().pfnSetAppDataOfHarlEvent(pRecord, nEvent);
}
inline int ZuComGetIconHandle(HICON* phIcon, CString strPath, int nLarge) {
    return ZuComBound().pfnGetIconHandle(phIcon, strPath, nLarge);
}
inline int ZuComGetPath(int nKind, LPSTR pszBuffer) {
    return ZuComBound().pfnGetPath(nKind, pszBuffer);
}
inline int ZuComPathAppend(LPSTR pszBuffer, LPCSTR pszName) {
    return ZuComBound().pfnPathAppend(pszBuffer, pszName);
}
inline int ZuComGetServer(HWND* phWnd) {
    return ZuComBound().pfnGetServer(phWnd);
}
inline int ZuComGetClient(HWND* phWnd) {
    return ZuComBound().pfnGetClient(phWnd);
}
inline int ZuComSetClient(HWND hWnd) {
    return ZuComBound().pfnSetClient(hWnd);
}
inline int ZuComInitSKeyData(int nMode) {
    return ZuComBound().pfnInitSKeyData(nMode);
}
inline int ZuComGetSKeyNum(int* pnCount) {
    return ZuComBound().pfnGetSKeyNum(pnCount);
}
inline int ZuComGetKeyOption(int nKeyIndex, int* pbFlag, int* pnNumber) {
    return ZuComBound().pfnGetKeyOption(nKeyIndex, pbFlag, pnNumber);
}
inline int ZuComSetKeyOption(int nKeyIndex, int bFlag, int nNumber) {
    return ZuComBound().pfnSetKeyOption(nKeyIndex, bFlag, nNumber);
}
inline int ZuComTakeStoreNotice(LPSTR pszAside) {
    const ZuComLibrary& library = ZuComBound();
    return library.pfnTakeStoreNotice ? library.pfnTakeStoreNotice(pszAside) : 0;
}

// The console program's calls: a library that lacks them fails them with ERROR_PROC_NOT_FOUND.
template <class Fn, class... Args> int ZuComCallIfThere(Fn* pfn, Args... args) {
    if (!pfn) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return 0;
    }
    return pfn(args...);
}
inline int ZuComSetKeyAssignment(const KeyAssignment* pRecord, int nEvent, int bFlag, int nNumber) {
    return ZuComCallIfThere(ZuComBound().pfnSetKeyAssignment, pRecord, nEvent, bFlag, nNumber);
}
inline int ZuComExportKeys(CString* pText) {
    return ZuComCallIfThere(ZuComBound().pfnExportKeys, pText);
}
inline int ZuComImportKeys(const char* pBytes, int nSize, int* pnLine) {
    return ZuComCallIfThere(ZuComBound().pfnImportKeys, pBytes, nSize, pnLine);
}
inline int ZuComUndoKeys() {
    return ZuComCallIfThere(ZuComBound().pfnUndoKeys);
}
inline int ZuComSaveKeySet(LPCSTR pszName) {
    return ZuComCallIfThere(ZuComBound().pfnSaveKeySet, pszName);
}
inline int ZuComUseKeySet(LPCSTR pszName, int* pnLine) {
    return ZuComCallIfThere(ZuComBound().pfnUseKeySet, pszName, pnLine);
}
inline int ZuComDeleteKeySet(LPCSTR pszName) {
    return ZuComCallIfThere(ZuComBound().pfnDeleteKeySet, pszName);
}
inline int ZuComListKeySets(CString* pNames, CString* pCurrent) {
    return ZuComCallIfThere(ZuComBound().pfnListKeySets, pNames, pCurrent);
}
inline int ZuComCheckTarget(LPCSTR pszTarget, LPCSTR pszFolder, int* pnHealth) {
    return ZuComCallIfThere(ZuComBound().pfnCheckTarget, pszTarget, pszFolder, pnHealth);
}
