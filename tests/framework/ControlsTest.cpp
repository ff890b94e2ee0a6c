#include "DialogHarness.h"

#include <gtest/gtest.h>

TEST(Controls, TemplateWithTreeAndUpDownCreates) {
    ASSERT_TRUE(AfxInitCommonControls());
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    char szClass[32] = {};
    GetClassNameA(dialog.Item(IDC_SPIN), szClass, sizeof(szClass));
    EXPECT_STREQ(szClass, "msctls_updown32");
}
