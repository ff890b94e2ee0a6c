#include "LocaleLibrary.h"

#include "Process.h"

HMODULE LocaleLibrary() {
    static const HMODULE s_hModule = LoadLibraryA(StagedPath("RuRoredo.DLL").c_str());
    return s_hModule;
}

std::string LocaleString(UINT nID) {
    char szText[1024];
    int nLength = LoadStringA(LocaleLibrary(), nID, szText, sizeof szText);
    return std::string(szText, nLength > 0 ? nLength : 0);
}
