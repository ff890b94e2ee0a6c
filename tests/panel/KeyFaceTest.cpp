// The key button: its face to the pixel in every state and at every screen resolution, what it
// tells the panel and when, and the drawing objects of its paints.
#include "GdiTracker.h"
#include "PanelHarness.h"
#include "PanelImage.h"

#include "../common/Process.h"

#include <algorithm>

namespace {

constexpr COLORREF kBackground = RGB(255, 0, 255); // shows where the face paints nothing
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Font height, top of the comment line, top of the unassigned hint, the icon's place and the
// text's left edge, by resolution: the face keeps its proportions.
struct FaceMetrics {
    int nDpi;
    int nFontHeight;
    int nCommentTop;
    int nHintTop;
    POINT ptIcon;
    int nTextLeft;
};
constexpr FaceMetrics kFaceMetrics[] = {{96, 13, 36, 29, {15, 16}, 60},
                                        {120, 16, 41, 32, {18, 20}, 75},
                                        {144, 19, 46, 35, {22, 24}, 90}};

class FaceFixture : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        for (const FaceMetrics& metrics : kFaceMetrics) {
            if (metrics.nDpi == ScreenDpi()) {
                m_metrics = metrics;
            }
        }
        ASSERT_NE(0, m_metrics.nDpi) << "no figures for " << ScreenDpi() << " dpi";
    }

    CImage Face(int nKey) { return PrintClient(m_panel.KeyWindow(nKey), kBackground); }

    // The key's text as it should look on a face of this size and fill, inside the frames (from
    // nLeft on, to leave out an icon).
    void ExpectText(const CImage& face, COLORREF crFill, const std::vector<TextRun>& runs,
                    int nLeft = 6) {
        CImage expected =
            DrawFaceText(face.nWidth, face.nHeight, crFill, m_metrics.nFontHeight, runs);
        RECT rcInside = {nLeft, 6, face.nWidth - 6, face.nHeight - 6};
        EXPECT_EQ(0, CountDifferences(face, expected, rcInside));
    }

    // Right of the icon, where only the text is drawn.
    int RightOfIcon() const { return m_metrics.ptIcon.x + GetSystemMetrics(SM_CXICON); }

    FaceMetrics m_metrics = {};
};

// Runs at 96 dpi here and at 120 and 144 in the resolution case of the panel tests.
using ScaledFace = FaceFixture;

void ExpectOutline(const CImage& face) {
    const int w = face.nWidth;
    const int h = face.nHeight;
    EXPECT_EQ(kBlack, face.At(0, h / 2));
    EXPECT_EQ(kBlack, face.At(w - 1, h / 2));
    EXPECT_EQ(kBlack, face.At(w / 2, 0));
    EXPECT_EQ(kBlack, face.At(w / 2, h - 1));
    // Rounded corners: the very corner pixels lie outside the outline.
    EXPECT_EQ(kBackground, face.At(0, 0));
    EXPECT_EQ(kBackground, face.At(w - 1, h - 1));
}

// The 3-pixel inner frame centred on the rectangle inset by 2, in the given colour.
void ExpectInnerFrame(const CImage& face, COLORREF crFrame) {
    const int w = face.nWidth;
    const int h = face.nHeight;
    for (int nOffset : {1, 2, 3}) {
        EXPECT_EQ(crFrame, face.At(nOffset, h / 2)) << nOffset;
        EXPECT_EQ(crFrame, face.At(w - 1 - nOffset, h / 2)) << nOffset;
        EXPECT_EQ(crFrame, face.At(w / 2, nOffset)) << nOffset;
        EXPECT_EQ(crFrame, face.At(w / 2, h - 1 - nOffset)) << nOffset;
    }
}

TEST_F(ScaledFace, FillAndFramesShowSelectionAndFocus) {
    m_library.Assign(1, "Mail", "Opens mail", "C:\\mail.exe");
    RunPanel(m_panel, {Do([&] { ::SetFocus(m_panel.KeyWindow(1)); }), Do([&] {
                           CImage focused = Face(1);
                           EXPECT_EQ(KEY_FILL_FOCUSED, focused.At(focused.nWidth - 6, 20));
                           ExpectOutline(focused);
                           ExpectInnerFrame(focused, KEY_FRAME_FOCUSED);
                           EXPECT_EQ(KEY_FILL_FOCUSED, focused.At(4, focused.nHeight / 2));

                           CImage unselected = Face(2);
                           EXPECT_EQ(KEY_FILL_UNSELECTED, unselected.At(unselected.nWidth - 6, 20));
                           EXPECT_EQ(KEY_FILL_UNSELECTED, unselected.At(2, unselected.nHeight / 2));
                           ExpectOutline(unselected);

                           ::SetFocus(m_panel.Item(IDC_PANEL_SETTINGS));
                           CImage selected = Face(1);
                           EXPECT_EQ(KEY_FILL_SELECTED, selected.At(selected.nWidth - 6, 20));
                           ExpectOutline(selected);
                           ExpectInnerFrame(selected, KEY_FRAME_SELECTED);
                       })});
}

