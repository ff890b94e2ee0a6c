// The shortcut service's keys without it (combinations read from their names, a press followed
// through made-up times), then the service itself: keys pressed with SendInput start a probe that
// logs how it was started, notices reach a stand-in taskbar, changes reach the key panel.
#include "../common/MessageRecorder.h"
#include "../common/Process.h"
#include "../common/ScratchFolder.h"
#include "../common/ShownDialogs.h"
#include "../common/SuiteLibrary.h"
#include "../common/Watchdog.h"

#include "../../suite/VeDerovu/ServiceProtocol.h"
#include "../../suite/VeRiro/HotKeys.h"
#include "../../suite/VeRiro/KeyPress.h"
#include "../../suite/VeRiro/ServiceText.h"
#include "../../suite/VeRiro/TrayIcon.h"
#include "../../suite/VeRiro/TrayMenu.h"

#include "AfxResource.h"
#include "CComInit.h"
#include "SystemError.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <vector>

namespace {

const char kProbe[] = "LaunchProbe.exe";

// A test here takes a second or two; one that hangs ends the program after a few times that. The
// service acts within a fraction of a second: a wait for it fails within seconds.
constexpr DWORD kTestDeadlineMs = 15000;
constexpr DWORD kServiceWaitMs = 5000;

bool WaitForService(const std::function<bool()>& condition) {
    return WaitFor(condition, kServiceWaitMs);
}

// Holds key nKey's combination, Ctrl+Alt and its number, for nHoldMs; this thread answers the
// service meanwhile.
void Press(int nKey, DWORD nHoldMs = 30) {
    const WORD keys[] = {VK_CONTROL, VK_MENU, static_cast<WORD>('0' + nKey)};
    INPUT inputs[6] = {};
    for (int i = 0; i < 6; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = keys[i < 3 ? i : 5 - i];
        inputs[i].ki.dwFlags = i < 3 ? 0 : KEYEVENTF_KEYUP;
    }
    SendInput(3, inputs, sizeof(INPUT));
    WaitFor([] { return false; }, nHoldMs);
    SendInput(3, inputs + 3, sizeof(INPUT));
}

// Whether some program holds the combination: this one cannot have it then.
bool IsHotKeyTaken(UINT fsModifiers, UINT vk) {
    bool bFree = RegisterHotKey(nullptr, 10, fsModifiers, vk);
    UnregisterHotKey(nullptr, 10);
    return !bFree;
}

bool ProbesRunning() {
    CHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    BOOL bMore = Process32First(snapshot, &entry);
    while (bMore && lstrcmpiA(entry.szExeFile, kProbe) != 0) {
        bMore = Process32Next(snapshot, &entry);
    }
    return bMore;
}

struct CAssignment {
    std::string strTarget;
    std::string strParameters = "";
    std::string strFolder = "";
    int nHoldTenths = 0; // 0: the hold option off
};

TEST(HotKeyText, NamesAKeyCombination) {
    const std::pair<const char*, CHotKey> combinations[] = {
        {"Ctrl+Alt+1", {MOD_CONTROL | MOD_ALT, '1'}},
        {" control + SHIFT + f12 ", {MOD_CONTROL | MOD_SHIFT, VK_F12}},
        {"\tcTrL\t+\taLt\t+\tnUm5\t", {MOD_CONTROL | MOD_ALT, VK_NUMPAD5}},
        {"Win+Num0", {MOD_WIN, VK_NUMPAD0}},
        {"wIN+pAGEuP", {MOD_WIN, VK_PRIOR}},
        {"q+Alt", {MOD_ALT, 'Q'}},
        {"Ctrl+Space", {MOD_CONTROL, VK_SPACE}},
        {"Ctrl+PageDown", {MOD_CONTROL, VK_NEXT}},
        {"Ctrl+Pause", {MOD_CONTROL, VK_PAUSE}},
        // The ends of each range of names; below the table, what lies just beyond them.
        {"F1", {0, VK_F1}},
        {"f24", {0, VK_F24}},
        {"Num9", {0, VK_NUMPAD9}},
        {"a", {0, 'A'}},
        {"Z", {0, 'Z'}},
        {"0", {0, '0'}},
        {"9", {0, '9'}},
        {"F", {0, 'F'}},
    };
    for (const auto& [pszText, expected] : combinations) {
        CHotKey hotKey;
        EXPECT_TRUE(ParseHotKey(pszText, hotKey)) << pszText;
        EXPECT_TRUE(expected == hotKey) << pszText;
    }
    for (const char* pszText :
         {"F0", "F25", "Ctrl+F01", "Num10", "Num01", "Num", "Alt+@", "Alt+[", "Alt+`", "Alt+{",
          "Alt+/", "Alt+:", "", "Ctrl+Alt", "Ctrl+1+2", "Ctrl++1", "Ctrl+Banana"}) {
        CHotKey hotKey;
        EXPECT_FALSE(ParseHotKey(pszText, hotKey)) << "not one key and no more: " << pszText;
    }
}

// A press followed through inputs at made-up times: "P" the hot key's message, "H" a look with
// the combination held, "U" a look after it was let go. Each input gives one step.
std::string Steps(const std::optional<CHoldOption>& option, const char* pszInputs) {
    const char* names[] = {"ignored", "wait", "launch", "let-go"};
    CKeyPress press;
    std::istringstream inputs(pszInputs);
    std::string strSteps;
    char chInput;
    ULONGLONG nMs;
    while (inputs >> chInput >> nMs) {
        KeyPressStep step = chInput == 'P' ? press.OnHotKey(nMs, [&] { return option; })
                                           : press.OnLook(nMs, chInput == 'H');
        strSteps += (strSteps.empty() ? "" : " ") + std::string(names[static_cast<int>(step)]);
    }
    return strSteps;
}

TEST(KeyPress, LaunchesOnceAtOnceOrWhenHeldAndIgnoresRepeatsUntilLetGo) {
    const std::optional<CHoldOption> off = CHoldOption{false, 5};
    auto hold = [](int nTenths) { return std::optional<CHoldOption>(CHoldOption{true, nTenths}); };
    const struct {
        std::optional<CHoldOption> option;
        const char* pszInputs;
        const char* pszSteps;
    } cases[] = {
        // At once without the option, and when it cannot be read.
        {off, "P0 H30 U60", "launch wait let-go"},
        {std::nullopt, "P0 U30", "launch let-go"},
        // Once held for the option's tenths, not a millisecond less; a brushed key starts nothing.
        {hold(1), "P1000 H1099 H1100 H1130 U1160", "wait wait launch wait let-go"},
        {hold(99), "P0 H9899 H9900 U9930", "wait wait launch let-go"},
        {hold(5), "P0 H30 U499 H530", "wait wait let-go ignored"},
        // The keyboard's repeats are no new press, nor do they restart the hold, until let go.
        {off, "P0 P20 H30 P40 U60 P70", "launch ignored wait ignored let-go launch"},
        {hold(5), "P0 P300 H500 P530 H5000", "wait ignored launch ignored wait"},
        {hold(5), "P0 U400 P1000 H1499 H1500", "wait let-go wait wait launch"},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(test.pszSteps, Steps(test.option, test.pszInputs)) << test.pszInputs;
    }
}

// A menu as a user reads it, a line for each item: "-" a separator, "[x] " before a checked text
// and "(grey) " before a greyed one, and after "->" the set its command chooses.
std::vector<std::string> MenuLines(const CKeySetMenu& menu) {
    CMenuHolder popup = menu.Create();
    std::vector<std::string> lines;
    for (int i = 0; i < GetMenuItemCount(popup.get()); ++i) {
        char szText[128] = {};
        GetMenuStringA(popup.get(), i, szText, sizeof szText, MF_BYPOSITION);
        UINT uState = GetMenuState(popup.get(), i, MF_BYPOSITION);
        std::string strSet = menu.SetOfCommand(GetMenuItemID(popup.get(), i));
        std::string strLine = std::string(uState & MF_CHECKED ? "[x] " : "") +
                              (uState & MF_GRAYED ? "(grey) " : "") + szText;
        lines.push_back(uState & MF_SEPARATOR ? "-"
                        : strSet.empty()      ? strLine
                                              : strLine + " -> " + strSet);
    }
    return lines;
}

// The service's texts come from its staged program.
class KeySetMenu : public testing::Test {
protected:
    void SetUp() override { AfxSetResourceHandle(m_hService); }
    void TearDown() override {
        AfxSetResourceHandle(nullptr);
        FreeLibrary(m_hService);
    }

