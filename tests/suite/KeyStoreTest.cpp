// The user's key store behind the key data calls: exact round trips, defaults and reset, damaged
// and unwritable stores, and two processes writing at once.
#include "../common/Process.h"
#include "../common/ScratchFolder.h"
#include "../common/SuiteLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <climits>

namespace {

constexpr int KEY_EVENT_1 = ZUCOM_EVENT_BASE + 1;

KeyAssignment Assignment(const char* pszTitle, const char* pszTarget) {
    KeyAssignment record;
    record.Title = pszTitle;
    record.Comment = pszTitle;
    record.Target = pszTarget;
    return record;
}

void ExpectSameRecord(const KeyAssignment& expected, const KeyAssignment& actual) {
    EXPECT_STREQ(expected.Title, actual.Title);
    EXPECT_STREQ(expected.Comment, actual.Comment);
    EXPECT_STREQ(expected.Target, actual.Target);
    EXPECT_STREQ(expected.WorkingFolder, actual.WorkingFolder);
    EXPECT_STREQ(expected.Parameters, actual.Parameters);
    EXPECT_STREQ(expected.IconSource, actual.IconSource);
    EXPECT_EQ(expected.nReserved, actual.nReserved);
    EXPECT_STREQ(expected.Reserved1, actual.Reserved1);
    EXPECT_STREQ(expected.Reserved2, actual.Reserved2);
}

class KeyStoreTest : public testing::Test {
protected:
    KeyAssignment Read(int nKey, int* pnResult = nullptr) {
        KeyAssignment record;
        int nResult = m_lib.pfnGetAppDataOfHarlEvent(&record, ZUCOM_EVENT_BASE + nKey);
        if (pnResult) {
            *pnResult = nResult;
        }
        return record;
    }
    bool IsAssigned(int nKey) {
        int nResult = 0;
        Read(nKey, &nResult);
        return nResult != 0;
    }
    int Store(int nKey, KeyAssignment record) {
        return m_lib.pfnSetAppDataOfHarlEvent(&record, ZUCOM_EVENT_BASE + nKey);
    }

    CScratchAppData m_appData;
    CSuiteLibrary m_lib;
};

TEST_F(KeyStoreTest, EveryFieldRoundTripsExactlyAndPathsStayReadable) {
    std::string strLong;
    while (strLong.size() < 2000) {
        strLong += "-x %1 \"quoted\" ";
    }
    KeyAssignment record;
    record.Title = "  blanks at both ends  ";
    record.Comment = "100% sure; a=b [Key1] #not a comment";
    record.Target = "C:\\Program Files\\App\\app.exe";
    record.WorkingFolder = "line one\r\nline two\tand a tab\n";
    record.Parameters = strLong.c_str();
    record.IconSource = "%41 looks escaped";
    record.nReserved = INT_MIN;
    record.Reserved1 = "\x01\x7f\xe9\xff";
    record.Reserved2 = " ";

    ASSERT_EQ(1, Store(3, record));
    int nResult = 0;
    ExpectSameRecord(record, Read(3, &nResult));
    EXPECT_EQ(1, nResult);
    EXPECT_FALSE(IsAssigned(2));
    EXPECT_FALSE(IsAssigned(4));

    std::string strText = ReadFileText(m_appData.StorePath());
    EXPECT_NE(std::string::npos, strText.find("Target=C:\\Program Files\\App\\app.exe\r\n"));
}

TEST_F(KeyStoreTest, EmptyRecordRemovesTheAssignmentButKeepsTheOption) {
    ASSERT_EQ(1, Store(2, Assignment("Notes", "C:\\notes.txt")));
    ASSERT_EQ(1, m_lib.pfnSetKeyOption(1, 1, 42));

    KeyAssignment empty;
    empty.nReserved = 7; // not one of the strings: the record still counts as empty
    ASSERT_EQ(1, Store(2, empty));

    int nResult = 1;
    ExpectSameRecord(KeyAssignment(), Read(2, &nResult));
    EXPECT_EQ(0, nResult);
    int bFlag = 0;
    int nNumber = 0;
    ASSERT_EQ(1, m_lib.pfnGetKeyOption(1, &bFlag, &nNumber));
    EXPECT_EQ(1, bFlag);
    EXPECT_EQ(42, nNumber);
}

TEST_F(KeyStoreTest, BadEventNumbersAreRefusedAndLeaveTheRecordAlone) {
    ASSERT_EQ(1, Store(1, Assignment("Stored", "C:\\a.exe")));
    for (int nEvent :
         {0, 1, ZUCOM_EVENT_BASE, ZUCOM_EVENT_BASE + 7, -KEY_EVENT_1, INT_MIN, INT_MAX}) {
        KeyAssignment record = Assignment("untouched", "C:\\b.exe");
        EXPECT_EQ(0, m_lib.pfnGetAppDataOfHarlEvent(&record, nEvent)) << nEvent;
        EXPECT_STREQ("untouched", record.Title) << nEvent;
        EXPECT_EQ(0, m_lib.pfnSetAppDataOfHarlEvent(&record, nEvent)) << nEvent;
    }
    EXPECT_EQ(0, m_lib.pfnGetAppDataOfHarlEvent(nullptr, KEY_EVENT_1));
    EXPECT_EQ(0, m_lib.pfnSetAppDataOfHarlEvent(nullptr, KEY_EVENT_1));
    EXPECT_STREQ("Stored", Read(1).Title);
}

TEST_F(KeyStoreTest, InitCreatesTheDefaultsOnceAndResetRestoresThem) {
    EXPECT_FALSE(IsAssigned(1));
    ASSERT_EQ(1, m_lib.pfnInitSKeyData(0));
    KeyAssignment defaults[6];
    int nAssigned = 0;
    for (int nKey = 1; nKey <= 6; ++nKey) {
        int nResult = 0;
        defaults[nKey - 1] = Read(nKey, &nResult);
        if (nResult) {
            ++nAssigned;
            EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(defaults[nKey - 1].Target))
                << "default target of key " << nKey << " is missing";
        }
    }
    EXPECT_GT(nAssigned, 0);

