#include "Watchdog.h"

#include <gtest/gtest.h>

#include <cstdio>

CWatchdog::CWatchdog(DWORD nDeadlineMs, const char* pszWhat)
    : m_nDeadlineMs(nDeadlineMs), m_pszWhat(pszWhat),
      m_done(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_thread(CreateThread(nullptr, 0, &Watch, this, 0, nullptr)) {}

CWatchdog::~CWatchdog() {
    SetEvent(m_done);
    WaitForSingleObject(m_thread, INFINITE);
}

// From a thread of its own: a handler caught in a loop never lets the watched thread look.
DWORD WINAPI CWatchdog::Watch(void* pParameter) {
    auto* pWatchdog = static_cast<CWatchdog*>(pParameter);
    if (WaitForSingleObject(pWatchdog->m_done, pWatchdog->m_nDeadlineMs) == WAIT_TIMEOUT) {
        EndHungTestProgram(pWatchdog->m_pszWhat);
    }
    return 0;
}

void EndHungTestProgram(const char* pszWhat) {
    const testing::TestInfo* pTest = testing::UnitTest::GetInstance()->current_test_info();
    std::fprintf(stderr, "\n%s.%s: %s; ending the test program\n",
                 pTest ? pTest->test_suite_name() : "?", pTest ? pTest->name() : "?", pszWhat);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), 4);
    ExitProcess(4);
}
