// The settings dialog: its categories, the target test while typing and at OK, the tree's
// selection in the target edit, the record it stores, and how the panel opens it.
#include "SettingsHarness.h"

#include "../../base/ResourceText.h"

namespace {

class SettingsDialog : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        m_folder.MakeFolder("Data");
        m_folder.WriteFile("a.txt", "x");
        m_folder.WriteFile("b.txt", "x");
        m_library.AppendToKeyFile(
            "[SKey1Button0]\nTitle=Here\nTree=Folder\nFolderName=" + m_folder.Path() + "\n");
    }

    CScratchFolder m_folder;
};

// A name the code page cannot hold is looked up as it is, not as look-alikes or as wildcards.
TEST_F(SettingsDialog, OkIsEnabledOnlyWhileThePathNamesATarget) {
    ASSERT_TRUE(m_folder.MakeWideEntry(L"a\u0100b.txt"));
    const struct {
        std::wstring strTyped;
        bool bValid;
    } cases[] = {
        {L"", false},
        {L"Q:", false},
        {L"Q:\\", true}, // a drive root needs no drive
        {L"   Q:\\", true},
        {m_folder.WidePath(L"Data\\"), true},
        {m_folder.WidePath(L"Data\\\\"), false}, // only one trailing backslash is forgiven
        {m_folder.WidePath(L"a.txt"), true},
        {m_folder.WidePath(L"missing.txt"), false},
        {m_folder.WidePath(L"*.txt"), true},
        {m_folder.WidePath(L"a\u0100b.txt"), true},
        {m_folder.WidePath(L"\u5831.txt"), false}, // not "?.txt", which a.txt matches
    };
    RunSettings(1, {Do([&] {
                    EXPECT_FALSE(m_dialog.IsEnabled(IDOK)) << "at start";
                    for (const auto& test : cases) {
                        m_dialog.Type(IDC_SETTINGS_PATH, test.strTyped);
                        EXPECT_EQ(test.bValid, m_dialog.IsEnabled(IDOK))
                            << "\"" << std::string(test.strTyped.begin(), test.strTyped.end())
                            << "\"";
                    }
                })});
}

// Stored trimmed, a folder's trailing backslash kept; the name and kind come from what the path
// names (the drop tests have the rules for each kind), a pattern that matches several names none.
// A pasted name that the code page cannot hold is stored by its short name, which names it alone.
TEST_F(SettingsDialog, OkStoresTheTargetAsTypedWithItsNameAndKind) {
    const std::wstring strReports = m_folder.WidePath(L"\u5831\u544a\u66f8 Q3\\");
    ASSERT_TRUE(m_folder.MakeWideEntry(L"\u5831\u544a\u66f8 Q3\\"));
    const struct {
        std::wstring strTyped;
        std::string strTarget, strTitle;
    } cases[] = {{m_folder.WidePath(L"Data\\"), m_folder / "Data\\", m_folder / "Data"},
                 {L"  Q:\\ ", "Q:\\", "Q:\\"},
                 {m_folder.WidePath(L"*.txt"), m_folder / "*.txt", ""},
                 {L" " + strReports, ShortPath(strReports), "Q3"}};
    int nKey = 1;
    for (const auto& test : cases) {
        SCOPED_TRACE(test.strTarget);
        EXPECT_EQ(IDOK, RunSettings(nKey, {Do([&] {
                                        m_dialog.Type(IDC_SETTINGS_PATH, test.strTyped);
                                        PressButton(m_dialog, IDOK);
                                    })},
                                    true));
        const KeyAssignment record = m_library.Record(nKey);
        EXPECT_EQ(nKey, m_library.m_calls[m_library.LastStore()].nKey);
        EXPECT_EQ(test.strTarget, std::string(record.Target));
        EXPECT_EQ(test.strTitle, std::string(record.Title));
        EXPECT_EQ(std::string(FormatResourceText(IDS_COMMENT_OTHER, {test.strTitle.c_str(), ""})),
                  std::string(record.Comment));
        ++nKey;
    }
}

// What OK cannot store is told, and the dialog stays open with the target typed: a target gone by
// then, and a store that fails for the system's reason; OK then tries again.
TEST_F(SettingsDialog, WhatOkCannotStoreIsToldAndTheDialogStaysOpen) {
    const std::string strTarget = m_folder / "b.txt";
    std::string strGone;
    std::string strNotStored;
    EXPECT_EQ(IDOK, RunSettings(2,
                                {Do([&] {
                                     m_dialog.Type(IDC_SETTINGS_PATH, strTarget);
                                     DeleteFileA(strTarget.c_str());
                                     m_dialog.PostMessage(WM_COMMAND, IDOK);
                                 }),
                                 AnswerMessageBox(&strGone), Do([&] {
                                     EXPECT_TRUE(m_dialog.IsWindowVisible());
                                     EXPECT_EQ(0, m_library.Stores());
                                     ASSERT_TRUE(m_folder.WriteFile("b.txt", "x"));
                                     m_library.m_bStoresFail = true;
                                     m_dialog.PostMessage(WM_COMMAND, IDOK);
                                 }),
                                 AnswerMessageBox(&strNotStored), Do([&] {
                                     EXPECT_EQ(strTarget, m_dialog.Text(IDC_SETTINGS_PATH));
                                     EXPECT_FALSE(m_library.IsAssigned(2));
                                     m_library.m_bStoresFail = false;
                                     PressButton(m_dialog, IDOK);
                                 })},
                                true));
    EXPECT_EQ(LocaleString(IDS_TARGET_INVALID), strGone);
    EXPECT_EQ(StoreFailureText(ERROR_SHARING_VIOLATION), strNotStored);
    EXPECT_EQ(strTarget, std::string(m_library.Record(2).Target));
}

