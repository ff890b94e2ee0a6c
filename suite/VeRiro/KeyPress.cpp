#include "KeyPress.h"

KeyPressStep CKeyPress::OnHotKey(ULONGLONG nNowMs,
                                 const std::function<std::optional<CHoldOption>()>& readOption) {
    if (m_bDown) {
        return KeyPressStep::Ignored;
    }
    std::optional<CHoldOption> option = readOption();
    m_bDown = true;
    m_nStartMs = nNowMs;
    m_bLaunched = !option || !option->bOn;
    m_nHoldMs = m_bLaunched ? 0 : static_cast<DWORD>(option->nTenths) * 100;
    return m_bLaunched ? KeyPressStep::Launch : KeyPressStep::Wait;
}

KeyPressStep CKeyPress::OnLook(ULONGLONG nNowMs, bool bHeld) {
    if (!m_bDown) {
        return KeyPressStep::Ignored;
    }
    if (!bHeld) {
        m_bDown = false;
        return KeyPressStep::LetGo;
    }
    if (!m_bLaunched && nNowMs - m_nStartMs >= m_nHoldMs) {
        m_bLaunched = true;
        return KeyPressStep::Launch;
    }
    return KeyPressStep::Wait;
}
