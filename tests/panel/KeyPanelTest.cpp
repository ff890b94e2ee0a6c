// The key panel: its layout by key count and screen resolution, the current key, Enter on a
// key, the refresh from outside, and the start-up failures.
#include "FakeShortcutLibrary.h"
#include "PanelHarness.h"
#include "PanelImage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>

namespace {

constexpr int kLaidOutControls[] = {890, 891, 892, 893, 894, 895, 896, 897, 898, 899, 900, 901,
                                    902, 903, 904, 905, 906, 907, 908, 909, 910, 928, 936, ID_HELP};

struct Geometry {
    SIZE window = {};
    std::map<int, RECT> controls; // client coordinates of the dialog
    std::map<int, bool> visible;
};

Geometry GeometryOf(HWND hDialog) {
    Geometry geometry;
    RECT rc;
    GetWindowRect(hDialog, &rc);
    geometry.window = {rc.right - rc.left, rc.bottom - rc.top};
    for (int nID : kLaidOutControls) {
        HWND hControl = GetDlgItem(hDialog, nID);
        GetWindowRect(hControl, &rc);
        MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&rc), 2);
        geometry.controls[nID] = rc;
        geometry.visible[nID] = (GetWindowLongA(hControl, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    return geometry;
}

// Template 196 as the dialog manager lays it out at this resolution, untouched by the panel.
Geometry TemplateGeometry() {
    HWND hDialog = CreateDialogParamA(
        AfxGetResourceHandle(), MAKEINTRESOURCEA(IDD_KEYPANEL), nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    Geometry geometry = GeometryOf(hDialog);
    DestroyWindow(hDialog);
    return geometry;
}

// A length given at 96 dots per inch, at this screen's resolution (truncated).
int AtScreen(int nPixels) {
    return nPixels * ScreenDpi() / 96;
}

int HeightOf(const RECT& rc) {
    return rc.bottom - rc.top;
}

// The shortened layouts; window heights at 96, 120 and 144 dots per inch. Zero: not moved.
struct ShorterLayout {
    int nKeys;
    int nRowsHeight;
    int nBottomY;
    int nCommandY[3]; // 908, 909, 910
    int nWindowHeight[3];
};
constexpr ShorterLayout kShorterLayouts[] = {
    {4, 357, 380, {0, 0, 0}, {450, 562, 675}},
    {3, 290, 313, {150, 220, 255}, {383, 478, 574}},
    {2, 223, 246, {83, 153, 188}, {316, 395, 474}},
};

const ShorterLayout* ShorterLayoutFor(int nKeys) {
    for (const ShorterLayout& layout : kShorterLayouts) {
        if (layout.nKeys == nKeys) {
            return &layout;
        }
    }
    return nullptr;
}

int WindowHeightAtScreen(const ShorterLayout& layout) {
    switch (ScreenDpi()) {
    case 96:
        return layout.nWindowHeight[0];
    case 120:
        return layout.nWindowHeight[1];
    case 144:
        return layout.nWindowHeight[2];
    default:
        return AtScreen(layout.nWindowHeight[0]);
    }
}

class PanelFixture : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_hLocale) << "..\\stage\\RuRoredo.DLL is missing"; }

    HINSTANCE m_hLocale = UseLocaleLibrary();
    CFakeShortcutLibrary m_library;
    CTestPanel m_panel;
};

// Cases that depend on the screen resolution; the DPI case below runs them again at 120 and 144.
class ScaledLayout : public PanelFixture, public testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        PanelFixture::SetUp();
        std::string strDpi = EnvironmentValue("VV_PANEL_DPI");
        if (!strDpi.empty()) {
            ASSERT_EQ(std::stoi(strDpi), ScreenDpi()) << "the resolution was not applied";
        }
    }
};

