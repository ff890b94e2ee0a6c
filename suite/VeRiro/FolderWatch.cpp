#include "FolderWatch.h"

CFolderWatch::~CFolderWatch() {
    if (m_hThread) {
        SetEvent(m_hStop);
        WaitForSingleObject(m_hThread, INFINITE);
        CloseHandle(m_hThread);
    }
    if (m_hStop) {
        CloseHandle(m_hStop);
    }
    for (HANDLE hChange : m_changes) {
        FindCloseChangeNotification(hChange);
    }
}

bool CFolderWatch::Add(const std::string& strFolder, UINT uMessage) {
    HANDLE hChange = FindFirstChangeNotificationA(
        strFolder.c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE);
    if (hChange == INVALID_HANDLE_VALUE) {
        return false;
    }
    m_changes.push_back(hChange);
    m_messages.push_back(uMessage);
    return true;
}

bool CFolderWatch::Start(HWND hWnd) {
    m_hWnd = hWnd;
    m_hStop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_hThread = m_hStop ? CreateThread(nullptr, 0, Run, this, 0, nullptr) : nullptr;
    return m_hThread != nullptr;
}

DWORD WINAPI CFolderWatch::Run(void* pParameter) {
    auto* pWatch = static_cast<CFolderWatch*>(pParameter);
    std::vector<HANDLE> handles{pWatch->m_hStop};
    handles.insert(handles.end(), pWatch->m_changes.begin(), pWatch->m_changes.end());
    for (;;) {
        DWORD dwWait = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(),
                                              FALSE, INFINITE);
        size_t nIndex = dwWait - WAIT_OBJECT_0;
        if (nIndex == 0 || nIndex >= handles.size()) {
            return 0;
        }
        PostMessageA(pWatch->m_hWnd, pWatch->m_messages[nIndex - 1], 0, 0);
        if (!FindNextChangeNotification(handles[nIndex])) {
            return 0;
        }
    }
}
