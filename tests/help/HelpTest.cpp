// Help as a user asks for it: F1 and the Help buttons of the panel and its two dialogs, run in a
// process of their own for each way the HTML Help control can be found (the control's state
// lasts as long as the process), with a stand-in control that records what reaches it or Wine's
// real one.
#include "../common/Process.h"
#include "../common/ScratchFolder.h"
#include "../panel/PanelHarness.h"

#include "../../base/HelpTopics.h"

#include "CRegKey.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace {

constexpr char kControlKey[] = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr char kPanelCaption[] = "Corvane Key Settings";
constexpr char kClassesKey[] = "Software\\VuViravuz tests";

void AppendToLog(const std::string& strLine) {
    std::ofstream(EnvironmentValue("VV_HELP_LOG"), std::ios::app | std::ios::binary)
        << strLine << '\n';
}

// Lets this process see HKEY_CLASSES_ROOT as a private key that registers the help control at
// strPath, or registers none when strPath is empty.
void UseControlRegistration(const std::string& strPath) {
    // The override keeps a reference of its own: the key may close.
    CRegKey classes;
    ASSERT_EQ(ERROR_SUCCESS,
              classes.Create(HKEY_CURRENT_USER, (std::string(kClassesKey) + "\\Classes").c_str()));
    RegDeleteTreeA(classes, nullptr);
    if (!strPath.empty()) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(classes, kControlKey, nullptr, REG_SZ,
                                                 strPath.c_str(), strPath.size() + 1));
    }
    ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_CLASSES_ROOT, classes));
}

// The help windows this process shows. The control keeps one window for the file: each request
// shows it, with the topic asked for.
int ShownHelpWindows() {
    int nWindows = 0;
    for (HWND hWnd = nullptr; (hWnd = FindWindowExA(nullptr, hWnd, "HH Parent", nullptr));) {
        DWORD nProcess = 0;
        GetWindowThreadProcessId(hWnd, &nProcess);
        nWindows += nProcess == GetCurrentProcessId() && IsWindowVisible(hWnd);
    }
    return nWindows;
}

// How Wine loads hhctrl.ocx in the processes this test program starts from now on: "native" (the
// stand-in beside the program, never Wine's own), "" (not at all) or, for null, its own way.
void SetControlLoadOrder(const char* pszOrder) {
    constexpr char kOverrides[] = "Software\\Wine\\AppDefaults\\help_tests.exe\\DllOverrides";
    if (pszOrder) {
        RegSetKeyValueA(HKEY_CURRENT_USER, kOverrides, "hhctrl.ocx", REG_SZ, pszOrder,
                        static_cast<DWORD>(std::strlen(pszOrder) + 1));
    } else {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kOverrides, "hhctrl.ocx");
    }
}

// The topics as the help file names its pages, spelled as the windows ask for them.
constexpr char kSettings[] = "Html/T0030Settings.htm";
constexpr char kDetail[] = "HTML\\T0040Detail.htm";

// What a user asks for, in the order the child presses it.
struct HelpRequest {
    int nDialog;  // 0: the panel; otherwise the panel's command that opens the dialog
    bool bButton; // the Help button; otherwise F1
    const char* pszTopic;
};
const HelpRequest kRequests[] = {
    {0, false, kSettings},
    {0, true, kSettings},
    {IDC_PANEL_SETTINGS, false, kSettings},
    {IDC_PANEL_SETTINGS, true, kSettings},
    {IDC_PANEL_DETAIL, false, kDetail},
    {IDC_PANEL_DETAIL, true, kDetail},
    {IDC_PANEL_CLEAR, false, kSettings}, // no topic of its own: its owner's
};

class HelpTest : public PanelTest {};

