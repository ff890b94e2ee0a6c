// The staged locale resource library, which every test of the module's windows and texts reads.
#pragma once

#include <windows.h>

#include <string>

// The staged locale library a run reads: RuRoredo.DLL, or the file that VV_LOCALE_LIBRARY names
// (the Japanese runs give RuRoredoJPN.DLL, which a Japanese user has as RuRoredo.DLL).
std::string LocaleLibraryName();

// That library from the stage folder beside the test folder, loaded once for the test program's
// life as a real library, not as a data file. Null when it cannot be loaded.
HMODULE LocaleLibrary();

// The text of string resource nID of the locale library; empty when it is missing.
std::string LocaleString(UINT nID);

// The message a store that failed for the system's reason dwError brings (string nID, 4121 for a
// key's change).
std::string StoreFailureText(DWORD dwError, UINT nID = 4121);