    HMODULE m_hService = LoadLibraryExA(StagedPath("VeRiro.exe").c_str(), nullptr,
                                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
};

TEST_F(KeySetMenu, ListsTheSetsThenTheKeyPanelAndTellsAWrongSetsLine) {
    const struct {
        const char* pszNames;
        const char* pszCurrent;
        std::vector<std::string> lines;
    } cases[] = {
        {"Games\nR&D\nWork\n",
         "Work",
         {"Games -> Games", "R&&D -> R&D", "[x] Work -> Work", "-", "Open key settings"}},
        {"", "", {"(grey) No saved key sets", "-", "Open key settings"}},
    };
    for (const auto& test : cases) {
        EXPECT_EQ(test.lines, MenuLines(CKeySetMenu(test.pszNames, test.pszCurrent)))
            << test.pszNames;
    }
    // A set edited by hand tells its wrong line; the service's test below meets a set gone.
    EXPECT_EQ("Line 7 of its file is wrong: mend the line, or save the set again.",
              KeySetProblem(ERROR_INVALID_DATA, 7));
    EXPECT_EQ("Its file holds no key settings: mend it, or save the set again.",
              KeySetProblem(ERROR_INVALID_DATA, -1));
}

// In a Japanese session the service's texts are Japanese, in the session's code page as the
// taskbar gets them (the strings' match with the English ones is the locale tests' part).
TEST_F(KeySetMenu, InAJapaneseSessionTheServiceSpeaksJapanese) {
    if (!InJapaneseSession()) {
        GTEST_SKIP() << "runs in the Japanese session (suite_service_test_ja)";
    }
    EXPECT_EQ(InCodePage("Corvane ショートカット キー", CP_ACP), ServiceText(IDS_SERVICE_TIP));
    // A balloon's text is cut before a character that would not fit whole.
    const std::string strTwo = InCodePage("日本", CP_ACP);
    EXPECT_EQ(InCodePage("日", CP_ACP), CutToWholeCharacters(strTwo, 3));
    EXPECT_EQ(strTwo, CutToWholeCharacters(strTwo, 4));
}

// The service in a private copy of the suite with a key store, a taskbar and a key panel of its
// own. A service that hangs, or a wait that never ends, ends the test program within seconds.
class ServiceTest : public testing::Test {
protected:
    void SetUp() override {
        // A service left over from an earlier run would answer in place of the one under test.
        ASSERT_TRUE(StopShortcutService());
        SetEnvironmentVariableA("VV_PROBE_LOG", m_log.c_str());
    }

