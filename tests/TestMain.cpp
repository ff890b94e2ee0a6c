// Test entry point: under Wine a crashed test can otherwise exit 0, so any unhandled exception
// ends the process with exit code 3.
#include <gtest/gtest.h>
#include <windows.h>

static LONG WINAPI TerminateOnException(EXCEPTION_POINTERS*) {
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

int main(int argc, char** argv) {
    SetUnhandledExceptionFilter(TerminateOnException);
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
