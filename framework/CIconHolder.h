// CIconHolder: owns one icon and destroys it when it is replaced or when the holder goes, so an
// icon loaded for a dialog or a list never outlives its use. Moves hand the icon on; copies would
// destroy it twice, so there are none.
#pragma once

#include <windows.h>

class CIconHolder {
public:
    CIconHolder() = default;
    explicit CIconHolder(HICON hIcon) : m_hIcon(hIcon) {}
    ~CIconHolder() { Attach(nullptr); }
    CIconHolder(CIconHolder&& other) noexcept : m_hIcon(other.Detach()) {}
    CIconHolder& operator=(CIconHolder&& other) noexcept {
        Attach(other.Detach());
        return *this;
    }

    // Takes hIcon, destroying the icon held until now.
    void Attach(HICON hIcon) {
        if (m_hIcon && m_hIcon != hIcon) {
            DestroyIcon(m_hIcon);
        }
        m_hIcon = hIcon;
    }
    // Gives the icon away; the holder is empty afterwards.
    HICON Detach() {
        HICON hIcon = m_hIcon;
        m_hIcon = nullptr;
        return hIcon;
    }
    operator HICON() const { return m_hIcon; }

private:
    HICON m_hIcon = nullptr;
};
