#include "afxwin.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const UINT g_nTestRegistered = RegisterWindowMessageA("VvMessageMapTest");
constexpr UINT WM_TEST_PING = WM_APP + 1;

// A window whose handlers record what reached them.
class CRecorderWnd : public CWnd {
public:
    std::vector<std::string> m_log;
    int m_nCreateResult = 0;

    BOOL Create(CWnd* pParent = nullptr) {
        RECT rc = {0, 0, 100, 40};
        return CreateEx(0, "STATIC", "", pParent ? WS_CHILD : WS_POPUP, rc, pParent, 77);
    }

protected:
    afx_msg int OnCreate(LPCREATESTRUCTA pcs) {
        m_log.push_back("create");
        return CWnd::OnCreate(pcs) == -1 ? -1 : m_nCreateResult;
    }
    afx_msg void OnOne() { m_log.push_back("one"); }
    afx_msg void OnRange(UINT nID) { m_log.push_back("range " + std::to_string(nID)); }
    afx_msg LRESULT OnPing(WPARAM w, LPARAM l) {
        m_log.push_back("ping " + std::to_string(w));
        return l * 2;
    }
    afx_msg LRESULT OnRegistered(WPARAM, LPARAM) {
        m_log.push_back("registered");
        return 5;
    }
    afx_msg void OnSetFocus(CWnd* pOldWnd) {
        m_log.push_back(pOldWnd ? "focus from window" : "focus from none");
        CWnd::OnSetFocus(pOldWnd);
    }
    afx_msg void OnNotifyReflected(NMHDR* pHeader, LRESULT* pResult) {
        m_log.push_back("reflected " + std::to_string(pHeader->code));
        *pResult = 9;
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecorderWnd, CWnd)
ON_WM_CREATE()
ON_COMMAND(100, OnOne)
ON_CONTROL_RANGE(BN_CLICKED, 200, 205, OnRange)
ON_MESSAGE(WM_TEST_PING, OnPing)
ON_REGISTERED_MESSAGE(g_nTestRegistered, OnRegistered)
ON_WM_SETFOCUS()
ON_NOTIFY_REFLECT(NM_CLICK, OnNotifyReflected)
END_MESSAGE_MAP()

// A derived map comes first; what it does not handle falls through to the base's.
class CDerivedWnd : public CRecorderWnd {
protected:
    afx_msg void OnOneAgain() { m_log.push_back("derived one"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CRecorderWnd)
ON_COMMAND(100, OnOneAgain)
END_MESSAGE_MAP()

LRESULT Command(HWND hWnd, int nID, int nCode) {
    return SendMessageA(hWnd, WM_COMMAND, MAKEWPARAM(nID, nCode), 0);
}

} // namespace

TEST(MessageMap, DispatchesCommandsRangesAndMessages) {
    CRecorderWnd wnd;
    ASSERT_TRUE(wnd.Create());
    EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
    Command(wnd, 100, BN_CLICKED);
    Command(wnd, 203, BN_CLICKED);
    Command(wnd, 206, BN_CLICKED); // outside the range
    Command(wnd, 203, EN_CHANGE);  // other code
    EXPECT_EQ(SendMessageA(wnd, WM_TEST_PING, 4, 21), 42);
    EXPECT_EQ(SendMessageA(wnd, g_nTestRegistered, 0, 0), 5);
    EXPECT_EQ(wnd.m_log,
              (std::vector<std::string>{"create", "one", "range 203", "ping 4", "registered"}));
    wnd.DestroyWindow();
}

TEST(MessageMap, DerivedEntriesWinAndBaseEntriesRemain) {
    CDerivedWnd wnd;
    ASSERT_TRUE(wnd.Create());
    Command(wnd, 100, BN_CLICKED);
    Command(wnd, 201, BN_CLICKED);
    EXPECT_EQ(wnd.m_log, (std::vector<std::string>{"create", "derived one", "range 201"}));
    wnd.DestroyWindow();
}

TEST(MessageMap, CreateCanRefuseAndWindowsDetachWhenDestroyed) {
    CRecorderWnd refused;
    refused.m_nCreateResult = -1;
    EXPECT_FALSE(refused.Create());
    EXPECT_EQ(refused.m_hWnd, nullptr);

    CRecorderWnd wnd;
    ASSERT_TRUE(wnd.Create());
    HWND hWnd = wnd.m_hWnd;
    wnd.DestroyWindow();
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(MessageMap, NotificationsAreReflectedToTheControl) {
    CRecorderWnd parent;
    ASSERT_TRUE(parent.Create());
    CRecorderWnd child;
    ASSERT_TRUE(child.Create(&parent));
    NMHDR header = {child.m_hWnd, 77, static_cast<UINT>(NM_CLICK)};
    EXPECT_EQ(SendMessageA(parent, WM_NOTIFY, 77, reinterpret_cast<LPARAM>(&header)), 9);
    EXPECT_EQ(child.m_log.back(), "reflected " + std::to_string(static_cast<UINT>(NM_CLICK)));
    parent.DestroyWindow();
    EXPECT_EQ(child.m_hWnd, nullptr);
}

TEST(MessageMap, TemporaryViewsAndSubclassedControls) {
    CRecorderWnd parent;
    ASSERT_TRUE(parent.Create());
    HWND hStatic = CreateWindowExA(0, "STATIC", "x", WS_CHILD, 0, 0, 10, 10, parent, nullptr,
                                   nullptr, nullptr);
    CWnd* pView = CWnd::FromHandle(hStatic);
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hStatic), nullptr);

    // Subclassing replaces the temporary view: the attached object is the one found afterwards.
    CRecorderWnd control;
    ASSERT_TRUE(control.SubclassWindow(hStatic));
    EXPECT_EQ(CWnd::FromHandle(hStatic), &control);
    EXPECT_FALSE(control.SubclassWindow(hStatic)); // a window is attached once
    SendMessageA(hStatic, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(control.m_log.back(), "focus from none");
    parent.DestroyWindow();
    CWnd::DeleteTempMap();
}
