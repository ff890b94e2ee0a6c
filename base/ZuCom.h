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
};

// Fills the table with the library's entry points (two of them by ordinal); TRUE when every one
// was found but the store notice, which the module does without.
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
