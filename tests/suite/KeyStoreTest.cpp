// The user's key store behind the key data calls: exact round trips, defaults and reset, damaged
// and unwritable stores, and two writers at once.
#include "../common/Process.h"
#include "../common/ScratchFolder.h"
#include "../common/SuiteLibrary.h"
#include "../common/Watchdog.h"

#include "CHandle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <functional>
#include <thread>
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

// A copy of the library with a Corvane.ini of its own, and a key store of its own.
class KeyStoreTest : public testing::Test {
protected:
    CScratchSuite m_suite{{"VeDerovu.dll", "Corvane.ini"}};
    const CScratchAppData& m_appData = m_suite.AppData();
    CSuiteLibrary m_lib{m_suite / "VeDerovu.dll"};
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
    ASSERT_EQ(1, m_lib.Store(3, record));
    ASSERT_EQ(1, m_lib.pfnSetKeyOption(2, 1, 42));
    int nResult = 0;
    EXPECT_EQ(Slots(record), Slots(m_lib.Read(3, &nResult)));
    EXPECT_EQ(1, nResult);
    std::string strText = ReadFileText(m_appData.StorePath());
    EXPECT_NE(std::string::npos, strText.find("Target=C:\\Program Files\\App\\app.exe\r\n"));

    KeyAssignment empty;
    empty.nReserved = 7; // not one of the strings: the record still counts as empty
    ASSERT_EQ(1, m_lib.Store(3, empty));
    EXPECT_EQ(Slots(KeyAssignment()), Slots(m_lib.Read(3, &nResult)));
    EXPECT_EQ(0, nResult);
    EXPECT_EQ(std::make_pair(1, 42), m_lib.Option(2));
}

// Keys 1 to 6 alone are taken, by event number (the key's number plus 512) for records and by
// index (the number minus 1) for options; a refused call leaves everything alone.
TEST_F(KeyStoreTest, KeysOneToSixAloneAreTakenByEventNumberAndByIndex) {
    const struct {
        int nEvent;
        int nIndex;
        bool bKey;
    } cases[] = {{INT_MIN, INT_MIN, false}, {-513, -1, false}, {0, -1, false}, {1, 6, false},
                 {512, -1, false},          {513, 0, true},    {518, 5, true}, {519, 6, false},
                 {INT_MAX, INT_MAX, false}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.nEvent);
        std::string strTitle = "event " + std::to_string(test.nEvent);
        KeyAssignment record = Assignment(strTitle.c_str(), "C:\\a.exe");
        EXPECT_EQ(test.bKey, m_lib.pfnSetAppDataOfHarlEvent(&record, test.nEvent));
        record = Assignment("untouched", "C:\\b.exe");
        EXPECT_EQ(test.bKey, m_lib.pfnGetAppDataOfHarlEvent(&record, test.nEvent));
        EXPECT_STREQ(test.bKey ? strTitle.c_str() : "untouched", record.Title);
        // A key never set has its option off, and 5.
        EXPECT_EQ(test.bKey ? std::make_pair(0, 5) : std::make_pair(-1, -1),
                  m_lib.Option(test.nIndex));
        EXPECT_EQ(test.bKey, m_lib.pfnSetKeyOption(test.nIndex, 1, 9));
    }
    EXPECT_EQ(0, m_lib.pfnGetAppDataOfHarlEvent(nullptr, 513));
    EXPECT_EQ(0, m_lib.pfnSetAppDataOfHarlEvent(nullptr, 513));
    int nNumber = 0;
    EXPECT_EQ(0, m_lib.pfnGetKeyOption(0, nullptr, &nNumber));
    for (int nKey = 1; nKey <= 6; ++nKey) {
        bool bEnd = nKey == 1 || nKey == 6;
        EXPECT_STREQ(bEnd ? ("event " + std::to_string(512 + nKey)).c_str() : "",
                     m_lib.Read(nKey).Title);
        EXPECT_EQ(bEnd ? std::make_pair(1, 9) : std::make_pair(0, 5), m_lib.Option(nKey - 1));
    }
}

