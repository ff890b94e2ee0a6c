// The commands of CvnKeys.exe, each a few calls of the shortcut-service library through the
// module's own binding (ZuCom.h), so that every change is one change of the store like a change
// in the key panel: locked, kept for undo and shown at once by a running panel.
#pragma once

#include <string>
#include <vector>

enum ExitCode {
    EXIT_DONE = 0,
    EXIT_USAGE = 1,  // the command line is wrong
    EXIT_FAILED = 2, // the change or the reading failed
};

// Runs the command the arguments (without the program's name) give; the library and the locale
// library are bound.
ExitCode RunKeyCommand(const std::vector<std::wstring>& args);
