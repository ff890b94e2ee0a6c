// The shortcut service VeRiro.exe as the library reaches it: found, registered with, single,
// restartable after a crash, and stopped by WM_CLOSE.
#include "../common/Process.h"
#include "../common/SuiteLibrary.h"

#include "../../suite/VeDerovu/ServiceProtocol.h"

#include <gtest/gtest.h>

namespace {

// Stands in for the key panel's window: any window of this process.
HWND CreatePanelWindow() {
    return CreateWindowExA(0, "STATIC", "panel", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                           nullptr);
}

class ServiceTest : public testing::Test {
protected:
    // A service left over from an earlier run would answer in place of the one under test.
    void SetUp() override { ASSERT_TRUE(StopShortcutService()); }

    // Waits until the library finds the service; a service process that ends meanwhile ends the
    // wait too.
    bool WaitForServer(const CChildProcess& service) {
        return WaitFor([&] {
                   return (m_lib.pfnGetServer(&m_hService) && m_hService) || service.HasEnded();
               }) &&
               m_hService;
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
    CChildProcess service(StagedPath("VeRiro.exe"));
    ASSERT_TRUE(WaitForServer(service)) << "the service never showed its window";
    EXPECT_FALSE(IsWindowVisible(m_hService));

    HWND hPanel = CreatePanelWindow();
    ASSERT_TRUE(hPanel);
    HWND hClient = nullptr;
    EXPECT_EQ(0, m_lib.pfnGetClient(&hClient)) << "no client registered yet";
    ASSERT_EQ(1, m_lib.pfnSetClient(hPanel));
    EXPECT_EQ(0, m_lib.pfnSetClient(reinterpret_cast<HWND>(0x7ffff0))) << "not a window";
    ASSERT_EQ(1, m_lib.pfnGetClient(&hClient));
    EXPECT_EQ(hPanel, hClient);

    CChildProcess second(StagedPath("VeRiro.exe"));
    EXPECT_EQ(1u, second.WaitForExit()) << "a second service must leave at once";

    DestroyWindow(hPanel);
    hClient = reinterpret_cast<HWND>(1);
    EXPECT_EQ(0, m_lib.pfnGetClient(&hClient)) << "the panel's window has gone";
    EXPECT_EQ(nullptr, hClient);

    PostMessageA(m_hService, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, service.WaitForExit());
    HWND hWnd = nullptr;
    EXPECT_EQ(0, m_lib.pfnGetServer(&hWnd));
}

TEST_F(ServiceTest, AServiceThatDiedDoesNotBlockTheNextOne) {
    CChildProcess crashed(StagedPath("VeRiro.exe"));
    ASSERT_TRUE(WaitForServer(crashed));
    // Held open here, the instance mutex outlives its owner and is left abandoned, not deleted.
    HANDLE hMutex = OpenMutexA(SYNCHRONIZE, FALSE, CVN_SERVICE_MUTEX);
    ASSERT_TRUE(hMutex);
    crashed.Terminate(9);
    EXPECT_EQ(9u, crashed.WaitForExit());

    m_hService = nullptr;
    CChildProcess service(StagedPath("VeRiro.exe"));
    ASSERT_TRUE(WaitForServer(service)) << "the abandoned instance mutex kept it out";
    PostMessageA(m_hService, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, service.WaitForExit());
    CloseHandle(hMutex);
}

} // namespace
