// The suite's package as a user and an administrator meet it on a machine that has never seen
// it: installed by msiexec, silently or with its progress shown, started, upgraded from an older
// version, repaired and removed, with the properties an administrator gives.
#include "../common/Process.h"
#include "../common/ScratchFolder.h"
#include "../common/ShownDialogs.h"
#include "../common/SuiteLibrary.h"

#include "../../res/resource.h"
#include "../../suite/VeDerovu/ServiceProtocol.h"

#include <gtest/gtest.h>

#include "CComInit.h"
#include "CHandle.h"
#include "CRegKey.h"

#include <cstring>
#include <msi.h>
#include <shlobj.h>
#include <wrl/client.h>

namespace {

constexpr char UPGRADE_CODE[] = "{5B1F2C63-0E7B-4C3E-9B87-2E4B8C1D7A10}";
constexpr char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char* const kInstalledFiles[] = {"VuViravuz.exe", "VeDerovu.dll", "VeRiro.exe",
                                       "RuRoredo.DLL",  "CvnKeys.exe",  "CvnSKey.ini",
                                       "Corvane.ini",   "Corvane.chm"};

std::string Package(const char* pszName = "..\\Corvane-" CORVANE_VERSION "-x64.msi") {
    return "\"" + ThisProgramFolder() + "\\" + pszName + "\"";
}

// Where the package puts the suite unless told otherwise.
std::string DefaultFolder() {
    return SpecialFolder(CSIDL_PROGRAM_FILES) + "\\Corvane";
}

DWORD Msiexec(const std::string& strArguments) {
    return CChildProcess(SpecialFolder(CSIDL_SYSTEM) + "\\msiexec.exe", strArguments).WaitForExit();
}

// A value of the machine's registry; "(none)" when there is none.
std::string RegistryText(const char* pszKey, const char* pszName) {
    char szValue[MAX_PATH * 2] = "(none)";
    DWORD nSize = sizeof szValue;
    RegGetValueA(HKEY_LOCAL_MACHINE, pszKey, pszName, RRF_RT_REG_SZ, nullptr, szValue, &nSize);
    return szValue;
}

// The product codes of every installed version of the suite.
std::vector<std::string> InstalledProducts() {
    std::vector<std::string> products;
    char szProduct[39];
    for (DWORD i = 0; MsiEnumRelatedProductsA(UPGRADE_CODE, 0, i, szProduct) == ERROR_SUCCESS;
         ++i) {
        products.push_back(szProduct);
    }
    return products;
}

std::string ProductInfo(const char* pszProperty) {
    char szValue[MAX_PATH] = {};
    DWORD nSize = MAX_PATH;
    MsiGetProductInfoA(InstalledProducts().at(0).c_str(), pszProperty, szValue, &nSize);
    return szValue;
}

// The Start-menu shortcut's target and working folder: all users' shortcut on Windows, the
// installing user's under Wine.
std::pair<std::string, std::string> ShortcutTarget() {
    char szTarget[MAX_PATH] = {};
    char szFolder[MAX_PATH] = {};
    CComInit com;
    Microsoft::WRL::ComPtr<IShellLinkA> pLink;
    Microsoft::WRL::ComPtr<IPersistFile> pFile;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&pLink))) &&
        SUCCEEDED(pLink.As(&pFile))) {
        for (int nFolder : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
            std::string strPath = SpecialFolder(nFolder) + "\\Corvane Key Settings.lnk";
            if (SUCCEEDED(
                    pFile->Load(std::wstring(strPath.begin(), strPath.end()).c_str(), STGM_READ))) {
                pLink->GetPath(szTarget, MAX_PATH, nullptr, 0);
                pLink->GetWorkingDirectory(szFolder, MAX_PATH);
            }
        }
    }
    return {szTarget, szFolder};
}

// The program a running shortcut service was started from; empty when none runs.
std::string RunningService() {
    DWORD nProcess = 0;
    GetWindowThreadProcessId(FindWindowA(CVN_SERVICE_CLASS, nullptr), &nProcess);
    CHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, nProcess));
    char szProgram[MAX_PATH] = {};
    DWORD nSize = MAX_PATH;
    return nProcess && QueryFullProcessImageNameA(process, 0, szProgram, &nSize) ? szProgram : "";
}

