// CDisplayApp: start-up of the display module, in one of its two run modes.
#pragma once

#include "afxwin.h"

class CDisplayApp : public CWinApp {
public:
    BOOL InitInstance() override;
    // Opens the help file's default topic, whatever is asked.
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;

private:
    // "-I": reset the key data to the suite's defaults after a confirmation.
    BOOL RunKeyDataReset();
    // Otherwise: make sure the service runs, keep to one panel, and run the key panel.
    BOOL RunKeyPanel();

    DECLARE_MESSAGE_MAP()
};
