// The target tree in the settings dialog: what each kind of category lists, in which order and
// with which paths, reading folders once, and the categories it cannot show.
#include "SettingsHarness.h"

#include "../common/ScratchFolder.h"

#include <shellapi.h>
#include <shlobj.h>

namespace {

int Image(const CTreeCtrl& tree, HTREEITEM hItem) {
    TVITEMA item = {};
    item.mask = TVIF_IMAGE;
    item.hItem = hItem;
    tree.GetItem(&item);
    return item.iImage;
}

class TargetTree : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        m_folder.MakeFolder("sub");
        m_folder.WriteFile("sub\\inner.txt", "x");
        for (const char* pszName : kFilterCases) {
            m_folder.WriteFile(pszName, "x");
        }
        // Key 1's categories, some of them broken on purpose; the folder is named with a
        // trailing backslash.
        WriteCategories("[SKey1Button0]\nTitle=All\nTree=allFILES\n"
                        "[SKey1Button1]\nTitle=Start\nTree=Program Files\n"
                        "[SKey1Button2]\nTitle=Fav\nTree=Favorites\n"
                        "[SKey1Button3]\nTitle=Folder\nTree=Folder\nFolderName=" +
                        m_folder.Path() +
                        "\\\n"
                        "[SKey1Button4]\nTitle=No tree\n"
                        "[SKey1Button5]\nTitle=Unknown\nTree=Printers\n"
                        "[SKey1Button6]\nTitle=No folder\nTree=Folder\n"
                        "[SKey1Button7]\nTitle=Panel\nTree=ControlPanel\n"
                        "[SKey1Button8]\nTree=Folder\nFolderName=" +
                        m_folder.Path() + "\n");
    }
    CTargetTree& Tree() { return m_dialog.Tree(); }
    // Selects the child with this text and returns the path the tree reported for it.
    std::string Report(HTREEITEM hParent, LPCSTR pszText) {
        PressOn(Tree(), FindChild(Tree(), hParent, pszText));
        return m_dialog.m_reports.empty() ? "" : m_dialog.m_reports.back();
    }

    static constexpr const char* kFilterCases[] = {"setup.INF",  "notes.info", "filter.ax",
                                                   "codec.axd",  "x.dll",      "cache.dat\\",
                                                   "readme.txt", "Notepad.lnk"};
    CScratchFolder m_folder;
    CMadeEntries m_made;
};

TEST_F(TargetTree, AllFilesListsTheDrivesThenBothDesktopsMergedAndFiltered) {
    const std::string strCommon = SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    m_made.Add(strCommon, {"Tools\\a.txt", "Empty\\hidden.dll"});
    m_made.Add(SpecialFolder(CSIDL_DESKTOPDIRECTORY), {"Tools\\b.txt"});
    for (const char* pszName : kFilterCases) {
        m_made.Add(SpecialFolder(CSIDL_DESKTOPDIRECTORY), {pszName});
    }
    RunSettings(
        1, {Do([&] {
            std::vector<std::string> texts = ChildTexts(Tree());
            char szDrives[512] = {};
            GetLogicalDriveStringsA(sizeof(szDrives), szDrives);
            size_t nDrive = 0;
            for (LPCSTR pszRoot = szDrives; *pszRoot; pszRoot += strlen(pszRoot) + 1, ++nDrive) {
                ASSERT_LT(nDrive, texts.size());
                EXPECT_EQ(std::string(pszRoot, 2), texts[nDrive]);
            }
            EXPECT_EQ((std::vector<std::string>{"Empty", "Notepad.lnk", "readme.txt", "Tools"}),
                      OnlyOf(std::vector<std::string>(texts.begin() + nDrive, texts.end()),
                             {"Empty", "Tools", "Notepad.lnk", "readme.txt", "setup.INF",
                              "notes.info", "filter.ax", "codec.axd", "x.dll", "cache.dat"}));

            // Tools is on both desktops: shown once, as the common one, and opened as that one.
            EXPECT_EQ(strCommon + "\\Tools", Report(TVI_ROOT, "Tools"));
            EXPECT_EQ("C:\\", Report(TVI_ROOT, "C:"));
            HTREEITEM hDrive = FindChild(Tree(), TVI_ROOT, "C:");
            PressOn(Tree(), hDrive, VK_ADD);
            EXPECT_EQ("C:\\windows", Report(hDrive, "windows"));

            HTREEITEM hEmpty = FindChild(Tree(), TVI_ROOT, "Empty");
            PressOn(Tree(), hEmpty, VK_ADD);
            EXPECT_FALSE(Tree().ItemHasChildren(hEmpty)) << "nothing to show, so no button";

            // Reopening a folder reads nothing: a file added meanwhile does not appear.
            HTREEITEM hTools = FindChild(Tree(), TVI_ROOT, "Tools");
            PressOn(Tree(), hTools, VK_ADD);
            m_made.Add(strCommon, {"Tools\\later.txt"});
            PressOn(Tree(), hTools, VK_SUBTRACT);
            PressOn(Tree(), hTools, VK_ADD);
            EXPECT_EQ(std::vector<std::string>{"a.txt"}, ChildTexts(Tree(), hTools));
        })});
}