    void TearDown() override {
        EXPECT_TRUE(StopShortcutService());
        SetEnvironmentVariableA("VV_PROBE_LOG", nullptr);
        // The document type a test may have made, however it ended.
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".vvprobe");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "VvProbeFile");
    }

    // Starts the service in its program folder, not this program's (the probe's), and waits until
    // the library finds it and it has taken its keys in order: the last one means it listens.
    void StartService(int nLastKey = 6) {
        m_pService = std::make_unique<CChildProcess>(m_suite / "VeRiro.exe", "", m_suite.Path());
        ASSERT_TRUE(WaitForService(
            [&] { return m_lib.pfnGetServer(&m_hService) || m_pService->HasEnded(); }));
        ASSERT_TRUE(m_hService) << "the service ended";
        ASSERT_TRUE(
            WaitForService([=] { return IsHotKeyTaken(MOD_CONTROL | MOD_ALT, '0' + nLastKey); }));
    }

    void Assign(int nKey, const CAssignment& assignment) {
        KeyAssignment record;
        record.Title = ("Key " + std::to_string(nKey)).c_str();
        record.Target = assignment.strTarget.c_str();
        record.Parameters = assignment.strParameters.c_str();
        record.WorkingFolder = assignment.strFolder.c_str();
        ASSERT_EQ(1, m_lib.Store(nKey, record));
        ASSERT_EQ(1, m_lib.pfnSetKeyOption(nKey - 1, assignment.nHoldTenths != 0,
                                           assignment.nHoldTenths ? assignment.nHoldTenths : 5));
    }

