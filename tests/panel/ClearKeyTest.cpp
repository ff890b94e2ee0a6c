// Clearing the current key: the confirmation dialog and what the panel does with its answer.
#include "PanelHarness.h"

#include "../common/Icons.h"
#include "../common/LocaleLibrary.h"

#include "../../keybutton/KeyIconDlg.h"

#include <algorithm>

namespace {

class ClearKey : public PanelTest {
protected:
    // Asks to clear the current key, as the Clear button does.
    ScriptStep PressClear() {
        return Do([this] { m_panel.PostClick(IDC_PANEL_CLEAR); });
    }
    // Waits for the confirmation that the panel owns and keeps it in m_hConfirm.
    ScriptStep ConfirmationShown() { return DialogShown(m_panel, &m_hConfirm); }
    ScriptStep ConfirmationGone() { return DialogGone(&m_hConfirm); }
    ScriptStep Answer(int nButton) {
        return Do([this, nButton] { PressButton(m_hConfirm, nButton); });
    }
    HICON ShownKeyIcon() const { return ShownIcon(m_hConfirm, IDC_KEYICON_PICTURE); }

    HWND m_hConfirm = nullptr;
};

// The dialog shows the warning and the key's icon that the library made, which goes with it.
TEST_F(ClearKey, EnterAtOnceAnswersCancelAndKeepsTheKey) {
    m_library.WriteKeyFile({}, {{3, m_library.MakeIcon("key3.ico", RGB(0, 128, 0))}});
    m_library.Assign(3, "Mail", "Opens mail", "C:\\mail.exe");
    HICON hShown = nullptr;
    RunPanel(m_panel, {Do([&] { ::SetFocus(m_panel.KeyWindow(3)); }), PressClear(),
                       ConfirmationShown(), Do([&] {
                           EXPECT_EQ(GetDlgItem(m_hConfirm, IDCANCEL), GetFocus());
                           EXPECT_EQ(LoadIconA(nullptr, IDI_WARNING),
                                     ShownIcon(m_hConfirm, IDC_KEYICON_WARNING));
                           hShown = ShownKeyIcon();
                           const std::vector<HICON>& made = m_library.m_icons;
                           EXPECT_NE(made.end(), std::find(made.begin(), made.end(), hShown));
                           PostMessageA(GetFocus(), WM_KEYDOWN, VK_RETURN, 0x001C0001);
                       }),
                       ConfirmationGone(), Do([&] {
                           EXPECT_FALSE(IconExists(hShown));
                           EXPECT_EQ(0, m_library.Stores());
                           EXPECT_TRUE(m_library.IsAssigned(3));
                           EXPECT_TRUE(m_panel.IsEnabled(IDC_PANEL_CLEAR));
                       })});
}

TEST_F(ClearKey, DialogWithoutKeyNumberEndsAtOnceWithCancel) {
    CKeyIconDlg dialog;
    EXPECT_EQ(IDCANCEL, RunModal(dialog, {}));
}

// Every key, assigned (odd) or not (even): the empty record goes to the key that was current.
TEST_F(ClearKey, ConfirmingStoresAnEmptyRecordEvenForAKeyWithoutAssignment) {
    std::vector<ScriptStep> steps;
    for (int nKey = 1; nKey <= 6; ++nKey) {
        if (nKey % 2) {
            m_library.Assign(nKey, "Mail", "Opens mail", "C:\\mail.exe");
        }
        steps.push_back(
            Do([this, nKey] { SendMessageA(m_panel.KeyWindow(nKey), BM_CLICK, 0, 0); }));
        for (ScriptStep step :
             {PressClear(), ConfirmationShown(), Answer(IDOK), ConfirmationGone()}) {
            steps.push_back(step);
        }
        steps.push_back(Do([this, nKey] {
            SCOPED_TRACE("key " + std::to_string(nKey));
            ASSERT_EQ(nKey, m_library.Stores());
            EXPECT_EQ(nKey, m_library.m_calls[m_library.LastStore()].nKey);
            EXPECT_FALSE(m_library.IsAssigned(nKey));
            EXPECT_FALSE(m_panel.IsEnabled(IDC_PANEL_DETAIL));
            EXPECT_EQ("Legend " + std::to_string(nKey) + ": not assigned",
                      WindowText(m_panel.KeyWindow(nKey)));
        }));
    }
    RunPanel(m_panel, std::move(steps));
}

// It shows that key's built-in icon, since the library makes none of its icon path.
TEST_F(ClearKey, TheKeyAskedAboutIsTheKeyCleared) {
    m_library.Assign(1, "Mail", "Opens mail", "C:\\mail.exe");
    m_library.Assign(2, "Notes", "Opens notes", "C:\\notes.txt");
    // Key 2 becomes current while the focus stays on key 1; when the confirmation closes, the
    // focus goes back to key 1, which makes key 1 current again.
    RunPanel(m_panel, {Do([&] { ::SetFocus(m_panel.KeyWindow(1)); }),
                       Do([&] { m_panel.Select(2); }), PressClear(), ConfirmationShown(),
                       Do([&] { EXPECT_EQ(BuiltInKeyIcon(2), ShownKeyIcon()); }), Answer(IDOK),
                       ConfirmationGone(), Do([&] {
                           EXPECT_FALSE(m_library.IsAssigned(2));
                           EXPECT_TRUE(m_library.IsAssigned(1));
                       })});
}

// The panel repaints the key when the library reports that the record was stored; a clear that
// was not stored is told with the system's reason, and the key shows the assignment it keeps. The
// clear command is sent so that what happens inside it can be told apart from later repaints.
TEST_F(ClearKey, AStoredClearRepaintsTheKeyAndOneNotStoredIsTold) {
    for (BOOL bStoreSucceeds : {TRUE, FALSE}) {
        SCOPED_TRACE(bStoreSucceeds ? "stored" : "not stored");
        m_library.m_bStoresFail = !bStoreSucceeds;
        m_library.Assign(1, "Mail", "Opens mail", "C:\\mail.exe");
        CTestPanel panel;
        bool bCleared = false;
        std::string strTold;
        // These run inside the confirmation's own loop, then the message box's, while the command
        // waits.
        std::vector<ScriptStep> steps = {
            Do([&] {
                panel.Click(IDC_PANEL_CLEAR);
                ASSERT_EQ(1, m_library.Stores());
                // Not stored, the message box over the panel brings repaints of its own.
                EXPECT_LE(1, m_library.ReadsOf(1, m_library.LastStore() + 1));
                EXPECT_EQ(!bStoreSucceeds, m_library.IsAssigned(1));
                EXPECT_EQ(bStoreSucceeds ? "Legend 1: not assigned" : "Legend 1: Mail, Opens mail",
                          WindowText(panel.KeyWindow(1)));
                bCleared = true;
            }),
            DialogShown(panel, &m_hConfirm), Answer(IDOK)};
        if (!bStoreSucceeds) {
            steps.push_back(AnswerMessageBox(&strTold));
        }
        steps.push_back([&] { return bCleared; });
        RunPanel(panel, std::move(steps));
        EXPECT_EQ(bStoreSucceeds ? "" : StoreFailureText(ERROR_SHARING_VIOLATION), strTold);
        m_library.m_calls.clear();
    }
}

} // namespace
