// Start-up as a user meets it: the staged program run as its own process under Wine, its message
// boxes read and answered from outside, its panel found, activated and closed.
#include "../common/Process.h"
#include "../common/ShownDialogs.h"
#include "../common/SuiteLibrary.h"
#include "../common/LocaleLibrary.h"

#include "../../base/ResourceText.h"
#include "../../res/resource.h"
#include "../../suite/VeDerovu/ServiceProtocol.h"

#include <gtest/gtest.h>

#include "CHandle.h"

#include <memory>
#include <thread>

namespace {

ShownMessageBox WaitForMessageBox(const CChildProcess& program) {
    return ReadMessageBox(WaitForDialogOf(program, [](HWND h) { return !IsPanel(h); }));
}

// A private copy of the staged suite and a private key store for each test, so that tests can
// take files away and change the keys without touching anybody else's. Programs started from
// here inherit the private key store.
class StartupTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StopShortcutService()); }

    void TearDown() override { StopShortcutService(); }

    CChildProcess Start(const std::string& strTail) {
        return CChildProcess(m_suite / "VuViravuz.exe", strTail, m_suite.Path());
    }

    // The suite's own library, loaded from the copy, for checking and changing the keys.
    const CSuiteLibrary& Library() {
        if (!m_pLibrary) {
            m_pLibrary = std::make_unique<CSuiteLibrary>(m_suite / "VeDerovu.dll");
        }
        return *m_pLibrary;
    }

    // Key S1 assigned otherwise than by default.
    void ChangeKey1() {
        KeyAssignment changed;
        changed.Title = "Changed";
        changed.Target = "C:\\windows";
        ASSERT_EQ(1, Library().Store(1, changed));
    }

    CScratchSuite m_suite{{"VuViravuz.exe", "VeDerovu.dll", "VeRiro.exe", "RuRoredo.DLL",
                           "CvnSKey.ini", "Corvane.ini"}};
    std::unique_ptr<CSuiteLibrary> m_pLibrary;
};

} // namespace

// A reset that cannot be stored (another program holds the store) says why.
TEST_F(StartupTest, ResetAsksAndResetsOnlyOnOk) {
    Library().pfnInitSKeyData(0);
    // Whatever follows the two bytes is ignored.
    for (auto [pszTail, nAnswer, bHeld] : {std::tuple{"-I", IDCANCEL, false},
                                           {"-I", IDOK, false},
                                           {"-Ianything", IDOK, false},
                                           {"-I", IDOK, true}}) {
        const bool bReset = nAnswer == IDOK && !bHeld;
        SCOPED_TRACE(std::string(pszTail) + (nAnswer == IDOK ? ", OK" : ", Cancel") +
                     (bHeld ? ", held" : ""));
        ChangeKey1();
        CChildProcess reset = Start(pszTail);
        ShownMessageBox box = WaitForMessageBox(reset);
        ASSERT_NE(box.hWnd, nullptr);
        EXPECT_EQ(box.strCaption, "Corvane");
        EXPECT_EQ(box.strText, LocaleString(IDS_RESET_QUESTION));
        CHandle hold(bHeld ? CreateFileA(m_suite.AppData().StorePath().c_str(), GENERIC_READ, 0,
                                         nullptr, OPEN_EXISTING, 0, nullptr)
                           : nullptr);
        PressButton(box.hWnd, nAnswer);
        if (bHeld) {
            ASSERT_TRUE(WaitFor([&] { return !IsWindow(box.hWnd); }));
            ShownMessageBox failure = WaitForMessageBox(reset);
            EXPECT_EQ(StoreFailureText(ERROR_SHARING_VIOLATION, IDS_RESET_FAILED), failure.strText);
            PressButton(failure.hWnd, IDOK);
        }
        EXPECT_EQ(reset.WaitForExit(), 0u);
        hold.Close();
        const KeyAssignment record = Library().Read(1);
        EXPECT_STREQ(record.Title, bReset ? "Notepad" : "Changed");
        EXPECT_STREQ(record.Target, bReset ? "C:\\windows\\notepad.exe" : "C:\\windows");
    }
    // The reset never starts the service.
    EXPECT_EQ(FindWindowA(CVN_SERVICE_CLASS, nullptr), nullptr);
}

