// Change notifications on folders, waited for on a thread of its own so that the service's window
// hears of a change as a message, with no polling.
#pragma once

#include "CHandle.h"

#include <string>
#include <vector>

class CFolderWatch {
public:
    CFolderWatch() = default;
    ~CFolderWatch();
    CFolderWatch(const CFolderWatch&) = delete;
    CFolderWatch& operator=(const CFolderWatch&) = delete;

    // Watches a folder's files (created, renamed, deleted, written); each change posts uMessage
    // to hWnd. Call before Start; false when the folder cannot be watched.
    bool Add(const std::string& strFolder, UINT uMessage);
    // Starts the thread that waits; false when it cannot.
    bool Start(HWND hWnd);

private:
    static DWORD WINAPI Run(void* pParameter);

    HWND m_hWnd = nullptr;
    CHandle m_stop;
    CHandle m_thread;
    std::vector<CChangeHandle> m_changes;
    std::vector<UINT> m_messages;
};