// The text of key S1 of the key panel started from the folder, as a screen reader reads it.
std::string FirstKeyOfPanel(const std::string& strFolder) {
    CChildProcess panel(strFolder + "\\VuViravuz.exe", "", strFolder);
    HWND hPanel = WaitForPanel(panel);
    char szText[256] = "(no panel)";
    // The template's bare legend stands until the first paint names the key after its assignment.
    WaitFor([&] {
        return GetDlgItemTextA(hPanel, IDC_KEY_BUTTON_FIRST, szText, 256) > 0 &&
               std::strchr(szText, ':') != nullptr;
    });
    ClosePanel(hPanel);
    EXPECT_EQ(0u, panel.WaitForExit());
    return szText;
}

// Each test starts on a machine without the suite and leaves one.
class InstallerTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(InstalledProducts().empty()); }

    void TearDown() override {
        for (const std::string& strProduct : InstalledProducts()) {
            Msiexec("/x " + strProduct + " /qn");
        }
    }

    // Installs (or repairs, or removes) with the arguments, logged; the log goes with a failure.
    testing::AssertionResult Run(const std::string& strArguments, DWORD nExpected = 0) const {
        DWORD nCode = Msiexec(strArguments + " /l*v \"" + (m_scratch / "install.log") + "\"");
        if (nCode == nExpected) {
            return testing::AssertionSuccess();
        }
        return testing::AssertionFailure()
               << "msiexec " << strArguments << " ended with " << nCode << "\n"
               << Log();
    }
    std::string Log() const { return ReadFileText(m_scratch / "install.log"); }

    // Removes the suite and checks that nothing of it is left but the user's key store.
    void RemoveCleanly(const std::string& strFolder) {
        std::string strProduct = InstalledProducts().at(0);
        ASSERT_TRUE(Run("/x " + Package() + " /qn"));
        EXPECT_TRUE(InstalledProducts().empty());
        EXPECT_FALSE(Exists(strFolder));
        EXPECT_EQ(ShortcutTarget().first, "");
        EXPECT_EQ(RunningService(), "");
        EXPECT_EQ(RegistryText(RUN_KEY, "Corvane"), "(none)");
        EXPECT_NE(CRegKey().Open(HKEY_LOCAL_MACHINE, "Software\\Corvane"), ERROR_SUCCESS);
        EXPECT_NE(
            CRegKey().Open(
                HKEY_LOCAL_MACHINE,
                ("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + strProduct).c_str()),
            ERROR_SUCCESS);
        EXPECT_FALSE(Exists(SpecialFolder(CSIDL_WINDOWS) + "\\Installer\\" + strProduct));
        EXPECT_TRUE(Exists(m_appData.StorePath()));
    }

    CScratchFolder m_scratch;
    CScratchAppData m_appData;
};

} // namespace

// Opened by a user: the suite in Program Files with its shortcut, its entry in "Add or remove
// programs" and its service running at the end; the service at every log-on; removal clean.
TEST_F(InstallerTest, InstallsForUsersAndRemovesCleanly) {
    ASSERT_TRUE(Run("/i " + Package() + " /qb"));
    const std::string strFolder = DefaultFolder();
    for (const char* pszFile : kInstalledFiles) {
        EXPECT_TRUE(Exists(strFolder + "\\" + pszFile)) << pszFile;
    }
    EXPECT_EQ(ShortcutTarget(), std::make_pair(strFolder + "\\VuViravuz.exe", strFolder + "\\"));
    EXPECT_TRUE(WaitFor([&] { return RunningService() == strFolder + "\\VeRiro.exe"; }));
    EXPECT_EQ(InstalledProducts().size(), 1u);
    EXPECT_EQ(ProductInfo("VersionString"), CORVANE_VERSION);
    EXPECT_EQ(ProductInfo("Publisher"), "Corvane");
    EXPECT_EQ(ProductInfo("HelpLink"), strFolder + "\\Corvane.chm");
    EXPECT_TRUE(Exists(ProductInfo("ProductIcon")));
    EXPECT_EQ(FirstKeyOfPanel(strFolder), "S1: Notepad, Text editor");

    // The log-on start, as a new session of Wine makes it.
    EXPECT_EQ(RegistryText(RUN_KEY, "Corvane"), "\"" + strFolder + "\\VeRiro.exe\"");
    ASSERT_TRUE(StopShortcutService());
    CChildProcess(SpecialFolder(CSIDL_SYSTEM) + "\\wineboot.exe").WaitForExit();
    EXPECT_TRUE(WaitFor([&] { return RunningService() == strFolder + "\\VeRiro.exe"; }));

    // Removed while the service and a key panel run: both are closed first, as a user closes them.
    CChildProcess panel(strFolder + "\\VuViravuz.exe", "", strFolder);
    ASSERT_NE(WaitForPanel(panel), nullptr);
    RemoveCleanly(strFolder);
    EXPECT_EQ(0u, panel.WaitForExit(0));
}