// A damaged store is set aside at the panel's start, and the user is told where the copy lies.
TEST_F(StartupTest, ADamagedStoreIsSetAsideAndTheUserToldWhere) {
    const std::string strFolder = m_suite.AppData().StoreFolder();
    CreateDirectoryA(strFolder.c_str(), nullptr);
    ASSERT_TRUE(WriteFileText(m_suite.AppData().StorePath(), "not a key store\r\n"));
    CChildProcess panel = Start("");
    ShownMessageBox box = WaitForMessageBox(panel);
    std::vector<std::string> aside = ListFiles(strFolder, "KeyStore.damaged-*.ini");
    ASSERT_EQ(1u, aside.size());
    EXPECT_EQ(std::string(FormatText(LocaleString(IDS_STORE_SET_ASIDE).c_str(),
                                     {(strFolder + "\\" + aside[0]).c_str()})),
              box.strText);
    PressButton(box.hWnd, IDOK);
    HWND hPanel = WaitForPanel(panel);
    ASSERT_NE(hPanel, nullptr);
    ClosePanel(hPanel);
    EXPECT_EQ(panel.WaitForExit(), 0u);
}

// A panel that died holding its mutex leaves it abandoned, which counts as free.
TEST_F(StartupTest, OtherTailsShowThePanel) {
    std::thread([] { CreateMutexA(nullptr, TRUE, "VuViravuz"); }).join();
    for (const char* pszTail : {"-i", "x -I", ""}) {
        CChildProcess panel = Start(pszTail);
        HWND hPanel = WaitForPanel(panel);
        ASSERT_NE(hPanel, nullptr) << "tail: " << pszTail;
        ClosePanel(hPanel);
        EXPECT_EQ(panel.WaitForExit(), 0u) << "tail: " << pszTail;
    }
}

// Silently: it neither asks nor resets.
TEST_F(StartupTest, SecondResetExitsSilentlyWhileOneRuns) {
    ChangeKey1();
    CHandle mutex(CreateMutexA(nullptr, TRUE, "CvnSkeyInit"));
    CChildProcess reset = Start("-I");
    EXPECT_EQ(reset.WaitForExit(), 1u);
    EXPECT_STREQ(Library().Read(1).Title, "Changed");
}

// One panel at a time: it starts the service, a reset may run beside it (the two guards are
// independent), and a second start brings the first panel back and ends, leaving it the
// service's client.
TEST_F(StartupTest, PanelStartsTheServiceAndStaysTheOnlyOne) {
    ASSERT_EQ(FindWindowA(CVN_SERVICE_CLASS, nullptr), nullptr);
    CChildProcess panel = Start("");
    HWND hPanel = WaitForPanel(panel);
    ASSERT_NE(hPanel, nullptr);
    EXPECT_NE(FindWindowA(CVN_SERVICE_CLASS, nullptr), nullptr);

    CChildProcess reset = Start("-I");
    ShownMessageBox box = WaitForMessageBox(reset);
    ASSERT_NE(box.hWnd, nullptr);
    EXPECT_EQ(box.strText, LocaleString(IDS_RESET_QUESTION));
    PressButton(box.hWnd, IDCANCEL);
    EXPECT_EQ(reset.WaitForExit(), 0u);

    ShowWindow(hPanel, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(hPanel) != FALSE; }));
    CChildProcess second = Start("");
    EXPECT_EQ(second.WaitForExit(), 1u);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(hPanel) && GetForegroundWindow() == hPanel; }));
    HWND hClient = nullptr;
    Library().pfnGetClient(&hClient);
    EXPECT_EQ(hClient, hPanel);

    ClosePanel(hPanel);
    EXPECT_EQ(panel.WaitForExit(), 0u);
}

// A part of the suite taken away: the message that says so, captioned with the application's
// name, and how the program ends once it is answered.
TEST_F(StartupTest, MissingPartsOfTheSuiteAreReported) {
    const struct {
        const char* pszFile;
        std::string strMessage;
        DWORD nExitCode;
    } cases[] = {
        {"RuRoredo.DLL", "Error: Can't find a DLL(RuRoredo.DLL)\nExit a program.", 0},
        {"VeDerovu.dll", "Error: Can't find a DLL(VeDerovu.dll)\nExit a program.", 0},
        {"VeRiro.exe", LocaleString(IDS_SERVICE_MISSING), 0}, // the service cannot be started
        {"CvnSKey.ini", LocaleString(IDS_KEYFILE_MISSING), 1},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszFile);
        ASSERT_TRUE(DeleteFileA((m_suite / test.pszFile).c_str()));
        CChildProcess program = Start("");
        ShownMessageBox box = WaitForMessageBox(program);
        ASSERT_NE(box.hWnd, nullptr);
        EXPECT_EQ(box.strCaption, "Corvane");
        EXPECT_EQ(box.strText, test.strMessage);
        PressButton(box.hWnd, IDOK);
        EXPECT_EQ(program.WaitForExit(), test.nExitCode);
        ASSERT_TRUE(
            CopyFileA(StagedPath(test.pszFile).c_str(), (m_suite / test.pszFile).c_str(), FALSE));
    }
}
