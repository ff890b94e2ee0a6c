#include "CFileFind.h"
#include "CHandle.h"

#include <gtest/gtest.h>

namespace {

// A fresh folder with two text files and a subfolder, removed afterwards.
class FileFindTest : public testing::Test {
protected:
    void SetUp() override {
        char szTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, szTemp);
        m_strDir.Format("%sfilefind-%lu", szTemp, GetCurrentProcessId());
        CreateDirectoryA(m_strDir, nullptr);
        CreateDirectoryA(m_strDir + "\\sub", nullptr);
        for (LPCSTR pszName : {"\\a.txt", "\\b.txt"}) {
            CHandle(CreateFileA(m_strDir + pszName, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        }
    }
    void TearDown() override {
        DeleteFileA(m_strDir + "\\a.txt");
        DeleteFileA(m_strDir + "\\b.txt");
        RemoveDirectoryA(m_strDir + "\\sub");
        RemoveDirectoryA(m_strDir);
    }
    CString m_strDir;
};

} // namespace

TEST_F(FileFindTest, OneMatchIsTheLastEntryAtOnce) {
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile(m_strDir + "\\a.txt"));
    EXPECT_FALSE(finder.FindNextFile()); // the entry found is the only one
    EXPECT_STREQ(finder.GetFileName(), "a.txt");
    EXPECT_STREQ(finder.GetFilePath(), m_strDir + "\\a.txt");
    EXPECT_FALSE(finder.IsDirectory());
}

TEST_F(FileFindTest, WildcardsReportFurtherEntries) {
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile(m_strDir + "\\*.txt"));
    EXPECT_TRUE(finder.FindNextFile());
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_FALSE(finder.FindNextFile()); // past the end stays false
}

TEST_F(FileFindTest, FoldersDotsAndMisses) {
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile(m_strDir + "\\sub"));
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_TRUE(finder.IsDirectory());
    EXPECT_FALSE(finder.IsDots());

    int nDots = 0;
    ASSERT_TRUE(finder.FindFile(m_strDir + "\\*"));
    BOOL bMore = TRUE;
    while (bMore) {
        bMore = finder.FindNextFile();
        nDots += finder.IsDots() ? 1 : 0;
    }
    EXPECT_EQ(nDots, 2);

    EXPECT_FALSE(finder.FindFile(m_strDir + "\\missing.txt"));
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_FALSE(finder.FindFile(""));
}