// Mode 0 writes the defaults of Corvane.ini when there is no store yet, mode 1 always; their names
// in any case, blanks around '=', and an option number outside 1 to 99 becomes 5.
TEST_F(KeyStoreTest, InitWritesTheDefaultsOnceAndResetRestoresThem) {
    const char szDefaults[] = "[DefaultKey1]\r\nTitle=Key\r\nOptionFlag=1\r\nOptionNumber=0\r\n"
                              "[defaultkey2]\r\ntitle=Key\r\noptionflag=1\r\noptionnumber=1\r\n"
                              "[DEFAULTKEY3]\r\nTITLE=Key\r\nOPTIONFLAG=1\r\nOPTIONNUMBER=99\r\n"
                              "[DefaultKey4]\r\nTitle = Key\r\nOptionFlag\t=\t1\r\n"
                              "OptionNumber = 100\r\n"
                              "[DefaultKey5]\r\nTitle=Key\r\nOptionFlag=1\r\nOptionNumber=-3\r\n"
                              "[DefaultKey6]\r\nTitle=Key\r\nOptionFlag=1\r\nOptionNumber=42\r\n";
    const int numbers[] = {5, 1, 99, 5, 5, 42}; // the keys' option numbers
    ASSERT_TRUE(WriteFileText(m_suite / "Corvane.ini", szDefaults));
    KeyAssignment titled;
    titled.Title = "Key";
    auto expectDefaults = [&] {
        for (int nKey = 1; nKey <= 6; ++nKey) {
            int nResult = 0;
            EXPECT_EQ(Slots(titled), Slots(m_lib.Read(nKey, &nResult))) << nKey;
            EXPECT_EQ(1, nResult) << nKey;
            EXPECT_EQ(std::make_pair(1, numbers[nKey - 1]), m_lib.Option(nKey - 1)) << nKey;
        }
    };
    EXPECT_FALSE(m_lib.IsAssigned(1));
    ASSERT_EQ(1, m_lib.pfnInitSKeyData(0));
    expectDefaults();

    ASSERT_EQ(1, m_lib.Store(1, Assignment("Mine", "C:\\mine.exe")));
    ASSERT_EQ(1, m_lib.pfnSetKeyOption(0, 0, 77));
    ASSERT_EQ(1, m_lib.pfnInitSKeyData(0));
    EXPECT_STREQ("Mine", m_lib.Read(1).Title);
    ASSERT_EQ(1, m_lib.pfnInitSKeyData(1));
    expectDefaults();
    EXPECT_EQ(0, m_lib.pfnInitSKeyData(2));
    EXPECT_EQ(0, m_lib.pfnInitSKeyData(-1));
}

const char kStoreHeader[] = "[KeyStore]\r\nFormat=Corvane key store\r\nVersion=1\r\n";

