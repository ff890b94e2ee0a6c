// The shortcut service as the library and a user meet it: found, registered with, single and
// restartable; keys pressed as a keyboard presses them (SendInput), the targets they start (a
// probe program that logs how it was started), the notices shown in the notification area, and
// the key panel told of a store edited by hand.
#include "../common/Process.h"
#include "../common/ScratchFolder.h"
#include "../common/ShownDialogs.h"
#include "../common/SuiteLibrary.h"

#include "../../suite/VeDerovu/ServiceProtocol.h"
#include "../../suite/VeRiro/HotKeys.h"

#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

const char kProbe[] = "LaunchProbe.exe";

// Stands in for the taskbar: found by its class before the shell's own, it receives the service's
// icon and notices as WM_COPYDATA, whose texts travel as UTF-16 in both Windows' and Wine's form.
class CFakeTray {
public:
    CFakeTray() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WndProc;
        wc.lpszClassName = "Shell_TrayWnd";
        RegisterClassA(&wc);
        m_hWnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", "", WS_POPUP, 0,
                                 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        s_messages.clear();
    }
    ~CFakeTray() {
        DestroyWindow(m_hWnd);
        UnregisterClassA("Shell_TrayWnd", nullptr);
    }

    // Whether anything sent so far holds the text.
    static bool Holds(const std::string& strText) {
        std::wstring strWide(strText.begin(), strText.end());
        return std::any_of(s_messages.begin(), s_messages.end(), [&](const std::wstring& strSent) {
            return strSent.find(strWide) != std::wstring::npos;
        });
    }
    static size_t Count() { return s_messages.size(); }

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
        if (uMsg != WM_COPYDATA) {
            return DefWindowProcA(hWnd, uMsg, wParam, lParam);
        }
        auto* pData = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        auto* pText = static_cast<const wchar_t*>(pData->lpData);
        s_messages.emplace_back(pText, pText + pData->cbData / sizeof(wchar_t));
        return TRUE;
    }

    HWND m_hWnd;
    static std::vector<std::wstring> s_messages;
};
std::vector<std::wstring> CFakeTray::s_messages;

// Stands in for the key panel: a window of this process that counts the refreshes reaching it.
class CPanelStandIn {
public:
    CPanelStandIn() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = WndProc;
        wc.lpszClassName = "VvPanelStandIn";
        RegisterClassA(&wc); // once per process; later tries fail harmlessly
        m_hWnd = CreateWindowExA(0, wc.lpszClassName, "panel", WS_POPUP, 0, 0, 10, 10, nullptr,
                                 nullptr, nullptr, nullptr);
        s_nRefreshes = 0;
    }
    ~CPanelStandIn() { Close(); }
    CPanelStandIn(const CPanelStandIn&) = delete;
    CPanelStandIn& operator=(const CPanelStandIn&) = delete;

    HWND Handle() const { return m_hWnd; }
    void Close() {
        DestroyWindow(m_hWnd);
        m_hWnd = nullptr;
    }
    // Waits for a refresh and takes it.
    static bool Refreshed() {
        bool bRefreshed = WaitFor([] { return s_nRefreshes > 0; });
        s_nRefreshes = 0;
        return bRefreshed;
    }

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
        s_nRefreshes += uMsg == WM_PANEL_REFRESH;
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }

    HWND m_hWnd;
    static int s_nRefreshes;
};
int CPanelStandIn::s_nRefreshes = 0;

