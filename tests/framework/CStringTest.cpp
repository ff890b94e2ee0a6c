#include "CString.h"

#include <gtest/gtest.h>

TEST(CString, CopiesShareUntilOneIsWritten) {
    CString a("Notepad");
    CString b(a);
    EXPECT_EQ(static_cast<LPCSTR>(a), static_cast<LPCSTR>(b));
    b.MakeUpper();
    EXPECT_STREQ(a, "Notepad");
    EXPECT_STREQ(b, "NOTEPAD");
    a = a; // self-assignment keeps the text
    EXPECT_STREQ(a, "Notepad");
}

TEST(CString, BuffersLiveOnTheProcessHeap) {
    // The shortcut library assigns into strings the module frees: both must use one heap.
    CString str("C:\\Tools\\calc.exe");
    const void* pBlock = static_cast<const char*>(str) - 3 * sizeof(LONG);
    EXPECT_NE(HeapSize(GetProcessHeap(), 0, pBlock), static_cast<SIZE_T>(-1));
    CString empty;
    EXPECT_STREQ(empty, "");
    empty.Empty(); // releasing the shared empty string must not free it
    EXPECT_EQ(empty.GetLength(), 0);
}

TEST(CString, AppendingToItselfAndConcatenation) {
    CString s("ab");
    s += s;
    EXPECT_STREQ(s, "abab");
    s += 'c';
    s += static_cast<LPCSTR>(nullptr);
    EXPECT_STREQ(s, "ababc");
    EXPECT_STREQ(CString("x") + "y" + CString("z"), "xyz");
    EXPECT_STREQ("<" + CString("p") + ">", "<p>");
}

TEST(CString, SlicingClampsOutOfRangeArguments) {
    CString s("C:\\Docs\\a.tar.gz");
    EXPECT_STREQ(s.Mid(8), "a.tar.gz");
    EXPECT_STREQ(s.Mid(8, 5), "a.tar");
    EXPECT_STREQ(s.Mid(100), "");
    EXPECT_STREQ(s.Mid(-5, 2), "C:");
    EXPECT_STREQ(s.Left(100), "C:\\Docs\\a.tar.gz");
    EXPECT_STREQ(s.Right(3), ".gz");
    EXPECT_STREQ(s.Right(-1), "");
    EXPECT_EQ(s.Find('.'), 9);
    EXPECT_EQ(s.Find(".gz"), 13);
    EXPECT_EQ(s.Find('.', 100), -1);
    EXPECT_EQ(s.ReverseFind('.'), 13);
    EXPECT_EQ(s.ReverseFind('\0'), -1);
}

TEST(CString, TrimmingAndComparison) {
    for (auto [pszText, pszTrimmed] : {std::pair{" \t C:\\ \r\n", "C:\\"}, {"   ", ""}}) {
        EXPECT_STREQ(CString(pszText).Trim(), pszTrimmed);
    }
    EXPECT_EQ(CString("ALLFILES").CompareNoCase("allfiles"), 0);
    EXPECT_NE(CString("AllFiles").Compare("allfiles"), 0);
    EXPECT_TRUE(CString("a") == "a");
    EXPECT_TRUE(CString("a") != "b");
}

TEST(CString, FormatAndBuffers) {
    CString s;
    s.Format("SKey%d%s", 3, "Button");
    EXPECT_STREQ(s, "SKey3Button");
    CString big;
    big.Format("%0600d", 7);
    EXPECT_EQ(big.GetLength(), 600);

    CString shared("keep");
    CString buffer(shared);
    lstrcpyA(buffer.GetBuffer(MAX_PATH), "C:\\windows");
    buffer.ReleaseBuffer();
    EXPECT_STREQ(buffer, "C:\\windows");
    EXPECT_EQ(buffer.GetLength(), 10);
    EXPECT_STREQ(shared, "keep");
    buffer.GetBuffer(20);
    buffer.ReleaseBuffer(2);
    EXPECT_STREQ(buffer, "C:");
}