// UTF-8 text (as this file holds it) as Notepad saves it "Unicode": UTF-16 with a byte-order mark.
std::string Utf16(const std::string& strText, bool bBigEndian = false) {
    std::wstring strWide(strText.size(), L'\0');
    strWide.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_UTF8, 0, strText.data(), static_cast<int>(strText.size()),
                            &strWide[0], static_cast<int>(strWide.size()))));
    std::string strSaved = bBigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t ch : strWide) {
        const char bytes[] = {static_cast<char>(ch & 0xFF), static_cast<char>(ch >> 8)};
        strSaved += {bytes[bBigEndian ? 1 : 0], bytes[bBigEndian ? 0 : 1]};
    }
    return strSaved;
}
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
        {"[KeyStore]\nFormat=Corvane key store\nVersion=1\n[Key2]\nTitle=LF alone\n", "LF alone"},
        {strHeader + "[Key2]\r\nTitle=Café\r\n", "Caf\xE9"},
        {"\xEF\xBB\xBF" + strHeader + "[Key2]\r\nTitle=Café\r\n", "Caf\xE9"},
        {Utf16(strHeader + "[Key2]\r\nTitle=Café\r\n"), "Caf\xE9"},
        {Utf16(strHeader + "[Key2]\r\nTitle=Café\r\n", true), "Caf\xE9"},
        // Characters the code page cannot hold exactly, not even by a look-alike.
        {Utf16(strHeader + "[Key2]\r\nTitle=日本\r\n"), nullptr},
        {strHeader + "[Key2]\r\nTitle=Łódź\r\n", nullptr},
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
        EXPECT_STREQ(test.pszTitle ? test.pszTitle : "", m_lib.Read(2, &nResult).Title);
        EXPECT_EQ(test.pszTitle != nullptr, nResult);
        EXPECT_EQ(test.option, m_lib.Option(1));
        nAside += test.pszTitle ? 0 : 1;
        ASSERT_EQ(nAside, ListFiles(m_appData.StoreFolder(), "KeyStore.damaged-*.ini").size());
        // Told once, whoever asks first.
        char szAside[MAX_PATH] = {};
        EXPECT_EQ(test.pszTitle ? 0 : 1, m_lib.pfnTakeStoreNotice(szAside));
        EXPECT_EQ(0, m_lib.pfnTakeStoreNotice(szAside));
        if (!test.pszTitle) {
            EXPECT_EQ(test.strStore, ReadFileText(szAside));
        }
        EXPECT_EQ(test.pszTitle != nullptr, Exists(m_appData.StorePath()));
        // The defaults again, over a store read well too: the next one, written by hand within the
        // file system's tick and at the same size, would look unchanged to the library.
        ASSERT_EQ(1, m_lib.pfnInitSKeyData(test.pszTitle ? 1 : 0));
        EXPECT_TRUE(m_lib.IsAssigned(1)) << "defaults written";
    }
    for (const std::string& strName :
         ListFiles(m_appData.StoreFolder(), "KeyStore.damaged-*.ini")) {
        std::string strText = ReadFileText(m_appData.StoreFolder() + "\\" + strName);
        EXPECT_TRUE(std::any_of(std::begin(cases), std::end(cases),
                                [&](const auto& test) { return test.strStore == strText; }));
    }
    // Read in any encoding, written in the library's own at the next change.
    ASSERT_TRUE(
        WriteFileText(m_appData.StorePath(), Utf16(strHeader + "[Key2]\r\nTitle=Café\r\n")));
    ASSERT_EQ(1, m_lib.Store(1, Assignment("Mine", "C:\\mine.exe")));
    std::string strText = ReadFileText(m_appData.StorePath());
    EXPECT_EQ(0u, strText.find("; Corvane key store"));
    EXPECT_NE(std::string::npos, strText.find("\r\nTitle=Caf\xE9\r\n"));
}

