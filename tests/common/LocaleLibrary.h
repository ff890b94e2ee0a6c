// The staged locale resource library, which every test of the module's windows and texts reads.
#pragma once

#include <windows.h>

#include <string>

// RuRoredo.DLL from the stage folder beside the test folder, loaded once for the test program's
// life as a real library, not as a data file. Null when it cannot be loaded.
HMODULE LocaleLibrary();

// The text of string resource nID of the locale library; empty when it is missing.
std::string LocaleString(UINT nID);
