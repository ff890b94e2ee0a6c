// A hang must fail a test within seconds, not hold the whole run until ctest gives up: a
// watchdog ends the test program, saying which test hung and where, when it still lives after its
// deadline.
#pragma once

#include "CHandle.h"

class CWatchdog {
public:
    // pszWhat says what was waited for; it is printed when the deadline passes.
    CWatchdog(DWORD nDeadlineMs, const char* pszWhat);
    ~CWatchdog();
    CWatchdog(const CWatchdog&) = delete;
    CWatchdog& operator=(const CWatchdog&) = delete;

private:
    static DWORD WINAPI Watch(void* pParameter);

    DWORD m_nDeadlineMs;
    const char* m_pszWhat;
    CHandle m_done;
    CHandle m_thread;
};

// Ends the test program at once with exit code 4, naming the running test and what went wrong.
[[noreturn]] void EndHungTestProgram(const char* pszWhat);