TEST_F(TargetTree, StartMenuFoldersShowWhatBothMenusHold) {
    const std::string strCommon = SpecialFolder(CSIDL_COMMON_STARTMENU);
    m_made.Add(strCommon, {"Programs\\Vv Suite\\one.txt", "Programs\\Vv Empty\\"});
    m_made.Add(SpecialFolder(CSIDL_STARTMENU),
               {"Programs\\Vv Suite\\one.txt", "Programs\\Vv Suite\\two.txt"});
    RunSettings(
        1, {Do([&] {
            m_dialog.Click(IDC_SETTINGS_CATEGORY_FIRST + 1);
            HTREEITEM hPrograms = FindChild(Tree(), TVI_ROOT, "Programs");
            PressOn(Tree(), hPrograms, VK_ADD);
            HTREEITEM hSuite = FindChild(Tree(), hPrograms, "Vv Suite");
            PressOn(Tree(), hSuite, VK_ADD);
            EXPECT_EQ((std::vector<std::string>{"one.txt", "two.txt"}), ChildTexts(Tree(), hSuite));
            EXPECT_EQ(strCommon + "\\Programs\\Vv Suite\\one.txt", Report(hSuite, "one.txt"));
            HTREEITEM hEmpty = FindChild(Tree(), hPrograms, "Vv Empty");
            PressOn(Tree(), hEmpty, VK_ADD);
            EXPECT_TRUE(Tree().ItemHasChildren(hEmpty))
                << "an empty Start-menu folder keeps its button";
        })});
}

TEST_F(TargetTree, OneFolderAndFavouritesListTheirEntriesUnfiltered) {
    m_made.Add(SpecialFolder(CSIDL_FAVORITES),
               {"News.url", "MORE.URL", "doc.lnk", "page.urlx", "Sites\\in.txt"});
    RunSettings(1, {Do([&] {
                    m_dialog.Click(IDC_SETTINGS_CATEGORY_FIRST + 3);
                    EXPECT_EQ((std::vector<std::string>{"cache.dat", "codec.axd", "filter.ax",
                                                        "Notepad.lnk", "notes.info", "readme.txt",
                                                        "setup.INF", "sub", "x.dll"}),
                              ChildTexts(Tree()));
                    // The folder's name is used as written, trailing backslash and all.
                    EXPECT_EQ(m_folder.Path() + "\\\\readme.txt", Report(TVI_ROOT, "readme.txt"));
                    HTREEITEM hSub = FindChild(Tree(), TVI_ROOT, "sub");
                    PressOn(Tree(), hSub, VK_ADD);
                    EXPECT_EQ(std::vector<std::string>{"inner.txt"}, ChildTexts(Tree(), hSub));

                    m_dialog.Click(IDC_SETTINGS_CATEGORY_FIRST + 2);
                    EXPECT_EQ((std::vector<std::string>{"MORE.URL", "News.url", "Sites"}),
                              ChildTexts(Tree()));
                })});
}