    // "folder|arguments" of every probe that has logged.
    std::vector<std::string> ProbeLines() const {
        std::vector<std::string> lines;
        std::istringstream log(ReadFileText(m_log));
        // A line is whole once its line end is there: a probe may still be writing the last.
        for (std::string strLine; std::getline(log, strLine) && !log.eof();) {
            lines.push_back(strLine.substr(0, strLine.rfind('|')));
        }
        return lines;
    }

    // Presses a key that starts a marker probe and waits until it and every probe started before
    // it have logged: what the service did about earlier presses is then all in the log.
    std::vector<std::string> LinesAfterMarker(int nMarkerKey) {
        Assign(nMarkerKey, {ProbePath(), "marker"});
        Press(nMarkerKey);
        std::string strMarker = ThisProgramFolder() + "|marker";
        EXPECT_TRUE(WaitForService([&] {
            std::vector<std::string> lines = ProbeLines();
            return std::count(lines.begin(), lines.end(), strMarker) > 0 && !ProbesRunning();
        })) << "the marker key started nothing";
        std::vector<std::string> lines = ProbeLines();
        lines.erase(std::remove(lines.begin(), lines.end(), strMarker), lines.end());
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    // Whether a notice sent to the taskbar holds the text.
    bool TrayHolds(const std::string& strText) const {
        std::wstring strWide(strText.begin(), strText.end());
        const MessageSequence& sent = m_tray.Messages();
        return std::any_of(sent.begin(), sent.end(), [&](const RecordedMessage& message) {
            std::wstring strSent(reinterpret_cast<const wchar_t*>(message.strData.data()),
                                 message.strData.size() / sizeof(wchar_t));
            return strSent.find(strWide) != std::wstring::npos;
        });
    }

    static std::string ProbePath() { return ThisProgramFolder() + "\\" + kProbe; }

    CWatchdog m_watchdog{kTestDeadlineMs, "the test hung"};
    CScratchSuite m_suite{{"VeRiro.exe", "VeDerovu.dll", "Corvane.ini", "CvnSKey.ini"}};
    CScratchFolder m_files;
    std::string m_log = m_files / "probe.log";
    // The taskbar, found by its class before the shell's own (it is topmost): the service's icon
    // and notices reach it as WM_COPYDATA, their texts in UTF-16 on Windows and on Wine.
    CMessageRecorder m_tray{
        "Shell_TrayWnd", {VV_MESSAGE(WM_COPYDATA)}, WS_EX_TOPMOST | WS_EX_TOOLWINDOW};
    CSuiteLibrary m_lib;
    // The key panel, to be registered with the service and told of changes.
    CMessageRecorder m_panel{"VvPanelStandIn", {VV_MESSAGE(WM_PANEL_REFRESH)}};
    std::unique_ptr<CChildProcess> m_pService;
    HWND m_hService = nullptr;
};

TEST_F(ServiceTest, APressStartsTheTargetAsTheShellWouldOrTellsWhyNot) {
    CComInit com;
    ASSERT_TRUE(SUCCEEDED(com.Result()));
    ASSERT_TRUE(m_files.MakeFolder("Work") && m_files.MakeFolder("Opened") &&
                m_files.WriteFile("Notes.vvprobe", "notes") &&
                m_files.WriteFile("Plain.vvnone", "no program opens this") &&
                m_files.MakeWideEntry(L"\u5831\u544a\u66f8.vvprobe"));
    // A document type that the probe opens, and a shortcut to the probe with its own arguments.
    auto setClass = [](const char* pszKey, const std::string& strValue) {
        return RegSetValueA(HKEY_CLASSES_ROOT, pszKey, REG_SZ, strValue.c_str(),
                            static_cast<DWORD>(strValue.size())) == ERROR_SUCCESS;
    };
    ASSERT_TRUE(setClass(".vvprobe", "VvProbeFile") &&
                setClass("VvProbeFile\\shell\\open\\command", "\"" + ProbePath() + "\" \"%1\""));
    Microsoft::WRL::ComPtr<IShellLinkA> pLink;
    Microsoft::WRL::ComPtr<IPersistFile> pFile;
    const std::string strLink = m_files / "Probe.lnk";
    ASSERT_TRUE(SUCCEEDED(
        CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&pLink))));
    pLink->SetPath(ProbePath().c_str());
    pLink->SetArguments("from the shortcut");
    pLink->SetWorkingDirectory((m_files / "Work").c_str());
    ASSERT_TRUE(SUCCEEDED(pLink.As(&pFile)) &&
                SUCCEEDED(pFile->Save(std::wstring(strLink.begin(), strLink.end()).c_str(), TRUE)));
    StartService();
    const std::string strProbe = ProbePath();
    const std::string strDrive = "W:\\Tools\\Tool.exe";
    const std::string strGone = m_files / "Gone";
    const CScratchFolder& files = m_files;
    // As the module keeps a name the code page cannot hold.
    const std::string strShortNotes = ShortPath(files.WidePath(L"\u5831\u544a\u66f8.vvprobe"));

    enum { PROBE, FOLDER, NOTICE };
    const struct {
        CAssignment assignment;
        int nOutcome;
        std::string strOutcome; // the probe's "folder|arguments", a folder window's title, a notice
    } cases[] = {
        // First: under Wine, a launch in a folder of its own moves the service's current folder
        // there for a moment, and a document starts in the current folder.
        {{files / "Notes.vvprobe"}, PROBE, m_suite.Path() + "|\"" + files / "Notes.vvprobe\""},
        // Opened by its long name, which the probe's narrow command line shows as best it can.
        {{strShortNotes}, PROBE, m_suite.Path() + "|\"" + files / "???.vvprobe\""},
        {{strProbe, "one \"two three\"", files / "Work"}, PROBE, files / "Work|one \"two three\""},
        {{strProbe, "own"}, PROBE, ThisProgramFolder() + "|own"},
        {{strLink}, PROBE, files / "Work|from the shortcut"},
        {{files / "Opened"}, FOLDER, "Opened"},
        {{files / "Missing.exe"}, NOTICE, files / "Missing.exe was not found."},
        {{strDrive}, NOTICE, strDrive + " cannot be reached: drive W: is not there."},
        {{files / "Plain.vvnone"}, NOTICE, "No program is set to open " + files / "Plain.vvnone."},
        {{strProbe, "", strGone}, NOTICE, "The working folder " + strGone + " was not found."},
        // The drive that is gone is the working folder's, not the target's.
        {{strProbe, "", "W:\\Work"}, NOTICE, "W:\\Work cannot be reached: drive W: is not there."},
    };
    int nKey = 1;
    for (const auto& test : cases) {
        SCOPED_TRACE(test.strOutcome);
        DeleteFileA(m_log.c_str());
        nKey = 3 - nKey; // the service sees a key let go only within moments: take turns
        Assign(nKey, test.assignment);
        Press(nKey);
        if (test.nOutcome == FOLDER) {
            HWND hFolder = nullptr;
            EXPECT_TRUE(WaitForService([&] {
                hFolder = FindWindowA("ExplorerWClass", test.strOutcome.c_str());
                return hFolder && IsWindowVisible(hFolder);
            }));
            PostMessageA(hFolder, WM_CLOSE, 0, 0);
        } else if (test.nOutcome == NOTICE) {
            EXPECT_TRUE(WaitForService([&] { return TrayHolds(test.strOutcome); }));
            std::string strKey = std::to_string(nKey);
            EXPECT_TRUE(TrayHolds("S" + strKey + ": Key " + strKey + " did not start"));
        }
        // What started, once a marker key has: the other keys still work.
        EXPECT_EQ(test.nOutcome == PROBE ? std::vector<std::string>{test.strOutcome}
                                         : std::vector<std::string>(),
                  LinesAfterMarker(5));
        // A key the service mishandles would fail every later case too, each after a wait.
        ASSERT_FALSE(HasFailure());
    }
    EXPECT_TRUE(ShownDialogsOfProcess(m_pService->Id()).empty()) << "the service showed a dialog";
}