void SendKeys(const std::vector<WORD>& keys, bool bUp) {
    std::vector<INPUT> inputs(keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[bUp ? keys.size() - 1 - i : i];
        inputs[i].ki.dwFlags = bUp ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Holds a combination down for nHoldMs (this thread answers the service meanwhile); with nDowns
// above 1 the last key comes down again as the keyboard repeats it.
void Press(const std::vector<WORD>& keys, DWORD nHoldMs, int nDowns = 1) {
    SendKeys(keys, false);
    for (int i = 1; i < nDowns; ++i) {
        WaitFor([] { return false; }, 60);
        SendKeys({keys.back()}, false);
    }
    WaitFor([] { return false; }, nHoldMs);
    SendKeys(keys, true);
}

// Whether some program holds the combination: this one cannot have it then.
bool IsHotKeyTaken(UINT fsModifiers, UINT vk) {
    bool bFree = RegisterHotKey(nullptr, 10, fsModifiers, vk);
    UnregisterHotKey(nullptr, 10);
    return !bFree;
}

std::vector<WORD> KeyCombination(int nKey) {
    return {VK_CONTROL, VK_MENU, static_cast<WORD>('0' + nKey)};
}

bool ProbesRunning() {
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool bFound = false;
    for (BOOL bMore = Process32First(hSnapshot, &entry); bMore && !bFound;
         bMore = Process32Next(hSnapshot, &entry)) {
        bFound = lstrcmpiA(entry.szExeFile, kProbe) == 0;
    }
    CloseHandle(hSnapshot);
    return bFound;
}

struct CAssignment {
    CAssignment(std::string target, std::string parameters = "", std::string folder = "",
                int nHold = 0)
        : strTarget(std::move(target)), strParameters(std::move(parameters)),
          strFolder(std::move(folder)), nHoldTenths(nHold) {}

    std::string strTarget;
    std::string strParameters;
    std::string strFolder;
    int nHoldTenths; // 0: the hold option off
};

class ServiceKeysTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(StopShortcutService());
        for (const char* pszName : {"VeRiro.exe", "VeDerovu.dll", "Corvane.ini", "CvnSKey.ini"}) {
            ASSERT_TRUE(
                CopyFileA(StagedPath(pszName).c_str(), (m_program / pszName).c_str(), FALSE));
        }
        SetEnvironmentVariableA("VV_PROBE_LOG", m_log.c_str());
    }

    void TearDown() override {
        EXPECT_TRUE(StopShortcutService());
        SetEnvironmentVariableA("VV_PROBE_LOG", nullptr);
    }

    void StartService() {
        m_pService = std::make_unique<CChildProcess>(m_program / "VeRiro.exe");
        ASSERT_TRUE(WaitFor([] { return FindWindowA(CVN_SERVICE_CLASS, nullptr) != nullptr; }));
        // The service takes the keys in order; the last one taken means it listens.
        ASSERT_TRUE(WaitFor([] { return IsHotKeyTaken(MOD_CONTROL | MOD_ALT, '6'); }));
    }

    void Assign(int nKey, const CAssignment& assignment) {
        KeyAssignment record;
        record.Title = ("Key " + std::to_string(nKey)).c_str();
        record.Target = assignment.strTarget.c_str();
        record.Parameters = assignment.strParameters.c_str();
        record.WorkingFolder = assignment.strFolder.c_str();
        ASSERT_EQ(1, m_lib.pfnSetAppDataOfHarlEvent(&record, ZUCOM_EVENT_BASE + nKey));
        ASSERT_EQ(1, m_lib.pfnSetKeyOption(nKey - 1, assignment.nHoldTenths != 0,
                                           assignment.nHoldTenths ? assignment.nHoldTenths : 5));
    }

    // "folder|arguments" of every probe started so far.
    std::vector<std::string> ProbeLines() const {
        std::vector<std::string> lines;
        std::string strLog = ReadFileText(m_log);
        for (size_t nStart = 0, nEnd; (nEnd = strLog.find("\r\n", nStart)) != std::string::npos;
             nStart = nEnd + 2) {
            std::string strLine = strLog.substr(nStart, nEnd - nStart);
            lines.push_back(strLine.substr(0, strLine.rfind('|')));
        }
        return lines;
    }

    // Presses a key that starts a marker probe and waits until it and every probe started before
    // it have logged: what the service did about earlier presses is then all in the log.
    std::vector<std::string> LinesAfterMarker(int nMarkerKey) {
        Assign(nMarkerKey, {ProbePath(), "marker"});
        Press(KeyCombination(nMarkerKey), 30);
        std::string strMarker = ThisProgramFolder() + "|marker";
        EXPECT_TRUE(WaitFor([&] {
            std::vector<std::string> lines = ProbeLines();
            return std::count(lines.begin(), lines.end(), strMarker) > 0 && !ProbesRunning();
        }));
        std::vector<std::string> lines = ProbeLines();
        lines.erase(std::remove(lines.begin(), lines.end(), strMarker), lines.end());
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    static std::string ProbePath() { return ThisProgramFolder() + "\\" + kProbe; }

    CScratchAppData m_appData;
    CScratchFolder m_program;
    CScratchFolder m_files;
    std::string m_log = m_files / "probe.log";
    CFakeTray m_tray;
    CSuiteLibrary m_lib;
    std::unique_ptr<CChildProcess> m_pService;
};

TEST(HotKeyText, NamesAKeyCombination) {
    struct {
        const char* pszText;
        UINT fsModifiers;
        UINT vk; // 0: not a combination
    } cases[] = {
        {"Ctrl+Alt+1", MOD_CONTROL | MOD_ALT, '1'},
        {" control + SHIFT + f12 ", MOD_CONTROL | MOD_SHIFT, VK_F12},
        {"Win+Num0", MOD_WIN, VK_NUMPAD0},
        {"q+Alt", MOD_ALT, 'Q'},
        {"F24", 0, VK_F24},
        {"Ctrl+PageDown", MOD_CONTROL, VK_NEXT},
        {"", 0, 0},
        {"Ctrl+Alt", 0, 0},
        {"Ctrl+1+2", 0, 0},
        {"Ctrl++1", 0, 0},
        {"Ctrl+F25", 0, 0},
        {"Ctrl+F01", 0, 0},
        {"Ctrl+Banana", 0, 0},
        {"Num10", 0, 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszText);
        CHotKey hotKey;
        EXPECT_EQ(test.vk != 0, ParseHotKey(test.pszText, hotKey));
        if (test.vk) {
            EXPECT_EQ(test.fsModifiers, hotKey.fsModifiers);
            EXPECT_EQ(test.vk, hotKey.vk);
        }
    }
}

TEST_F(ServiceKeysTest, APressStartsTheTargetAsTheShellWould) {
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    ASSERT_TRUE(m_files.MakeFolder("Work") && m_files.MakeFolder("Opened") &&
                m_files.WriteFile("Notes.vvprobe", "notes"));
    // A document type that the probe opens, and a shortcut to the probe with its own arguments.
    auto setClass = [](const char* pszKey, const std::string& strValue) {
        return RegSetValueA(HKEY_CLASSES_ROOT, pszKey, REG_SZ, strValue.c_str(),
                            static_cast<DWORD>(strValue.size())) == ERROR_SUCCESS;
    };
    ASSERT_TRUE(setClass(".vvprobe", "VvProbeFile") &&
                setClass("VvProbeFile\\shell\\open\\command", "\"" + ProbePath() + "\" \"%1\""));
    IShellLinkA* pLink = nullptr;
    IPersistFile* pFile = nullptr;
    std::string strLink = m_files / "Probe.lnk";
    std::wstring strLinkWide(strLink.begin(), strLink.end());
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IShellLinkA, reinterpret_cast<void**>(&pLink))));
    pLink->SetPath(ProbePath().c_str());
    pLink->SetArguments("from the shortcut");
    pLink->SetWorkingDirectory((m_files / "Work").c_str());
    ASSERT_TRUE(
        SUCCEEDED(pLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile))));
    ASSERT_TRUE(SUCCEEDED(pFile->Save(strLinkWide.c_str(), TRUE)));
    pFile->Release();
    pLink->Release();
    StartService();
    char szServiceFolder[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, szServiceFolder);

    struct {
        const char* pszCase;
        CAssignment assignment;
        std::string strStarted; // the probe's "folder|arguments", or the folder window's title
    } cases[] = {
        {"program in its working folder",
         {ProbePath(), "one \"two three\"", m_files / "Work"},
         m_files / "Work|one \"two three\""},
        {"program in its own folder", {ProbePath(), "own"}, ThisProgramFolder() + "|own"},
        {"shortcut with its own arguments", {strLink}, m_files / "Work|from the shortcut"},
        {"document",
         {m_files / "Notes.vvprobe"},
         std::string(szServiceFolder) + "|\"" + m_files / "Notes.vvprobe\""},
        {"folder", {m_files / "Opened"}, "Opened"},
    };
    int nKey = 1;
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszCase);
        DeleteFileA(m_log.c_str());
        nKey = 3 - nKey; // the service sees a key let go only within moments: take turns
        Assign(nKey, test.assignment);
        Press(KeyCombination(nKey), 30);
        if (test.strStarted.find('|') == std::string::npos) {
            HWND hFolder = nullptr;
            EXPECT_TRUE(WaitFor([&] {
                hFolder = FindWindowA("ExplorerWClass", test.strStarted.c_str());
                return hFolder && IsWindowVisible(hFolder);
            }));
            PostMessageA(hFolder, WM_CLOSE, 0, 0);
        } else {
            EXPECT_TRUE(WaitFor([&] { return !ProbeLines().empty() && !ProbesRunning(); }));
            EXPECT_EQ(std::vector<std::string>{test.strStarted}, ProbeLines());
        }
    }
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".vvprobe");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "VvProbeFile");
    CoUninitialize();
    EXPECT_TRUE(ShownDialogsOfProcess(m_pService->Id()).empty()) << "the service showed a dialog";
}

