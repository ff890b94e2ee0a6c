// The module's resources: dialogs, strings and icons are looked up in the resource handle first
// (a locale resource library, once set), then in the program itself.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hResource);
HINSTANCE AfxFindResourceHandle(LPCSTR pszName, LPCSTR pszType);
HINSTANCE AfxLoadLibrary(LPCSTR pszModuleName);

class CString;
// Loads string nIDS and puts the texts given in place of its %1 and %2; any other percent sign
// stays as it is.
void AfxFormatString2(CString& rString, UINT nIDS, LPCSTR lpsz1, LPCSTR lpsz2);
// The wide string nId of hModule with the texts given in place of its %1 to %9; any other percent
// sign stays as it is. For the suite's programs beside the module, whose texts are their own.
std::wstring FormatModuleString(HMODULE hModule, UINT nId,
                                std::initializer_list<std::wstring> args);

// The framework's own resource and command numbers.
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 57344
#endif
#ifndef ID_HELP
#define ID_HELP 57670
#endif