// The press rules above as the service follows them: the option read from the library at the
// press, the keys looked at while held; a number edited by hand out of range holds half a second,
// as the detail dialog shows it. (Every key of the test above starts at once.)
TEST_F(ServiceTest, AKeyWithTheHoldOptionStartsOnlyWhenHeldAndAnUnassignedOneNever) {
    Assign(3, {ProbePath(), "brushed", "", 5});
    Assign(5, {ProbePath(), "edited to 0", "", 5});
    Assign(6, {ProbePath(), "held", "", 5});
    std::string strStore = ReadFileText(m_suite.AppData().StorePath());
    strStore.replace(strStore.find("OptionNumber=5", strStore.find("[Key5]")), 14,
                     "OptionNumber=0");
    ASSERT_TRUE(WriteFileText(m_suite.AppData().StorePath(), strStore));
    StartService();
    Press(3, 100); // shorter than half a second
    Press(5, 100);
    Press(6, 900);
    Press(2); // unassigned: a sound only
    EXPECT_EQ(std::vector<std::string>{ThisProgramFolder() + "|held"}, LinesAfterMarker(4));
    EXPECT_EQ(2u, m_tray.Count(WM_COPYDATA)) << "no notice beyond the icon and its version";
}

// The tray icon's menu as a user meets it: opened by the taskbar's message for a right click and
// walked with the arrow keys. A set chosen becomes the assignments, one gone meanwhile is told of,
// and the last line starts the key panel (the probe in its place) in the program folder.
TEST_F(ServiceTest, TheTrayMenuBringsBackAKeySetOrTellsWhyNotAndOpensTheKeyPanel) {
    Assign(1, {ProbePath(), "games"});
    ASSERT_EQ(1, m_lib.pfnSaveKeySet("Games"));
    Assign(1, {ProbePath(), "work"});
    ASSERT_EQ(1, m_lib.pfnSaveKeySet("Work"));
    ASSERT_TRUE(CopyFileA(ProbePath().c_str(), (m_suite / "VuViravuz.exe").c_str(), FALSE));
    StartService();
    // Opens the menu; once it shows, does what the test must do meanwhile, then takes the line
    // nDown lines down (separators are passed over). False when no menu showed, or it stayed.
    auto choose = [&](int nDown, const std::function<void()>& meanwhile) {
        PostMessageA(m_hService, WM_TRAY_ICON, MAKEWPARAM(600, 500), MAKELPARAM(WM_CONTEXTMENU, 1));
        std::vector<HWND> menus;
        if (!WaitForService([&] {
                menus = ShownWindowsOfProcess(m_pService->Id(), "#32768");
                return menus.size() == 1;
            })) {
            return false;
        }
        meanwhile();
        for (int i = 0; i < nDown; ++i) {
            PostMessageA(menus[0], WM_KEYDOWN, VK_DOWN, 0);
        }
        PostMessageA(menus[0], WM_KEYDOWN, VK_RETURN, 0);
        return WaitForService(
            [&] { return ShownWindowsOfProcess(m_pService->Id(), "#32768").empty(); });
    };

    ASSERT_TRUE(choose(1, [] {})); // "Games", above "Work", which holds the keys as they are
    EXPECT_TRUE(WaitForService([&] { return m_lib.Read(1).Parameters == "games"; }));

    const std::string strGames = m_suite.AppData().StoreFolder() + "\\KeySets\\Games.ini";
    ASSERT_TRUE(choose(1, [&] { EXPECT_TRUE(DeleteFileA(strGames.c_str())); }));
    EXPECT_TRUE(WaitForService([&] { return TrayHolds("The key set Games could not be used"); }));
    EXPECT_TRUE(TrayHolds(static_cast<LPCSTR>(SystemErrorText(ERROR_FILE_NOT_FOUND))));
    EXPECT_STREQ("games", m_lib.Read(1).Parameters);

    ASSERT_TRUE(choose(2, [] {})); // below "Work"
    const std::vector<std::string> panel = {m_suite.Path() + "|"};
    EXPECT_TRUE(WaitForService([&] { return ProbeLines() == panel; }));
    EXPECT_TRUE(ShownDialogsOfProcess(m_pService->Id()).empty()) << "the service showed a dialog";
}

