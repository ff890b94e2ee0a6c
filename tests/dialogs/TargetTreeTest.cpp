// The target tree in the settings dialog, end to end; FolderLevelTest has what one level holds.
#include "SettingsHarness.h"

#include <algorithm>
#include <shellapi.h>
#include <shlobj.h>

namespace {

// The names of one level of the roots as ReadFolderLevel reads it.
std::vector<std::string> LevelNames(const std::vector<std::string>& roots, LevelRule rule) {
    std::vector<LevelSource> sources;
    for (const std::string& strRoot : roots) {
        sources.push_back({strRoot.c_str(), 1});
    }
    std::vector<std::string> names;
    for (const LevelEntry& entry : ReadFolderLevel(sources, rule)) {
        names.emplace_back(entry.strName);
    }
    return names;
}

int ShellPicture(const std::string& strPath, UINT nOpen) {
    SHFILEINFOA info = {};
    SHGetFileInfoA(strPath.c_str(), 0, &info, sizeof(info),
                   SHGFI_SYSICONINDEX | SHGFI_SMALLICON | nOpen);
    return info.iIcon;
}

class TargetTree : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        for (const char* pszName : {"sub\\inner.txt", "x.dll", "a.txt", "B.TXT"}) {
            m_folder.WriteFile(pszName, "x");
        }
        // Key 1's categories, some broken on purpose; the folder named with a trailing backslash.
        const std::string strFolder = "Tree=Folder\nFolderName=" + m_folder.Path();
        m_library.AppendToKeyFile(
            "[SKey1Button0]\nTree=allFILES\n[SKey1Button1]\nTree=Program Files\n"
            "[SKey1Button2]\nTree=Favorites\n[SKey1Button4]\n[SKey1Button5]\nTree=X\n"
            "[SKey1Button6]\nTree=Folder\n[SKey1Button7]\nTree=ControlPanel\n"
            "[SKey1Button3]\n" +
            strFolder + "\\\n[SKey1Button8]\n" + strFolder + "\n");
    }
    void InTree(const std::function<void()>& steps) { RunSettings(1, {Do(steps)}); }
    CTargetTree& Tree() { return m_dialog.Tree(); }
    HTREEITEM Open(HTREEITEM hParent, LPCSTR pszText) {
        HTREEITEM hItem = FindChild(Tree(), hParent, pszText);
        PressOn(Tree(), hItem, VK_ADD);
        return hItem;
    }
    // Selects the child with this text and returns the path last reported.
    std::string Report(HTREEITEM hParent, LPCSTR pszText) {
        PressOn(Tree(), FindChild(Tree(), hParent, pszText));
        return LastReport();
    }
    CScratchFolder m_folder;
    CMadeEntries m_made;
};

