// Where a dialog's controls lie, and whether the dialog is tidy: nothing cut off, nothing on top
// of anything else.
#pragma once

#include <windows.h>

#include <string>

// The screen's resolution in this process, LOGPIXELSX of the screen.
int ScreenDpi();

// Runs the cases of this test program that match the filter again in a new process whose screen
// has nDpi dots per inch (a process reads it once, as it starts); their exit code, as
// RunThisProgram gives it. New processes start at 96 dpi again afterwards, however the run ended.
int RunAtResolution(int nDpi, const std::string& strFilter);
// False in such a run whose process did not get the resolution asked for.
bool RunsAtAskedResolution();

// A dialog template as the dialog manager lays it out, with a dialog procedure that does nothing;
// null when it cannot be created. The caller destroys it.
HWND CreateQuietDialog(HINSTANCE hTemplates, int nTemplate);

// A child window's rectangle, or control nID's, in the client coordinates of the dialog.
RECT ChildRect(HWND hDialog, HWND hChild);
RECT ChildRect(HWND hDialog, int nID);
bool Contains(const RECT& outer, const RECT& inner);

// No visible control is cut off by the dialog and no two visible controls overlap, except that
// the frame nFrameID (0 for none) holds whole controls inside it.
void ExpectTidy(HWND hDialog, int nFrameID);