    ASSERT_EQ(1, Store(1, Assignment("Mine", "C:\\mine.exe")));
    ASSERT_EQ(1, m_lib.pfnSetKeyOption(0, 1, 77));
    ASSERT_EQ(1, m_lib.pfnInitSKeyData(0));
    EXPECT_STREQ("Mine", Read(1).Title);

    ASSERT_EQ(1, m_lib.pfnInitSKeyData(1));
    for (int nKey = 1; nKey <= 6; ++nKey) {
        ExpectSameRecord(defaults[nKey - 1], Read(nKey));
    }
    int bFlag = -1;
    int nNumber = -1;
    ASSERT_EQ(1, m_lib.pfnGetKeyOption(0, &bFlag, &nNumber));
    EXPECT_EQ(0, bFlag);
    EXPECT_EQ(5, nNumber);

    EXPECT_EQ(0, m_lib.pfnInitSKeyData(2));
    EXPECT_EQ(0, m_lib.pfnInitSKeyData(-1));
}

TEST_F(KeyStoreTest, DamagedStoreIsSetAsideAndReadsAsUnassigned) {
    const std::string strValid = "[KeyStore]\r\nFormat=Corvane key store\r\nVersion=1\r\n";
    const std::string damages[] = {
        std::string("\x00\x01garbage", 9),
        "[KeyStore]\r\nFormat=Corvane key store\r\nVersion=2\r\n[Key1]\r\nTitle=a\r\n",
        strValid + "[Key1]\r\nTitle=50%\r\n",
        strValid + "[Key1]\r\nTitle=a\r\njust words\r\n",
        strValid + "[Key1]\r\nOptionNumber=five\r\n",
        "",
    };
    size_t nAside = 0;
    for (const std::string& strDamage : damages) {
        CreateDirectoryA(m_appData.StoreFolder().c_str(), nullptr);
        ASSERT_TRUE(WriteFileText(m_appData.StorePath(), strDamage));

        EXPECT_FALSE(IsAssigned(1)) << strDamage;
        std::vector<std::string> aside =
            ListFiles(m_appData.StoreFolder(), "KeyStore.damaged-*.ini");
        ASSERT_EQ(++nAside, aside.size()) << strDamage;
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(m_appData.StorePath().c_str()));

        ASSERT_EQ(1, m_lib.pfnInitSKeyData(0));
        EXPECT_TRUE(IsAssigned(1)) << "defaults written after " << strDamage;
    }
    // Each damaged store is kept whole under a name of its own.
    for (const std::string& strName :
         ListFiles(m_appData.StoreFolder(), "KeyStore.damaged-*.ini")) {
        std::string strText = ReadFileText(m_appData.StoreFolder() + "\\" + strName);
        EXPECT_NE(std::end(damages), std::find(std::begin(damages), std::end(damages), strText));
    }
}

