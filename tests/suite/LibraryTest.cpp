// The library's exports, paths, key count, icons and the staged key settings file.
#include "../common/Icons.h"
#include "../common/Process.h"
#include "../common/ScratchFolder.h"
#include "../common/SuiteLibrary.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>

namespace {

TEST(LibraryExports, AllByNameButTheKeyOptionCallsByOrdinalOnly) {
    CSuiteLibrary lib; // fails the test unless the module's twelve are found
    ASSERT_TRUE(lib.m_hModule && lib.pfnGetKeyOption && lib.pfnSetKeyOption &&
                lib.pfnTakeStoreNotice);
    EXPECT_TRUE(lib.pfnSetKeyAssignment && lib.pfnExportKeys && lib.pfnImportKeys &&
                lib.pfnUndoKeys && lib.pfnSaveKeySet && lib.pfnUseKeySet && lib.pfnDeleteKeySet &&
                lib.pfnListKeySets && lib.pfnCheckTarget);
    EXPECT_EQ(nullptr, GetProcAddress(lib.m_hModule, "ZuComGetKeyOption"));
    EXPECT_EQ(nullptr, GetProcAddress(lib.m_hModule, "ZuComSetKeyOption"));
}

TEST(LibraryPaths, KindsNameFilesInTheLibrarysOwnFolder) {
    CSuiteLibrary lib;
    std::string strFolder = StagedPath("");
    strFolder.pop_back(); // the folder itself, without its trailing backslash
    const std::pair<int, std::string> paths[] = {
        {ZUCOM_PATH_PROGRAM_FOLDER, strFolder},
        {ZUCOM_PATH_HELP_FILE, strFolder + "\\Corvane.chm"},
        {ZUCOM_PATH_KEY_SETTINGS, strFolder + "\\CvnSKey.ini"},
        {ZUCOM_PATH_KEY_STORE, EnvironmentValue("APPDATA") + "\\Corvane\\KeyStore.ini"},
    };
    for (const auto& [nKind, strPath] : paths) {
        char szPath[MAX_PATH];
        ASSERT_EQ(1, lib.pfnGetPath(nKind, szPath)) << nKind;
        EXPECT_EQ(0, lstrcmpiA(strPath.c_str(), szPath)) << szPath;
    }
    for (int nKind : {-1, 1, 2, 4, 7}) {
        char szPath[MAX_PATH] = "untouched";
        EXPECT_EQ(0, lib.pfnGetPath(nKind, szPath)) << nKind;
        EXPECT_STREQ("untouched", szPath) << nKind;
    }
    EXPECT_EQ(0, lib.pfnGetPath(ZUCOM_PATH_PROGRAM_FOLDER, nullptr));
}

TEST(LibraryPaths, AppendJoinsWithOneBackslashAndRefusesWhatDoesNotFit) {
    CSuiteLibrary lib;
    const std::string strLong(MAX_PATH - 6, 'a'); // with "\\" and a name of 4 the path is 259 long
    const std::string strLongSlash(MAX_PATH - 3, 'a');
    const struct {
        std::string strFolder;
        const char* pszName;
        std::string strJoined; // empty: refused, and the buffer is left alone
    } cases[] = {
        {"C:\\Suite", "VeRiro.exe", "C:\\Suite\\VeRiro.exe"},
        {"C:\\", "\\\\name", "C:\\name"},
        {"C:\\Suite\\", "a", "C:\\Suite\\a"},
        {strLong, "abcd", strLong + "\\abcd"},
        {strLong, "abcde", ""},
        {strLongSlash + "\\", "a", strLongSlash + "\\a"},
        {strLongSlash + "\\", "ab", ""},
        {"C:\\", nullptr, ""},
    };
    for (const auto& test : cases) {
        char szPath[MAX_PATH];
        std::strcpy(szPath, test.strFolder.c_str());
        EXPECT_EQ(!test.strJoined.empty(), lib.pfnPathAppend(szPath, test.pszName)) << szPath;
        EXPECT_EQ(test.strJoined.empty() ? test.strFolder : test.strJoined, szPath);
    }
    char szFull[MAX_PATH];
    std::memset(szFull, 'x', sizeof szFull); // no terminator anywhere in the buffer
    EXPECT_EQ(0, lib.pfnPathAppend(szFull, "a"));
    EXPECT_EQ(0, lib.pfnPathAppend(nullptr, "a"));
}

// A copy of the library reads the Corvane.ini beside itself.
TEST(LibrarySettings, KeyCountComesFromCorvaneIniClampedToOneToSix) {
    CScratchSuite suite({"VeDerovu.dll"});
    CSuiteLibrary lib(suite / "VeDerovu.dll");
    struct {
        const char* pszSettings; // null: no Corvane.ini
        int nExpected;
    } const cases[] = {{"[Suite]\r\nKeyCount=-4\r\n", 1},
                       {"[Suite]\r\nKeyCount=0\r\n", 1},
                       {"[Suite]\r\nKeyCount=1\r\n", 1},
                       {"[Suite]\r\nKeyCount=3\r\n", 3},
                       {"[Suite]\r\nKeyCount=6\r\n", 6},
                       {"[Suite]\r\nKeyCount=7\r\n", 6},
                       {"[Suite]\r\nKeyCount=99999999999\r\n", 6},
                       {"[SUITE]\r\nkeycount=2\r\n", 2},
                       {"[Suite]\r\nKeyCount \t=\t 4 \r\n", 4},
                       {"[Suite]\r\nKeyCount=four\r\n", 6},
                       {"[Suite]\r\nKeyCount=\r\n", 6},
                       {"stray line\r\n[Suite]\r\nKeyCount=2\r\n", 2},
                       {"[Other]\r\nKeyCount=2\r\n", 6},
                       {nullptr, 6}};
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszSettings ? test.pszSettings : "none");
        ASSERT_TRUE(test.pszSettings ? WriteFileText(suite / "Corvane.ini", test.pszSettings)
                                     : DeleteFileA((suite / "Corvane.ini").c_str()));
        int nCount = 0;
        EXPECT_EQ(1, lib.pfnGetSKeyNum(&nCount));
        EXPECT_EQ(test.nExpected, nCount);
    }
    EXPECT_EQ(0, lib.pfnGetSKeyNum(nullptr));
}

