// Dialogs and message boxes as a user sees them: found among the shown windows of a thread or a
// process, read, and answered with one of their buttons.
#pragma once

#include "Process.h"

#include <windows.h>

#include <string>
#include <vector>

// Shown dialog windows ("#32770") of this thread, or of another process.
std::vector<HWND> ShownDialogsOfThread(DWORD nThreadId = GetCurrentThreadId());
std::vector<HWND> ShownDialogsOfProcess(DWORD nProcessId);
// Shown top-level windows of another process of one class: "#32768" for its popup menus.
std::vector<HWND> ShownWindowsOfProcess(DWORD nProcessId, const char* pszClass);
// A shown dialog of this thread whose owner is hOwner (null: no owner), other than hExcept.
HWND FindShownDialog(HWND hOwner, HWND hExcept = nullptr);

std::string WindowText(HWND hWnd);
// The texts of a dialog's static controls joined by line breaks: a message box's message.
std::string StaticTexts(HWND hDialog);

struct ShownMessageBox {
    HWND hWnd = nullptr;
    std::string strCaption;
    std::string strText;
};
ShownMessageBox ReadMessageBox(HWND hBox);
// Presses one of a dialog's buttons, as a click would.
void PressButton(HWND hDialog, int nButton);

// The first shown dialog of a process that passes a test, once there is one; null when the
// process ends or the time is up first.
HWND WaitForDialogOf(const CChildProcess& program, bool (*accept)(HWND));
// The key panel of a program started as a process, and its close button pressed.
bool IsPanel(HWND hWnd);
HWND WaitForPanel(const CChildProcess& program);
void ClosePanel(HWND hPanel);
