#include "FolderWatch.h"

CFolderWatch::~CFolderWatch() {
    // The thread waits on the handles: it ends before they are closed.
    if (m_thread.IsValid()) {
        SetEvent(m_stop);
        WaitForSingleObject(m_thread, INFINITE);
    }
}

bool CFolderWatch::Add(const std::string& strFolder, UINT uMessage) {
    CChangeHandle change(FindFirstChangeNotificationA(
        strFolder.c_str(), FALSE,
        FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE));
    if (!change.IsValid()) {
        return false;
    }
    m_changes.push_back(std::move(change));
    m_messages.push_back(uMessage);
    return true;
}

bool CFolderWatch::Start(HWND hWnd) {
    m_hWnd = hWnd;
    m_stop.Attach(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (m_stop.IsValid()) {
        m_thread.Attach(CreateThread(nullptr, 0, Run, this, 0, nullptr));
    }
    return m_thread.IsValid();
}

DWORD WINAPI CFolderWatch::Run(void* pParameter) {
    auto* pWatch = static_cast<CFolderWatch*>(pParameter);
    std::vector<HANDLE> handles{pWatch->m_stop};
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
