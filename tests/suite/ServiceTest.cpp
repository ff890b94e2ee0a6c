// The shortcut service VeRiro.exe as the library reaches it: found, registered with, single,
// restartable after a crash, and stopped by WM_CLOSE.
#include "SuiteLibrary.h"

#include "../../suite/VeDerovu/ServiceProtocol.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD DEADLINE_MS = 15000;

HANDLE StartService() {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(STAGED_SERVICE, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot start the service, error " << GetLastError();
        return nullptr;
    }
    CloseHandle(process.hThread);
    return process.hProcess;
}

// Stands in for the key panel's window: any window of this process.
HWND CreatePanelWindow() {
    return CreateWindowExA(0, "STATIC", "panel", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                           nullptr);
}

DWORD WaitForExit(HANDLE hProcess) {
    DWORD dwExitCode = STILL_ACTIVE;
    if (WaitForSingleObject(hProcess, DEADLINE_MS) == WAIT_OBJECT_0) {
        GetExitCodeProcess(hProcess, &dwExitCode);
    }
    CloseHandle(hProcess);
    return dwExitCode;
}

class ServiceTest : public testing::Test {
protected:
    void SetUp() override {
        // A service left over from an earlier run would answer in place of the one under test.
        HWND hLeftover = FindWindowA(CVN_SERVICE_CLASS, nullptr);
        if (hLeftover) {
            PostMessageA(hLeftover, WM_CLOSE, 0, 0);
            ASSERT_TRUE(WaitForServer(false));
        }
    }

    // Polls until the library does (or does not) find the service; a service process that ends
    // meanwhile ends the wait too.
    bool WaitForServer(bool bRunning, HANDLE hProcess = nullptr) {
        DWORD dwStart = GetTickCount();
        for (;;) {
            HWND hWnd = nullptr;
            bool bFound = m_lib.pfnGetServer(&hWnd) && hWnd;
            if (bFound == bRunning) {
                m_hService = hWnd;
                return true;
            }
            if (GetTickCount() - dwStart > DEADLINE_MS) {
                return false;
            }
            if (hProcess && WaitForSingleObject(hProcess, 20) == WAIT_OBJECT_0) {
                return false;
            }
            if (!hProcess) {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            }
        }
    }

    CSuiteLibrary m_lib;
    HWND m_hService = nullptr;
};

TEST_F(ServiceTest, WithoutAServiceNothingIsFoundOrRegistered) {
    HWND hWnd = reinterpret_cast<HWND>(1);
    EXPECT_EQ(0, m_lib.pfnGetServer(&hWnd));
    EXPECT_EQ(nullptr, hWnd);
    HWND hPanel = CreatePanelWindow();
    EXPECT_EQ(0, m_lib.pfnSetClient(hPanel));
    hWnd = reinterpret_cast<HWND>(1);
    EXPECT_EQ(0, m_lib.pfnGetClient(&hWnd));
    EXPECT_EQ(nullptr, hWnd);
    DestroyWindow(hPanel);
}

TEST_F(ServiceTest, RunsOnceHiddenHoldsTheClientAndStopsOnClose) {
    HANDLE hProcess = StartService();
    ASSERT_TRUE(hProcess);
    ASSERT_TRUE(WaitForServer(true, hProcess)) << "the service never showed its window";
    EXPECT_FALSE(IsWindowVisible(m_hService));

    HWND hPanel = CreatePanelWindow();
    ASSERT_TRUE(hPanel);
    HWND hClient = nullptr;
    EXPECT_EQ(0, m_lib.pfnGetClient(&hClient)) << "no client registered yet";
    ASSERT_EQ(1, m_lib.pfnSetClient(hPanel));
    EXPECT_EQ(0, m_lib.pfnSetClient(reinterpret_cast<HWND>(0x7ffff0))) << "not a window";
    ASSERT_EQ(1, m_lib.pfnGetClient(&hClient));
    EXPECT_EQ(hPanel, hClient);

    HANDLE hSecond = StartService();
    ASSERT_TRUE(hSecond);
    EXPECT_EQ(1u, WaitForExit(hSecond)) << "a second service must leave at once";

    DestroyWindow(hPanel);
    hClient = reinterpret_cast<HWND>(1);
    EXPECT_EQ(0, m_lib.pfnGetClient(&hClient)) << "the panel's window has gone";
    EXPECT_EQ(nullptr, hClient);

    PostMessageA(m_hService, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitForExit(hProcess));
    HWND hWnd = nullptr;
    EXPECT_EQ(0, m_lib.pfnGetServer(&hWnd));
}

TEST_F(ServiceTest, AServiceThatDiedDoesNotBlockTheNextOne) {
    HANDLE hCrashed = StartService();
    ASSERT_TRUE(hCrashed);
    ASSERT_TRUE(WaitForServer(true, hCrashed));
    // Held open here, the instance mutex outlives its owner and is left abandoned, not deleted.
    HANDLE hMutex = OpenMutexA(SYNCHRONIZE, FALSE, CVN_SERVICE_MUTEX);
    ASSERT_TRUE(hMutex);
    TerminateProcess(hCrashed, 9);
    EXPECT_EQ(9u, WaitForExit(hCrashed));

    HANDLE hProcess = StartService();
    ASSERT_TRUE(hProcess);
    ASSERT_TRUE(WaitForServer(true, hProcess)) << "the abandoned instance mutex kept it out";
    PostMessageA(m_hService, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, WaitForExit(hProcess));
    CloseHandle(hMutex);
}

} // namespace
