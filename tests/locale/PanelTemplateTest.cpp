// The dialog templates of the locale library: the key panel's pixel geometry that the module's
// layout code depends on, the kinds of its controls, and the clear confirmation. (The panel as
// the module lays it out for each key count is checked with the real panel.)
#include "LocaleLibrary.h"
#include "resource.h"

#include "../common/DialogGeometry.h"
#include "../common/Process.h"
#include "../common/ShownDialogs.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <commctrl.h>
#include <string>
#include <vector>

namespace {

class DialogTemplate : public LocaleLibraryTest {
protected:
    void TearDown() override { DestroyWindow(m_hDialog); }
    // The one created before goes.
    HWND Create(int id) {
        DestroyWindow(m_hDialog);
        return m_hDialog = CreateQuietDialog(m_hLibrary, id);
    }
    HWND m_hDialog = nullptr;
};

bool IsVisibleStyle(HWND window) {
    return GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE;
}

void ExpectNear(int actual, int expected, const char* what) {
    EXPECT_LE(std::abs(actual - expected), 1) << what << ": " << actual << " px, not " << expected;
}

// The module shortens the panel for fewer keys from fixed pixel positions at 96 dpi, so the
// six-key template must put its controls on those same pixels.
TEST_F(DialogTemplate, KeyPanelMatchesTheModulesPixelLayoutAt96Dpi) {
    if (ScreenDpi() != 96)
        GTEST_SKIP() << "the pixel layout is defined at 96 dpi";
    HWND dialog = Create(IDD_KEYPANEL);
    ASSERT_NE(dialog, nullptr);
    RECT window;
    GetWindowRect(dialog, &window);
    ExpectNear(window.bottom - window.top, 584, "window height");
    RECT rows = ChildRect(dialog, IDC_PANEL_ROWS);
    ExpectNear(rows.top, 12, "top of the key rows' group");
    ExpectNear(rows.bottom - rows.top, 491, "height of the key rows' group");
    const std::pair<int, int> buttonTops[] = {{IDC_PANEL_SETTINGS, 217},
                                              {IDC_PANEL_DETAIL, 287},
                                              {IDC_PANEL_CLEAR, 322},
                                              {IDC_PANEL_CLOSE, 514},
                                              {ID_HELP, 514}};
    for (auto [id, top] : buttonTops)
        ExpectNear(ChildRect(dialog, id).top, top, WindowText(GetDlgItem(dialog, id)).c_str());

    for (int first : {IDC_KEY_BUTTON_FIRST, IDC_KEY_ICON_FIRST, IDC_KEY_LEGEND_FIRST}) {
        for (int key = 2; key <= 6; ++key) {
            int top = ChildRect(dialog, first + key - 1).top;
            ExpectNear(top - ChildRect(dialog, first + key - 2).top, 67, "row pitch");
            ExpectNear(top - ChildRect(dialog, first).top, 67 * (key - 1), "row position");
        }
    }
    for (int key = 1; key <= 6; ++key) {
        RECT button = ChildRect(dialog, IDC_KEY_BUTTON_FIRST + key - 1);
        // The face puts a 32 px icon at (15, 16), text from x 60 and up to two centred lines
        // of the unassigned text from y 29; rows must not touch.
        EXPECT_GE(button.right - button.left, 250) << key;
        EXPECT_GE(button.bottom - button.top, 29 + 2 * 13) << key;
        EXPECT_LT(button.bottom - button.top, 67) << key;
    }
}

// The key buttons are painted by the module alone; legends appear only for keys that exist. A
// drop goes to the topmost control under the pointer (Wine picks it by child-window order, not by
// hit test), so nothing that encloses the rows, such as their frame, may lie above the keys.
TEST_F(DialogTemplate, KeyPanelControlsHaveTheKindsTheModuleExpectsAndKeysTakeDrops) {
    HWND dialog = Create(IDD_KEYPANEL);
    ASSERT_NE(dialog, nullptr);
    char className[32];
    for (int key = 1; key <= 6; ++key) {
        HWND button = GetDlgItem(dialog, IDC_KEY_BUTTON_FIRST + key - 1);
        ASSERT_NE(button, nullptr) << key;
        GetClassNameA(button, className, sizeof className);
        EXPECT_STREQ(className, "Button");
        LONG style = GetWindowLongA(button, GWL_STYLE);
        EXPECT_EQ(style & BS_TYPEMASK, BS_OWNERDRAW) << key;
        EXPECT_TRUE(style & WS_TABSTOP) << key;
        RECT rc = ChildRect(dialog, button);
        POINT centre = {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
        EXPECT_EQ(ChildWindowFromPointEx(dialog, centre, CWP_SKIPDISABLED | CWP_SKIPINVISIBLE),
                  button)
            << key;
        HWND icon = GetDlgItem(dialog, IDC_KEY_ICON_FIRST + key - 1);
        ASSERT_NE(icon, nullptr) << key;
        EXPECT_EQ(GetWindowLongA(icon, GWL_STYLE) & SS_TYPEMASK, SS_ICON) << key;
        HWND legend = GetDlgItem(dialog, IDC_KEY_LEGEND_FIRST + key - 1);
        ASSERT_NE(legend, nullptr) << key;
        GetClassNameA(legend, className, sizeof className);
        EXPECT_STREQ(className, "Static");
        EXPECT_FALSE(IsVisibleStyle(legend)) << key;
    }
    for (int id : {IDC_PANEL_SETTINGS, IDC_PANEL_DETAIL, IDC_PANEL_CLEAR, IDC_PANEL_CLOSE, ID_HELP,
                   IDC_PANEL_ROWS}) {
        HWND control = GetDlgItem(dialog, id);
        ASSERT_NE(control, nullptr) << id;
        EXPECT_TRUE(IsVisibleStyle(control)) << id;
    }
}

// Every control of the settings, detail and clear dialogs is reached with Tab in reading order, no
// two captions share a mnemonic, and each dialog fits a 1280 x 1024 screen at 144 dpi and stays
// tidy once it shows the key's icon (and the settings dialog the categories that the key
// settings file of the library's language gives the first key). The settings tree shows about 15
// items; the detail dialog's up-down control counts in the number edit; the clear confirmation asks
// beside a warning icon, with Cancel as its default.
TEST_F(DialogTemplate, KeyDialogsReadInTabOrderAndFit) {
    const struct {
        int nTemplate, nKeyIcon, nFrame, nDefault;
        std::vector<int> order;
    } dialogs[] = {
        {IDD_SETTINGS,
         IDC_SETTINGS_KEY_ICON,
         IDC_SETTINGS_CATEGORIES,
         IDOK,
         {IDC_SETTINGS_CATEGORY_FIRST, IDC_SETTINGS_CATEGORY_FIRST + 1,
          IDC_SETTINGS_CATEGORY_FIRST + 2, IDC_SETTINGS_CATEGORY_FIRST + 3, IDC_SETTINGS_TREE,
          IDC_SETTINGS_PATH, IDOK, IDCANCEL, ID_HELP}},
        {IDD_DETAIL,
         IDC_DETAIL_KEY_ICON,
         IDC_DETAIL_OPTION_GROUP,
         IDOK,
         {IDC_DETAIL_TARGET, IDC_DETAIL_TITLE, IDC_DETAIL_COMMENT, IDC_DETAIL_WORKDIR,
          IDC_DETAIL_BROWSE, IDC_DETAIL_PARAMETERS, IDC_DETAIL_OPTION_FLAG,
          IDC_DETAIL_OPTION_NUMBER, IDOK, IDCANCEL, ID_HELP}},
        {IDD_KEYICON, IDC_KEYICON_PICTURE, 0, IDCANCEL, {IDOK, IDCANCEL}},
    };
    for (const auto& test : dialogs) {
        SCOPED_TRACE(test.nTemplate);
        HWND dialog = Create(test.nTemplate);
        ASSERT_NE(dialog, nullptr);
        for (int nCategory = 0; test.nTemplate == IDD_SETTINGS && nCategory < 4; ++nCategory) {
            char szCaption[512] = "";
            GetPrivateProfileStringA(("SKey1Button" + std::to_string(nCategory)).c_str(), "Title",
                                     "", szCaption, sizeof szCaption,
                                     StagedPath(LocaleLibraryName() == "RuRoredoJPN.DLL"
                                                    ? "CvnSKeyJPN.ini"
                                                    : "CvnSKey.ini")
                                         .c_str());
            ASSERT_TRUE(szCaption[0]);
            SetDlgItemTextA(dialog, IDC_SETTINGS_CATEGORY_FIRST + nCategory, szCaption);
        }
        EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, test.nKeyIcon), GWL_STYLE) & SS_TYPEMASK,
                  SS_ICON);
        EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), test.nDefault);
        HWND control = GetDlgItem(dialog, test.order[0]);
        for (int id : test.order) {
            EXPECT_EQ(id, GetDlgCtrlID(control));
            control = GetNextDlgTabItem(dialog, control, FALSE);
        }
        std::string mnemonics;
        for (HWND child = GetWindow(dialog, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            std::string text = WindowText(child);
            size_t amp = text.find('&');
            if (amp != std::string::npos && amp + 1 < text.size()) {
                char key = static_cast<char>(toupper(static_cast<unsigned char>(text[amp + 1])));
                EXPECT_EQ(mnemonics.find(key), std::string::npos) << text;
                mnemonics += key;
            }
        }
        RECT rcDialog;
        GetWindowRect(dialog, &rcDialog);
        EXPECT_LE((rcDialog.bottom - rcDialog.top) * 144 / ScreenDpi(), 1024 - 48);
        SendDlgItemMessageA(
            dialog, test.nKeyIcon, STM_SETICON,
            reinterpret_cast<WPARAM>(LoadIconA(m_hLibrary, MAKEINTRESOURCEA(IDI_KEY_BASE + 3))), 0);
        if (test.nTemplate == IDD_SETTINGS) {
            HWND tree = GetDlgItem(dialog, IDC_SETTINGS_TREE);
            RECT rcTree;
            GetClientRect(tree, &rcTree);
            EXPECT_GE(rcTree.bottom / static_cast<int>(SendMessageA(tree, TVM_GETITEMHEIGHT, 0, 0)),
                      15);
        } else if (test.nTemplate == IDD_DETAIL) {
            EXPECT_EQ(GetDlgItem(dialog, IDC_DETAIL_OPTION_NUMBER),
                      reinterpret_cast<HWND>(
                          SendDlgItemMessageA(dialog, IDC_DETAIL_OPTION_SPIN, UDM_GETBUDDY, 0, 0)));
        } else {
            HWND warning = GetDlgItem(dialog, IDC_KEYICON_WARNING);
            EXPECT_EQ(GetWindowLongA(warning, GWL_STYLE) & SS_TYPEMASK, SS_ICON);
            SendMessageA(warning, STM_SETICON,
                         reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_WARNING)), 0);
            const std::string question = WindowText(GetDlgItem(dialog, IDC_STATIC));
            EXPECT_NE(question.find('?'), std::string::npos) << question;
        }
        ExpectTidy(dialog, test.nFrame);
    }
}

// The screen resolution is read once per process: the templates again in new processes at 120
// and 144 dots per inch.
TEST(TemplateResolution, DialogsFitAt120And144Dpi) {
    for (int nDpi : {120, 144}) {
        EXPECT_EQ(0, RunAtResolution(nDpi, "DialogTemplate.*")) << "at " << nDpi << " dpi";
    }
}

} // namespace
