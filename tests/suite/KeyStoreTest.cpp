// The user's key store behind the key data calls: exact round trips, defaults and reset, damaged
// and unwritable stores, and two processes writing at once.
#include "../common/Process.h"
#include "../common/ScratchFolder.h"
#include "../common/SuiteLibrary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <utility>
#include <vector>

namespace {

KeyAssignment Assignment(const char* pszTitle, const char* pszTarget) {
    KeyAssignment record;
    record.Title = pszTitle;
    record.Comment = pszTitle;
    record.Target = pszTarget;
    return record;
}

// The record's nine slots, to be compared whole.
std::vector<std::string> Slots(const KeyAssignment& r) {
    std::vector<std::string> slots;
    for (const CString* pText : {&r.Title, &r.Comment, &r.Target, &r.WorkingFolder, &r.Parameters,
                                 &r.IconSource, &r.Reserved1, &r.Reserved2}) {
        slots.emplace_back(*pText);
    }
    slots.push_back(std::to_string(r.nReserved));
    return slots;
}

class KeyStoreTest : public testing::Test {
protected:
    KeyAssignment Read(int nKey, int* pnResult = nullptr) { return m_lib.Read(nKey, pnResult); }
    bool IsAssigned(int nKey) { return m_lib.IsAssigned(nKey); }
    int Store(int nKey, const KeyAssignment& record) { return m_lib.Store(nKey, record); }
    std::pair<int, int> Option(int nIndex) { return m_lib.Option(nIndex); }

    CScratchAppData m_appData;
    CSuiteLibrary m_lib;
};

TEST_F(KeyStoreTest, EveryFieldRoundTripsExactlyAndAnEmptyRecordClearsAllButTheOption) {
    const std::string strLong = std::string(1000, '%') + std::string(1000, '"');
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
    ASSERT_EQ(1, m_lib.pfnSetKeyOption(2, 1, 42));
    int nResult = 0;
    EXPECT_EQ(Slots(record), Slots(Read(3, &nResult)));
    EXPECT_EQ(1, nResult);
    EXPECT_FALSE(IsAssigned(2));
    EXPECT_FALSE(IsAssigned(4));
    std::string strText = ReadFileText(m_appData.StorePath());
    EXPECT_NE(std::string::npos, strText.find("Target=C:\\Program Files\\App\\app.exe\r\n"));

    KeyAssignment empty;
    empty.nReserved = 7; // not one of the strings: the record still counts as empty
    ASSERT_EQ(1, Store(3, empty));
    EXPECT_EQ(Slots(KeyAssignment()), Slots(Read(3, &nResult)));
    EXPECT_EQ(0, nResult);
    EXPECT_EQ(std::make_pair(1, 42), Option(2));
}

// A key's event number is its number plus 512.
TEST_F(KeyStoreTest, EventNumbersOfKeysOneToSixAloneAreTakenAndRefusedOnesLeaveAllAlone) {
    const struct {
        int nEvent;
        int nKey; // 0: refused
    } cases[] = {{INT_MIN, 0}, {-513, 0}, {0, 0},   {1, 0},      {512, 0},
                 {513, 1},     {518, 6},  {519, 0}, {INT_MAX, 0}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.nEvent);
        std::string strTitle = "event " + std::to_string(test.nEvent);
        KeyAssignment record = Assignment(strTitle.c_str(), "C:\\a.exe");
        EXPECT_EQ(test.nKey != 0, m_lib.pfnSetAppDataOfHarlEvent(&record, test.nEvent));
        record = Assignment("untouched", "C:\\b.exe");
        EXPECT_EQ(test.nKey != 0, m_lib.pfnGetAppDataOfHarlEvent(&record, test.nEvent));
        EXPECT_STREQ(test.nKey ? strTitle.c_str() : "untouched", record.Title);
    }
    EXPECT_EQ(0, m_lib.pfnGetAppDataOfHarlEvent(nullptr, 513));
    EXPECT_EQ(0, m_lib.pfnSetAppDataOfHarlEvent(nullptr, 513));
    for (int nKey = 1; nKey <= 6; ++nKey) {
        EXPECT_STREQ(nKey == 1 ? "event 513" : nKey == 6 ? "event 518" : "", Read(nKey).Title);
    }
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
        EXPECT_EQ(Slots(defaults[nKey - 1]), Slots(Read(nKey))) << nKey;
    }
    EXPECT_EQ(std::make_pair(0, 5), Option(0));
    EXPECT_EQ(0, m_lib.pfnInitSKeyData(2));
    EXPECT_EQ(0, m_lib.pfnInitSKeyData(-1));
}