TEST_P(ScaledLayout, RowsControlsAndWindowFollowTheKeyCount) {
    const int nCount = GetParam();
    const int nKeys = std::clamp(nCount, 1, 6); // what the panel makes of the library's count
    m_library.m_nKeyCount = nCount;
    const Geometry before = TemplateGeometry();
    Geometry after;
    std::vector<bool> wired;
    std::vector<std::string> legends;
    MINMAXINFO limits = {};
    EXPECT_EQ(IDOK, RunPanel(m_panel, {Do([&] {
                                 after = GeometryOf(m_panel);
                                 for (int nKey = 1; nKey <= 6; ++nKey) {
                                     wired.push_back(CWnd::FromHandlePermanent(
                                                         m_panel.KeyWindow(nKey)) != nullptr);
                                     char szLegend[64] = {};
                                     GetDlgItemTextA(m_panel, IDC_KEY_LEGEND_FIRST + nKey - 1,
                                                     szLegend, sizeof(szLegend));
                                     legends.push_back(szLegend);
                                 }
                                 m_panel.SendMessage(WM_GETMINMAXINFO, 0,
                                                     reinterpret_cast<LPARAM>(&limits));
                             })}));
    ASSERT_EQ(6u, wired.size());

    for (int nKey = 1; nKey <= 6; ++nKey) {
        SCOPED_TRACE("key " + std::to_string(nKey));
        const bool bPresent = nKey <= nKeys;
        EXPECT_EQ(bPresent, wired[nKey - 1]);
        EXPECT_EQ(bPresent, after.visible[IDC_KEY_BUTTON_FIRST + nKey - 1]);
        EXPECT_EQ(bPresent, after.visible[IDC_KEY_ICON_FIRST + nKey - 1]);
        const int nLegend = IDC_KEY_LEGEND_FIRST + nKey - 1;
        EXPECT_EQ(bPresent || before.visible.at(nLegend), after.visible[nLegend]);
        EXPECT_EQ(bPresent ? "Legend " + std::to_string(nKey) : "", legends[nKey - 1]);
    }

    const ShorterLayout* pLayout = ShorterLayoutFor(nKeys);
    std::map<int, int> expectedY; // controls that move; every other one stays put
    if (pLayout) {
        EXPECT_EQ(WindowHeightAtScreen(*pLayout), after.window.cy);
        EXPECT_EQ(AtScreen(pLayout->nRowsHeight), HeightOf(after.controls[IDC_PANEL_ROWS]));
        expectedY[IDC_PANEL_CLOSE] = expectedY[ID_HELP] = AtScreen(pLayout->nBottomY);
        const int nCommands[] = {IDC_PANEL_SETTINGS, IDC_PANEL_DETAIL, IDC_PANEL_CLEAR};
        for (int i = 0; i < 3; ++i) {
            if (pLayout->nCommandY[i]) {
                expectedY[nCommands[i]] = AtScreen(pLayout->nCommandY[i]);
            }
        }
    } else {
        EXPECT_EQ(before.window.cy, after.window.cy);
        EXPECT_EQ(HeightOf(before.controls.at(IDC_PANEL_ROWS)),
                  HeightOf(after.controls[IDC_PANEL_ROWS]));
    }
    EXPECT_EQ(before.window.cx, after.window.cx);
    for (int nID : kLaidOutControls) {
        SCOPED_TRACE("control " + std::to_string(nID));
        const RECT& rcBefore = before.controls.at(nID);
        const RECT& rcAfter = after.controls[nID];
        EXPECT_EQ(rcBefore.left, rcAfter.left);
        auto moved = expectedY.find(nID);
        EXPECT_EQ(moved != expectedY.end() ? moved->second : rcBefore.top, rcAfter.top);
        // Icon statics take the size of their icon.
        if (nID != IDC_PANEL_ROWS && (nID < IDC_KEY_ICON_FIRST || nID > IDC_KEY_ICON_FIRST + 5)) {
            EXPECT_EQ(rcBefore.right, rcAfter.right);
            EXPECT_EQ(HeightOf(rcBefore), HeightOf(rcAfter));
        }
    }

    // The laid-out size is the only size the window can take.
    EXPECT_EQ(after.window.cx, limits.ptMinTrackSize.x);
    EXPECT_EQ(after.window.cy, limits.ptMinTrackSize.y);
    EXPECT_EQ(after.window.cx, limits.ptMaxTrackSize.x);
    EXPECT_EQ(after.window.cy, limits.ptMaxTrackSize.y);
    EXPECT_EQ(after.window.cy, limits.ptMaxSize.y);
}

