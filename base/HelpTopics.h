// Help for the module's windows: topics of the suite's compiled help file, shown by the system's
// HTML Help control. The module does not link the control; the first request finds and loads it.
#pragma once

#include "afxwin.h"

// The topics the windows open. The help file answers both spellings: paths inside it ignore case,
// and the control takes either slash.
constexpr char kSettingsHelpTopic[] = "Html/T0030Settings.htm"; // the key panel, settings
constexpr char kDetailHelpTopic[] = "HTML\\T0040Detail.htm";

// HtmlHelpA of the control, with its arguments and result; null when the control cannot be had.
// The control is looked for once per process: once that failed, every call returns null.
HWND CallHtmlHelp(HWND hwndCaller, LPCSTR pszFile, UINT uCommand, DWORD_PTR dwData);

// Opens a topic of the suite's help file in a help window of its own, owned by no window, so
// that it stays open beside the dialog that asked for it. Failures pass in silence.
void ShowHelpTopic(LPCSTR pszTopic);

// Opens the help file's default topic, owned by the main window when there is one.
void ShowDefaultHelpTopic();
