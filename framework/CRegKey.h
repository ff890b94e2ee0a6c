// CRegKey: one open registry key, closed when the holder goes.
#pragma once

#include <windows.h>

class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey() { Close(); }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    // Opens hParent\pszSubKey, closing the key held until now; the system's result code.
    LONG Open(HKEY hParent, LPCSTR pszSubKey, REGSAM samDesired = KEY_READ) {
        Close();
        return RegOpenKeyExA(hParent, pszSubKey, 0, samDesired, &m_hKey);
    }
    // Opens the key, creating it and the keys above it when they are missing.
    LONG Create(HKEY hParent, LPCSTR pszSubKey, REGSAM samDesired = KEY_ALL_ACCESS) {
        Close();
        return RegCreateKeyExA(hParent, pszSubKey, 0, nullptr, 0, samDesired, nullptr, &m_hKey,
                               nullptr);
    }
    void Close() {
        if (m_hKey) {
            RegCloseKey(m_hKey);
            m_hKey = nullptr;
        }
    }
    operator HKEY() const { return m_hKey; }

private:
    HKEY m_hKey = nullptr;
};