// Run by the test below as a process of its own (as the console program is): a change of each
// kind the library makes.
TEST(ServiceChild, DISABLED_ChangesTheKeys) {
    CSuiteLibrary lib;
    KeyAssignment record;
    record.Title = "Other";
    EXPECT_EQ(1, lib.pfnSetKeyOption(0, 1, 7));
    EXPECT_EQ(1, lib.Store(1, record));
    EXPECT_EQ(1, lib.pfnUndoKeys());
    EXPECT_EQ(1, lib.pfnInitSKeyData(1));
}

// A key panel shows its own changes by itself, and is told by the library of each change of
// another process.
TEST_F(ServiceTest, AChangeRefreshesOnlyAPanelOfAnotherProcess) {
    StartService();
    ASSERT_EQ(1, m_lib.pfnSetClient(m_panel.Handle()));
    ASSERT_EQ(1, m_lib.pfnSetKeyOption(0, 1, 3));
    ASSERT_EQ(0, RunThisProgram("ServiceChild.DISABLED_ChangesTheKeys"));
    EXPECT_TRUE(WaitForService([&] { return m_panel.Count(WM_PANEL_REFRESH) == 4; }));
    // Posted at once, a refresh for this process's own change would have come first.
    EXPECT_TRUE(m_panel.Matches({{WM_PANEL_REFRESH, 0, 0},
                                 {WM_PANEL_REFRESH, 0, 0},
                                 {WM_PANEL_REFRESH, 0, 0},
                                 {WM_PANEL_REFRESH, 0, 0}}));
}

