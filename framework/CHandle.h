// CHandle: owns one kernel handle (a mutex, an event, a thread, a process, a file) and closes it
// when it is replaced or when the holder goes. The system answers "no handle" with null from some
// calls and with INVALID_HANDLE_VALUE from others (CreateFile, the find calls); the holder takes
// both as empty, so a caller never closes either. Handles that the system closes with a call of
// their own (a search, a change notification) get a holder of their own kind below.
#pragma once

#include <windows.h>

template <BOOL(WINAPI* pfnClose)(HANDLE)> class CHandleT {
public:
    CHandleT() = default;
    explicit CHandleT(HANDLE hHandle) : m_hHandle(hHandle) {}
    ~CHandleT() { Close(); }
    CHandleT(CHandleT&& other) noexcept : m_hHandle(other.Detach()) {}
    CHandleT& operator=(CHandleT&& other) noexcept {
        Attach(other.Detach());
        return *this;
    }
    CHandleT(const CHandleT&) = delete;
    CHandleT& operator=(const CHandleT&) = delete;

    bool IsValid() const { return m_hHandle != nullptr && m_hHandle != INVALID_HANDLE_VALUE; }
    operator HANDLE() const { return m_hHandle; }

    // Takes hHandle, closing the handle held until now.
    void Attach(HANDLE hHandle) {
        if (m_hHandle != hHandle) {
            Close();
        }
        m_hHandle = hHandle;
    }
    HANDLE Detach() {
        HANDLE hHandle = m_hHandle;
        m_hHandle = nullptr;
        return hHandle;
    }
    // Closes the handle now; false when the system reports that closing failed, which for a file
    // written through it can mean that the data did not reach the disk.
    bool Close() {
        HANDLE hHandle = Detach();
        return hHandle == nullptr || hHandle == INVALID_HANDLE_VALUE || pfnClose(hHandle);
    }

private:
    HANDLE m_hHandle = nullptr;
};

using CHandle = CHandleT<CloseHandle>;
// FindFirstFile's search.
using CFindHandle = CHandleT<FindClose>;
// FindFirstChangeNotification's watch.
using CChangeHandle = CHandleT<FindCloseChangeNotification>;
