#include "afxwin.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;
const UINT g_nTestRegistered = RegisterWindowMessageA("VvMessageMapTest");
constexpr UINT WM_TEST_PING = WM_APP + 1;

// A window whose handlers record what reached them.
class CRecorderWnd : public CWnd {
public:
    Strings m_log;
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

} // namespace

// Each message reaches the handler its map names, or none, and gives back the handler's result.
// Either window is detached when it is destroyed.
TEST(MessageMap, DispatchesCommandsRangesAndMessagesDerivedEntriesFirst) {
    CRecorderWnd base;
    CDerivedWnd derived;
    for (auto [pWnd, pszOne] :
         {std::pair<CRecorderWnd*, const char*>{&base, "one"}, {&derived, "derived one"}}) {
        SCOPED_TRACE(pszOne);
        ASSERT_TRUE(pWnd->Create());
        const HWND hWnd = pWnd->m_hWnd;
        EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), pWnd);
        const struct {
            UINT message;
            WPARAM wParam;
            LPARAM lParam;
            LRESULT nResult;
            Strings log;
        } messages[] = {
            {WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), 0, 0, {pszOne}},
            {WM_COMMAND, MAKEWPARAM(203, BN_CLICKED), 0, 0, {"range 203"}},
            {WM_COMMAND, MAKEWPARAM(206, BN_CLICKED), 0, 0, {}}, // outside the range
            {WM_COMMAND, MAKEWPARAM(203, EN_CHANGE), 0, 0, {}},  // other code
            {WM_TEST_PING, 4, 21, 42, {"ping 4"}},
            {g_nTestRegistered, 0, 0, 5, {"registered"}},
        };
        EXPECT_EQ(pWnd->m_log, Strings{"create"});
        for (const auto& m : messages) {
            pWnd->m_log.clear();
            EXPECT_EQ(SendMessageA(hWnd, m.message, m.wParam, m.lParam), m.nResult);
            EXPECT_EQ(pWnd->m_log, m.log) << "message " << m.message << ", " << m.wParam;
        }
        pWnd->DestroyWindow();
        EXPECT_EQ(pWnd->m_hWnd, nullptr);
        EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    }
}

TEST(MessageMap, CreateCanRefuse) {
    CRecorderWnd refused;
    refused.m_nCreateResult = -1;
    EXPECT_FALSE(refused.Create());
    EXPECT_EQ(refused.m_log, Strings{"create"}) << "the refusal is the handler's";
    EXPECT_EQ(refused.m_hWnd, nullptr);
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
