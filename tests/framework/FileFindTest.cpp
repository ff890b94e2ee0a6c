#include "CFileFind.h"

#include "../common/ScratchFolder.h"

#include <gtest/gtest.h>

namespace {

// A fresh folder with two text files and a subfolder, removed afterwards.
class FileFindTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.WriteFile("a.txt", "") && m_folder.WriteFile("b.txt", "") &&
                    m_folder.MakeFolder("sub"));
    }
    CString Path(const char* pszName) const { return (m_folder / pszName).c_str(); }
    CScratchFolder m_folder;
};

} // namespace

TEST_F(FileFindTest, OneMatchIsTheLastEntryAtOnce) {
    CFileFind finder;
    for (auto [pszName, bFolder] : {std::pair{"a.txt", FALSE}, {"sub", TRUE}}) {
        SCOPED_TRACE(pszName);
        ASSERT_TRUE(finder.FindFile(Path(pszName)));
        EXPECT_FALSE(finder.FindNextFile()); // the entry found is the only one
        EXPECT_STREQ(finder.GetFileName(), pszName);
        EXPECT_STREQ(finder.GetFilePath(), Path(pszName));
        EXPECT_EQ(finder.IsDirectory(), bFolder);
        EXPECT_FALSE(finder.IsDots());
    }
}

TEST_F(FileFindTest, WildcardsReportFurtherEntries) {
    CFileFind finder;
    ASSERT_TRUE(finder.FindFile(Path("*.txt")));
    EXPECT_TRUE(finder.FindNextFile());
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_FALSE(finder.FindNextFile()); // past the end stays false
}

TEST_F(FileFindTest, DotsAndMisses) {
    CFileFind finder;
    int nDots = 0;
    ASSERT_TRUE(finder.FindFile(Path("*")));
    for (BOOL bMore = TRUE; bMore;) {
        bMore = finder.FindNextFile();
        nDots += finder.IsDots() ? 1 : 0;
    }
    EXPECT_EQ(nDots, 2);
    EXPECT_FALSE(finder.FindFile(Path("missing.txt")));
    EXPECT_FALSE(finder.FindNextFile());
    EXPECT_FALSE(finder.FindFile(""));
}
