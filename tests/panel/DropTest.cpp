// Files, folders and drives dropped on a key: what the key's new record holds, which key becomes
// current, and the drops that are refused.
#include "PanelHarness.h"
#include "PanelImage.h"

#include "../common/LocaleLibrary.h"
#include "../common/Process.h"

#include "../../base/ResourceText.h"

#include <cstring>
#include <shlobj.h>

namespace {

// Drops the paths on a key as the shell hands them over: a DROPFILES block with an ANSI or a wide
// list, each path ended by a NUL and the list by another (GHND memory comes zeroed).
template <class TChar> void Drop(HWND hKey, const std::vector<std::basic_string<TChar>>& paths) {
    std::basic_string<TChar> strList;
    for (const auto& strPath : paths) {
        strList += strPath + TChar();
    }
    const size_t nBytes = strList.size() * sizeof(TChar);
    HGLOBAL hDrop = GlobalAlloc(GHND, sizeof(DROPFILES) + nBytes + sizeof(TChar));
    auto* pFiles = static_cast<DROPFILES*>(GlobalLock(hDrop));
    pFiles->pFiles = sizeof(DROPFILES);
    pFiles->fWide = sizeof(TChar) == sizeof(WCHAR);
    std::memcpy(pFiles + 1, strList.data(), nBytes);
    GlobalUnlock(hDrop);
    SendMessageA(hKey, WM_DROPFILES, reinterpret_cast<WPARAM>(hDrop), 0);
}
void Drop(HWND hKey, const std::vector<std::string>& paths) {
    Drop<char>(hKey, paths);
}

class DropOnKey : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        ASSERT_TRUE(CopyFileA(ThisProgramPath().c_str(), (m_files / "calc.exe").c_str(), FALSE));
        for (const char* pszName :
             {"plan.txt", "Mail.lnk", "README", "a.tar.gz", "100% sure.txt", "\351clair.txt"}) {
            ASSERT_TRUE(m_files.WriteFile(pszName, "text"));
        }
        ASSERT_TRUE(m_files.MakeFolder("Docs"));
    }

    CScratchFolder m_files;
};

// The new record replaces the whole previous one; only the first of several items counts.
TEST_F(DropOnKey, EachKindOfTargetGetsItsTitleAndComment) {
    struct DropCase {
        std::string strPath;
        std::string strTitle;
        UINT nComment;
        std::string strExtension;
        std::wstring strWide = L""; // dropped as wide text instead of strPath
    };
    const std::string strDocs = m_files / "Docs";
    const std::string strMissing = m_files / "gone.txt";
    // A name the code page cannot hold, but for the part that a title can show.
    const std::wstring strReport = m_files.WidePath(L"\u5831\u544a\u66f8 Q3.txt");
    ASSERT_TRUE(m_files.MakeWideEntry(L"\u5831\u544a\u66f8 Q3.txt"));
    const DropCase cases[] = {
        {m_files / "calc.exe", "calc", IDS_COMMENT_PROGRAM, ".exe"},
        {m_files / "plan.txt", "plan", IDS_COMMENT_OTHER, ".txt"},
        {m_files / "Mail.lnk", "Mail", IDS_COMMENT_OTHER, ".lnk"}, // the shortcut file itself
        {m_files / "README", "README", IDS_COMMENT_OTHER, ""},
        {m_files / "a.tar.gz", "a.tar", IDS_COMMENT_OTHER, ".gz"},
        {m_files / "100% sure.txt", "100% sure", IDS_COMMENT_OTHER, ".txt"},
        {strDocs, strDocs, IDS_COMMENT_OTHER, ""},
        {"C:\\", "C:\\", IDS_COMMENT_OTHER, ""},
        {"Q:\\", "Q:\\", IDS_COMMENT_OTHER, ""}, // no such drive: only the name counts
        {strMissing, "", IDS_COMMENT_OTHER, ""},
        // Wide: a name the code page holds is kept; one it cannot hold goes by its short name.
        {m_files / "\351clair.txt", "\351clair", IDS_COMMENT_OTHER, ".txt",
         m_files.WidePath(L"\u00e9clair.txt")},
        {ShortPath(strReport), "Q3", IDS_COMMENT_OTHER, ".txt", strReport},
    };
    KeyAssignment old;
    old.Title = "Editor";
    old.Comment = "Starts the editor";
    old.Target = "C:\\editor.exe";
    old.WorkingFolder = "C:\\work";
    old.Parameters = "-n";
    old.IconSource = "C:\\editor.ico";
    old.nReserved = 7;
    old.Reserved1 = "one";
    old.Reserved2 = "two";
    InPanel([&] {
        for (const DropCase& drop : cases) {
            SCOPED_TRACE(drop.strPath);
            m_library.Store(2, old);
            const int nStores = m_library.Stores();
            if (drop.strWide.empty()) {
                Drop(m_panel.KeyWindow(2), {drop.strPath, m_files / "calc.exe"});
            } else {
                Drop<wchar_t>(m_panel.KeyWindow(2), {drop.strWide, m_files.WidePath(L"calc.exe")});
            }
            EXPECT_EQ(nStores + 1, m_library.Stores());
            const KeyAssignment record = m_library.Record(2);
            EXPECT_EQ(drop.strTitle, std::string(record.Title));
            EXPECT_EQ(std::string(FormatResourceText(
                          drop.nComment, {drop.strTitle.c_str(), drop.strExtension.c_str()})),
                      std::string(record.Comment));
            EXPECT_EQ(drop.strPath, std::string(record.Target));
            for (const CString* pSlot :
                 {&record.WorkingFolder, &record.Parameters, &record.IconSource, &record.Reserved1,
                  &record.Reserved2}) {
                EXPECT_STREQ("", *pSlot);
            }
            EXPECT_EQ(0, record.nReserved);
        }
    });
}

