// The library's exports, paths, key count, icons and the staged key settings file.
#include "../common/Process.h"
#include "../common/ScratchFolder.h"
#include "../common/SuiteLibrary.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(LibraryExports, TenByNameAndTheKeyOptionCallsByOrdinalOnly) {
    CSuiteLibrary lib;
    ASSERT_TRUE(lib.m_hModule);
    EXPECT_TRUE(lib.pfnGetAppDataOfHarlEvent && lib.pfnSetAppDataOfHarlEvent &&
                lib.pfnGetIconHandle && lib.pfnGetPath && lib.pfnPathAppend && lib.pfnGetServer &&
                lib.pfnGetClient && lib.pfnSetClient && lib.pfnInitSKeyData && lib.pfnGetSKeyNum);
    EXPECT_TRUE(lib.pfnGetKeyOption && lib.pfnSetKeyOption);
    EXPECT_EQ(nullptr, GetProcAddress(lib.m_hModule, "ZuComGetKeyOption"));
    EXPECT_EQ(nullptr, GetProcAddress(lib.m_hModule, "ZuComSetKeyOption"));
}

TEST(LibraryPaths, KindsNameFilesInTheLibrarysOwnFolder) {
    CSuiteLibrary lib;
    std::string strFolder = StagedPath("");
    strFolder.pop_back(); // the folder itself, without its trailing backslash
    char szPath[MAX_PATH];
    ASSERT_EQ(1, lib.pfnGetPath(ZUCOM_PATH_PROGRAM_FOLDER, szPath));
    EXPECT_EQ(0, lstrcmpiA(strFolder.c_str(), szPath)) << szPath;
    ASSERT_EQ(1, lib.pfnGetPath(ZUCOM_PATH_HELP_FILE, szPath));
    EXPECT_EQ(0, lstrcmpiA((strFolder + "\\Corvane.chm").c_str(), szPath)) << szPath;
    ASSERT_EQ(1, lib.pfnGetPath(ZUCOM_PATH_KEY_SETTINGS, szPath));
    EXPECT_EQ(0, lstrcmpiA((strFolder + "\\CvnSKey.ini").c_str(), szPath)) << szPath;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(szPath)) << "key settings not staged";
    ASSERT_EQ(1, lib.pfnGetPath(ZUCOM_PATH_KEY_STORE, szPath));
    EXPECT_EQ(EnvironmentValue("APPDATA") + "\\Corvane\\KeyStore.ini", szPath);

    for (int nKind : {1, 2, 4, 7, -1}) {
        std::strcpy(szPath, "untouched");
        EXPECT_EQ(0, lib.pfnGetPath(nKind, szPath)) << nKind;
        EXPECT_STREQ("untouched", szPath) << nKind;
    }
    EXPECT_EQ(0, lib.pfnGetPath(ZUCOM_PATH_PROGRAM_FOLDER, nullptr));
}

TEST(LibraryPaths, AppendJoinsWithOneBackslashAndRefusesWhatDoesNotFit) {
    CSuiteLibrary lib;
    char szPath[MAX_PATH] = "C:\\Suite";
    ASSERT_EQ(1, lib.pfnPathAppend(szPath, "VeRiro.exe"));
    EXPECT_STREQ("C:\\Suite\\VeRiro.exe", szPath);
    std::strcpy(szPath, "C:\\");
    ASSERT_EQ(1, lib.pfnPathAppend(szPath, "\\name"));
    EXPECT_STREQ("C:\\name", szPath);

    std::string strFolder(MAX_PATH - 6, 'a'); // with "\\" and a name of 4 the path is 259 long
    std::strcpy(szPath, strFolder.c_str());
    EXPECT_EQ(0, lib.pfnPathAppend(szPath, "abcde"));
    EXPECT_EQ(strFolder, szPath);
    ASSERT_EQ(1, lib.pfnPathAppend(szPath, "abcd"));
    EXPECT_EQ(MAX_PATH - 1, static_cast<int>(std::strlen(szPath)));

    char szFull[MAX_PATH];
    std::memset(szFull, 'x', sizeof szFull); // no terminator anywhere in the buffer
    EXPECT_EQ(0, lib.pfnPathAppend(szFull, "a"));
    EXPECT_EQ(0, lib.pfnPathAppend(nullptr, "a"));
    EXPECT_EQ(0, lib.pfnPathAppend(szPath, nullptr));
}