// The store opened as another program holds it: with no sharing at all (a backup, a virus scan),
// or shared for reading (an editor).
CHandle HoldFile(const std::string& strPath, DWORD dwShare) {
    return CHandle(CreateFileA(strPath.c_str(), GENERIC_READ, dwShare, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Every kind of change replaces the store as a whole: a second name for the old file still shows
// the old text afterwards (a change written into the file would show through it), and no
// temporary file is left. A store the user made read-only or another program holds is left as it
// was, and so are the keys, and the call says why; a short hold is waited out.
TEST_F(KeyStoreTest, EveryChangeReplacesTheStoreWholeOrFailsLeavingItAlone) {
    ASSERT_EQ(1, m_lib.Store(1, Assignment("Old", "C:\\old.exe")));
    ASSERT_EQ(1, m_lib.pfnSaveKeySet("Old"));
    const std::string strImport =
        std::string(kStoreHeader) + "[Key1]\r\nTitle=Imported\r\n[Key3]\r\nOptionFlag=1\r\n";
    int nLine = 0;
    // A write cut short before its final rename leaves only its temporary file behind.
    ASSERT_TRUE(WriteFileText(m_appData.StoreFolder() + "\\KeyStore.new", "[Key1]\r\nTitle=Ha"));
    const std::string strStore = m_appData.StorePath();
    const std::string strOldName = m_appData.StoreFolder() + "\\old.ini";
    // What the changes below change: key 1's title and key 3's option.
    auto keys = [&] { return std::make_pair(std::string(m_lib.Read(1).Title), m_lib.Option(2)); };
    const struct {
        const char* pszChange;
        std::function<int()> change;
    } changes[] = {
        {"record", [&] { return m_lib.Store(1, Assignment("New", "C:\\new.exe")); }},
        {"option", [&] { return m_lib.pfnSetKeyOption(2, 1, 33); }},
        {"reset", [&] { return m_lib.pfnInitSKeyData(1); }},
        {"import",
         [&] {
             return m_lib.pfnImportKeys(strImport.data(), static_cast<int>(strImport.size()),
                                        &nLine);
         }},
        {"key set", [&] { return m_lib.pfnUseKeySet("Old", &nLine); }},
    };
    // A change that fails keeps no state for undo.
    auto undoStates = [&] { return ListFiles(m_appData.StoreFolder() + "\\Undo", "*.ini").size(); };
    CHandle hold;
    const struct {
        const char* pszObstacle;
        std::function<void()> place;
        std::vector<DWORD> reasons; // what the failed call may give as its reason
    } obstacles[] = {
        {"read-only",
         [&] { SetFileAttributesA(strStore.c_str(), FILE_ATTRIBUTE_READONLY); },
         {ERROR_FILE_READ_ONLY}},
        {"held", [&] { hold = HoldFile(strStore, 0); }, {ERROR_SHARING_VIOLATION}},
        // Replacing a file open elsewhere is refused, on Windows as access denied.
        {"held, read shared",
         [&] { hold = HoldFile(strStore, FILE_SHARE_READ); },
         {ERROR_SHARING_VIOLATION, ERROR_ACCESS_DENIED}},
    };
    for (const auto& test : changes) {
        SCOPED_TRACE(test.pszChange);
        const auto before = keys();
        const std::string strOld = ReadFileText(strStore);
        const size_t nStates = undoStates();
        for (const auto& obstacle : obstacles) {
            SCOPED_TRACE(obstacle.pszObstacle);
            obstacle.place();
            SetLastError(ERROR_SUCCESS);
            EXPECT_EQ(0, test.change());
            DWORD dwReason = GetLastError();
            EXPECT_NE(obstacle.reasons.end(),
                      std::find(obstacle.reasons.begin(), obstacle.reasons.end(), dwReason))
                << dwReason;
            EXPECT_EQ(before, keys());
            EXPECT_EQ(nStates, undoStates());
            hold.Close();
            SetFileAttributesA(strStore.c_str(), FILE_ATTRIBUTE_NORMAL);
            EXPECT_EQ(strOld, ReadFileText(strStore));
        }

        DeleteFileA(strOldName.c_str());
        ASSERT_TRUE(CreateHardLinkA(strOldName.c_str(), strStore.c_str(), nullptr));
        hold = HoldFile(strStore, 0);
        std::thread release([&] {
            Sleep(300);
            hold.Close();
        });
        EXPECT_EQ(1, test.change());
        release.join();
        EXPECT_NE(before, keys());
        EXPECT_EQ(strOld, ReadFileText(strOldName));
        EXPECT_NE(strOld, ReadFileText(strStore));
        EXPECT_EQ(0u, ListFiles(m_appData.StoreFolder(), "KeyStore.new").size());
    }

    // Changed by hand and held: the keys show as last read, and a held store is no damaged one.
    const auto before = keys();
    ASSERT_TRUE(WriteFileText(strStore, std::string(kStoreHeader) + "[Key1]\r\nTitle=By hand\r\n"));
    hold = HoldFile(strStore, 0);
    EXPECT_EQ(before, keys());
    hold.Close();
    EXPECT_EQ(0u, ListFiles(m_appData.StoreFolder(), "KeyStore.damaged-*").size());

    // A file in the way of the store's folder.
    CScratchFolder blocked;
    ASSERT_TRUE(WriteFileText(blocked / "Corvane", "not a folder"));
    SetEnvironmentVariableA("APPDATA", blocked.Path().c_str());
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(0, m_lib.Store(1, Assignment("New", "C:\\new.exe")));
    EXPECT_NE(DWORD(ERROR_SUCCESS), GetLastError());
    EXPECT_EQ(0, m_lib.pfnInitSKeyData(0));
}

// The export file is the store's own text as UTF-8: every field and option comes back exactly,
// and keys without assignment come back without.
TEST_F(KeyStoreTest, ExportAndImportRoundTripEveryKey) {
    KeyAssignment odd = Assignment("Caf\xe9 \"100%\"  ", ("C:\\" + std::string(256, 'p')).c_str());
    odd.WorkingFolder = "line one\r\nline two";
    odd.Parameters = "-a=b; [Key2] #c";
    odd.nReserved = -7;
    ASSERT_EQ(1, m_lib.Store(1, odd));
    ASSERT_EQ(1, m_lib.Store(6, Assignment("Last", "D:\\")));
    ASSERT_EQ(1, m_lib.pfnSetKeyOption(1, 1, 99));
    const std::string strFile = m_lib.Exported();
    EXPECT_EQ(0u, strFile.find("\xEF\xBB\xBF; Corvane key store"));
    EXPECT_NE(std::string::npos, strFile.find("Title=Caf\xC3\xA9 \"100%25\" %20\r\n"));

    ASSERT_EQ(1, m_lib.pfnInitSKeyData(1));
    int nLine = -2;
    ASSERT_EQ(1, m_lib.pfnImportKeys(strFile.data(), static_cast<int>(strFile.size()), &nLine));
    EXPECT_EQ(0, nLine);
    EXPECT_EQ(Slots(odd), Slots(m_lib.Read(1)));
    EXPECT_FALSE(m_lib.IsAssigned(2));
    EXPECT_EQ(std::make_pair(1, 99), m_lib.Option(1));
    EXPECT_STREQ("Last", m_lib.Read(6).Title);
    EXPECT_EQ(strFile, m_lib.Exported());
}

// An import is checked whole before anything of it is used: a wrong file changes nothing and
// names its first wrong line (-1: not a key file at all).
TEST_F(KeyStoreTest, AWrongImportChangesNothingAndNamesItsFirstWrongLine) {
    ASSERT_EQ(1, m_lib.Store(1, Assignment("Kept", "C:\\kept.exe")));
    const std::string strKept = m_lib.Exported();
    const std::string strHeader = kStoreHeader; // lines 1 to 3
    const struct {
        std::string strText;
        int nLine;
    } cases[] = {
        {strHeader + "[Key1]\r\nTitle=a\r\n[Key7]\r\n", 6},
        {strHeader + "[Key1]\r\nTitle=a\r\n[key1]\r\n", 6},
        {strHeader + "[KeyStore]\r\n", 4},
        {strHeader + "Colour=blue\r\n", 4},
        {strHeader + "[Key1]\r\nTilte=a\r\n", 5},
        {strHeader + "[Key1]\r\nTitle=a\r\ntitle=b\r\n", 6},
        {strHeader + "[Key1]\r\nTitle=100%\r\n", 5},
        {strHeader + "[Key1]\r\nOptionNumber=0\r\n", 5},
        {strHeader + "[Key1]\r\nOptionNumber=100\r\n", 5},
        {strHeader + "[Key1]\r\nOptionFlag=2\r\n", 5},
        {strHeader + "[Key1]\r\nReservedNumber=x\r\n", 5},
        {strHeader + "[Key1]\r\njust words\r\n", 5},
        // A character that the code page cannot hold.
        {"\xEF\xBB\xBF" + strHeader + "[Key1]\r\nTitle=\xE5\xA0\xB1\r\n", 5},
        {"[KeyStore]\r\nFormat=Corvane key store\r\nVersion=2\r\n", 1},
        {"[Key1]\r\nTitle=a\r\n", -1},
        {"", -1},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.strText);
        int nLine = 0;
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(0, m_lib.pfnImportKeys(test.strText.data(), static_cast<int>(test.strText.size()),
                                         &nLine));
        EXPECT_EQ(DWORD(ERROR_INVALID_DATA), GetLastError());
        EXPECT_EQ(test.nLine, nLine);
        EXPECT_EQ(strKept, m_lib.Exported());
    }
}

// The states before the ten latest changes are kept, whoever made them; a change that changes
// nothing, or the first one (there was nothing before it), keeps none.
TEST_F(KeyStoreTest, UndoBringsBackTheStatesBeforeTheTenLatestChanges) {
    for (int i = 0; i <= 11; ++i) {
        std::string strTitle = std::to_string(i);
        ASSERT_EQ(1, m_lib.Store(1, Assignment(strTitle.c_str(), "C:\\a.exe")));
    }
    ASSERT_EQ(1, m_lib.Store(1, Assignment("11", "C:\\a.exe")));
    for (int i = 10; i >= 1; --i) {
        ASSERT_EQ(1, m_lib.pfnUndoKeys());
        EXPECT_STREQ(std::to_string(i).c_str(), m_lib.Read(1).Title);
    }
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(0, m_lib.pfnUndoKeys());
    EXPECT_EQ(DWORD(ERROR_NO_MORE_ITEMS), GetLastError());
    EXPECT_STREQ("1", m_lib.Read(1).Title);
}

TEST_F(KeyStoreTest, KeySetsAreSavedListedUsedAndDeleted) {
    auto sets = [&] {
        CString strNames;
        CString strCurrent;
        EXPECT_EQ(1, m_lib.pfnListKeySets(&strNames, &strCurrent));
        return std::string(strNames) + "current: " + std::string(strCurrent);
    };
    int nLine = 0;
    EXPECT_EQ("current: ", sets());
    ASSERT_EQ(1, m_lib.Store(1, Assignment("Work", "C:\\work.exe")));
    ASSERT_EQ(1, m_lib.pfnSaveKeySet("Work"));
    ASSERT_EQ(1, m_lib.Store(1, Assignment("Games", "C:\\games.exe")));
    ASSERT_EQ(1, m_lib.pfnSaveKeySet("games"));
    EXPECT_EQ("games\nWork\ncurrent: games", sets());
    ASSERT_EQ(1, m_lib.pfnUseKeySet("WORK", &nLine));
    EXPECT_STREQ("Work", m_lib.Read(1).Title);
    EXPECT_EQ("games\nWork\ncurrent: Work", sets());
    ASSERT_EQ(1, m_lib.pfnUndoKeys());
    EXPECT_STREQ("Games", m_lib.Read(1).Title);
    ASSERT_EQ(1, m_lib.pfnDeleteKeySet("Games"));
    EXPECT_EQ("Work\ncurrent: ", sets());

    const struct {
        std::string strName;
        DWORD dwError;
    } refused[] = {{"Games", ERROR_FILE_NOT_FOUND}, {"", ERROR_INVALID_NAME},
                   {"CON", ERROR_INVALID_NAME},     {"lpt1.x", ERROR_INVALID_NAME},
                   {"a/b", ERROR_INVALID_NAME},     {" a", ERROR_INVALID_NAME},
                   {"a.", ERROR_INVALID_NAME},      {std::string(65, 'n'), ERROR_INVALID_NAME}};
    for (const auto& test : refused) {
        SCOPED_TRACE(test.strName);
        SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(0, m_lib.pfnUseKeySet(test.strName.c_str(), &nLine));
        EXPECT_EQ(test.dwError, GetLastError());
    }
    EXPECT_EQ(1, m_lib.pfnSaveKeySet(std::string(64, 'n').c_str()));
    // A set edited by hand is checked as an import is.
    ASSERT_TRUE(WriteFileText(m_appData.StoreFolder() + "\\KeySets\\Bad.ini",
                              std::string(kStoreHeader) + "[Key1]\r\nOptionNumber=0\r\n"));
    EXPECT_EQ(0, m_lib.pfnUseKeySet("Bad", &nLine));
    EXPECT_EQ(DWORD(ERROR_INVALID_DATA), GetLastError());
    EXPECT_EQ(5, nLine);
    EXPECT_STREQ("Games", m_lib.Read(1).Title);
}

// A target is looked at as it stands: a drive is there or not (a test drive whose folder has
// gone is not), an entry is there or not, and so is the working folder.
TEST_F(KeyStoreTest, HealthTellsWhetherATargetCanStart) {
    const std::string strDrive = ThisProgramFolder() + "\\..\\test-drives\\network";
    const std::string strGone = strDrive + "-gone";
    const struct {
        const char* pszTarget;
        const char* pszFolder;
        int nHealth;
    } cases[] = {
        {"C:\\windows\\notepad.exe", "", ZUCOM_HEALTH_OK},
        {"C:\\windows\\", "C:\\windows", ZUCOM_HEALTH_OK},
        {"C:\\", "", ZUCOM_HEALTH_OK},
        {"C:\\windows\\gone.exe", "", ZUCOM_HEALTH_TARGET_MISSING},
        {"W:\\tool.exe", "", ZUCOM_HEALTH_DRIVE_MISSING},
        {"C:\\windows\\notepad.exe", "C:\\gone", ZUCOM_HEALTH_FOLDER_MISSING},
        {"C:\\windows\\notepad.exe", "C:\\windows\\notepad.exe", ZUCOM_HEALTH_FOLDER_MISSING},
        {"C:\\windows\\notepad.exe", "W:\\", ZUCOM_HEALTH_DRIVE_MISSING},
        {"N:\\", "", ZUCOM_HEALTH_DRIVE_MISSING},
    };
    ASSERT_TRUE(MoveFileA(strDrive.c_str(), strGone.c_str()));
    for (const auto& test : cases) {
        SCOPED_TRACE(std::string(test.pszTarget) + " in " + test.pszFolder);
        int nHealth = -1;
        EXPECT_EQ(1, m_lib.pfnCheckTarget(test.pszTarget, test.pszFolder, &nHealth));
        EXPECT_EQ(test.nHealth, nHealth);
    }
    ASSERT_TRUE(MoveFileA(strGone.c_str(), strDrive.c_str()));
    int nHealth = -1;
    EXPECT_EQ(1, m_lib.pfnCheckTarget("N:\\", "", &nHealth));
    EXPECT_EQ(ZUCOM_HEALTH_OK, nHealth);
}

TEST_F(KeyStoreTest, KeyOptionsRoundTripAndOutOfRangeInputIsRefused) {
    const struct {
        int bFlag;
        int nNumber;
        std::pair<int, int> stored; // (-1, -1): refused, and the key keeps what it had
    } cases[] = {{7, 99, {1, 99}},   {0, 1, {0, 1}},         {1, 0, {-1, -1}},
                 {1, 100, {-1, -1}}, {1, INT_MIN, {-1, -1}}, {1, -1, {-1, -1}},
                 {1, 2, {1, 2}},     {1, INT_MAX, {-1, -1}}};
    std::pair<int, int> expected;
    for (const auto& test : cases) {
        bool bStored = test.stored.first >= 0;
        EXPECT_EQ(bStored, m_lib.pfnSetKeyOption(2, test.bFlag, test.nNumber)) << test.nNumber;
        expected = bStored ? test.stored : expected;
        EXPECT_EQ(expected, m_lib.Option(2)) << test.nNumber;
    }
    EXPECT_FALSE(m_lib.IsAssigned(3)) << "an option alone is no assignment";
}

// One round of writes: each of the writer's keys and options gets a value naming it and the round.
void WriteRound(const CSuiteLibrary& lib, const char* pszWriter, int nRound, int nLastKey) {
    for (int nKey = 1; nKey <= nLastKey; ++nKey) {
        std::string strValue = std::string(pszWriter) + "-" + std::to_string(nRound);
        EXPECT_EQ(1, lib.Store(nKey, Assignment(strValue.c_str(), strValue.c_str())));
        EXPECT_EQ(1, lib.pfnSetKeyOption(nKey - 1, nRound % 2, nRound % 99 + 1));
    }
}

// A second copy of the library, on a thread of its own, writes as another process would (a cache
// of its own, the same store and lock): all six keys, while this one writes keys 1 to 3.
TEST_F(KeyStoreTest, TwoWritersAtOnceLoseNoUpdate) {
    CWatchdog watchdog(60000, "the two writers hung");
    CScratchFolder copy;
    ASSERT_TRUE(
        CopyFileA((m_suite / "VeDerovu.dll").c_str(), (copy / "VeDerovu.dll").c_str(), FALSE));
    CSuiteLibrary other(copy / "VeDerovu.dll");
    constexpr int kRounds = 30;
    std::atomic<bool> bDone(false);
    std::thread writer([&] {
        for (int nRound = 0; nRound < kRounds; ++nRound) {
            WriteRound(other, "other", nRound, 6);
        }
        bDone = true;
    });
    for (int nRound = 0; !bDone; ++nRound) {
        WriteRound(m_lib, "this", nRound, 3);
    }
    writer.join();

    for (int nKey = 1; nKey <= 6; ++nKey) {
        int nResult = 0;
        KeyAssignment record = m_lib.Read(nKey, &nResult);
        EXPECT_EQ(1, nResult);
        EXPECT_STREQ(record.Title, record.Target) << "a record mixed from two writes";
        if (nKey > 3) {
            EXPECT_EQ("other-" + std::to_string(kRounds - 1), std::string(record.Title))
                << "the other's last write to key " << nKey;
            EXPECT_EQ(std::make_pair((kRounds - 1) % 2, (kRounds - 1) % 99 + 1),
                      m_lib.Option(nKey - 1));
        }
    }
    EXPECT_EQ(1u, ListFiles(m_appData.StoreFolder(), "KeyStore.*").size())
        << "a damaged store was set aside or a temporary file left behind";
}

} // namespace
