// One key from its hot key's press until its combination is let go. The system tells of a hot
// key's press only, never of its letting go, and a keyboard held down sends the press again and
// again; so while the key is down its owner looks at the keys' state every few milliseconds and
// says here what it saw. Presses that come meanwhile are the keyboard's repeat, not new presses.
// The times and the keys' state come from outside, so that the rules can be had without a
// keyboard or a clock.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

// A key's option as the library keeps it: when on, the key launches only once it has been held
// for the number of tenths of a second.
struct CHoldOption {
    bool bOn = false;
    int nTenths = 0;
};

enum class KeyPressStep {
    Ignored, // a repeat while the key is down, or a look while it is not
    Wait,    // the key is down: look again
    Launch,  // start the key's target now, and look again
    LetGo,   // the combination was let go: stop looking
};

class CKeyPress {
public:
    // The key's hot key came at nNowMs. readOption gives the key's option, or nothing when it
    // cannot be read (the key then launches at once, as without the option); it is asked for a
    // new press only.
    KeyPressStep OnHotKey(ULONGLONG nNowMs,
                          const std::function<std::optional<CHoldOption>()>& readOption);
    // A look at the keys' state at nNowMs: bHeld while every key of the combination is down.
    KeyPressStep OnLook(ULONGLONG nNowMs, bool bHeld);

private:
    bool m_bDown = false;
    bool m_bLaunched = false;
    ULONGLONG m_nStartMs = 0;
    DWORD m_nHoldMs = 0;
};
