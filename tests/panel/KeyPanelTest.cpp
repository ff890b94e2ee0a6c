// The key panel: its layout by key count and screen resolution, the current key, Enter on a
// key, the refresh from outside, and the start-up failures (a missing key settings file, which
// ends the process, is the start-up tests' case).
#include "PanelHarness.h"
#include "PanelImage.h"

#include "../common/Process.h"

#include "../../panel/KeyPanelLayout.h"
#include "../../suite/VeDerovu/ServiceProtocol.h"

#include <algorithm>
#include <map>

namespace {

constexpr int kLaidOutControls[] = {890, 891, 892, 893, 894, 895, 896, 897, 898, 899, 900, 901,
                                    902, 903, 904, 905, 906, 907, 908, 909, 910, 928, 936, ID_HELP};

struct Geometry {
    RECT window = {};
    std::map<int, RECT> controls; // client coordinates of the dialog
    std::map<int, bool> visible;
};

Geometry GeometryOf(HWND hDialog) {
    Geometry geometry;
    GetWindowRect(hDialog, &geometry.window);
    for (int nID : kLaidOutControls) {
        HWND hControl = GetDlgItem(hDialog, nID);
        geometry.controls[nID] = ChildRect(hDialog, hControl);
        geometry.visible[nID] = (GetWindowLongA(hControl, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    return geometry;
}

// Template 196 as the dialog manager lays it out at this resolution, untouched by the panel.
Geometry TemplateGeometry() {
    HWND hDialog = CreateQuietDialog(AfxGetResourceHandle(), IDD_KEYPANEL);
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

// Every figure that two neighbouring rows of the layout both give differs by one key row.
TEST(KeyCountLayouts, EachMissingKeyTakesOneRowAway) {
    for (const KeyCountLayout& layout : KEY_COUNT_LAYOUTS) {
        const KeyCountLayout* pNext = std::find_if(
            std::begin(KEY_COUNT_LAYOUTS), std::end(KEY_COUNT_LAYOUTS),
            [&layout](const KeyCountLayout& other) { return other.nKeys == layout.nKeys - 1; });
        if (pNext == std::end(KEY_COUNT_LAYOUTS)) {
            continue;
        }
        SCOPED_TRACE(std::to_string(layout.nKeys) + " keys");
        EXPECT_EQ(KEY_ROW_HEIGHT, layout.nRowsHeight - pNext->nRowsHeight);
        EXPECT_EQ(KEY_ROW_HEIGHT, layout.nBottomY - pNext->nBottomY);
        EXPECT_EQ(KEY_ROW_HEIGHT, layout.nWindowHeight - pNext->nWindowHeight);
        for (int i = 0; i < 3; ++i) {
            if (layout.nCommandY[i] && pNext->nCommandY[i]) {
                EXPECT_EQ(KEY_ROW_HEIGHT, layout.nCommandY[i] - pNext->nCommandY[i]);
            }
        }
    }
}

// The count in Corvane.ini (and whether the library could tell it) and the keys the panel then
// shows.
struct KeyCountCase {
    int nSettingsCount;
    bool bLibraryAnswers;
    int nKeys;
};

void PrintTo(const KeyCountCase& test, std::ostream* pOut) {
    *pOut << "count " << test.nSettingsCount << (test.bLibraryAnswers ? "" : " (failed)");
}

// Cases that depend on the screen resolution; the resolution case below runs them again at 120
// and 144 dots per inch.
class ScaledLayout : public PanelTest, public testing::WithParamInterface<KeyCountCase> {};

TEST_P(ScaledLayout, RowsControlsAndWindowFollowTheKeyCount) {
    const KeyCountCase test = GetParam();
    m_library.SetKeyCount(test.nSettingsCount);
    m_library.m_bKeyCountFails = !test.bLibraryAnswers;
    const Geometry before = TemplateGeometry();
    Geometry after;
    MINMAXINFO limits = {};
    EXPECT_EQ(IDOK, InPanel([&] {
                  after = GeometryOf(m_panel);
                  m_panel.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
                  ExpectTidy(m_panel, IDC_PANEL_ROWS);
                  for (int nKey = 1; nKey <= 6; ++nKey) {
                      SCOPED_TRACE("key " + std::to_string(nKey));
                      const bool bPresent = nKey <= test.nKeys;
                      const int nButton = IDC_KEY_BUTTON_FIRST + nKey - 1;
                      const int nLegend = IDC_KEY_LEGEND_FIRST + nKey - 1;
                      EXPECT_EQ(bPresent,
                                CWnd::FromHandlePermanent(m_panel.Item(nButton)) != nullptr);
                      EXPECT_EQ(bPresent ? "Legend " + std::to_string(nKey) : "",
                                WindowText(m_panel.Item(nLegend)));
                      EXPECT_EQ(bPresent, after.visible[nButton]);
                      EXPECT_EQ(bPresent, after.visible[IDC_KEY_ICON_FIRST + nKey - 1]);
                      EXPECT_EQ(bPresent || before.visible.at(nLegend), after.visible[nLegend]);
                      EXPECT_TRUE(!bPresent || Contains(after.controls[IDC_PANEL_ROWS],
                                                        after.controls[nButton]));
                  }
              }));
    EXPECT_EQ(test.nKeys, m_panel.KeyCount());

    const KeyCountLayout* pLayout =
        std::find_if(std::begin(KEY_COUNT_LAYOUTS), std::end(KEY_COUNT_LAYOUTS),
                     [&test](const KeyCountLayout& layout) { return layout.nKeys == test.nKeys; });
    std::map<int, int> expectedY; // controls that move; every other one stays put
    if (pLayout != std::end(KEY_COUNT_LAYOUTS)) {
        EXPECT_EQ(AtScreen(pLayout->nWindowHeight), HeightOf(after.window));
        EXPECT_EQ(AtScreen(pLayout->nRowsHeight), HeightOf(after.controls[IDC_PANEL_ROWS]));
        expectedY[IDC_PANEL_CLOSE] = expectedY[ID_HELP] = AtScreen(pLayout->nBottomY);
        const int nCommands[] = {IDC_PANEL_SETTINGS, IDC_PANEL_DETAIL, IDC_PANEL_CLEAR};
        for (int i = 0; i < 3; ++i) {
            if (pLayout->nCommandY[i]) {
                expectedY[nCommands[i]] = AtScreen(pLayout->nCommandY[i]);
            }
        }
    } else {
        EXPECT_EQ(6, test.nKeys);
        EXPECT_EQ(HeightOf(before.window), HeightOf(after.window));
        EXPECT_EQ(HeightOf(before.controls.at(IDC_PANEL_ROWS)),
                  HeightOf(after.controls[IDC_PANEL_ROWS]));
    }
    // A shorter panel stays centred where the template centred the six-key one.
    EXPECT_NEAR(before.window.top + before.window.bottom, after.window.top + after.window.bottom,
                1);
    EXPECT_EQ(before.window.left, after.window.left);
    EXPECT_EQ(before.window.right, after.window.right);
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
    const LONG cx = after.window.right - after.window.left;
    const LONG cy = HeightOf(after.window);
    EXPECT_EQ(cx, limits.ptMinTrackSize.x);
    EXPECT_EQ(cy, limits.ptMinTrackSize.y);
    EXPECT_EQ(cx, limits.ptMaxTrackSize.x);
    EXPECT_EQ(cy, limits.ptMaxTrackSize.y);
    EXPECT_EQ(cy, limits.ptMaxSize.y);
}

// Counts outside 1 to 6 are kept within them; a library that cannot tell the count gives the
// suite's usual six keys.
INSTANTIATE_TEST_SUITE_P(KeyCounts, ScaledLayout,
                         testing::Values(KeyCountCase{6, true, 6}, KeyCountCase{5, true, 5},
                                         KeyCountCase{4, true, 4}, KeyCountCase{3, true, 3},
                                         KeyCountCase{2, true, 2}, KeyCountCase{1, true, 1},
                                         KeyCountCase{0, true, 1}, KeyCountCase{7, true, 6},
                                         KeyCountCase{2, false, 6}));

// The screen resolution is read once per process: run the cases above, and the key face's, in
// new processes at 120 and 144 dots per inch.
TEST(PanelResolution, LayoutAndFacesScaleAt120And144Dpi) {
    for (int nDpi : {120, 144}) {
        EXPECT_EQ(0, RunAtResolution(nDpi, "*Scaled*")) << "at " << nDpi << " dpi";
    }
}

using KeyPanel = PanelTest;

// Every way of making a key current, for every key: a click, the button's notification alone, the
// focus arriving, and the key button's own request. Odd keys are assigned, even ones not.
TEST_F(KeyPanel, EveryKeyBecomesCurrentByClickFocusAndNotification) {
    for (int nKey = 1; nKey <= 6; nKey += 2) {
        m_library.Assign(nKey, "Mail", "Opens mail", "C:\\mail.exe");
    }
    struct Way {
        const char* pszName;
        std::function<void(CTestPanel&, int)> select;
        bool bTakesFocus;
    };
    const Way ways[] = {
        {"click",
         [](CTestPanel& panel, int nKey) { SendMessageA(panel.KeyWindow(nKey), BM_CLICK, 0, 0); },
         true},
        {"BN_CLICKED",
         [](CTestPanel& panel, int nKey) { panel.Click(IDC_KEY_BUTTON_FIRST + nKey - 1); }, false},
        {"focus", [](CTestPanel& panel, int nKey) { ::SetFocus(panel.KeyWindow(nKey)); }, true},
        {"KBN_SELECT", [](CTestPanel& panel, int nKey) { panel.Select(nKey); }, false},
    };
    InPanel([&] {
        for (const Way& way : ways) {
            for (int nKey = 1; nKey <= 6; ++nKey) {
                SCOPED_TRACE(std::string(way.pszName) + " on key " + std::to_string(nKey));
                // Start from another key, with the focus away from the keys.
                const int nOther = nKey % 6 + 1;
                m_panel.Select(nOther);
                ::SetFocus(m_panel.Item(IDC_PANEL_SETTINGS));
                way.select(m_panel, nKey);
                EXPECT_EQ(nKey, m_panel.CurrentKey());
                EXPECT_EQ(nKey % 2 == 1, m_panel.IsEnabled(IDC_PANEL_DETAIL));
                EXPECT_EQ(nKey % 2 == 1, m_panel.IsEnabled(IDC_PANEL_CLEAR));
                EXPECT_EQ(way.bTakesFocus ? KEY_FILL_FOCUSED : KEY_FILL_SELECTED,
                          FaceFill(m_panel.KeyWindow(nKey)));
                EXPECT_EQ(KEY_FILL_UNSELECTED, FaceFill(m_panel.KeyWindow(nOther)));
            }
        }
    });
}

TEST_F(KeyPanel, RowsTakeLegendAndIconFromTheKeySettingsFile) {
    // Key 2 has no legend and key 3 no icon path; key 1's path gives an icon; key 4's values are
    // longer than the panel reads.
    const std::string strLong(600, 'L');
    const std::string strMail = m_library.MakeIcon("mail.ico", RGB(255, 0, 0));
    m_library.WriteKeyFile({{1, "Mail"}, {3, "Web"}, {4, strLong}},
                           {{1, strMail}, {2, "keyicon2"}, {4, "C:\\" + strLong}});
    auto shownIcon = [this](int nKey) { return ShownIcon(m_panel, IDC_KEY_ICON_FIRST + nKey - 1); };
    InPanel([&] {
        EXPECT_EQ("Mail", WindowText(m_panel.Item(IDC_KEY_LEGEND_FIRST)));
        HWND hEmptyLegend = m_panel.Item(IDC_KEY_LEGEND_FIRST + 1);
        EXPECT_EQ(0, GetWindowTextLengthA(hEmptyLegend));
        EXPECT_TRUE(::IsWindowVisible(hEmptyLegend));
        EXPECT_EQ("S2: not assigned", WindowText(m_panel.KeyWindow(2))) << "a name all the same";

        ASSERT_NE(nullptr, shownIcon(1));
        EXPECT_NE(BuiltInKeyIcon(1), shownIcon(1));
        EXPECT_EQ(BuiltInKeyIcon(2), shownIcon(2)); // no icon for the path
        EXPECT_EQ(BuiltInKeyIcon(3), shownIcon(3)); // no path at all
        EXPECT_EQ(MAX_PATH - 1, GetWindowTextLengthA(m_panel.Item(IDC_KEY_LEGEND_FIRST + 3)));
        EXPECT_EQ(BuiltInKeyIcon(4), shownIcon(4));
        EXPECT_EQ(LoadIconA(m_hLocale, MAKEINTRESOURCEA(IDI_PANEL)),
                  reinterpret_cast<HICON>(m_panel.SendMessage(WM_GETICON, ICON_BIG)));

        // The dialogs ask the panel for a key's icon path, for keys 1 to 6 only.
        for (auto [nKey, strPath] :
             {std::pair<WPARAM, std::string>{0, "-"}, {1, strMail}, {6, ""}, {7, "-"}}) {
            char szPath[MAX_PATH] = "-";
            EXPECT_EQ(strPath != "-", m_panel.SendMessage(WM_GET_KEY_ICON_PATH, nKey,
                                                          reinterpret_cast<LPARAM>(szPath)));
            EXPECT_EQ(strPath, szPath) << "key " << nKey;
        }
        EXPECT_EQ(FALSE, m_panel.SendMessage(WM_GET_KEY_ICON_PATH, 1, 0));
    });
}

// With four keys, 1 and 4 are the edges of what can be selected, by the key buttons' request or
// by a click; key 5's button is there but not wired.
TEST_F(KeyPanel, SelectionOfAKeyThatIsNotThereIsIgnored) {
    m_library.SetKeyCount(4);
    m_library.Assign(2, "Mail", "Opens mail", "C:\\mail.exe");
    InPanel([&] {
        for (auto [nSelected, nCurrent] :
             {std::pair{2, 2}, {0, 2}, {-1, 2}, {5, 2}, {4, 4}, {1, 1}, {2, 2}}) {
            m_panel.Select(nSelected);
            EXPECT_EQ(nCurrent, m_panel.CurrentKey()) << "after KBN_SELECT " << nSelected;
        }
        m_panel.Click(IDC_KEY_BUTTON_FIRST + 4);
        EXPECT_EQ(2, m_panel.CurrentKey());
        EXPECT_TRUE(m_panel.IsEnabled(IDC_PANEL_DETAIL));
        m_panel.Click(IDC_KEY_BUTTON_FIRST + 3);
        EXPECT_EQ(4, m_panel.CurrentKey());
    });
}

TEST_F(KeyPanel, EnterOnAnyKeyMovesTheFocusOnAndKeepsThePanelOpen) {
    std::vector<ScriptStep> steps;
    for (int nKey = 1; nKey <= 6; ++nKey) {
        steps.push_back(Do([this, nKey] {
            ::SetFocus(m_panel.KeyWindow(nKey));
            PostMessageA(m_panel.KeyWindow(nKey), WM_KEYDOWN, VK_RETURN, 0x001C0001);
        }));
        steps.push_back(Do([this, nKey] {
            SCOPED_TRACE("Enter on key " + std::to_string(nKey));
            EXPECT_TRUE(m_panel.IsWindowVisible());
            EXPECT_EQ(GetNextDlgTabItem(m_panel, m_panel.KeyWindow(nKey), FALSE), GetFocus());
            EXPECT_EQ(nKey < 6 ? nKey + 1 : 6, m_panel.CurrentKey());
            EXPECT_EQ(nullptr, FindShownDialog(m_panel));
        }));
    }
    EXPECT_EQ(IDOK, RunPanel(m_panel, std::move(steps)));
}

// A key's name for screen readers, its window text, says what its face shows.
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
                           EXPECT_FALSE(m_panel.IsEnabled(IDC_PANEL_DETAIL));
                           EXPECT_EQ("Legend 1: not assigned", WindowText(m_panel.KeyWindow(1)));
                           // Someone else assigns keys and tells the panel.
                           m_library.Assign(1, "Mail", "Opens mail", "C:\\mail.exe");
                           m_library.Assign(2, "Notes", "", "C:\\notes.txt");
                           nBefore = m_library.m_calls.size();
                           m_panel.SendMessage(WM_PANEL_REFRESH);
                       }),
                       everyKeyReadAgain, Do([&] {
                           EXPECT_TRUE(m_panel.IsEnabled(IDC_PANEL_DETAIL));
                           EXPECT_TRUE(m_panel.IsEnabled(IDC_PANEL_CLEAR));
                           EXPECT_EQ("Legend 1: Mail, Opens mail",
                                     WindowText(m_panel.KeyWindow(1)));
                           EXPECT_EQ("Legend 2: Notes", WindowText(m_panel.KeyWindow(2)));
                       })});
}