TEST(LibrarySettings, KeyCountComesFromCorvaneIniClampedToOneToSix) {
    // A copy of the library reads the Corvane.ini beside itself.
    CScratchFolder folder;
    ASSERT_TRUE(
        CopyFileA(StagedPath("VeDerovu.dll").c_str(), (folder / "VeDerovu.dll").c_str(), FALSE));
    CSuiteLibrary lib(folder / "VeDerovu.dll");
    char szProgram[MAX_PATH];
    ASSERT_EQ(1, lib.pfnGetPath(ZUCOM_PATH_PROGRAM_FOLDER, szProgram));
    ASSERT_EQ(0, lstrcmpiA(folder.Path().c_str(), szProgram)) << "the staged copy was loaded";

    struct {
        const char* pszSettings;
        int nExpected;
    } const cases[] = {
        {"[Suite]\r\nKeyCount=3\r\n", 3},
        {"[suite]\r\nkeycount = 1\r\n", 1},
        {"[Suite]\r\nKeyCount=0\r\n", 1},
        {"[Suite]\r\nKeyCount=-4\r\n", 1},
        {"[Suite]\r\nKeyCount=9\r\n", 6},
        {"[Suite]\r\nKeyCount=99999999999\r\n", 6},
        {"[Suite]\r\nKeyCount=four\r\n", 6},
        {"[Suite]\r\nKeyCount=\r\n", 6},
        {"stray line\r\n[Suite]\r\nKeyCount=2\r\n", 2},
        {"[Other]\r\nKeyCount=2\r\n", 6},
    };
    for (const auto& test : cases) {
        ASSERT_TRUE(WriteFileText(folder / "Corvane.ini", test.pszSettings));
        int nCount = 0;
        EXPECT_EQ(1, lib.pfnGetSKeyNum(&nCount)) << test.pszSettings;
        EXPECT_EQ(test.nExpected, nCount) << test.pszSettings;
    }
    DeleteFileA((folder / "Corvane.ini").c_str());
    int nCount = 0;
    EXPECT_EQ(1, lib.pfnGetSKeyNum(&nCount));
    EXPECT_EQ(6, nCount);
    EXPECT_EQ(0, lib.pfnGetSKeyNum(nullptr));
}

// The defaults go through the same door as the user's own options: a number outside 1 to 99
// becomes 5 in the store that they make.
TEST(LibrarySettings, DefaultOptionNumbersOutsideOneToNinetyNineBecomeFive) {
    CScratchFolder folder;
    CScratchAppData appData;
    ASSERT_TRUE(
        CopyFileA(StagedPath("VeDerovu.dll").c_str(), (folder / "VeDerovu.dll").c_str(), FALSE));
    CSuiteLibrary lib(folder / "VeDerovu.dll");
    const int numbers[][2] = {{0, 5}, {100, 5}, {-3, 5}, {1, 1}, {99, 99}, {42, 42}};
    std::string strSettings;
    for (int nKey = 1; nKey <= 6; ++nKey) {
        strSettings += "[DefaultKey" + std::to_string(nKey) + "]\r\nTitle=Key\r\nOptionFlag=1\r\n" +
                       "OptionNumber=" + std::to_string(numbers[nKey - 1][0]) + "\r\n";
    }
    ASSERT_TRUE(WriteFileText(folder / "Corvane.ini", strSettings));
    ASSERT_EQ(1, lib.pfnInitSKeyData(1));
    for (int nKey = 1; nKey <= 6; ++nKey) {
        int bFlag = 0;
        int nNumber = 0;
        ASSERT_EQ(1, lib.pfnGetKeyOption(nKey - 1, &bFlag, &nNumber));
        EXPECT_EQ(1, bFlag) << nKey;
        EXPECT_EQ(numbers[nKey - 1][1], nNumber) << "default " << numbers[nKey - 1][0];
    }
}