TEST_F(ServiceKeysTest, KeysLaunchOnceAndOnlyWhenHeldAsTheirOptionSays) {
    Assign(1, {ProbePath(), "plain"});
    Assign(3, {ProbePath(), "brushed", "", 5});
    Assign(6, {ProbePath(), "held", "", 5});
    StartService();
    Press(KeyCombination(3), 100);    // brushed: shorter than half a second
    Press(KeyCombination(6), 900);    // held: launches once
    Press(KeyCombination(1), 300, 3); // the keyboard repeats a held key
    Press(KeyCombination(2), 30);     // unassigned: a sound only
    std::string strOwn = ThisProgramFolder();
    EXPECT_EQ((std::vector<std::string>{strOwn + "|held", strOwn + "|plain"}), LinesAfterMarker(4));
    EXPECT_EQ(1u, CFakeTray::Count()) << "no notice beyond the icon";
}

TEST_F(ServiceKeysTest, ATargetThatCannotStartIsNoticedAndTheOtherKeysStillWork) {
    ASSERT_TRUE(m_files.WriteFile("Plain.vvnone", "no program opens this"));
    StartService();
    struct {
        CAssignment assignment;
        std::string strNotice;
    } cases[] = {
        {{m_files / "Missing.exe"}, m_files / "Missing.exe was not found."},
        {{"W:\\Tools\\Tool.exe"}, "W:\\Tools\\Tool.exe cannot be reached: drive W: is not there."},
        {{m_files / "Plain.vvnone"}, "No program is set to open " + m_files / "Plain.vvnone."},
        {{ProbePath(), "", m_files / "Gone"},
         "The working folder " + m_files / "Gone was not found."},
    };
    int nKey = 2;
    for (const auto& test : cases) {
        SCOPED_TRACE(test.strNotice);
        DeleteFileA(m_log.c_str());
        nKey = 5 - nKey; // 3, 2, 3, 2
        Assign(nKey, test.assignment);
        Press(KeyCombination(nKey), 30);
        EXPECT_TRUE(WaitFor([&] { return CFakeTray::Holds(test.strNotice); }));
        std::string strTitle = "S" + std::to_string(nKey) + ": Key " + std::to_string(nKey);
        EXPECT_TRUE(CFakeTray::Holds(strTitle + " did not start"));
        EXPECT_TRUE(LinesAfterMarker(5).empty());
    }
    EXPECT_TRUE(ShownDialogsOfProcess(m_pService->Id()).empty()) << "the service showed a dialog";
}

