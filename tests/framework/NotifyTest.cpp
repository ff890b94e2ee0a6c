#include "DialogHarness.h"

#include <gtest/gtest.h>

#include <functional>

TEST(Notify, HostResultsReflectionFirstAndRanges) {
    const std::string strTree1 = "host changing " + std::to_string(IDC_TREE);
    const struct {
        int nTree;
        BOOL bRefuse;
        Strings log;
        bool bSelected;
    } cases[] = {
        {IDC_TREE, TRUE, {strTree1}, false},
        {IDC_TREE, FALSE, {strTree1}, true},
        // The second tree's own handler goes first; the code it leaves reaches the host.
        {IDC_TREE2, TRUE, {"own changing", "host changed"}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.nTree << (c.bRefuse ? " refusing" : ""));
        CTestDialog dialog;
        ASSERT_TRUE(dialog.Create());
        dialog.m_bRefuse = c.bRefuse;
        TVINSERTSTRUCTA tvis = {};
        tvis.hParent = TVI_ROOT;
        HWND hTree = dialog.Item(c.nTree);
        LRESULT hItem = SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tvis));
        SendMessageA(hTree, TVM_SELECTITEM, TVGN_CARET, hItem);
        EXPECT_EQ(dialog.m_log, c.log);
        EXPECT_EQ(SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_CARET, 0) == hItem, c.bSelected);
    }
}

TEST(Notify, EditChangesHelpAndHelpCommandReachTheDialog) {
    HELPINFO help = {};
    help.cbSize = sizeof(help);
    help.iCtrlId = IDC_NAME;
    const struct {
        const char* pszName;
        std::function<void(HWND hName, HWND hHelp)> act;
        Strings log;
    } cases[] = {
        {"typing",
         [](HWND hName, HWND) { SendMessageA(hName, WM_CHAR, 'a', 1); },
         {"update", "change"}},
        {"F1 on the edit",
         [&help](HWND hName, HWND) {
             SendMessageA(hName, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
         },
         {"help info " + std::to_string(IDC_NAME)}},
        {"Help button", [](HWND, HWND hHelp) { SendMessageA(hHelp, BM_CLICK, 0, 0); }, {"help"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        CTestDialog dialog;
        ASSERT_TRUE(dialog.Create());
        c.act(dialog.Item(IDC_NAME), dialog.Item(ID_HELP));
        EXPECT_EQ(dialog.m_log, c.log);
    }
}

TEST(Notify, ChangesMadeUnderTheGuardAreIgnored) {
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create()); // fills its controls under a guard
    {
        CChangeGuard guard(dialog.m_bFilling);
        { CChangeGuard nested(dialog.m_bFilling); }
        SetDlgItemTextA(dialog, IDC_NAME, "filled"); // still guarded after the nested guard
    }
    SetDlgItemTextA(dialog, IDC_NAME, "typed");
    EXPECT_EQ(dialog.m_log, (Strings{"update", "change"}));
}