TEST(LibrarySettings, StagedKeySettingsOfferFourCategoriesPerKey) {
    CSuiteLibrary lib;
    char szPath[MAX_PATH];
    ASSERT_EQ(1, lib.pfnGetPath(ZUCOM_PATH_KEY_SETTINGS, szPath));
    char szValue[512];
    for (int nKey = 1; nKey <= 6; ++nKey) {
        std::string strKey = "S" + std::to_string(nKey);
        EXPECT_GT(GetPrivateProfileStringA("SKeySilk", strKey.c_str(), "", szValue, 512, szPath),
                  0u)
            << strKey;
        for (int nButton = 0; nButton < 4; ++nButton) {
            std::string strSection =
                "SKey" + std::to_string(nKey) + "Button" + std::to_string(nButton);
            const char* pszSection = strSection.c_str();
            EXPECT_GT(GetPrivateProfileStringA(pszSection, "Title", "", szValue, 512, szPath), 0u)
                << strSection;
            ASSERT_GT(GetPrivateProfileStringA(pszSection, "Tree", "", szValue, 512, szPath), 0u)
                << strSection;
            if (lstrcmpiA(szValue, "Folder") == 0) {
                GetPrivateProfileStringA(pszSection, "FolderName", "", szValue, 512, szPath);
                DWORD dwAttributes = GetFileAttributesA(szValue);
                EXPECT_TRUE(dwAttributes != INVALID_FILE_ATTRIBUTES &&
                            (dwAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    << strSection << " names no folder: " << szValue;
            }
        }
    }
}

// A 16x16 icon file: one 32-bit image, opaque red.
std::string IconFileBytes() {
    const int nSide = 16;
    const DWORD dwImage = sizeof(BITMAPINFOHEADER) + nSide * nSide * 4 + nSide * 4;
    std::string strBytes;
    auto put = [&](const void* pData, size_t nSize) {
        strBytes.append(static_cast<const char*>(pData), nSize);
    };
    const WORD header[] = {0, 1, 1}; // reserved, type icon, one image
    put(header, sizeof header);
    const BYTE entry[] = {nSide, nSide, 0, 0};
    put(entry, sizeof entry);
    const WORD planesAndBits[] = {1, 32};
    put(planesAndBits, sizeof planesAndBits);
    const DWORD sizeAndOffset[] = {dwImage, 6 + 16};
    put(sizeAndOffset, sizeof sizeAndOffset);
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = nSide;
    info.biHeight = nSide * 2; // colour image and mask
    info.biPlanes = 1;
    info.biBitCount = 32;
    put(&info, sizeof info);
    const BYTE red[] = {0, 0, 255, 255};
    for (int i = 0; i < nSide * nSide; ++i) {
        put(red, sizeof red);
    }
    strBytes.append(nSide * 4, '\0'); // AND mask: rows of 32 bits
    return strBytes;
}

TEST(LibraryIcons, IconsComeFromIconFilesAndTheShellAndNeverFromNothing) {
    CSuiteLibrary lib;
    CScratchFolder folder;
    char szNotepad[MAX_PATH];
    GetWindowsDirectoryA(szNotepad, MAX_PATH);
    std::strcat(szNotepad, "\\notepad.exe");
    ASSERT_TRUE(WriteFileText(folder / "key.ICO", IconFileBytes()));
    ASSERT_TRUE(WriteFileText(folder / "broken.ico", "not an icon at all"));

    for (const std::string& strPath :
         {std::string(szNotepad), folder / "key.ICO", std::string("C:\\"), folder.Path()}) {
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