TEST_F(KeyPanel, RegistersItsWindowAsTheServiceClient) {
    HWND hPanel = nullptr;
    InPanel([&] { hPanel = m_panel.m_hWnd; });
    EXPECT_TRUE(m_library.Service()->Matches(
        {{WM_SERVICE_SET_CLIENT, reinterpret_cast<WPARAM>(hPanel), 0}}));
    EXPECT_EQ(1, m_library.m_nServerAsks);
}

// Waits for the service for 2.5 seconds by design.
TEST_F(KeyPanel, WithoutTheServiceThereIsAMessageAndNoPanel) {
    m_library.StopService();
    std::string strMessage;
    DWORD nStart = GetTickCount();
    EXPECT_EQ(-1, RunModal(m_panel, {AnswerMessageBox(&strMessage)}));
    EXPECT_LE(2400u, GetTickCount() - nStart);
    EXPECT_EQ(LocaleString(IDS_SERVICE_MISSING), strMessage);
    EXPECT_EQ(6, m_library.m_nServerAsks);
    EXPECT_EQ(0, m_library.m_nRegistrations);
}

TEST_F(KeyPanel, RefusedRegistrationEndsThePanelWithoutAMessage) {
    m_library.m_bRegistrationRefused = true;
    // A message box would hold DoModal until the script gives up.
    EXPECT_EQ(-1, RunModal(m_panel, {}));
    EXPECT_EQ(1, m_library.m_nRegistrations);
    EXPECT_EQ(0, m_library.ReadsOf(1));
}

} // namespace