INSTANTIATE_TEST_SUITE_P(KeyCounts, ScaledLayout, testing::Values(6, 5, 4, 3, 2, 1, 0, 9));

// The screen resolution is read once per process: run the cases above, and the key face's, in
// new processes at 120 and 144 dots per inch.
TEST(PanelResolution, LayoutAndFacesScaleAt120And144Dpi) {
    for (int nDpi : {120, 144}) {
        CNewProcessDpi dpi(nDpi);
        ASSERT_TRUE(dpi.Applied());
        EXPECT_EQ(0, RunThisProgram("*Scaled*", {{"VV_PANEL_DPI", std::to_string(nDpi)}}))
            << "at " << nDpi << " dpi";
    }
}

class KeyPanel : public PanelFixture {};

TEST_F(KeyPanel, ClickFocusAndNotificationMakeAKeyCurrent) {
    m_library.Assign(1, "Mail", "Opens mail", "C:\\mail.exe");
    m_library.Assign(4, "Notes", "Opens notes", "C:\\notes.txt");
    auto detailAndClearEnabled = [this] {
        bool bDetail = ::IsWindowEnabled(m_panel.Item(IDC_PANEL_DETAIL)) != FALSE;
        EXPECT_EQ(bDetail, ::IsWindowEnabled(m_panel.Item(IDC_PANEL_CLEAR)) != FALSE);
        return bDetail;
    };
    RunPanel(m_panel, {Do([&] {
                           EXPECT_EQ(1, m_panel.CurrentKey());
                           EXPECT_TRUE(detailAndClearEnabled());
                           SendMessageA(m_panel.KeyWindow(3), BM_CLICK, 0, 0);
                           EXPECT_EQ(3, m_panel.CurrentKey());
                           EXPECT_FALSE(detailAndClearEnabled());
                           EXPECT_EQ(m_panel.KeyWindow(3), GetFocus());
                           EXPECT_EQ(FILL_UNSELECTED, FaceFill(m_panel.KeyWindow(1)));
                           EXPECT_EQ(FILL_FOCUSED, FaceFill(m_panel.KeyWindow(3)));
                       }),
                       Do([&] {
                           // The button's notification alone, with the focus left where it is.
                           m_panel.SendMessage(WM_COMMAND,
                                               MAKEWPARAM(IDC_KEY_BUTTON_FIRST + 3, BN_CLICKED),
                                               reinterpret_cast<LPARAM>(m_panel.KeyWindow(4)));
                           EXPECT_EQ(4, m_panel.CurrentKey());
                           EXPECT_TRUE(detailAndClearEnabled());
                           EXPECT_EQ(FILL_SELECTED, FaceFill(m_panel.KeyWindow(4)));
                           EXPECT_EQ(FILL_UNSELECTED, FaceFill(m_panel.KeyWindow(3)));
                       }),
                       Do([&] {
                           ::SetFocus(m_panel.KeyWindow(2));
                           EXPECT_EQ(2, m_panel.CurrentKey());
                           EXPECT_FALSE(detailAndClearEnabled());
                           EXPECT_EQ(FILL_UNSELECTED, FaceFill(m_panel.KeyWindow(4)));
                       }),
                       Do([&] {
                           // Tab: the dialog manager moves the focus to the next key.
                           m_panel.SendMessage(WM_NEXTDLGCTL, 0, 0);
                           EXPECT_EQ(m_panel.KeyWindow(3), GetFocus());
                           EXPECT_EQ(3, m_panel.CurrentKey());
                       }),
                       Do([&] {
                           m_panel.SendMessage(WM_KEYBUTTON_NOTIFY, KBN_SELECT, 1);
                           EXPECT_EQ(1, m_panel.CurrentKey());
                           EXPECT_TRUE(detailAndClearEnabled());
                           EXPECT_EQ(FILL_SELECTED, FaceFill(m_panel.KeyWindow(1)));
                           EXPECT_EQ(FILL_UNSELECTED, FaceFill(m_panel.KeyWindow(3)));
                       })});
}

