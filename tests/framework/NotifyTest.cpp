#include "DialogHarness.h"

#include <gtest/gtest.h>

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
