#include "../../base/NarrowPath.h"

#include "../common/ScratchFolder.h"

#include <gtest/gtest.h>

// A name that the code page cannot hold goes by its short name, with what a title can read of the
// long one. (The drop tests have a name it holds, and one without a short name.)
TEST(NarrowPath, ANameBeyondTheCodePageGoesByItsShortName) {
    CScratchFolder scratch;
    const std::pair<std::wstring, std::string> cases[] = {
        {L"a\u0100b.txt", "ab.txt"}, // not the look-alike "aAb.txt"
        {L"\u5831 Q3  \u544a R \u66f8 .txt", "Q3 R.txt"},
        {L"\U0001F600 pic.png", "pic.png"},
        {L"\u5831\u544a\u66f8.txt", ""}, // an extension alone reads as nothing
    };
    for (const auto& [strName, strLongName] : cases) {
        ASSERT_TRUE(scratch.MakeWideEntry(strName));
        NarrowPath narrow;
        EXPECT_TRUE(NarrowPathOf(scratch.WidePath(strName).c_str(), narrow));
        EXPECT_EQ(ShortPath(scratch.WidePath(strName)), std::string(narrow.strPath));
        EXPECT_EQ(strLongName, std::string(narrow.strLongName));
    }
}