TEST_F(KeyPanel, RowsTakeLegendAndIconFromTheKeySettingsFile) {
    // Key 2 has no legend and key 3 no icon path; key 1's path gives an icon; key 4's values are
    // longer than the panel reads.
    const std::string strLong(600, 'L');
    m_library.WriteKeyFile({{1, "Mail"}, {3, "Web"}, {4, strLong}},
                           {{1, "C:\\icons\\mail.ico"}, {2, "keyicon2"}, {4, "C:\\" + strLong}});
    m_library.AddIcon("C:\\icons\\mail.ico", RGB(255, 0, 0));
    auto shownIcon = [this](int nKey) {
        return reinterpret_cast<HICON>(
            SendDlgItemMessageA(m_panel, IDC_KEY_ICON_FIRST + nKey - 1, STM_GETICON, 0, 0));
    };
    auto builtInIcon = [this](int nKey) {
        return LoadIconA(m_hLocale, MAKEINTRESOURCEA(IDI_KEY_BASE + nKey));
    };
    RunPanel(m_panel, {Do([&] {
                 char szLegend[64] = {};
                 GetDlgItemTextA(m_panel, IDC_KEY_LEGEND_FIRST, szLegend, sizeof(szLegend));
                 EXPECT_STREQ("Mail", szLegend);
                 HWND hEmptyLegend = m_panel.Item(IDC_KEY_LEGEND_FIRST + 1);
                 EXPECT_EQ(0, GetWindowTextLengthA(hEmptyLegend));
                 EXPECT_TRUE(::IsWindowVisible(hEmptyLegend));

                 ASSERT_NE(nullptr, shownIcon(1));
                 EXPECT_NE(builtInIcon(1), shownIcon(1));
                 EXPECT_EQ(builtInIcon(2), shownIcon(2)); // no icon for the path
                 EXPECT_EQ(builtInIcon(3), shownIcon(3)); // no path at all
                 EXPECT_EQ(MAX_PATH - 1,
                           GetWindowTextLengthA(m_panel.Item(IDC_KEY_LEGEND_FIRST + 3)));
                 EXPECT_EQ(builtInIcon(4), shownIcon(4));
                 EXPECT_EQ(LoadIconA(m_hLocale, MAKEINTRESOURCEA(IDI_PANEL)),
                           reinterpret_cast<HICON>(m_panel.SendMessage(WM_GETICON, ICON_BIG)));
             })});
}

TEST_F(KeyPanel, SelectionOfAKeyThatIsNotThereIsIgnored) {
    m_library.m_nKeyCount = 4;
    m_library.Assign(2, "Mail", "Opens mail", "C:\\mail.exe");
    RunPanel(m_panel, {Do([&] {
                 m_panel.SendMessage(WM_KEYBUTTON_NOTIFY, KBN_SELECT, 2);
                 for (LPARAM nKey : {0, 5, 6, 7, -1, 1000}) {
                     m_panel.SendMessage(WM_KEYBUTTON_NOTIFY, KBN_SELECT, nKey);
                     EXPECT_EQ(2, m_panel.CurrentKey()) << "after KBN_SELECT " << nKey;
                 }
                 // Clicks on the unwired buttons of absent keys change nothing either.
                 m_panel.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_KEY_BUTTON_FIRST + 4, BN_CLICKED),
                                     reinterpret_cast<LPARAM>(m_panel.KeyWindow(5)));
                 EXPECT_EQ(2, m_panel.CurrentKey());
                 EXPECT_TRUE(::IsWindowEnabled(m_panel.Item(IDC_PANEL_DETAIL)));
             })});
}

TEST_F(KeyPanel, EnterOnAKeyMovesTheFocusAndKeepsThePanelOpen) {
    RunPanel(m_panel, {Do([&] { ::SetFocus(m_panel.KeyWindow(1)); }), Do([&] {
                           ASSERT_EQ(m_panel.KeyWindow(1), GetFocus());
                           PostMessageA(m_panel.KeyWindow(1), WM_KEYDOWN, VK_RETURN, 0x001C0001);
                       }),
                       Do([&] {
                           EXPECT_TRUE(m_panel.IsWindowVisible());
                           EXPECT_EQ(m_panel.KeyWindow(2), GetFocus());
                           EXPECT_EQ(2, m_panel.CurrentKey());
                           EXPECT_EQ(nullptr, FindShownDialog(m_panel));
                       })});
}

