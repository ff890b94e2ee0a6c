#include "DialogHarness.h"

#include <gtest/gtest.h>

#include <functional>

using Notify = DialogTest;

TEST_F(Notify, HostResultsReflectionFirstAndRanges) {
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
        m_dialog.m_log.clear();
        m_dialog.m_bRefuse = c.bRefuse;
        TVINSERTSTRUCTA tvis = {};
        tvis.hParent = TVI_ROOT;
        HWND hTree = m_dialog.Item(c.nTree);
        LRESULT hItem = SendMessageA(hTree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&tvis));
        SendMessageA(hTree, TVM_SELECTITEM, TVGN_CARET, hItem);
        EXPECT_EQ(m_dialog.m_log, c.log);
        EXPECT_EQ(SendMessageA(hTree, TVM_GETNEXTITEM, TVGN_CARET, 0) == hItem, c.bSelected);
    }
}

TEST_F(Notify, EditChangesHelpAndHelpCommandReachTheDialog) {
    const HWND hName = m_dialog.Item(IDC_NAME);
    HELPINFO help = {};
    help.cbSize = sizeof(help);
    help.iCtrlId = IDC_NAME;
    const struct {
        const char* pszName;
        std::function<void()> act;
        Strings log;
    } cases[] = {
        {"typing", [&] { TypeKeys(hName, "a"); }, {"update", "change"}},
        {"F1 on the edit",
         [&] { SendMessageA(hName, WM_HELP, 0, reinterpret_cast<LPARAM>(&help)); },
         {"help info " + std::to_string(IDC_NAME)}},
        {"Help button", [&] { SendDlgItemMessageA(m_dialog, ID_HELP, BM_CLICK, 0, 0); }, {"help"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        m_dialog.m_log.clear();
        c.act();
        EXPECT_EQ(m_dialog.m_log, c.log);
    }
}

TEST_F(Notify, ChangesMadeUnderTheGuardAreIgnored) {
    // Creating the dialog filled its controls under a guard: nothing was logged then.
    {
        CChangeGuard guard(m_dialog.m_bFilling);
        { CChangeGuard nested(m_dialog.m_bFilling); }
        SetDlgItemTextA(m_dialog, IDC_NAME, "filled"); // still guarded after the nested guard
    }
    SetDlgItemTextA(m_dialog, IDC_NAME, "typed");
    EXPECT_EQ(m_dialog.m_log, (Strings{"update", "change"}));
}
