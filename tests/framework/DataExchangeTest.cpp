#include "AfxStrings.h"
#include "DialogHarness.h"

#include <gtest/gtest.h>

namespace {

// The control that has the focus and its selection, as "id start-end".
std::string FocusAndSelection() {
    DWORD nStart = 0, nEnd = 0;
    SendMessageA(GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&nStart),
                 reinterpret_cast<LPARAM>(&nEnd));
    return std::to_string(GetDlgCtrlID(GetFocus())) + " " + std::to_string(nStart) + "-" +
           std::to_string(nEnd);
}

} // namespace

TEST(DataExchange, IntegerTextMustBeOneWholeNumber) {
    const struct {
        const char* pszText;
        int nValue; // the member afterwards; 5 where the text is refused
    } cases[] = {{" 42 ", 42},       {"-7", -7},
                 {"+3", 3},          {"", 5},
                 {"4x", 5},          {"-", 5},
                 {"+ 5", 5},         {"2147483647", INT_MAX},
                 {"2147483648", 5},  {"-2147483648", INT_MIN},
                 {"-2147483649", 5}, {"99999999999", 5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.pszText + "\"");
        CTestDialog dialog;
        ASSERT_TRUE(dialog.Create());
        SetDlgItemTextA(dialog, IDC_NUMBER, c.pszText);
        ShownBoxes().clear();
        CMessageBoxAnswerer answerer;
        bool bValid = c.nValue != 5;
        EXPECT_EQ(dialog.UpdateData(TRUE), bValid);
        EXPECT_EQ(dialog.m_nNumber, c.nValue);
        EXPECT_EQ(answerer.m_texts, bValid ? Strings{} : Strings{"Please enter an integer."});
        if (!bValid) {
            EXPECT_EQ(ShownBoxes(), (std::vector<std::pair<UINT, UINT>>{
                                        {MB_ICONEXCLAMATION, AFX_IDP_PARSE_INT}}));
        }
    }
}

TEST(DataExchange, OutOfRangeNamesTheLimitsAndKeepsWhatWasTyped) {
    CTestDialog dialog;
    dialog.m_nNumber = -12;
    dialog.m_nMin = 1;
    dialog.m_nMax = 99;
    CMessageBoxAnswerer answerer;
    ASSERT_TRUE(dialog.Create()); // towards the controls a value out of range is just shown
    EXPECT_TRUE(answerer.m_texts.empty());

    for (auto [pszTyped, bInRange] :
         {std::pair{"0", false}, {"1", true}, {"99", true}, {"100", false}}) {
        SCOPED_TRACE(pszTyped);
        answerer.m_texts.clear();
        SetDlgItemTextA(dialog, IDC_NUMBER, pszTyped);
        EXPECT_EQ(bInRange, dialog.UpdateData(TRUE) != FALSE);
        EXPECT_EQ(answerer.m_texts,
                  bInRange ? Strings{} : Strings{"Please enter an integer between 1 and 99."});
        EXPECT_EQ(std::to_string(dialog.m_nNumber), pszTyped);
    }
    EXPECT_EQ(FocusAndSelection(), std::to_string(IDC_NUMBER) + " 0-3");
}

TEST(DataExchange, MaxCharsLimitsTypingAndRefusesLongerText) {
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    HWND hName = dialog.Item(IDC_NAME);
    for (char ch : std::string("abcdefghijkl")) {
        SendMessageA(hName, WM_CHAR, static_cast<WPARAM>(ch), 1);
    }
    EXPECT_EQ(GetWindowTextLengthA(hName), 10);
    CMessageBoxAnswerer answerer;
    EXPECT_TRUE(dialog.UpdateData(TRUE)) << "ten characters fit";

    // Text set by code is not cut short; one character more than ten is refused.
    for (const char* pszText : {"elevenchars", "set by code, too long"}) {
        SetWindowTextA(hName, pszText);
        answerer.m_texts.clear();
        EXPECT_FALSE(dialog.UpdateData(TRUE));
        EXPECT_EQ(answerer.m_texts, Strings{"Please enter no more than 10 characters."});
        EXPECT_STREQ(dialog.m_strName, pszText);
    }
}

TEST(DataExchange, FirstFailureEndsThePass) {
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    SetDlgItemTextA(dialog, IDC_NUMBER, "x");
    SetDlgItemTextA(dialog, IDC_NAME, "fits");
    dialog.m_strName = "more than ten"; // its check would fail, were it made
    CMessageBoxAnswerer answerer;
    EXPECT_FALSE(dialog.UpdateData(TRUE));
    EXPECT_EQ(answerer.m_texts, Strings{"Please enter an integer."});
    EXPECT_STREQ(dialog.m_strName, "more than ten");
    EXPECT_EQ(FocusAndSelection(), std::to_string(IDC_NUMBER) + " 0-1");
}

TEST(DataExchange, ControlIsSubclassedOnce) {
    CTestDialog dialog;
    ASSERT_TRUE(dialog.Create());
    ASSERT_TRUE(dialog.UpdateData(TRUE));
    ASSERT_TRUE(dialog.UpdateData(FALSE));
    EXPECT_EQ(dialog.m_tree.m_nSubclassed, 1);
    EXPECT_EQ(dialog.m_tree.m_hWnd, dialog.Item(IDC_TREE2));
    EXPECT_EQ(CWnd::FromHandlePermanent(dialog.Item(IDC_TREE2)), &dialog.m_tree);
}
