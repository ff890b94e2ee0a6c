#include "ZuCom.h"

namespace {

ZuComLibrary g_library = {};
const ZuComLibrary* g_pBound = &g_library;

template <class Fn> int Resolve(HMODULE hModule, LPCSTR pszName, Fn*& pfn) {
    pfn = reinterpret_cast<Fn*>(reinterpret_cast<void*>(GetProcAddress(hModule, pszName)));
    return pfn ? 1 : 0;
}

} // namespace

BOOL ZuComResolve(HMODULE hModule, ZuComLibrary& lib) {
    // Every entry is looked up, so that a table with a gap still shows which are there.
    int nFound =
        Resolve(hModule, "ZuComGetAppDataOfHarlEvent", lib.pfnGetAppDataOfHarlEvent) +
        Resolve(hModule, "ZuComSetAppDataOfHarlEvent", lib.pfnSetAppDataOfHarlEvent) +
        Resolve(hModule, "ZuComGetIconHandle", lib.pfnGetIconHandle) +
        Resolve(hModule, "ZuComGetPath", lib.pfnGetPath) +
        Resolve(hModule, "ZuComPathAppend", lib.pfnPathAppend) +
        Resolve(hModule, "ZuComGetServer", lib.pfnGetServer) +
        Resolve(hModule, "ZuComGetClient", lib.pfnGetClient) +
        Resolve(hModule, "ZuComSetClient", lib.pfnSetClient) +
        Resolve(hModule, "ZuComInitSKeyData", lib.pfnInitSKeyData) +
        Resolve(hModule, "ZuComGetSKeyNum", lib.pfnGetSKeyNum) +
        Resolve(hModule, MAKEINTRESOURCEA(ZUCOM_ORDINAL_GET_KEY_OPTION), lib.pfnGetKeyOption) +
        Resolve(hModule, MAKEINTRESOURCEA(ZUCOM_ORDINAL_SET_KEY_OPTION), lib.pfnSetKeyOption);
    Resolve(hModule, "ZuComTakeStoreNotice", lib.pfnTakeStoreNotice);
    Resolve(hModule, "ZuComSetKeyAssignment", lib.pfnSetKeyAssignment);
    Resolve(hModule, "ZuComExportKeys", lib.pfnExportKeys);
    Resolve(hModule, "ZuComImportKeys", lib.pfnImportKeys);
    Resolve(hModule, "ZuComUndoKeys", lib.pfnUndoKeys);
    Resolve(hModule, "ZuComSaveKeySet", lib.pfnSaveKeySet);
    Resolve(hModule, "ZuComUseKeySet", lib.pfnUseKeySet);
    Resolve(hModule, "ZuComDeleteKeySet", lib.pfnDeleteKeySet);
    Resolve(hModule, "ZuComListKeySets", lib.pfnListKeySets);
    Resolve(hModule, "ZuComCheckTarget", lib.pfnCheckTarget);
    return nFound == 12;
}

BOOL ZuComLoadLibrary() {
    HMODULE hModule = LoadLibraryA("VeDerovu.dll");
    if (!hModule) {
        return FALSE;
    }
    if (!ZuComResolve(hModule, g_library)) {
        FreeLibrary(hModule);
        g_library = {};
        return FALSE;
    }
    return TRUE;
}

const ZuComLibrary* ZuComBind(const ZuComLibrary* pLibrary) {
    const ZuComLibrary* pPrevious = g_pBound;
    g_pBound = pLibrary;
    return pPrevious;
}

const ZuComLibrary& ZuComBound() {
    return *g_pBound;
}