TEST_F(ScaledFace, TitleAndCommentStartAtTheirOriginsClearOfTheIcon) {
    const std::string strLong = "Opens the mail program of this machine, which has a rather long "
                                "comment that does not fit";
    m_library.Assign(1, "Calculator", "Starts calc.exe",
                     m_library.MakeIcon("calc.ico", kBlue).c_str());
    m_library.Assign(2, "&Mail && news", strLong.c_str(), "C:\\mail.exe");
    InPanel([&] {
        const int nComment = m_metrics.nCommentTop;
        const int x = m_metrics.nTextLeft;
        ASSERT_LT(RightOfIcon(), x) << "the icon touches the text";
        CImage current = Face(1);
        const int w = current.nWidth;
        const int h = current.nHeight;
        // The current key's text ends 12 pixels from the right, inside its frame.
        ExpectText(current, KEY_FILL_FOCUSED,
                   {{"Calculator", {x, 16, w - 12, h - 2}, DT_END_ELLIPSIS},
                    {"Starts calc.exe", {x, nComment, w - 12, h - 2}, DT_END_ELLIPSIS}},
                   RightOfIcon());
        // Ampersands underline; a comment too long for the face ends in an ellipsis.
        ExpectText(Face(2), KEY_FILL_UNSELECTED,
                   {{"&Mail && news", {x, 16, w - 10, h}, DT_END_ELLIPSIS},
                    {strLong, {x, nComment, w - 10, h}, DT_END_ELLIPSIS}},
                   RightOfIcon());
    });
}

// The hint is a format without arguments: doubled percent signs show once.
TEST_F(ScaledFace, KeyWithoutAssignmentShowsTheHintCentred) {
    InPanel([&] {
        const std::string strHint = LocaleString(IDS_KEY_UNASSIGNED);
        const int nTop = m_metrics.nHintTop;
        CImage current = Face(1);
        const int w = current.nWidth;
        const int h = current.nHeight;
        ExpectText(current, KEY_FILL_FOCUSED,
                   {{strHint, {0, nTop, w - 12, h - 2}, DT_END_ELLIPSIS | DT_CENTER}});
        ExpectText(Face(2), KEY_FILL_UNSELECTED,
                   {{strHint, {0, nTop, w - 10, h}, DT_END_ELLIPSIS | DT_CENTER}});
        // This program's own text for the hint: "Free: 100%% %s%d".
        AfxSetResourceHandle(GetModuleHandleA(nullptr));
        CImage face = Face(2);
        UseLocaleLibrary();
        ExpectText(face, KEY_FILL_UNSELECTED,
                   {{"Free: 100% %d", {0, nTop, w - 10, h}, DT_END_ELLIPSIS | DT_CENTER}});
    });
}

TEST_F(ScaledFace, IconOfIconSourceElseTargetIsDrawnAtItsPlace) {
    const int nIcon = GetSystemMetrics(SM_CXICON);
    const int x = m_metrics.ptIcon.x;
    const int y = m_metrics.ptIcon.y;
    const std::string strRed = m_library.MakeIcon("red.ico", kRed);
    const std::string strBlue = m_library.MakeIcon("blue.ico", kBlue);
    const std::string strMissing = m_library / "missing.ico";
    const struct {
        int nKey;
        std::string strIconSource, strTarget;
    } keys[] = {{2, strRed, strBlue},
                {3, strMissing, strBlue},
                {4, m_library / "none.ico", "C:\\nothing.exe"}};
    for (const auto& key : keys) {
        KeyAssignment record;
        record.Title = "Key";
        record.Target = key.strTarget.c_str();
        record.IconSource = key.strIconSource.c_str();
        m_library.Store(key.nKey, record);
    }
    // A key without assignment asks too, for the empty paths of a fresh record.
    m_library.m_strIconForEmptyPath = strRed;
    InPanel([&] {
        auto expectIcon = [=](const CImage& face, COLORREF crIcon) {
            EXPECT_EQ(crIcon, face.At(x, y));
            EXPECT_EQ(crIcon, face.At(x + nIcon - 1, y + nIcon - 1));
            EXPECT_EQ(KEY_FILL_UNSELECTED, face.At(x - 1, y));
            EXPECT_EQ(KEY_FILL_UNSELECTED, face.At(x, y - 1));
            EXPECT_EQ(KEY_FILL_UNSELECTED, face.At(x + nIcon, y + nIcon - 1));
        };
        expectIcon(Face(2), kRed);
        expectIcon(Face(3), kBlue);
        const std::vector<std::string> fallBack = {strMissing, strBlue};
        const auto& requests = m_library.m_iconRequests;
        EXPECT_NE(requests.end(),
                  std::search(requests.begin(), requests.end(), fallBack.begin(), fallBack.end()));
        EXPECT_EQ(KEY_FILL_UNSELECTED, Face(4).At(x + nIcon / 2, y + nIcon / 2));
        expectIcon(Face(5), kRed);
    });
}

using KeyFace = FaceFixture;