TEST_F(TargetTree, ACategoryThatCannotBeShownLeavesTheTreeAsItWas) {
    RunSettings(1, {Do([&] {
                    CTargetTree& tree = m_dialog.Tree();
                    ASSERT_TRUE(tree.LoadCategory(3));
                    const std::vector<std::string> shown = ChildTexts(Tree());
                    for (int nCategory : {4, 5, 6, 9}) {
                        SCOPED_TRACE("category " + std::to_string(nCategory));
                        EXPECT_FALSE(tree.LoadCategory(nCategory));
                        EXPECT_EQ(shown, ChildTexts(Tree()));
                        EXPECT_EQ(m_folder.Path() + "\\\\sub", Report(TVI_ROOT, "sub"));
                    }
                    // The control panel shows nothing of its own and forms no path, but still
                    // reports.
                    EXPECT_TRUE(tree.LoadCategory(7));
                    EXPECT_EQ(shown, ChildTexts(Tree()));
                    size_t nReports = m_dialog.m_reports.size();
                    EXPECT_EQ(m_folder.Path() + "\\\\sub", Report(TVI_ROOT, "readme.txt"));
                    EXPECT_EQ(nReports + 1, m_dialog.m_reports.size());

                    // Clearing and refilling select items by themselves; only the user's selection
                    // counts.
                    nReports = m_dialog.m_reports.size();
                    EXPECT_TRUE(tree.LoadCategory(0));
                    EXPECT_EQ(nReports, m_dialog.m_reports.size());
                    EXPECT_EQ("C:\\", Report(TVI_ROOT, "C:"));
                    EXPECT_EQ(nReports + 1, m_dialog.m_reports.size());
                })});
}

// The tree fills in its own way for speed; the result must be what inserting every entry with
// TVI_SORT and asking the shell for each picture gives.
TEST_F(TargetTree, FillsInTheControlsOwnOrderWithTheShellsPictures) {
    for (const char* pszName : {"b.txt", "B2.TXT", "a b.txt", "a-b.txt", "_x.txt", "10.txt",
                                "9.txt", "Zeta\\", "zeta.doc", "prog.exe", "eclair.txt"}) {
        m_folder.WriteFile(pszName, "x");
    }
    RunSettings(1, {Do([&] {
                    ASSERT_TRUE(m_dialog.Tree().LoadCategory(8));
                    CTreeCtrl reference;
                    reference.SubclassWindow(CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD, 0, 0,
                                                             100, 100, m_dialog, nullptr, nullptr,
                                                             nullptr));
                    for (const std::string& strName : ListFiles(m_folder.Path(), "*")) {
                        if (strName == "." || strName == "..") {
                            continue;
                        }
                        SHFILEINFOA info = {};
                        SHGetFileInfoA((m_folder.Path() + "\\" + strName).c_str(), 0, &info,
                                       sizeof(info), SHGFI_ICON | SHGFI_SMALLICON);
                        DestroyIcon(info.hIcon);
                        TVINSERTSTRUCTA insert = {};
                        insert.hParent = TVI_ROOT;
                        insert.hInsertAfter = TVI_SORT;
                        insert.item.mask = TVIF_TEXT | TVIF_IMAGE;
                        insert.item.pszText = const_cast<LPSTR>(strName.c_str());
                        insert.item.iImage = info.iIcon;
                        reference.InsertItem(&insert);
                    }
                    ASSERT_EQ(ChildTexts(reference), ChildTexts(Tree()));
                    HTREEITEM hOurs = Tree().GetChildItem(TVI_ROOT);
                    for (HTREEITEM hTheirs = reference.GetChildItem(TVI_ROOT); hTheirs;
                         hTheirs = reference.GetNextSiblingItem(hTheirs)) {
                        EXPECT_EQ(Image(reference, hTheirs), Image(Tree(), hOurs));
                        hOurs = Tree().GetNextSiblingItem(hOurs);
                    }
                    reference.DestroyWindow();
                })});
}

} // namespace