TEST_F(TargetTree, EachKindReadsItsRootsByItsRuleAndReportsItsPaths) {
    const std::string strDesktop = SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
    const std::string strUserDesktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
    const std::string strMenu = SpecialFolder(CSIDL_COMMON_STARTMENU);
    const std::string strUserMenu = SpecialFolder(CSIDL_STARTMENU);
    m_made.Add(strDesktop, {"Tools\\a.txt", "Empty\\hidden.dll"});
    m_made.Add(strUserDesktop, {"TOOLS\\b.txt", "x.dll"});
    m_made.Add(strMenu, {"Programs\\Vv Suite\\one.txt", "Programs\\Vv Empty\\"});
    m_made.Add(strUserMenu, {"Programs\\Vv Suite\\one.txt", "Programs\\Vv Suite\\two.txt"});
    m_made.Add(SpecialFolder(CSIDL_FAVORITES), {"News.url", "doc.lnk", "Sites\\"});
    InTree([&] {
        // All files: the drives in the system's order, then both desktops merged, each name once.
        std::vector<std::string> texts = ChildTexts(Tree());
        char szDrives[512] = {};
        GetLogicalDriveStringsA(sizeof(szDrives), szDrives);
        for (LPCSTR psz = szDrives; *psz && !texts.empty(); psz += strlen(psz) + 1) {
            EXPECT_EQ(std::string(psz, 2), texts.front());
            texts.erase(texts.begin());
        }
        EXPECT_EQ(LevelNames({strDesktop, strUserDesktop}, LevelRule::kTargets), texts);
        EXPECT_EQ(texts.end(), std::find(texts.begin(), texts.end(), "TOOLS")) << "Tools twice";
        EXPECT_EQ("C:\\", Report(TVI_ROOT, "C:"));
        EXPECT_EQ("C:\\windows", Report(Open(TVI_ROOT, "C:"), "windows"));
        EXPECT_FALSE(Tree().ItemHasChildren(Open(TVI_ROOT, "Empty"))) << "nothing to show";
        // Tools is on both desktops: shown and opened as the common one, and read once.
        EXPECT_EQ(strDesktop + "\\Tools", Report(TVI_ROOT, "Tools"));
        HTREEITEM hTools = Open(TVI_ROOT, "Tools");
        m_made.Add(strDesktop, {"Tools\\later.txt"});
        PressOn(Tree(), hTools, VK_SUBTRACT);
        PressOn(Tree(), hTools, VK_ADD);
        EXPECT_EQ(std::vector<std::string>{"a.txt"}, ChildTexts(Tree(), hTools));
        // Start menu: a folder shows what the same-named folders of both menus hold.
        ASSERT_TRUE(Tree().LoadCategory(1));
        EXPECT_EQ(LevelNames({strMenu, strUserMenu}, LevelRule::kTargets), ChildTexts(Tree()));
        HTREEITEM hPrograms = Open(TVI_ROOT, "Programs");
        HTREEITEM hSuite = Open(hPrograms, "Vv Suite");
        EXPECT_EQ((std::vector<std::string>{"one.txt", "two.txt"}), ChildTexts(Tree(), hSuite));
        EXPECT_EQ(strMenu + "\\Programs\\Vv Suite\\one.txt", Report(hSuite, "one.txt"));
        EXPECT_TRUE(Tree().ItemHasChildren(Open(hPrograms, "Vv Empty"))) << "keeps its button";
        // Favourites; one folder, whose name is used as written, trailing backslash and all.
        ASSERT_TRUE(Tree().LoadCategory(2));
        EXPECT_EQ(LevelNames({SpecialFolder(CSIDL_FAVORITES)}, LevelRule::kFavorites),
                  ChildTexts(Tree()));
        ASSERT_TRUE(Tree().LoadCategory(3));
        EXPECT_EQ(LevelNames({m_folder.Path()}, LevelRule::kEverything), ChildTexts(Tree()));
        EXPECT_EQ(m_folder.Path() + "\\\\sub", Report(TVI_ROOT, "sub"));
        EXPECT_EQ(std::vector<std::string>{"inner.txt"}, ChildTexts(Tree(), Open(TVI_ROOT, "sub")));
        // A category it cannot show leaves it as it was, selections still reported; the control
        // panel (7) loads, and forms no path of its own: its selections report none.
        const std::vector<std::string> shown = ChildTexts(Tree());
        const std::pair<int, LPCSTR> loads[] = {
            {4, "x.dll"}, {5, "sub"}, {6, "x.dll"}, {9, "sub"}, {7, "x.dll"}};
        for (const auto& [nCategory, pszItem] : loads) {
            EXPECT_EQ(nCategory == 7, Tree().LoadCategory(nCategory) != FALSE);
            EXPECT_EQ(shown, ChildTexts(Tree()));
            size_t nReports = Reports();
            const std::string strPath = nCategory == 7 ? "" : m_folder.Path() + "\\\\" + pszItem;
            EXPECT_EQ(strPath, Report(TVI_ROOT, pszItem));
            EXPECT_EQ(nReports + 1, Reports()) << nCategory;
        }
        // Clearing and refilling select items by themselves; only the user's selection counts.
        size_t nReports = Reports();
        EXPECT_TRUE(Tree().LoadCategory(0));
        EXPECT_EQ(nReports, Reports());
        PressOn(Tree(), FindChild(Tree(), TVI_ROOT, "C:"));
        EXPECT_EQ(nReports + 1, Reports());
    });
}

// One answer of the shell serves many items; each must still show the shell's own pictures, open
// when selected. Wine keeps no read-only attribute on folders: the lookup is asked for that one.
TEST_F(TargetTree, EveryItemShowsTheShellsOwnPictures) {
    const std::string strCustom = m_folder / "Custom";
    m_folder.WriteFile("Custom\\desktop.ini", "[.ShellClassInfo]\r\nIconIndex=0\r\n"
                                              "IconFile=C:\\windows\\system32\\notepad.exe\r\n");
    ASSERT_TRUE(SetFileAttributesA(strCustom.c_str(), FILE_ATTRIBUTE_SYSTEM));
    ASSERT_NE(ShellPicture(strCustom, 0), ShellPicture(m_folder / "sub", 0));
    CShellIcons icons;
    icons.Lookup((m_folder / "sub").c_str(), FILE_ATTRIBUTE_DIRECTORY);
    const DWORD nReadOnly = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY;
    EXPECT_EQ(ShellPicture(strCustom, 0), icons.Lookup(strCustom.c_str(), nReadOnly).nNormal);
    InTree([&] {
        ASSERT_TRUE(Tree().LoadCategory(8));
        for (const std::string& strName : ChildTexts(Tree())) {
            const std::string strPath = m_folder / strName;
            TVITEMA item = {};
            item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
            item.hItem = FindChild(Tree(), TVI_ROOT, strName.c_str());
            Tree().GetItem(&item);
            EXPECT_EQ(ShellPicture(strPath, 0), item.iImage) << strPath;
            EXPECT_EQ(ShellPicture(strPath, SHGFI_OPENICON), item.iSelectedImage) << strPath;
        }
    });
}

} // namespace