TEST_F(ServiceKeysTest, AStoreChangedByHandReachesTheKeyPanel) {
    StartService();
    CPanelStandIn panel;
    ASSERT_EQ(1, m_lib.pfnSetClient(panel.Handle()));
    std::string strStore = "[KeyStore]\r\nFormat=Corvane key store\r\nVersion=1\r\n"
                           "[Key2]\r\nTitle=By hand\r\nTarget=C:\\windows\\notepad.exe\r\n";
    ASSERT_TRUE(WriteFileText(m_appData.StorePath(), strStore));
    EXPECT_TRUE(CPanelStandIn::Refreshed()) << "a valid store edited by hand";
    KeyAssignment record;
    EXPECT_EQ(1, m_lib.pfnGetAppDataOfHarlEvent(&record, ZUCOM_EVENT_BASE + 2));
    EXPECT_STREQ("By hand", record.Title);

    ASSERT_TRUE(WriteFileText(m_appData.StorePath(), "not a key store\r\n"));
    // An edit can reach the service in two steps (emptied, then written), each announced.
    EXPECT_TRUE(WaitFor([&] {
        return ListFiles(m_appData.StoreFolder(), "KeyStore.damaged-*.ini").size() == 1;
    })) << "a damaged store put in place";
    EXPECT_TRUE(CPanelStandIn::Refreshed());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(m_appData.StorePath().c_str()));
}