// Run by the test below in a process of its own: every request of kRequests, then the help file's
// default topic for the main window; after each, the number of help windows shown.
TEST_F(HelpTest, DISABLED_AskForEveryTopic) {
    std::string strControl = EnvironmentValue("VV_HELP_CONTROL");
    if (strControl != "system") {
        UseControlRegistration(strControl);
    }
    // Stands in for the system's WinHelp engine.
    CMessageRecorder engine("MS_WINHELP", {VV_MESSAGE(WM_COPYDATA)});
    m_library.Assign(1, "One", "", "C:\\");
    // The help file lies in this run's own copy of the suite.
    AppendToLog("file " + m_library / "Corvane.chm");

    HWND hDialog = nullptr;
    auto ask = [&](HWND hWindow, bool bButton) {
        if (bButton) {
            SendDlgItemMessageA(hWindow, ID_HELP, BM_CLICK, 0, 0);
        } else {
            // F1 reaches the focused control, which hands it to its dialog.
            HELPINFO help = {};
            help.cbSize = sizeof(help);
            help.iContextType = HELPINFO_WINDOW;
            help.hItemHandle = GetFocus();
            help.iCtrlId = GetDlgCtrlID(GetFocus());
            SendMessageA(GetFocus(), WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        }
        AppendToLog("windows " + std::to_string(ShownHelpWindows()));
    };
    std::vector<ScriptStep> steps;
    for (const HelpRequest& request : kRequests) {
        if (request.nDialog == 0) {
            steps.push_back(Do([&] { ask(m_panel.m_hWnd, request.bButton); }));
            continue;
        }
        steps.insert(steps.end(), {Do([&] { m_panel.PostClick(request.nDialog); }),
                                   DialogShown(m_panel, &hDialog), Do([&] {
                                       ask(hDialog, request.bButton);
                                       PressButton(hDialog, IDCANCEL);
                                   }),
                                   DialogGone(&hDialog)});
    }
    steps.push_back(Do([&] {
        ShowDefaultHelpTopic();
        AppendToLog("windows " + std::to_string(ShownHelpWindows()));
    }));
    RunPanel(m_panel, std::move(steps));
    for (const RecordedMessage& command : engine.Messages()) {
        AppendToLog("winhelp " +
                    std::to_string(reinterpret_cast<const WORD*>(command.strData.data())[1]));
    }
}

// How the control is found: through its registration, by name, or not at all, in which case
// help does nothing, every time, and the control is looked for only once. Closing the panel tells
// the WinHelp engine that it is needed no more.
TEST(Help, EveryWindowOpensItsTopicWhereverTheControlIs) {
    const std::string strStandIn = ThisProgramFolder() + "\\";
    enum class Answer { Recorded, Window, Nothing };
    const struct {
        const char* pszName;
        std::string strControl;   // "system": the prefix's own registration
        const char* pszLoadOrder; // null: Wine's own
        bool bFail;
        const char* pszAttach; // what the stand-in logs when it is loaded, if it is
        Answer answer;
    } scenarios[] = {
        {"registered stand-in", strStandIn + "HelpStandIn.ocx", nullptr, false,
         "attach HelpStandIn.ocx", Answer::Recorded},
        {"no registration, found by name", "", "native", false, "attach hhctrl.ocx",
         Answer::Recorded},
        {"registered control fails, none by name", strStandIn + "HelpStandIn.ocx", "", true,
         "attach HelpStandIn.ocx", Answer::Nothing},
        {"Wine's control", "system", nullptr, false, nullptr, Answer::Window},
    };
    for (const auto& scenario : scenarios) {
        SCOPED_TRACE(scenario.pszName);
        CScratchFolder folder;
        const std::string strLogPath = folder / "help.log";
        SetControlLoadOrder(scenario.pszLoadOrder);
        ASSERT_EQ(0, RunThisProgram("HelpTest.DISABLED_AskForEveryTopic",
                                    {{"VV_HELP_CONTROL", scenario.strControl},
                                     {"VV_HELP_LOG", strLogPath},
                                     {"VV_HELP_FAIL", scenario.bFail ? "1" : ""}}));
        const std::string strLog = ReadFileText(strLogPath);
        const std::string strHelpFile = strLog.substr(5, strLog.find('\n') - 5);
        EXPECT_TRUE(strHelpFile.size() > 12 &&
                    strHelpFile.substr(strHelpFile.size() - 12) == "\\Corvane.chm");
        std::ostringstream expected;
        expected << "file " << strHelpFile << '\n';
        if (scenario.pszAttach) {
            expected << scenario.pszAttach << '\n';
        }
        auto expect = [&](const char* pszOwner, const char* pszTopic) {
            if (scenario.answer == Answer::Recorded) {
                expected << "call " << pszOwner << "|" << strHelpFile << "|0|" << pszTopic << '\n';
            }
            expected << "windows " << (scenario.answer == Answer::Window ? 1 : 0) << '\n';
        };
        for (const HelpRequest& request : kRequests) {
            expect("-", request.pszTopic);
        }
        expect(kPanelCaption, "0");
        expected << "winhelp " << HELP_QUIT << '\n';
        EXPECT_EQ(expected.str(), strLog);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kClassesKey); // what the runs registered
}

} // namespace