// The staged defaults name what is there, and the staged key settings offer four categories a key.
TEST(LibraryFiles, StagedDefaultsExistAndKeySettingsOfferFourCategoriesPerKey) {
    CScratchAppData appData;
    CSuiteLibrary lib;
    ASSERT_EQ(1, lib.pfnInitSKeyData(0));
    int nAssigned = 0;
    for (int nKey = 1; nKey <= 6; ++nKey) {
        int nResult = 0;
        KeyAssignment record = lib.Read(nKey, &nResult);
        nAssigned += nResult;
        EXPECT_TRUE(record.Target.IsEmpty() || Exists(std::string(record.Target)))
            << "default target of key " << nKey << " is missing";
    }
    EXPECT_GT(nAssigned, 0);
    char szPath[MAX_PATH];
    ASSERT_EQ(1, lib.pfnGetPath(ZUCOM_PATH_KEY_SETTINGS, szPath));
    auto value = [&](const std::string& strSection, const char* pszName) {
        char szValue[512] = "";
        GetPrivateProfileStringA(strSection.c_str(), pszName, "", szValue, sizeof szValue, szPath);
        return std::string(szValue);
    };
    for (int nKey = 1; nKey <= 6; ++nKey) {
        std::string strKey = std::to_string(nKey);
        EXPECT_NE("", value("SKeySilk", ("S" + strKey).c_str())) << strKey;
        for (int nButton = 0; nButton < 4; ++nButton) {
            std::string strSection = "SKey" + strKey + "Button" + std::to_string(nButton);
            EXPECT_NE("", value(strSection, "Title")) << strSection;
            std::string strTree = value(strSection, "Tree");
            ASSERT_NE("", strTree) << strSection;
            if (lstrcmpiA(strTree.c_str(), "Folder") == 0) {
                std::string strFolder = value(strSection, "FolderName");
                DWORD dwAttributes = GetFileAttributesA(strFolder.c_str());
                EXPECT_TRUE(dwAttributes != INVALID_FILE_ATTRIBUTES &&
                            (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    << strSection << " names no folder: " << strFolder;
            }
        }
    }
}

TEST(LibraryIcons, IconsComeFromIconFilesAndTheShellAndNeverFromNothing) {
    CSuiteLibrary lib;
    CScratchFolder folder;
    char szNotepad[MAX_PATH];
    GetWindowsDirectoryA(szNotepad, MAX_PATH);
    std::strcat(szNotepad, "\\notepad.exe");
    ASSERT_TRUE(folder.WriteFile("Solid.ICO", SolidIconFile(RGB(0, 128, 255))) &&
                folder.WriteFile("broken.ico", "not an icon at all"));

    for (const std::string& strPath :
         {std::string(szNotepad), folder / "Solid.ICO", std::string("C:\\"), folder.Path()}) {
        for (int nLarge : {1, 0}) {
            HICON hIcon = nullptr;
            EXPECT_EQ(1, lib.pfnGetIconHandle(&hIcon, strPath.c_str(), nLarge)) << strPath;
            ICONINFO info = {};
            ASSERT_TRUE(hIcon && GetIconInfo(hIcon, &info)) << strPath;
            BITMAP bitmap = {};
            GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            EXPECT_EQ(GetSystemMetrics(nLarge ? SM_CXICON : SM_CXSMICON), bitmap.bmWidth)
                << strPath;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(hIcon);
        }
    }
    std::string strLong = "C:\\" + std::string(400, 'a') + ".exe";
    for (const std::string& strPath :
         {folder / "missing.exe", folder / "broken.ico", std::string(), strLong}) {
        HICON hIcon = nullptr;
        EXPECT_EQ(0, lib.pfnGetIconHandle(&hIcon, strPath.c_str(), 1)) << strPath;
        EXPECT_EQ(nullptr, hIcon) << strPath;
    }
    EXPECT_EQ(0, lib.pfnGetIconHandle(nullptr, szNotepad, 1));
}

} // namespace