TEST_F(ServiceKeysTest, HotKeysFollowTheKeySettingsFile) {
    std::string strSettings = ReadFileText(m_program / "CvnSKey.ini");
    auto edit = [&](const std::string& strFrom, const std::string& strTo) {
        size_t nAt = strSettings.find(strFrom);
        ASSERT_NE(std::string::npos, nAt) << strFrom;
        strSettings.replace(nAt, strFrom.size(), strTo);
        ASSERT_TRUE(WriteFileText(m_program / "CvnSKey.ini", strSettings));
    };
    edit("S3=Ctrl+Alt+3", "S3=");
    edit("S4=Ctrl+Alt+4", "S4=Ctrl+Banana");
    ASSERT_TRUE(RegisterHotKey(nullptr, 2, MOD_CONTROL | MOD_ALT, '2'))
        << "held by another program";
    StartService();
    auto taken = [](int nKey) { return IsHotKeyTaken(MOD_CONTROL | MOD_ALT, '0' + nKey); };
    EXPECT_TRUE(WaitFor([] { return CFakeTray::Holds("Some Corvane keys cannot be used"); }));
    EXPECT_TRUE(CFakeTray::Holds("S2: Ctrl+Alt+2 is taken by another program or key.\n"
                                 "S4: \"Ctrl+Banana\" is not a key combination.\n"
                                 "Keys are set in section [SKeyHotKey] of CvnSKey.ini."));
    EXPECT_EQ((std::vector<bool>{true, false, false, true, true}),
              (std::vector<bool>{taken(1), taken(3), taken(4), taken(5), taken(6)}));
    UnregisterHotKey(nullptr, 2);

    // A new combination takes effect at once, and the old one is let go.
    edit("S1=Ctrl+Alt+1", "S1=Ctrl+Shift+F9");
    EXPECT_TRUE(WaitFor([&] { return !taken(1); }));
    Assign(1, {ProbePath(), "new key"});
    Press({VK_CONTROL, VK_SHIFT, VK_F9}, 30);
    EXPECT_EQ(std::vector<std::string>{ThisProgramFolder() + "|new key"}, LinesAfterMarker(5));
}