// On every key, whether the focus is elsewhere or already on the key dropped on (then only the
// drop's own notification can make it current).
TEST_F(DropOnKey, TheKeyBecomesCurrentAndTakesTheFocus) {
    InPanel([&] {
        for (int nKey = 1; nKey <= 6; ++nKey) {
            for (bool bFocusedBefore : {false, true}) {
                SCOPED_TRACE("key " + std::to_string(nKey) +
                             (bFocusedBefore ? ", focused before" : ""));
                const int nOther = nKey % 6 + 1;
                ::SetFocus(bFocusedBefore ? m_panel.KeyWindow(nKey)
                                          : m_panel.Item(IDC_PANEL_SETTINGS));
                m_panel.Select(nOther);
                m_library.Assign(nKey, "", "", "");
                CMessageRecorder notifications = KeyNotifications(m_panel);
                Drop(m_panel.KeyWindow(nKey), {m_files / "plan.txt"});
                EXPECT_EQ(nKey, m_panel.CurrentKey());
                EXPECT_EQ(m_panel.KeyWindow(nKey), GetFocus());
                ASSERT_FALSE(notifications.Messages().empty());
                EXPECT_EQ(KeyNotification(KBN_SELECT, nKey), notifications.Messages().front());
                EXPECT_EQ(KEY_FILL_UNSELECTED, FaceFill(m_panel.KeyWindow(nOther)));
                EXPECT_EQ(KEY_FILL_FOCUSED, FaceFill(m_panel.KeyWindow(nKey)));
                // The new assignment was read back: Detail and Clear apply to it.
                EXPECT_TRUE(m_panel.IsEnabled(IDC_PANEL_DETAIL));
                EXPECT_TRUE(m_panel.IsEnabled(IDC_PANEL_CLEAR));
            }
        }
    });
}