TEST_F(KeyPanel, RefreshShowsWhatTheLibraryHoldsNow) {
    size_t nBefore = 0;
    auto everyKeyReadAgain = [&] {
        for (int nKey = 1; nKey <= 6; ++nKey) {
            if (m_library.ReadsOf(nKey, nBefore) == 0) {
                return false;
            }
        }
        return true;
    };
    RunPanel(m_panel, {Do([&] {
                           EXPECT_FALSE(::IsWindowEnabled(m_panel.Item(IDC_PANEL_DETAIL)));
                           // Someone else assigns the current key and tells the panel.
                           m_library.Assign(1, "Mail", "Opens mail", "C:\\mail.exe");
                           nBefore = m_library.m_calls.size();
                           m_panel.SendMessage(WM_PANEL_REFRESH);
                       }),
                       everyKeyReadAgain, Do([&] {
                           EXPECT_TRUE(::IsWindowEnabled(m_panel.Item(IDC_PANEL_DETAIL)));
                           EXPECT_TRUE(::IsWindowEnabled(m_panel.Item(IDC_PANEL_CLEAR)));
                       })});
}

TEST_F(KeyPanel, RegistersItsWindowAsTheServiceClient) {
    HWND hPanel = nullptr;
    RunPanel(m_panel, {Do([&] { hPanel = m_panel.m_hWnd; })});
    EXPECT_EQ(1, m_library.m_nSetClientCalls);
    EXPECT_EQ(hPanel, m_library.m_hClient);
    EXPECT_EQ(1, m_library.m_nServerAsks);
}

// Waits for the service for 2.5 seconds by design.
TEST_F(KeyPanel, WithoutTheServiceThereIsAMessageAndNoPanel) {
    m_library.m_bServerAnswers = false;
    std::string strMessage;
    DWORD nStart = GetTickCount();
    EXPECT_EQ(-1, RunModal(m_panel, {AnswerMessageBox(&strMessage)}));
    EXPECT_LE(2400u, GetTickCount() - nStart);
    EXPECT_EQ(ResourceString(IDS_SERVICE_MISSING), strMessage);
    EXPECT_EQ(6, m_library.m_nServerAsks);
    EXPECT_EQ(0, m_library.m_nSetClientCalls);
}

TEST_F(KeyPanel, RefusedRegistrationEndsThePanelWithoutAMessage) {
    m_library.m_bSetClientResult = FALSE;
    // A message box would hold DoModal until the script gives up.
    EXPECT_EQ(-1, RunModal(m_panel, {}));
    EXPECT_EQ(1, m_library.m_nSetClientCalls);
    EXPECT_EQ(0, m_library.ReadsOf(1));
}

// Runs only as a child of the case below: the panel ends the process.
TEST_F(KeyPanel, DISABLED_MissingKeySettingsFileChild) {
    m_library.SetKeyFilePath(m_library.KeyFilePath() + ".missing");
    std::string strMessage;
    ScriptStep answer = AnswerMessageBox(&strMessage);
    // The process ends as soon as the message is answered: report it first.
    RunModal(m_panel, {[&] {
                 bool bAnswered = answer();
                 if (bAnswered) {
                     std::ofstream(EnvironmentValue("VV_PANEL_REPORT")) << strMessage;
                 }
                 return bAnswered;
             }});
    ADD_FAILURE() << "the process should have ended";
}

TEST(PanelProcess, MissingKeySettingsFileEndsTheProgramWithCode1) {
    CScratchFolder folder;
    const std::string strReport = folder / "message.txt";
    EXPECT_EQ(1, RunThisProgram("KeyPanel.DISABLED_MissingKeySettingsFileChild",
                                {{"VV_PANEL_REPORT", strReport}}));
    std::ifstream in(strReport);
    std::stringstream text;
    text << in.rdbuf();
    ASSERT_TRUE(UseLocaleLibrary());
    EXPECT_EQ(ResourceString(IDS_KEYFILE_MISSING), text.str());
}

} // namespace