class ServiceTest : public testing::Test {
protected:
    // A service left over from an earlier run would answer in place of the one under test.
    void SetUp() override { ASSERT_TRUE(StopShortcutService()); }

    // Waits until the library finds the service; a service process that ends meanwhile ends the
    // wait too.
    bool WaitForServer(const CChildProcess& service) {
        return WaitFor([&] {
                   return (m_lib.pfnGetServer(&m_hService) && m_hService) || service.HasEnded();
               }) &&
               m_hService;
    }

    CSuiteLibrary m_lib;
    HWND m_hService = nullptr;
};

TEST_F(ServiceTest, WithoutAServiceNothingIsFoundOrRegistered) {
    HWND hWnd = reinterpret_cast<HWND>(1);
    EXPECT_EQ(0, m_lib.pfnGetServer(&hWnd));
    EXPECT_EQ(nullptr, hWnd);
    CPanelStandIn panel;
    EXPECT_EQ(0, m_lib.pfnSetClient(panel.Handle()));
    hWnd = reinterpret_cast<HWND>(1);
    EXPECT_EQ(0, m_lib.pfnGetClient(&hWnd));
    EXPECT_EQ(nullptr, hWnd);
}

TEST_F(ServiceTest, RunsOnceHiddenHoldsTheClientAndStopsOnClose) {
    CChildProcess service(StagedPath("VeRiro.exe"));
    ASSERT_TRUE(WaitForServer(service)) << "the service never showed its window";
    EXPECT_FALSE(IsWindowVisible(m_hService));

    CPanelStandIn panel;
    HWND hPanel = panel.Handle();
    ASSERT_TRUE(hPanel);
    HWND hClient = nullptr;
    EXPECT_EQ(0, m_lib.pfnGetClient(&hClient)) << "no client registered yet";
    ASSERT_EQ(1, m_lib.pfnSetClient(hPanel));
    EXPECT_EQ(0, m_lib.pfnSetClient(reinterpret_cast<HWND>(0x7ffff0))) << "not a window";
    ASSERT_EQ(1, m_lib.pfnGetClient(&hClient));
    EXPECT_EQ(hPanel, hClient);

    CChildProcess second(StagedPath("VeRiro.exe"));
    EXPECT_EQ(1u, second.WaitForExit()) << "a second service must leave at once";

    panel.Close();
    hClient = reinterpret_cast<HWND>(1);
    EXPECT_EQ(0, m_lib.pfnGetClient(&hClient)) << "the panel's window has gone";
    EXPECT_EQ(nullptr, hClient);

    PostMessageA(m_hService, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, service.WaitForExit());
    HWND hWnd = nullptr;
    EXPECT_EQ(0, m_lib.pfnGetServer(&hWnd));
}

TEST_F(ServiceTest, AServiceThatDiedDoesNotBlockTheNextOne) {
    CChildProcess crashed(StagedPath("VeRiro.exe"));
    ASSERT_TRUE(WaitForServer(crashed));
    // Held open here, the instance mutex outlives its owner and is left abandoned, not deleted.
    HANDLE hMutex = OpenMutexA(SYNCHRONIZE, FALSE, CVN_SERVICE_MUTEX);
    ASSERT_TRUE(hMutex);
    crashed.Terminate(9);
    EXPECT_EQ(9u, crashed.WaitForExit());

    m_hService = nullptr;
    CChildProcess service(StagedPath("VeRiro.exe"));
    ASSERT_TRUE(WaitForServer(service)) << "the abandoned instance mutex kept it out";
    PostMessageA(m_hService, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, service.WaitForExit());
    CloseHandle(hMutex);
}

} // namespace
