// CComInit: COM initialised on this thread for the holder's life, and uninitialised when it goes
// only if the initialisation counted (a thread already initialised in another apartment model
// keeps that one, and must not be uninitialised here).
#pragma once

#include <objbase.h>

class CComInit {
public:
    // Apartment-threaded, as the shell's user-interface calls (the folder browser, shortcut
    // files) need.
    explicit CComInit(DWORD dwCoInit = COINIT_APARTMENTTHREADED)
        : m_hr(CoInitializeEx(nullptr, dwCoInit)) {}
    ~CComInit() {
        if (SUCCEEDED(m_hr)) {
            CoUninitialize();
        }
    }
    CComInit(const CComInit&) = delete;
    CComInit& operator=(const CComInit&) = delete;

    HRESULT Result() const { return m_hr; }

private:
    HRESULT m_hr;
};