TEST_F(ServiceTest, AStoreChangedByHandReachesTheKeyPanel) {
    StartService();
    ASSERT_EQ(1, m_lib.pfnSetClient(m_panel.Handle()));
    ASSERT_TRUE(WriteFileText(m_suite.AppData().StorePath(),
                              "[KeyStore]\r\nFormat=Corvane key store\r\nVersion=1\r\n"
                              "[Key2]\r\nTitle=By hand\r\nTarget=C:\\windows\\notepad.exe\r\n"));
    EXPECT_TRUE(WaitForService([&] { return m_panel.Count(WM_PANEL_REFRESH) > 0; }))
        << "a valid store edited by hand";
    m_panel.Clear();
    EXPECT_STREQ("By hand", m_lib.Read(2).Title);

    ASSERT_TRUE(WriteFileText(m_suite.AppData().StorePath(), "not a key store\r\n"));
    // An edit can reach the service in two steps (emptied, then written), each announced.
    EXPECT_TRUE(WaitForService([&] {
        return ListFiles(m_suite.AppData().StoreFolder(), "KeyStore.damaged-*.ini").size() == 1;
    })) << "a damaged store put in place";
    EXPECT_TRUE(WaitForService([&] { return m_panel.Count(WM_PANEL_REFRESH) > 0; }));
    // Told once, by the service that met it.
    EXPECT_TRUE(WaitForService([&] { return TrayHolds("The Corvane key store was damaged"); }));
    char szAside[MAX_PATH];
    EXPECT_EQ(0, m_lib.pfnTakeStoreNotice(szAside));
}

