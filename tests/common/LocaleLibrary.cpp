#include "LocaleLibrary.h"

#include "Process.h"

#include "../../base/ResourceText.h"

std::string LocaleLibraryName() {
    const std::string strName = EnvironmentValue("VV_LOCALE_LIBRARY");
    return strName.empty() ? "RuRoredo.DLL" : strName;
}

HMODULE LocaleLibrary() {
    static const HMODULE s_hModule = LoadLibraryA(StagedPath(LocaleLibraryName()).c_str());
    return s_hModule;
}

std::string LocaleString(UINT nID) {
    char szText[1024];
    int nLength = LoadStringA(LocaleLibrary(), nID, szText, sizeof szText);
    return std::string(szText, nLength > 0 ? nLength : 0);
}

std::string StoreFailureText(DWORD dwError, UINT nID) {
    char szReason[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwError, 0,
                   szReason, sizeof szReason, nullptr);
    return std::string(FormatText(LocaleString(nID).c_str(), {CString(szReason).Trim()}));
}