TEST_F(DropOnKey, PathTooLongForTheRecordIsRefused) {
    m_library.Assign(5, "Keep", "Kept", "C:\\keep.exe");
    const std::string strFolder = "C:\\" + std::string(200, 'd') + "\\";
    const std::string strLongest = strFolder + std::string(MAX_PATH - 1 - strFolder.size(), 'f');
    InPanel([&] {
        Drop(m_panel.KeyWindow(5), {strLongest + "x", m_files / "plan.txt"});
        Drop(m_panel.KeyWindow(5), {strLongest + std::string(300, 'x')});
        EXPECT_EQ(0, m_library.Stores());
        EXPECT_STREQ("Keep", m_library.Record(5).Title);
        EXPECT_EQ(1, m_panel.CurrentKey());

        // 259 characters still fit.
        Drop(m_panel.KeyWindow(5), {strLongest});
        EXPECT_EQ(1, m_library.Stores());
        EXPECT_EQ(strLongest, std::string(m_library.Record(5).Target));
        EXPECT_EQ(5, m_panel.CurrentKey());
    });
}

// A drop that is not stored is told, and the key keeps its assignment: a name kept neither exactly
// nor by a short name (under Wine every file has a short name, so this is one of a file that is
// not there), and a store that fails for the system's reason, where the key is made current all
// the same.
TEST_F(DropOnKey, ADropNotStoredIsToldAndTheKeyKeepsItsAssignment) {
    const struct {
        std::wstring strDropped;
        bool bStoresFail;
        std::string strTold;
        int nStores, nCurrent;
    } cases[] = {
        {m_files.WidePath(L"\u5831\u544a\u66f8 gone.txt"), false, LocaleString(IDS_NAME_NOT_KEPT),
         0, 1},
        {m_files.WidePath(L"plan.txt"), true, StoreFailureText(ERROR_SHARING_VIOLATION), 1, 4},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.strTold);
        m_library.Assign(4, "Keep", "Kept", "C:\\keep.exe");
        m_library.m_bStoresFail = test.bStoresFail;
        CTestPanel panel;
        std::string strTold;
        bool bDropped = false;
        RunPanel(panel, {Do([&] {
                             Drop<wchar_t>(panel.KeyWindow(4), {test.strDropped});
                             EXPECT_EQ(test.nStores, m_library.Stores());
                             EXPECT_STREQ("Keep", m_library.Record(4).Title);
                             EXPECT_EQ(test.nCurrent, panel.CurrentKey());
                             bDropped = true;
                         }),
                         AnswerMessageBox(&strTold), [&] { return bDropped; }});
        EXPECT_EQ(test.strTold, strTold);
        m_library.m_calls.clear();
    }
}

// In a Japanese session the code page holds Japanese names, so a file so named keeps its whole
// name and path, whether the shell hands the program the list as ANSI or as wide text.
using JapaneseSession = PanelTest;

TEST_F(JapaneseSession, AFileWithAJapaneseNameIsAssignedByItsWholeName) {
    if (GetACP() != 932) {
        GTEST_SKIP() << "runs in the Japanese session (panel_tests_ja)";
    }
    CScratchFolder files;
    // ソフト表: both characters end in the byte of a backslash in code page 932.
    const std::wstring strName = L"\u30bd\u30d5\u30c8\u8868 \u7b2c3\u56db\u534a\u671f.txt";
    ASSERT_TRUE(files.MakeWideEntry(strName));
    CString strPath, strTitle;
    ASSERT_TRUE(NarrowExactly(files.WidePath(strName).c_str(), -1, strPath));
    ASSERT_TRUE(NarrowExactly(strName.c_str(), static_cast<int>(strName.size()) - 4, strTitle));
    InPanel([&] {
        for (bool bWide : {false, true}) {
            SCOPED_TRACE(bWide ? "wide" : "ANSI");
            m_library.Assign(3, "Old", "Old", "C:\\old.exe");
            if (bWide) {
                Drop<wchar_t>(m_panel.KeyWindow(3), {files.WidePath(strName)});
            } else {
                Drop(m_panel.KeyWindow(3), {std::string(strPath)});
            }
            EXPECT_STREQ(strPath, m_library.Record(3).Target);
            EXPECT_STREQ(strTitle, m_library.Record(3).Title);
            EXPECT_EQ(3, m_panel.CurrentKey());
        }
    });
}

} // namespace
