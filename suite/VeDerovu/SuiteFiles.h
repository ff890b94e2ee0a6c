// The suite's program folder (the folder of this library) and the reading of its text files.
#pragma once

#include <windows.h>

#include <string>

// Fills pszPath (MAX_PATH bytes) with <program folder>\<pszName>, or the folder alone when
// pszName is null; false when the folder is unknown or the path does not fit.
bool GetProgramPath(LPCSTR pszName, LPSTR pszPath);

enum class FileRead { Ok, Missing, TooLarge, Failed };

// Reads a whole file. Missing: neither the file nor its folder exists; Failed: it exists but
// cannot be read (in use, access denied), which must not be mistaken for missing.
FileRead ReadTextFile(LPCSTR pszPath, std::string& strText, DWORD dwMaxSize);