// A newer package (or another build of the same version) keeps each user's keys and key sets and
// a settings file changed by hand, brings an unchanged one up to date, and an older package does
// not replace a newer one.
TEST_F(InstallerTest, UpgradeKeepsWhatUsersMade) {
    ASSERT_TRUE(Run("/i " + Package("Corvane-0.9.0-x64.msi") + " /qn"));
    const std::string strFolder = DefaultFolder();
    const std::string strKeys = strFolder + "\\CvnKeys.exe";
    ASSERT_EQ(0u, RunConsole(strKeys, "assign S1 C:\\windows --title Mine").nExitCode);
    ASSERT_EQ(0u, RunConsole(strKeys, "set save Work").nExitCode);
    const std::string strEdited = ReadFileText(strFolder + "\\CvnSKey.ini") + "; my own change\r\n";
    ASSERT_TRUE(WriteFileText(strFolder + "\\CvnSKey.ini", strEdited));

    for (const char* pszPackage :
         {"..\\Corvane-" CORVANE_VERSION "-x64.msi", "Corvane-rebuilt-x64.msi"}) {
        SCOPED_TRACE(pszPackage);
        ASSERT_TRUE(Run("/i " + Package(pszPackage) + " /qn"));
        EXPECT_EQ(InstalledProducts().size(), 1u);
        EXPECT_EQ(ProductInfo("VersionString"), CORVANE_VERSION);
        EXPECT_EQ(ReadFileText(strFolder + "\\CvnSKey.ini"), strEdited);
        EXPECT_EQ(ReadFileText(strFolder + "\\Corvane.ini"),
                  ReadFileText(StagedPath("Corvane.ini")));
        EXPECT_EQ(RunConsole(strKeys, "set list").strOut, "* Work\r\n");
    }
    EXPECT_TRUE(Run("/i " + Package("Corvane-0.9.0-x64.msi") + " /qn", ERROR_INSTALL_FAILURE));
    EXPECT_EQ(ProductInfo("VersionString"), CORVANE_VERSION);
    RemoveCleanly(strFolder);
}

