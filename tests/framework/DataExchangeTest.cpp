#include "AfxStrings.h"
#include "DialogHarness.h"

#include "../common/ShownDialogs.h"

#include <gtest/gtest.h>

using DataExchange = DialogTest;

TEST_F(DataExchange, IntegerTextMustBeOneWholeNumber) {
    const struct {
        const char* pszText;
        int nValue; // the member afterwards; 5 where the text is refused
    } cases[] = {{" 42 ", 42},       {"-7", -7},
                 {"+3", 3},          {"", 5},
                 {"4x", 5},          {"-", 5},
                 {"+ 5", 5},         {"2147483647", INT_MAX},
                 {"2147483648", 5},  {"-2147483648", INT_MIN},
                 {"-2147483649", 5}, {"99999999999", 5}};
    CMessageBoxAnswerer answerer;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.pszText + "\"");
        m_dialog.m_nNumber = 5;
        SetDlgItemTextA(m_dialog, IDC_NUMBER, c.pszText);
        ShownBoxes().clear();
        answerer.m_texts.clear();
        bool bValid = c.nValue != 5;
        EXPECT_EQ(m_dialog.UpdateData(TRUE), bValid);
        EXPECT_EQ(m_dialog.m_nNumber, c.nValue);
        EXPECT_EQ(answerer.m_texts, bValid ? Strings{} : Strings{"Please enter an integer."});
        EXPECT_EQ(ShownBoxes(),
                  (bValid ? Boxes{} : Boxes{{MB_ICONEXCLAMATION, AFX_IDP_PARSE_INT}}));
    }
}

TEST_F(DataExchange, OutOfRangeNamesTheLimitsAndKeepsWhatWasTyped) {
    m_dialog.m_nNumber = -12;
    m_dialog.m_nMin = 1;
    m_dialog.m_nMax = 99;
    CMessageBoxAnswerer answerer;
    // Towards the controls a value out of range is just shown.
    EXPECT_TRUE(m_dialog.UpdateData(FALSE));
    EXPECT_EQ(WindowText(m_dialog.Item(IDC_NUMBER)), "-12");
    EXPECT_TRUE(answerer.m_texts.empty());

    for (auto [pszTyped, bInRange] :
         {std::pair{"0", false}, {"1", true}, {"99", true}, {"100", false}}) {
        SCOPED_TRACE(pszTyped);
        answerer.m_texts.clear();
        SetDlgItemTextA(m_dialog, IDC_NUMBER, pszTyped);
        EXPECT_EQ(bInRange, m_dialog.UpdateData(TRUE) != FALSE);
        EXPECT_EQ(answerer.m_texts,
                  bInRange ? Strings{} : Strings{"Please enter an integer between 1 and 99."});
        EXPECT_EQ(std::to_string(m_dialog.m_nNumber), pszTyped);
    }
    // The number edit has the focus back, with its text selected.
    EXPECT_EQ(GetFocus(), m_dialog.Item(IDC_NUMBER));
    EXPECT_EQ(Selection(GetFocus()), "0-3");
}

TEST_F(DataExchange, MaxCharsLimitsTypingAndRefusesLongerText) {
    HWND hName = m_dialog.Item(IDC_NAME);
    TypeKeys(hName, "abcdefghijkl");
    EXPECT_EQ(GetWindowTextLengthA(hName), 10);
    CMessageBoxAnswerer answerer;
    EXPECT_TRUE(m_dialog.UpdateData(TRUE)) << "ten characters fit";
    EXPECT_STREQ(m_dialog.m_strName, "abcdefghij");

    // Text set by code is not cut short; one character more than ten is refused.
    for (const char* pszText : {"elevenchars", "set by code, too long"}) {
        SetWindowTextA(hName, pszText);
        answerer.m_texts.clear();
        EXPECT_FALSE(m_dialog.UpdateData(TRUE));
        EXPECT_EQ(answerer.m_texts, Strings{"Please enter no more than 10 characters."});
        EXPECT_STREQ(m_dialog.m_strName, pszText);
    }
}

TEST_F(DataExchange, FirstFailureEndsThePass) {
    SetDlgItemTextA(m_dialog, IDC_NUMBER, "x");
    SetDlgItemTextA(m_dialog, IDC_NAME, "fits");
    m_dialog.m_strName = "more than ten"; // its check would fail, were it made
    CMessageBoxAnswerer answerer;
    EXPECT_FALSE(m_dialog.UpdateData(TRUE));
    EXPECT_EQ(answerer.m_texts, Strings{"Please enter an integer."});
    EXPECT_STREQ(m_dialog.m_strName, "more than ten");
    EXPECT_EQ(GetFocus(), m_dialog.Item(IDC_NUMBER));
    EXPECT_EQ(Selection(GetFocus()), "0-1");
}

TEST_F(DataExchange, ControlIsSubclassedOnce) {
    ASSERT_TRUE(m_dialog.UpdateData(TRUE));
    ASSERT_TRUE(m_dialog.UpdateData(FALSE));
    EXPECT_EQ(m_dialog.m_tree.m_nSubclassed, 1);
    EXPECT_EQ(m_dialog.m_tree.m_hWnd, m_dialog.Item(IDC_TREE2));
    EXPECT_EQ(CWnd::FromHandlePermanent(m_dialog.Item(IDC_TREE2)), &m_dialog.m_tree);
}
