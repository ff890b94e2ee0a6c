// Start-up as a user meets it: the staged program run as its own process under Wine, its message
// boxes read and answered from outside, its panel found, activated and closed.
#include "../../suite/VeDerovu/ServiceProtocol.h"
#include "../../app/ZuCom.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>

namespace {

constexpr DWORD kDeadlineMs = 30000;

// Polls a condition until it holds or the deadline passes.
bool WaitFor(const std::function<bool()>& condition, DWORD nTimeoutMs = kDeadlineMs) {
    DWORD nStart = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - nStart > nTimeoutMs) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

std::string WindowText(HWND hWnd) {
    char sz[1024] = {};
    GetWindowTextA(hWnd, sz, sizeof(sz));
    return sz;
}

std::string ClassOf(HWND hWnd) {
    char sz[64] = {};
    GetClassNameA(hWnd, sz, sizeof(sz));
    return sz;
}

// The visible top-level dialog of a process that satisfies a test.
HWND FindDialogOf(DWORD nProcessId, const std::function<bool(HWND)>& accept) {
    struct Search {
        DWORD nProcessId;
        const std::function<bool(HWND)>* pAccept;
        HWND hFound;
    } search = {nProcessId, &accept, nullptr};
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* p = reinterpret_cast<Search*>(lParam);
            DWORD nPid = 0;
            GetWindowThreadProcessId(hWnd, &nPid);
            if (nPid == p->nProcessId && IsWindowVisible(hWnd) && ClassOf(hWnd) == "#32770" &&
                (*p->pAccept)(hWnd)) {
                p->hFound = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

bool IsPanel(HWND hWnd) {
    return GetDlgItem(hWnd, 890) != nullptr;
}

struct MessageBoxSeen {
    HWND hWnd = nullptr;
    std::string strCaption;
    std::string strText;
};

MessageBoxSeen WaitForMessageBox(DWORD nProcessId) {
    MessageBoxSeen box;
    WaitFor([&] {
        box.hWnd = FindDialogOf(nProcessId, [](HWND h) { return !IsPanel(h); });
        return box.hWnd != nullptr;
    });
    if (box.hWnd) {
        box.strCaption = WindowText(box.hWnd);
        EnumChildWindows(
            box.hWnd,
            [](HWND hChild, LPARAM lParam) -> BOOL {
                auto* pText = reinterpret_cast<std::string*>(lParam);
                if (ClassOf(hChild) == "Static" && !(GetWindowLongA(hChild, GWL_STYLE) & SS_ICON) &&
                    pText->empty()) {
                    *pText = WindowText(hChild);
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&box.strText));
    }
    return box;
}

void Answer(const MessageBoxSeen& box, int nButton) {
    PostMessageA(GetDlgItem(box.hWnd, nButton), BM_CLICK, 0, 0);
}

// A process of the program under test.
class Program {
public:
    Program(const std::string& strDir, const std::string& strTail) {
        std::string strExe = strDir + "\\VuViravuz.exe";
        std::string strCommand = "\"" + strExe + "\"" + (strTail.empty() ? "" : " " + strTail);
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        EXPECT_TRUE(CreateProcessA(strExe.c_str(), &strCommand[0], nullptr, nullptr, FALSE, 0,
                                   nullptr, strDir.c_str(), &si, &m_pi));
    }
    ~Program() {
        if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_pi.hProcess, 99);
        }
        CloseHandle(m_pi.hThread);
        CloseHandle(m_pi.hProcess);
    }
    DWORD Id() const { return m_pi.dwProcessId; }
    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD WaitForExit() const {
        WaitForSingleObject(m_pi.hProcess, kDeadlineMs);
        DWORD nCode = STILL_ACTIVE;
        GetExitCodeProcess(m_pi.hProcess, &nCode);
        return nCode;
    }
    HWND WaitForPanel() const {
        HWND hPanel = nullptr;
        WaitFor([&] { return (hPanel = FindDialogOf(Id(), IsPanel)) != nullptr; });
        return hPanel;
    }

private:
    PROCESS_INFORMATION m_pi = {};
};

HWND FindService() {
    return FindWindowA(CVN_SERVICE_CLASS, nullptr);
}

void StopService() {
    HWND hService = FindService();
    if (!hService) {
        return;
    }
    DWORD nPid = 0;
    GetWindowThreadProcessId(hService, &nPid);
    HANDLE hProcess = OpenProcess(SYNCHRONIZE, FALSE, nPid);
    PostMessageA(hService, WM_CLOSE, 0, 0);
    if (hProcess) {
        WaitForSingleObject(hProcess, kDeadlineMs);
        CloseHandle(hProcess);
    }
}

std::string TestDir() {
    char sz[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, sz, MAX_PATH);
    std::string s = sz;
    return s.substr(0, s.rfind('\\'));
}

// A private copy of the staged suite and a private key store for each test, so that tests can
// take files away and change the keys without touching anybody else's.
class StartupTest : public testing::Test {
protected:
    void SetUp() override {
        char szTemp[MAX_PATH];
        GetTempPathA(MAX_PATH, szTemp);
        static int s_nCount = 0;
        m_strRoot = std::string(szTemp) + "vvstartup-" + std::to_string(GetCurrentProcessId()) +
                    "-" + std::to_string(++s_nCount);
        m_strSuite = m_strRoot + "\\suite";
        CreateDirectoryA(m_strRoot.c_str(), nullptr);
        CreateDirectoryA(m_strSuite.c_str(), nullptr);
        CreateDirectoryA((m_strRoot + "\\appdata").c_str(), nullptr);
        std::string strStage = TestDir() + "\\..\\stage\\";
        for (const char* pszFile : {"VuViravuz.exe", "VeDerovu.dll", "VeRiro.exe", "RuRoredo.DLL",
                                    "CvnSKey.ini", "Corvane.ini"}) {
            ASSERT_TRUE(CopyFileA((strStage + pszFile).c_str(),
                                  (m_strSuite + "\\" + pszFile).c_str(), FALSE))
                << pszFile;
        }
        // The programs started from here inherit the private key store.
        SetEnvironmentVariableA("APPDATA", (m_strRoot + "\\appdata").c_str());
        StopService();
    }

    void TearDown() override {
        StopService();
        if (m_hLibrary) {
            FreeLibrary(m_hLibrary);
        }
        SHFILEOPSTRUCTA op = {};
        std::string strFrom = m_strRoot + '\0';
        op.wFunc = FO_DELETE;
        op.pFrom = strFrom.c_str();
        op.fFlags = FOF_NO_UI;
        SHFileOperationA(&op);
    }

    void Remove(const char* pszFile) {
        ASSERT_TRUE(DeleteFileA((m_strSuite + "\\" + pszFile).c_str()));
    }

    // The suite's own library, loaded from the copy, for checking the keys.
    const ZuComLibrary& Library() {
        if (!m_hLibrary) {
            m_hLibrary = LoadLibraryA((m_strSuite + "\\VeDerovu.dll").c_str());
            EXPECT_TRUE(ZuComResolve(m_hLibrary, m_library));
        }
        return m_library;
    }

    CString KeyTitle(int nKey) {
        KeyAssignment record;
        Library().pfnGetAppDataOfHarlEvent(&record, nKey + 512);
        return record.Title;
    }

    std::string LocaleString(UINT nID) {
        HMODULE hLocale = LoadLibraryExA((m_strSuite + "\\RuRoredo.DLL").c_str(), nullptr,
                                         LOAD_LIBRARY_AS_DATAFILE);
        char sz[1024] = {};
        LoadStringA(hLocale, nID, sz, sizeof(sz));
        FreeLibrary(hLocale);
        return sz;
    }

    std::string m_strRoot;
    std::string m_strSuite;
    HMODULE m_hLibrary = nullptr;
    ZuComLibrary m_library = {};
};

} // namespace

TEST_F(StartupTest, ResetAsksAndResetsOnlyOnOk) {
    Library().pfnInitSKeyData(0);
    KeyAssignment changed;
    changed.Title = "Changed";
    changed.Target = "C:\\windows";
    Library().pfnSetAppDataOfHarlEvent(&changed, 513);

    {
        Program reset(m_strSuite, "-I");
        MessageBoxSeen box = WaitForMessageBox(reset.Id());
        ASSERT_NE(box.hWnd, nullptr);
        EXPECT_EQ(box.strCaption, "Corvane");
        EXPECT_EQ(box.strText, LocaleString(4117));
        Answer(box, IDCANCEL);
        EXPECT_EQ(reset.WaitForExit(), 0u);
        EXPECT_STREQ(KeyTitle(1), "Changed");
    }
    {
        // Whatever follows the two bytes is ignored.
        Program reset(m_strSuite, "-Ianything");
        MessageBoxSeen box = WaitForMessageBox(reset.Id());
        ASSERT_NE(box.hWnd, nullptr);
        Answer(box, IDOK);
        EXPECT_EQ(reset.WaitForExit(), 0u);
        EXPECT_STREQ(KeyTitle(1), "Notepad");
    }
    EXPECT_EQ(FindService(), nullptr); // the reset never starts the service
}

TEST_F(StartupTest, OtherTailsShowThePanel) {
    for (const char* pszTail : {"-i", "x -I", ""}) {
        Program panel(m_strSuite, pszTail);
        HWND hPanel = panel.WaitForPanel();
        ASSERT_NE(hPanel, nullptr) << "tail: " << pszTail;
        PostMessageA(hPanel, WM_COMMAND, 936, 0);
        EXPECT_EQ(panel.WaitForExit(), 0u) << "tail: " << pszTail;
    }
}

TEST_F(StartupTest, SecondResetExitsSilentlyWhileOneRuns) {
    HANDLE hMutex = CreateMutexA(nullptr, TRUE, "CvnSkeyInit");
    {
        Program reset(m_strSuite, "-I");
        EXPECT_EQ(reset.WaitForExit(), 1u);
    }
    CloseHandle(hMutex);
}

TEST_F(StartupTest, MissingLibrariesAreNamedInTheMessage) {
    for (const char* pszLibrary : {"RuRoredo.DLL", "VeDerovu.dll"}) {
        Remove(pszLibrary);
        Program program(m_strSuite, "");
        MessageBoxSeen box = WaitForMessageBox(program.Id());
        ASSERT_NE(box.hWnd, nullptr);
        EXPECT_EQ(box.strCaption, "Corvane");
        EXPECT_EQ(box.strText,
                  "Error: Can't find a DLL(" + std::string(pszLibrary) + ")\nExit a program.");
        Answer(box, IDOK);
        EXPECT_EQ(program.WaitForExit(), 0u);
        CopyFileA((TestDir() + "\\..\\stage\\" + pszLibrary).c_str(),
                  (m_strSuite + "\\" + pszLibrary).c_str(), FALSE);
    }
}

TEST_F(StartupTest, ServiceIsStartedAndPanelRegistersWithIt) {
    ASSERT_EQ(FindService(), nullptr);
    Program panel(m_strSuite, "");
    HWND hPanel = panel.WaitForPanel();
    ASSERT_NE(hPanel, nullptr);
    EXPECT_NE(FindService(), nullptr);
    HWND hClient = nullptr;
    Library().pfnGetClient(&hClient);
    EXPECT_EQ(hClient, hPanel);

    // A reset may run beside the panel: the two guards are independent.
    Program reset(m_strSuite, "-I");
    MessageBoxSeen box = WaitForMessageBox(reset.Id());
    ASSERT_NE(box.hWnd, nullptr);
    Answer(box, IDCANCEL);
    EXPECT_EQ(reset.WaitForExit(), 0u);

    PostMessageA(hPanel, WM_COMMAND, 936, 0);
    EXPECT_EQ(panel.WaitForExit(), 0u);
}

TEST_F(StartupTest, SecondStartActivatesTheFirstAndExitsWithOne) {
    Program first(m_strSuite, "");
    HWND hPanel = first.WaitForPanel();
    ASSERT_NE(hPanel, nullptr);
    ShowWindow(hPanel, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(hPanel) != FALSE; }));

    Program second(m_strSuite, "");
    EXPECT_EQ(second.WaitForExit(), 1u);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(hPanel) && GetForegroundWindow() == hPanel; }));

    PostMessageA(hPanel, WM_COMMAND, 936, 0);
    EXPECT_EQ(first.WaitForExit(), 0u);
}