TEST_F(ServiceTest, HotKeysFollowTheKeySettingsFile) {
    std::string strSettings = ReadFileText(m_suite / "CvnSKey.ini");
    auto edit = [&](const std::string& strFrom, const std::string& strTo) {
        size_t nAt = strSettings.find(strFrom);
        ASSERT_NE(std::string::npos, nAt) << strFrom;
        strSettings.replace(nAt, strFrom.size(), strTo);
        ASSERT_TRUE(WriteFileText(m_suite / "CvnSKey.ini", strSettings));
    };
    edit("S3=Ctrl+Alt+3", "S3=");
    edit("S4=Ctrl+Alt+4", "S4=Ctrl+Banana");
    edit("S5=Ctrl+Alt+5", ""); // a key without a line gets Ctrl+Alt and its number
    // A machine of five keys: the sixth gets no combination.
    ASSERT_TRUE(WriteFileText(m_suite / "Corvane.ini", "[Suite]\r\nKeyCount=5\r\n"));
    ASSERT_TRUE(RegisterHotKey(nullptr, 2, MOD_CONTROL | MOD_ALT, '2'))
        << "held by another program";
    StartService(5);
    auto taken = [](int nKey) { return IsHotKeyTaken(MOD_CONTROL | MOD_ALT, '0' + nKey); };
    EXPECT_TRUE(WaitForService([&] { return TrayHolds("Some Corvane keys cannot be used"); }));
    EXPECT_TRUE(TrayHolds("S2: Ctrl+Alt+2 is taken by another program or key.\n"
                          "S4: \"Ctrl+Banana\" is not a key combination.\n"
                          "Keys are set in section [SKeyHotKey] of CvnSKey.ini."));
    EXPECT_EQ((std::vector<bool>{true, false, false, true, false}),
              (std::vector<bool>{taken(1), taken(3), taken(4), taken(5), taken(6)}));
    UnregisterHotKey(nullptr, 2);

    // A new combination takes effect at once, and the old one is let go.
    edit("S1=Ctrl+Alt+1", "S1=Ctrl+Shift+F9");
    EXPECT_TRUE(
        WaitForService([&] { return !taken(1) && IsHotKeyTaken(MOD_CONTROL | MOD_SHIFT, VK_F9); }));
}

TEST_F(ServiceTest, RunsOnceHiddenHoldsTheClientAndStopsOnCloseAndRestartsAfterDying) {
    // What a call answers, with the window it gives in place of one it was handed.
    auto ask = [](ZuComGetServerFn* pfnCall) {
        HWND hWnd = reinterpret_cast<HWND>(1);
        int nResult = pfnCall(&hWnd);
        return std::make_pair(nResult, hWnd);
    };
    const std::pair<int, HWND> none(0, nullptr);
    HWND hPanel = m_panel.Handle();
    EXPECT_EQ(none, ask(m_lib.pfnGetServer)) << "no service yet";
    EXPECT_EQ(0, m_lib.pfnSetClient(hPanel));
    EXPECT_EQ(none, ask(m_lib.pfnGetClient));

    StartService();
    EXPECT_FALSE(IsWindowVisible(m_hService));
    EXPECT_EQ(none, ask(m_lib.pfnGetClient)) << "no client registered yet";
    ASSERT_EQ(1, m_lib.pfnSetClient(hPanel));
    EXPECT_EQ(0, m_lib.pfnSetClient(reinterpret_cast<HWND>(0x7ffff0))) << "not a window";
    EXPECT_EQ(std::make_pair(1, hPanel), ask(m_lib.pfnGetClient));

    CChildProcess second(StagedPath("VeRiro.exe"));
    EXPECT_EQ(1u, second.WaitForExit(kServiceWaitMs)) << "a second service must leave at once";

    DestroyWindow(hPanel);
    EXPECT_EQ(none, ask(m_lib.pfnGetClient)) << "the panel's window has gone";

    // Held open here, the instance mutex outlives a service that dies and is left abandoned,
    // which must not keep the next one out.
    CHandle mutex(OpenMutexA(SYNCHRONIZE, FALSE, CVN_SERVICE_MUTEX));
    ASSERT_TRUE(mutex.IsValid());
    m_pService->Terminate(9);
    EXPECT_EQ(9u, m_pService->WaitForExit(kServiceWaitMs));
    StartService();

    // The service tells this thread's taskbar as it goes.
    PostMessageA(m_hService, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitForService([&] { return m_pService->HasEnded(); }));
    EXPECT_EQ(0u, m_pService->WaitForExit(0));
    EXPECT_EQ(none, ask(m_lib.pfnGetServer));
}

} // namespace