// An administrator's silent install elsewhere, with the machine's key count, the defaults for new
// users and no log-on start, each kept by a repair; a wrong property refused before anything is
// installed, with its reason in the log.
TEST_F(InstallerTest, AdministratorPropertiesTakeEffect) {
    // Key files as CvnKeys export writes them (UTF-8 with a mark), the second with a wrong line.
    const std::string strHeader =
        "\xEF\xBB\xBF[KeyStore]\r\nFormat=Corvane key store\r\nVersion=1\r\n";
    const std::string strDefaults = m_scratch / "defaults.ini";
    ASSERT_TRUE(WriteFileText(strDefaults,
                              strHeader + "[Key1]\r\nTitle=Console\r\n"
                                          "Comment=Opens C:\\windows\r\nTarget=C:\\windows\r\n"));
    ASSERT_TRUE(m_scratch.WriteFile("wrong.ini", strHeader + "[Key1]\r\nTilte=Notepad\r\n"));
    const struct {
        std::string strProperty;
        const char* pszReason;
    } refused[] = {
        {"KEYCOUNT=7", "KEYCOUNT must be a whole number of keys from 1 to 6, not 7."},
        {"LANGUAGE=fr", "LANGUAGE must be ja (Japanese) or en (English), not fr."},
        {"DEFAULTS=C:\\none.ini", "The defaults file C:\\none.ini (DEFAULTS) could not be read"},
        {"DEFAULTS=\"" + (m_scratch / "wrong.ini") + "\"",
         "wrong.ini (DEFAULTS), line 5, is not right"},
    };
    for (const auto& test : refused) {
        SCOPED_TRACE(test.strProperty);
        EXPECT_TRUE(Run("/i " + Package() + " /qn " + test.strProperty, ERROR_INSTALL_FAILURE));
        EXPECT_NE(Log().find(test.pszReason), std::string::npos) << Log();
        EXPECT_TRUE(InstalledProducts().empty());
        EXPECT_FALSE(Exists(DefaultFolder()));
    }

    const std::string strFolder = SpecialFolder(CSIDL_WINDOWS).substr(0, 3) + "Tools\\Corvane Keys";
    ASSERT_TRUE(Run("/i " + Package() + " /qn INSTALLFOLDER=\"" + strFolder +
                    "\" KEYCOUNT=2 STARTSERVICE=0 DEFAULTS=\"" + strDefaults + "\""));
    // Then repaired as /fa repairs (Wine's msiexec has no /f).
    for (bool bRepaired : {false, true}) {
        SCOPED_TRACE(bRepaired ? "repaired" : "installed");
        ASSERT_TRUE(!bRepaired || Run("/i " + Package() + " REINSTALL=ALL REINSTALLMODE=amus /qn"));
        EXPECT_TRUE(Exists(strFolder + "\\VuViravuz.exe"));
        EXPECT_FALSE(Exists(DefaultFolder()));
        EXPECT_EQ(RegistryText(RUN_KEY, "Corvane"), "(none)");
        EXPECT_EQ(RunningService(), "");
        DeleteFileA(m_appData.StorePath().c_str()); // a user who has never opened the panel
        EXPECT_EQ(FirstKeyOfPanel(strFolder), "S1: Console, Opens C:\\windows");
        std::string strKeys = RunConsole(strFolder + "\\CvnKeys.exe", "list").strOut;
        EXPECT_NE(strKeys.find("S2"), std::string::npos);
        EXPECT_EQ(strKeys.find("S3"), std::string::npos);
        ASSERT_TRUE(StopShortcutService()); // the panel starts it
    }
    RemoveCleanly(strFolder);
}

// A Japanese user gets the Japanese texts: the panel, its help and the settings files. An
// administrator switches an installed suite with LANGUAGE alone; the settings files,
// which the user may have edited, stay as they are.
TEST_F(InstallerTest, InstallsTheTextsOfTheUsersLanguageOrTheOneAsked) {
    if (!InJapaneseSession()) {
        GTEST_SKIP() << "runs in the Japanese session (installer_tests_ja)";
    }
    const std::string strFolder = DefaultFolder();
    // The key panel's S1 shows the library's format around the suite settings' default titles.
    const struct {
        const char *pszArguments, *pszHelp, *pszKeyShown, *pszLanguage;
    } installs[] = {
        {"/qn STARTSERVICE=0", "CorvaneJPN.chm", "S1: メモ帳、テキスト エディター", "ja"},
        {"LANGUAGE=en /qn", "Corvane.chm", "S1: メモ帳, テキスト エディター", "en"},
    };
    for (const auto& install : installs) {
        SCOPED_TRACE(install.pszArguments);
        ASSERT_TRUE(Run("/i " + Package() + " " + install.pszArguments));
        EXPECT_EQ(ReadFileText(strFolder + "\\Corvane.chm"),
                  ReadFileText(StagedPath(install.pszHelp)));
        EXPECT_EQ(ReadFileText(strFolder + "\\CvnSKey.ini"),
                  ReadFileText(StagedPath("CvnSKeyJPN.ini")));
        EXPECT_EQ(RegistryText("Software\\Corvane\\Suite", "Language"), install.pszLanguage);
        EXPECT_EQ(FirstKeyOfPanel(strFolder), InCodePage(install.pszKeyShown, CP_ACP));
        ASSERT_TRUE(StopShortcutService()); // the panel starts it
    }
    RemoveCleanly(strFolder);
}
