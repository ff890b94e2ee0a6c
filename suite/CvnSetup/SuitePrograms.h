// The suite's programs that run from one program folder (the shortcut service, perhaps for several
// users, and an open key panel), stopped before the folder's files are replaced or removed: a
// program holds its files, and those of the libraries it loaded, until it ends.
#pragma once

#include <windows.h>

#include <string>

// Asks every program of strFolder (with its trailing backslash) whose windows this session can
// reach to close, as a user closes it (the service then takes its tray icon away), and waits up
// to dwTimeoutMs for them to end. Nothing is lost: both store every change when it is made.
void CloseProgramsOf(const std::wstring& strFolder, DWORD dwTimeoutMs);

// Ends every program of strFolder that still runs, in any session (other users' programs cannot
// be asked); false when one of them could not be ended.
bool EndProgramsOf(const std::wstring& strFolder);