// Every kind of change replaces the store as a whole: a second name for the old file still shows
// the old text afterwards (a change written into the file would show through it), and no
// temporary file is left behind.
TEST_F(KeyStoreTest, EveryChangeReplacesTheStoreWholeInsteadOfWritingIntoIt) {
    ASSERT_EQ(1, Store(1, Assignment("Old", "C:\\old.exe")));
    const std::string strOldName = m_appData.StoreFolder() + "\\old.ini";
    const struct {
        const char* pszChange;
        std::function<int()> change;
    } changes[] = {
        {"record", [&] { return Store(1, Assignment("New", "C:\\new.exe")); }},
        {"option", [&] { return m_lib.pfnSetKeyOption(2, 1, 33); }},
        {"reset", [&] { return m_lib.pfnInitSKeyData(1); }},
    };
    for (const auto& test : changes) {
        SCOPED_TRACE(test.pszChange);
        DeleteFileA(strOldName.c_str());
        ASSERT_TRUE(CreateHardLinkA(strOldName.c_str(), m_appData.StorePath().c_str(), nullptr));
        const std::string strOld = ReadFileText(strOldName);
        ASSERT_EQ(1, test.change());
        EXPECT_EQ(strOld, ReadFileText(strOldName));
        EXPECT_NE(strOld, ReadFileText(m_appData.StorePath()));
        EXPECT_EQ(0u, ListFiles(m_appData.StoreFolder(), "KeyStore.new").size());
    }
}

