// The suite's program folder (the folder of this library) and the reading of its text files.
#pragma once

#include <windows.h>

#include <string>

// The path of a kind of ZuComPathKind into pszBuffer (MAX_PATH bytes); false for other kinds.
bool GetSuitePath(int nKind, LPSTR pszBuffer);
// Appends a name to a path with one backslash between; false when it does not fit MAX_PATH.
bool AppendPath(LPSTR pszBuffer, LPCSTR pszName);

// Fills pszPath (MAX_PATH bytes) with <program folder>\<pszName>, or the folder alone when
// pszName is null; false when the folder is unknown or the path does not fit.
bool GetProgramPath(LPCSTR pszName, LPSTR pszPath);

enum class FileRead { Ok, Missing, TooLarge, Failed };

// Reads a whole file. Missing: neither the file nor its folder exists; Failed: it exists but
// cannot be read (in use, access denied), which must not be mistaken for missing.
FileRead ReadTextFile(LPCSTR pszPath, std::string& strText, DWORD dwMaxSize);