TEST_F(StartupTest, AbandonedPanelMutexCountsAsFree) {
    // A panel that died holding its mutex leaves it abandoned.
    std::thread([] { CreateMutexA(nullptr, TRUE, "VuViravuz"); }).join();
    Program panel(m_strSuite, "");
    HWND hPanel = panel.WaitForPanel();
    ASSERT_NE(hPanel, nullptr);
    PostMessageA(hPanel, WM_COMMAND, 936, 0);
    EXPECT_EQ(panel.WaitForExit(), 0u);
}

TEST_F(StartupTest, UnreachableServiceIsReportedAndNoPanelShown) {
    Remove("VeRiro.exe");
    Program program(m_strSuite, "");
    MessageBoxSeen box = WaitForMessageBox(program.Id());
    ASSERT_NE(box.hWnd, nullptr);
    EXPECT_EQ(box.strCaption, "Corvane");
    EXPECT_EQ(box.strText, LocaleString(3409));
    Answer(box, IDOK);
    EXPECT_EQ(program.WaitForExit(), 0u);
}

TEST_F(StartupTest, MissingKeySettingsFileEndsWithExitCodeOne) {
    Remove("CvnSKey.ini");
    Program program(m_strSuite, "");
    MessageBoxSeen box = WaitForMessageBox(program.Id());
    ASSERT_NE(box.hWnd, nullptr);
    EXPECT_EQ(box.strText, LocaleString(3017));
    Answer(box, IDOK);
    EXPECT_EQ(program.WaitForExit(), 1u);
}