const char kStoreHeader[] = "[KeyStore]\r\nFormat=Corvane key store\r\nVersion=1\r\n";
const size_t kStoreLimit = 16 * 1024 * 1024; // the largest store the library reads

// A store of nSize bytes, key 2 titled "Big": a comment fills it up.
std::string StoreOfSize(size_t nSize) {
    std::string strStore = std::string(kStoreHeader) + "[Key2]\r\nTitle=Big\r\n;";
    return strStore + std::string(nSize - strStore.size() - 2, 'x') + "\r\n";
}

// A store edited by hand is read by the rules the library writes by: names of sections and fields
// in any case, blanks around '=' ignored, flags and numbers as written. One that breaks them is
// set aside whole, under a name of its own, and reads as unassigned.
TEST_F(KeyStoreTest, AStoreWrittenByHandIsReadByTheRulesOrSetAsideWhole) {
    const std::string strHeader = kStoreHeader;
    const struct {
        std::string strStore;
        const char* pszTitle;                // key 2's; null: damaged
        std::pair<int, int> option = {0, 5}; // key 2's
    } cases[] = {
        {"[KEYSTORE]\r\nformat = Corvane key store\r\nVERSION\t=\t1\r\n"
         "[key2]\r\ntItLe =  Case and blanks  \r\noptionflag = 1\r\n",
         "Case and blanks",
         {1, 5}},
        {strHeader + "[Key2]\r\nTitle=a\r\nOptionFlag=1\r\nOptionNumber=0\r\n", "a", {1, 0}},
        {strHeader + "[Key2]\r\nTitle=a\r\nOptionFlag=1\r\nOptionNumber=1\r\n", "a", {1, 1}},
        {strHeader + "[Key2]\r\nTitle=a\r\nOptionFlag=0\r\nOptionNumber=99\r\n", "a", {0, 99}},
        {strHeader + "[Key2]\r\nTitle=a\r\nOptionFlag=7\r\nOptionNumber=100\r\n", "a", {1, 100}},
        {StoreOfSize(kStoreLimit), "Big"},
        {std::string("\x00\x01garbage", 9), nullptr},
        {"[KeyStore]\r\nFormat=Corvane key store\r\nVersion=2\r\n[Key2]\r\nTitle=a\r\n", nullptr},
        {"[KeyStore]\r\nFormat=corvane key store\r\nVersion=1\r\n[Key2]\r\nTitle=a\r\n", nullptr},
        {strHeader + "[Key2]\r\nTitle=50%\r\n", nullptr},
        {strHeader + "[Key2]\r\nTitle=a\r\njust words\r\n", nullptr},
        {strHeader + "[Key2]\r\nTitle=a\r\nOptionNumber=five\r\n", nullptr},
        {StoreOfSize(kStoreLimit + 1), nullptr},
        {"", nullptr},
    };
    CreateDirectoryA(m_appData.StoreFolder().c_str(), nullptr);
    size_t nAside = 0;
    for (const auto& test : cases) {
        SCOPED_TRACE(test.strStore.substr(0, 100));
        ASSERT_TRUE(WriteFileText(m_appData.StorePath(), test.strStore));
        int nResult = 0;
        EXPECT_STREQ(test.pszTitle ? test.pszTitle : "", Read(2, &nResult).Title);
        EXPECT_EQ(test.pszTitle != nullptr, nResult);
        EXPECT_EQ(test.option, Option(1));
        nAside += test.pszTitle ? 0 : 1;
        ASSERT_EQ(nAside, ListFiles(m_appData.StoreFolder(), "KeyStore.damaged-*.ini").size());
        EXPECT_EQ(test.pszTitle != nullptr,
                  GetFileAttributesA(m_appData.StorePath().c_str()) != INVALID_FILE_ATTRIBUTES);
        // The defaults again, over a store read well too: the next one, written by hand within the
        // file system's tick and at the same size, would look unchanged to the library.
        ASSERT_EQ(1, m_lib.pfnInitSKeyData(test.pszTitle ? 1 : 0));
        EXPECT_TRUE(IsAssigned(1)) << "defaults written";
    }
    for (const std::string& strName :
         ListFiles(m_appData.StoreFolder(), "KeyStore.damaged-*.ini")) {
        std::string strText = ReadFileText(m_appData.StoreFolder() + "\\" + strName);
        EXPECT_TRUE(std::any_of(std::begin(cases), std::end(cases),
                                [&](const auto& test) { return test.strStore == strText; }));
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
    const std::pair<int, bool> indexes[] = {{INT_MIN, false}, {-1, false}, {0, true},
                                            {5, true},        {6, false},  {INT_MAX, false}};
    for (const auto& [nIndex, bKey] : indexes) {
        EXPECT_EQ(bKey ? std::make_pair(0, 5) : std::make_pair(-1, -1), Option(nIndex))
            << nIndex << ": a key never set has its option off, and 5";
        EXPECT_EQ(bKey, m_lib.pfnSetKeyOption(nIndex, 1, 9)) << nIndex;
    }
    const struct {
        int bFlag;
        int nNumber;
        std::pair<int, int> stored; // (-1, -1): refused, and the key keeps what it had
    } cases[] = {{7, 99, {1, 99}},   {0, 1, {0, 1}},         {1, 0, {-1, -1}},
                 {1, 100, {-1, -1}}, {1, INT_MIN, {-1, -1}}, {1, -1, {-1, -1}},
                 {1, 2, {1, 2}},     {1, INT_MAX, {-1, -1}}};
    std::pair<int, int> expected = {1, 9};
    for (const auto& test : cases) {
        bool bStored = test.stored.first >= 0;
        EXPECT_EQ(bStored, m_lib.pfnSetKeyOption(2, test.bFlag, test.nNumber)) << test.nNumber;
        expected = bStored ? test.stored : expected;
        EXPECT_EQ(expected, Option(2)) << test.nNumber;
    }
    int nNumber = 0;
    EXPECT_EQ(0, m_lib.pfnGetKeyOption(0, nullptr, &nNumber));
    EXPECT_FALSE(IsAssigned(3)) << "an option alone is no assignment";
}

// One round of writes from one process: each of its keys and options gets a value naming the
// writer and the round.
void WriteRound(CSuiteLibrary& lib, const char* pszWriter, int nRound, int nLastKey) {
    for (int nKey = 1; nKey <= nLastKey; ++nKey) {
        std::string strValue = std::string(pszWriter) + "-" + std::to_string(nRound);
        EXPECT_EQ(1, lib.Store(nKey, Assignment(strValue.c_str(), strValue.c_str())));
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

TEST_F(KeyStoreTest, TwoProcessesWritingAtOnceLoseNoUpdate) {
    CChildProcess child(ThisProgramPath(),
                        "--gtest_also_run_disabled_tests "
                        "--gtest_filter=KeyStoreConcurrency.DISABLED_ChildWriter");
    ASSERT_TRUE(child.Started());

    // The parent writes keys 1 to 3 for as long as the child runs, so the two overlap whatever
    // their speeds; keys 4 to 6 are the child's alone.
    DWORD dwStart = GetTickCount();
    int nRound = 0;
    while (!child.HasEnded() && GetTickCount() - dwStart < 4 * kDeadlineMs) {
        WriteRound(m_lib, "parent", nRound++, 3);
    }
    EXPECT_EQ(0u, child.WaitForExit(0)) << "the child's writes failed or did not end";

    std::string strChildLast = "child-" + std::to_string(CHILD_ROUNDS - 1);
    for (int nKey = 1; nKey <= 6; ++nKey) {
        int nResult = 0;
        KeyAssignment record = Read(nKey, &nResult);
        ASSERT_EQ(1, nResult);
        std::string strTitle = static_cast<LPCSTR>(record.Title);
        EXPECT_STREQ(record.Title, record.Target) << "a record mixed from two writes";
        if (nKey <= 3) {
            EXPECT_TRUE(strTitle.rfind("parent-", 0) == 0 || strTitle.rfind("child-", 0) == 0)
                << strTitle;
        } else {
            EXPECT_EQ(strChildLast, strTitle) << "the child's last write to key " << nKey;
            EXPECT_EQ(std::make_pair((CHILD_ROUNDS - 1) % 2, (CHILD_ROUNDS - 1) % 99 + 1),
                      Option(nKey - 1));
        }
    }
    EXPECT_EQ(1u, ListFiles(m_appData.StoreFolder(), "KeyStore.*").size())
        << "a damaged store was set aside or a temporary file left behind";
}

} // namespace