TEST_F(SettingsDialog, ATreeItemFillsTheTargetOnlyWhenItNamesOne) {
    m_library.AppendToKeyFile("[SKey1Button1]\nTitle=Panel\nTree=ControlPanel\n");
    RunSettings(1, {Do([&] {
                    CTargetTree& tree = m_dialog.Tree();
                    PressOn(tree, FindChild(tree, TVI_ROOT, "Data"));
                    EXPECT_EQ(m_folder / "Data", m_dialog.Text(IDC_SETTINGS_PATH));
                    EXPECT_TRUE(m_dialog.IsEnabled(IDOK));
                    DeleteFileA((m_folder / "a.txt").c_str());
                    PressOn(tree, FindChild(tree, TVI_ROOT, "a.txt"));
                    EXPECT_EQ(m_folder / "a.txt", LastReport());
                    EXPECT_EQ(m_folder / "Data", m_dialog.Text(IDC_SETTINGS_PATH));
                    // The control panel forms no path: what the tree still shows names nothing.
                    PressOn(tree, FindChild(tree, TVI_ROOT, "b.txt"));
                    m_dialog.Type(IDC_SETTINGS_PATH, "Q:\\");
                    m_dialog.Click(IDC_SETTINGS_CATEGORY_FIRST + 1);
                    PressOn(tree, FindChild(tree, TVI_ROOT, "Data"));
                    EXPECT_EQ("Q:\\", m_dialog.Text(IDC_SETTINGS_PATH));
                })});
}

// Key 3 offers only category 1: 0 and 3 have no sections, 2 has only a caption, 4 has nothing
// but a tree. Key 4 has no sections at all. Key 5's caption is cut to 511 characters and its tree
// is of no known kind. Every time the dialog starts on category 0, with the tree still empty.
TEST_F(SettingsDialog, CategoryButtonsNeedACaptionAndATree) {
    m_library.AppendToKeyFile("[SKey3Button1]\nTitle=&Start menu\nTree=Program Files\n"
                              "[SKey3Button2]\nTitle=Only a title\n"
                              "[SKey3Button3]\nTree=AllFiles\n"
                              "[SKey5Button0]\nTree=Printers\nTitle=" +
                              std::string(600, 'T') + "\n");
    const struct {
        int nKey;
        int nOffered; // -1: none
        std::string strCaption;
    } cases[] = {{3, 1, "&Start menu"}, {4, -1, ""}, {5, 0, std::string(511, 'T')}};
    for (const auto& test : cases) {
        SCOPED_TRACE("key " + std::to_string(test.nKey));
        RunSettings(
            test.nKey, {Do([&] {
                for (int nCategory = 0; nCategory < 4; ++nCategory) {
                    HWND hButton = m_dialog.Item(IDC_SETTINGS_CATEGORY_FIRST + nCategory);
                    EXPECT_EQ(nCategory == test.nOffered, IsWindowVisible(hButton) != FALSE);
                    if (nCategory == test.nOffered) {
                        EXPECT_EQ(test.strCaption, WindowText(hButton));
                    }
                }
                EXPECT_EQ(BST_CHECKED, SendMessageA(m_dialog.Item(IDC_SETTINGS_CATEGORY_FIRST),
                                                    BM_GETCHECK, 0, 0));
                EXPECT_EQ(0u, m_dialog.Tree().GetCount());
            })});
    }
}

// Settings and Detail of the panel: the current key's dialog, with that key's picture; after OK
// the key shows what was stored.
TEST_F(SettingsDialog, ThePanelOpensItsDialogsForTheCurrentKeyAndShowsTheResult) {
    const std::string strKeyIcon = m_library.MakeIcon("key2.ico", RGB(0, 0, 255));
    m_library.WriteKeyFile({}, {{2, strKeyIcon}});
    m_library.Assign(2, "Two", "", "C:\\");
    const struct {
        int nCommand, nPicture, nEdit;
        std::string strTyped;
        CString KeyAssignment::*pSlot;
    } cases[] = {
        {IDC_PANEL_SETTINGS, IDC_SETTINGS_KEY_ICON, IDC_SETTINGS_PATH, m_folder / "a.txt",
         &KeyAssignment::Target},
        {IDC_PANEL_DETAIL, IDC_DETAIL_KEY_ICON, IDC_DETAIL_TITLE, "New title",
         &KeyAssignment::Title},
    };
    HWND hDialog = nullptr;
    size_t nBefore = 0;
    std::vector<ScriptStep> steps = {
        Do([&] { SendMessageA(m_panel.KeyWindow(2), BM_CLICK, 0, 0); })};
    for (const auto& test : cases) {
        steps.insert(steps.end(),
                     {Do([&] {
                          m_library.m_iconRequests.clear();
                          m_panel.PostClick(test.nCommand);
                      }),
                      DialogShown(m_panel, &hDialog), Do([&] {
                          EXPECT_NE(BuiltInKeyIcon(2), ShownIcon(hDialog, test.nPicture));
                          EXPECT_EQ(strKeyIcon, m_library.m_iconRequests.front());
                          SetDlgItemTextA(hDialog, test.nEdit, test.strTyped.c_str());
                          nBefore = m_library.m_calls.size();
                          PressButton(hDialog, IDOK);
                      }),
                      DialogGone(&hDialog), Do([&] {
                          EXPECT_EQ(test.strTyped, std::string(m_library.Record(2).*test.pSlot));
                          EXPECT_GT(m_library.ReadsOf(2, nBefore), 0) << "key 2 repainted";
                          EXPECT_TRUE(m_panel.IsEnabled(IDC_PANEL_CLEAR));
                      })});
    }
    RunPanel(m_panel, std::move(steps));
}

} // namespace