TEST_F(KeyFace, SetSelectedRepaintsAtOnceAndReturnsTheAssignmentState) {
    m_library.Assign(2, "Mail", "Opens mail", "C:\\mail.exe");
    InPanel([&] {
        size_t nCalls = m_library.m_calls.size();
        CMessageRecorder notifications = KeyNotifications(m_panel);
        EXPECT_TRUE(m_panel.Key(2).SetSelected(TRUE));
        EXPECT_EQ(1, m_library.ReadsOf(2, nCalls));
        EXPECT_TRUE(notifications.Matches({KeyNotification(KBN_ASSIGNED, 1)}));

        EXPECT_FALSE(m_panel.Key(3).SetSelected(TRUE));
        m_library.Assign(3, "Notes", "", "C:\\notes.txt");
        EXPECT_TRUE(m_panel.Key(3).SetSelected(TRUE)) << "read afresh";

        // Unmarking repaints too, and tells the panel nothing.
        notifications.Clear();
        nCalls = m_library.m_calls.size();
        EXPECT_TRUE(m_panel.Key(2).SetSelected(FALSE));
        EXPECT_EQ(1, m_library.ReadsOf(2, nCalls));
        EXPECT_TRUE(notifications.Matches({}));
        EXPECT_EQ(KEY_FILL_UNSELECTED, FaceFill(m_panel.KeyWindow(2)));
    });
}

TEST_F(KeyFace, OnlyTheCurrentKeyReportsAndOnlyArrivingFocusSelects) {
    m_library.Assign(2, "Mail", "Opens mail", "C:\\mail.exe");
    RunPanel(m_panel, {Do([&] { ::SetFocus(m_panel.KeyWindow(1)); }), Do([&] {
                           CMessageRecorder notifications = KeyNotifications(m_panel);
                           auto repaint = [&](int nKey) -> const CMessageRecorder& {
                               notifications.Clear();
                               ::RedrawWindow(m_panel.KeyWindow(nKey), nullptr, nullptr,
                                              RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                               return notifications;
                           };
                           EXPECT_TRUE(repaint(2).Matches({}));
                           EXPECT_TRUE(repaint(1).Matches({KeyNotification(KBN_ASSIGNED, 0)}));
                           m_library.Assign(1, "Calc", "", "C:\\calc.exe");
                           EXPECT_TRUE(repaint(1).Matches({KeyNotification(KBN_ASSIGNED, 1)}));

                           // Focus leaving a key says nothing; the key stays current.
                           notifications.Clear();
                           ::SetFocus(m_panel.Item(IDC_PANEL_SETTINGS));
                           EXPECT_TRUE(notifications.Matches({}));
                           EXPECT_EQ(1, m_panel.CurrentKey());
                           EXPECT_EQ(KEY_FILL_SELECTED, FaceFill(m_panel.KeyWindow(1)));

                           // Focus arriving asks for the key, and the answer repaints it.
                           notifications.Clear();
                           ::SetFocus(m_panel.KeyWindow(2));
                           EXPECT_TRUE(notifications.Matches(
                               {KeyNotification(KBN_SELECT, 2), KeyNotification(KBN_ASSIGNED, 1)}));
                       })});
}

// The shell's icon is asked for once per pair of paths, not at every paint; a key whose
// assignment names another target shows that target's icon at its next paint; nothing a paint
// draws with outlives it, and no icon the library made outlives the panel.
TEST_F(KeyFace, IconsAreMadeOncePerPathsAndNothingOutlivesThePanel) {
    KeyAssignment mail;
    mail.Title = "Mail";
    mail.Target = "C:\\mail.exe";
    mail.IconSource = m_library.MakeIcon("red.ico", kRed).c_str();
    m_library.Store(1, mail);
    m_library.Assign(2, "Calc", "", "C:\\calc.exe");
    CGdiTracker tracker;
    ASSERT_TRUE(tracker.Hooked());
    {
        CTestPanel panel;
        RunPanel(panel, {Do([&] {
                     const size_t nRequests = m_library.m_iconRequests.size();
                     const size_t nCreated = tracker.Created();
                     for (int nPaint = 0; nPaint < 200; ++nPaint) {
                         panel.Select(nPaint % 2 + 1);
                         panel.Key(3).SetSelected(FALSE);
                     }
                     EXPECT_EQ(nRequests, m_library.m_iconRequests.size());
                     EXPECT_LT(nCreated, tracker.Created()) << "the paints went unseen";
                     EXPECT_EQ(0u, tracker.Live().size()) << "a paint left something behind";

                     m_library.Assign(2, "Blue", "", m_library.MakeIcon("blue.ico", kBlue).c_str());
                     CImage face = PrintClient(panel.KeyWindow(2), kBackground);
                     EXPECT_EQ(kBlue, face.At(m_metrics.ptIcon.x, m_metrics.ptIcon.y));
                 })});
    }
    EXPECT_EQ(0u, tracker.Live().size());
    EXPECT_EQ(0u, m_library.LiveIcons()) << "an icon outlived the panel";
}

} // namespace