TEST_F(KeyStoreTest, FailedWritesReturnZeroAndKeepTheOldState) {
    ASSERT_EQ(1, Store(1, Assignment("Old", "C:\\old.exe")));

    // A write cut short before its final rename leaves only its temporary file behind.
    ASSERT_TRUE(WriteFileText(m_appData.StoreFolder() + "\\KeyStore.new", "[Key1]\r\nTitle=Ha"));
    EXPECT_STREQ("Old", Read(1).Title);

    SetFileAttributesA(m_appData.StorePath().c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0, Store(1, Assignment("New", "C:\\new.exe")));
    EXPECT_EQ(0, m_lib.pfnSetKeyOption(0, 1, 9));
    EXPECT_EQ(0, m_lib.pfnInitSKeyData(1));
    EXPECT_STREQ("Old", Read(1).Title);

    SetFileAttributesA(m_appData.StorePath().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(1, Store(1, Assignment("New", "C:\\new.exe")));
    EXPECT_STREQ("New", Read(1).Title);

    // A file in the way of the store's folder.
    CScratchFolder blocked;
    ASSERT_TRUE(WriteFileText(blocked / "Corvane", "not a folder"));
    SetEnvironmentVariableA("APPDATA", blocked.Path().c_str());
    EXPECT_EQ(0, Store(1, Assignment("New", "C:\\new.exe")));
    EXPECT_EQ(0, m_lib.pfnInitSKeyData(0));
}

TEST_F(KeyStoreTest, KeyOptionsRoundTripAndOutOfRangeInputIsRefused) {
    for (int nIndex = 0; nIndex < 6; ++nIndex) {
        int bFlag = -1;
        int nNumber = -1;
        ASSERT_EQ(1, m_lib.pfnGetKeyOption(nIndex, &bFlag, &nNumber));
        EXPECT_EQ(0, bFlag);
        EXPECT_EQ(5, nNumber);
    }
    ASSERT_EQ(1, m_lib.pfnSetKeyOption(5, 7, 99));
    ASSERT_EQ(1, m_lib.pfnSetKeyOption(4, 0, 1));
    for (int nNumber : {0, 100, -1, INT_MIN}) {
        EXPECT_EQ(0, m_lib.pfnSetKeyOption(5, 1, nNumber)) << nNumber;
    }
    for (int nIndex : {-1, 6, INT_MAX}) {
        int bFlag = 0;
        int nNumber = 0;
        EXPECT_EQ(0, m_lib.pfnSetKeyOption(nIndex, 1, 5)) << nIndex;
        EXPECT_EQ(0, m_lib.pfnGetKeyOption(nIndex, &bFlag, &nNumber)) << nIndex;
    }
    int bFlag = -1;
    int nNumber = -1;
    ASSERT_EQ(1, m_lib.pfnGetKeyOption(5, &bFlag, &nNumber));
    EXPECT_EQ(1, bFlag);
    EXPECT_EQ(99, nNumber);
    ASSERT_EQ(1, m_lib.pfnGetKeyOption(4, &bFlag, &nNumber));
    EXPECT_EQ(0, bFlag);
    EXPECT_EQ(1, nNumber);
    EXPECT_EQ(0, m_lib.pfnGetKeyOption(0, nullptr, &nNumber));
    EXPECT_FALSE(IsAssigned(6)) << "an option alone is no assignment";
}

// One round of writes from one process: each of its keys and options gets a value naming the
// writer and the round.
void WriteRound(CSuiteLibrary& lib, const char* pszWriter, int nRound, int nLastKey) {
    for (int nKey = 1; nKey <= nLastKey; ++nKey) {
        std::string strValue = std::string(pszWriter) + "-" + std::to_string(nRound);
        KeyAssignment record = Assignment(strValue.c_str(), strValue.c_str());
        EXPECT_EQ(1, lib.pfnSetAppDataOfHarlEvent(&record, ZUCOM_EVENT_BASE + nKey));
        EXPECT_EQ(1, lib.pfnSetKeyOption(nKey - 1, nRound % 2, nRound % 99 + 1));
    }
}

constexpr int CHILD_ROUNDS = 30;

// Run by the test below as a second process, in the same scratch APPDATA: writes all six keys.
TEST(KeyStoreConcurrency, DISABLED_ChildWriter) {
    CSuiteLibrary lib;
    for (int nRound = 0; nRound < CHILD_ROUNDS; ++nRound) {
        WriteRound(lib, "child", nRound, 6);
    }
}

TEST(KeyStoreConcurrency, TwoProcessesWritingAtOnceLoseNoUpdate) {
    CScratchAppData appData;
    CSuiteLibrary lib;
    CChildProcess child(ThisProgramPath(),
                        "--gtest_also_run_disabled_tests"
                        " --gtest_filter=KeyStoreConcurrency.DISABLED_ChildWriter");
    ASSERT_TRUE(child.Started());

    // The parent writes keys 1 to 3 for as long as the child runs, so the two overlap whatever
    // their speeds; keys 4 to 6 are the child's alone.
    DWORD dwStart = GetTickCount();
    int nRound = 0;
    while (!child.HasEnded() && GetTickCount() - dwStart < 4 * kDeadlineMs) {
        WriteRound(lib, "parent", nRound++, 3);
    }
    EXPECT_EQ(0u, child.WaitForExit(0)) << "the child's writes failed or did not end";

    std::string strChildLast = "child-" + std::to_string(CHILD_ROUNDS - 1);
    for (int nKey = 1; nKey <= 6; ++nKey) {
        KeyAssignment record;
        ASSERT_EQ(1, lib.pfnGetAppDataOfHarlEvent(&record, ZUCOM_EVENT_BASE + nKey));
        std::string strTitle = static_cast<LPCSTR>(record.Title);
        EXPECT_STREQ(record.Title, record.Target) << "a record mixed from two writes";
        if (nKey <= 3) {
            EXPECT_TRUE(strTitle.rfind("parent-", 0) == 0 || strTitle.rfind("child-", 0) == 0)
                << strTitle;
        } else {
            EXPECT_EQ(strChildLast, strTitle) << "the child's last write to key " << nKey;
            int bFlag = 0;
            int nNumber = 0;
            ASSERT_EQ(1, lib.pfnGetKeyOption(nKey - 1, &bFlag, &nNumber));
            EXPECT_EQ((CHILD_ROUNDS - 1) % 2, bFlag);
            EXPECT_EQ((CHILD_ROUNDS - 1) % 99 + 1, nNumber);
        }
    }
    EXPECT_EQ(1u, ListFiles(appData.StoreFolder(), "KeyStore.*").size())
        << "a damaged store was set aside or a temporary file left behind";
}

} // namespace
