// The detail dialog: the working-folder rules and the folder browser, the title and option rules
// while typing, what OK refuses, and the record and option it stores.
#include "SettingsHarness.h"

#include "../common/ShownDialogs.h"

#include "../../dialogs/DetailDlg.h"
#include "../../dialogs/WorkingFolder.h"

#include "AfxResource.h"
#include "AfxStrings.h"

#include <tuple>

namespace {

class DetailDialog : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        ASSERT_EQ(DRIVE_CDROM, GetDriveTypeA("Q:\\")) << "scripts/test.sh maps the test drives";
        // Wine's folder browser finds a folder by the shell's data about each folder on its path,
        // access time included, and a folder just made gets a new access time when it is first
        // listed: the folders are listed once before any browser looks. Not in the temporary
        // folder, where other programs come and go.
        m_made.Add("C:", {"vvdetail\\Tools\\edit.exe", "vvdetail\\Data\\"});
        for (LPCSTR pszFolder :
             {"C:\\vvdetail\\*", "C:\\vvdetail\\Tools\\*", "C:\\vvdetail\\Data\\*"}) {
            CFileFind().FindFile(pszFolder);
        }
        m_made.Add("R:", {"Work\\"});
        m_made.Add("N:", {"Work\\"});
        m_library.Assign(1, "Title", "Comment", kTarget);
    }

    static constexpr char kTarget[] = "C:\\vvdetail\\Tools\\edit.exe";
    CMadeEntries m_made;
    CDriven<CDetailDlg> m_dialog;
};

// A working folder is a folder on a local hard disk, or none; one trailing backslash is allowed.
// W: is no drive.
TEST_F(DetailDialog, AWorkingFolderMustBeOnALocalHardDisk) {
    const std::pair<UINT, std::vector<const char*>> rules[] = {
        {0, {"", "C:\\", "C:\\vvdetail\\Data\\"}},
        {IDS_WORKDIR_DRIVE, {"Q:\\", "R:\\Work", "N:\\Work\\"}},
        {IDS_WORKDIR_INVALID,
         {"C:\\vvdetail\\Data\\\\", "W:\\", "C:\\vvdetail\\missing", kTarget}}};
    for (const auto& [nProblem, folders] : rules) {
        for (const char* pszFolder : folders) {
            EXPECT_EQ(nProblem, WorkingFolderProblem(pszFolder)) << pszFolder;
        }
    }
}

// The browser opens at the typed folder, else at the target's folder; it will not take a folder
// on a CD drive.
TEST_F(DetailDialog, TheFolderBrowserStartsAtTheWorkingFolder) {
    const struct {
        std::string strTyped, strChosen; // empty chosen: OK refused
    } cases[] = {
        {"", "C:\\vvdetail\\Tools"},
        {" C:\\vvdetail\\Data ", "C:\\vvdetail\\Data"},
        {"Q:\\", ""},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.strTyped);
        HWND hBrowser = nullptr;
        RunKeyDialog(m_dialog, 1,
                     {Do([&] {
                          m_dialog.Type(IDC_DETAIL_WORKDIR, test.strTyped);
                          m_dialog.PostMessage(WM_COMMAND, IDC_DETAIL_BROWSE);
                      }),
                      DialogShown(m_dialog, &hBrowser), Do([&] {
                          bool bChoosable = !test.strChosen.empty();
                          EXPECT_EQ(bChoosable,
                                    ::IsWindowEnabled(GetDlgItem(hBrowser, IDOK)) != FALSE);
                          PressButton(hBrowser, bChoosable ? IDOK : IDCANCEL);
                      }),
                      DialogGone(&hBrowser), Do([&] {
                          EXPECT_EQ(test.strChosen.empty() ? test.strTyped : test.strChosen,
                                    m_dialog.Text(IDC_DETAIL_WORKDIR));
                      })});
    }
}

// OK needs a title that is more than blanks; 0 becomes 1 and 100 is refused until corrected, each
// with the range message.
TEST_F(DetailDialog, OkFollowsTheTitleAndTheNumberStaysInRange) {
    m_library.SetOption(1, 1, 5);
    std::string strZero, strHundred, strAtOk;
    std::vector<ScriptStep> steps = {
        Do([&] {
            for (auto [pszTitle, bOk] : {std::pair{"", false}, {"   ", false}, {"  x", true}}) {
                m_dialog.Type(IDC_DETAIL_TITLE, pszTitle);
                EXPECT_EQ(bOk, m_dialog.IsEnabled(IDOK)) << "\"" << pszTitle << "\"";
            }
            EXPECT_EQ(MAKELONG(99, 1),
                      SendMessageA(m_dialog.Item(IDC_DETAIL_OPTION_SPIN), UDM_GETRANGE, 0, 0));
            m_dialog.Type(IDC_DETAIL_OPTION_NUMBER, "0");
        }),
        AnswerMessageBox(&strZero),
        Do([&] {
            EXPECT_EQ("1", m_dialog.Text(IDC_DETAIL_OPTION_NUMBER));
            m_dialog.Type(IDC_DETAIL_OPTION_NUMBER, "100");
        }),
        AnswerMessageBox(&strHundred),
        Do([&] { m_dialog.PostMessage(WM_COMMAND, IDOK); }),
        AnswerMessageBox(&strAtOk),
        Do([&] {
            EXPECT_EQ(0, m_library.Stores());
            m_dialog.Type(IDC_DETAIL_OPTION_NUMBER, "12");
            PressButton(m_dialog, IDOK);
        })};
    EXPECT_EQ(IDOK, RunKeyDialog(m_dialog, 1, steps, true));
    CString strRange;
    AfxFormatString2(strRange, AFX_IDP_PARSE_INT_RANGE, "1", "99");
    for (const std::string& strMessage : {strZero, strHundred, strAtOk}) {
        EXPECT_EQ(std::string(strRange), strMessage);
    }
    EXPECT_EQ("  x", std::string(m_library.Record(1).Title));
    EXPECT_STREQ("", m_library.Record(1).WorkingFolder) << "none typed, none stored";
    EXPECT_EQ(std::make_pair(1, 12), m_library.Option(1));
}

// OK refuses a text longer than its field, naming the limit, and a working folder it may not
// take, saying why; the dialog stays open with the text as typed. Then each field takes as many
// characters as it holds, as typed but for the working folder's blanks, and the rest of the record
// stays as the library gave it, even a target too long to type.
TEST_F(DetailDialog, OkRefusesWhatItCannotStoreAndStoresTheFieldsAsTyped) {
    const std::string strTarget = "C:\\" + std::string(300, 't');
    KeyAssignment record = m_library.Record(1);
    record.Target = strTarget.c_str();
    record.IconSource = "icon.dll";
    record.nReserved = 7;
    record.Reserved1 = "r1";
    record.Reserved2 = "r2";
    m_library.Store(1, record);
    const struct {
        int nID;
        size_t nLimit;
        std::string strStart; // blanks fill up to the length
        CString KeyAssignment::*pSlot;
    } fields[] = {
        {IDC_DETAIL_TITLE, 64, " T", &KeyAssignment::Title},
        {IDC_DETAIL_COMMENT, 64, " C", &KeyAssignment::Comment},
        {IDC_DETAIL_PARAMETERS, 256, " -p", &KeyAssignment::Parameters},
        {IDC_DETAIL_WORKDIR, 256, " C:\\vvdetail\\Data\\", &KeyAssignment::WorkingFolder}};
    auto text = [](const auto& field, size_t nLength) {
        std::string strText = field.strStart;
        strText.resize(nLength, ' ');
        return strText;
    };
    std::vector<std::tuple<int, std::string, std::string>> refusals; // field, typed, message
    for (const auto& field : fields) {
        CString strMessage;
        AfxFormatString2(strMessage, AFX_IDP_PARSE_STRING_SIZE,
                         std::to_string(field.nLimit).c_str(), "");
        refusals.emplace_back(field.nID, text(field, field.nLimit + 1), std::string(strMessage));
    }
    refusals.emplace_back(IDC_DETAIL_WORKDIR, "Q:\\", LocaleString(IDS_WORKDIR_DRIVE));
    refusals.emplace_back(IDC_DETAIL_WORKDIR, "C:\\vvdetail\\Data\\\\",
                          LocaleString(IDS_WORKDIR_INVALID));
    std::string strShown;
    std::vector<ScriptStep> steps;
    for (const auto& [nID, strTyped, strMessage] : refusals) {
        steps.insert(steps.end(), {Do([&] {
                                       m_dialog.Type(nID, strTyped);
                                       m_dialog.PostMessage(WM_COMMAND, IDOK);
                                   }),
                                   AnswerMessageBox(&strShown), Do([&] {
                                       EXPECT_EQ(strMessage, strShown);
                                       EXPECT_EQ(strTyped, m_dialog.Text(nID));
                                       EXPECT_EQ(0, m_library.Stores());
                                       m_dialog.Type(nID, "");
                                   })});
    }
    steps.push_back(Do([&] {
        EXPECT_EQ(strTarget, m_dialog.Text(IDC_DETAIL_TARGET));
        for (const auto& field : fields) {
            m_dialog.Type(field.nID, text(field, field.nLimit));
        }
        PressButton(m_dialog, IDOK);
    }));
    EXPECT_EQ(IDOK, RunKeyDialog(m_dialog, 1, steps, true));
    const KeyAssignment stored = m_library.Record(1);
    for (const auto& field : fields) {
        EXPECT_EQ(field.nID == IDC_DETAIL_WORKDIR ? "C:\\vvdetail\\Data\\"
                                                  : text(field, field.nLimit),
                  std::string(stored.*field.pSlot));
    }
    for (auto [pSlot, pszValue] : {std::pair{&stored.Target, strTarget.c_str()},
                                   {&stored.IconSource, "icon.dll"},
                                   {&stored.Reserved1, "r1"},
                                   {&stored.Reserved2, "r2"}}) {
        EXPECT_EQ(std::string(pszValue), std::string(*pSlot));
    }
    EXPECT_EQ(7, stored.nReserved);
}

// The option is stored after the record; its group follows the check box, and a stored number
// outside 1 to 99 shows as 5.
TEST_F(DetailDialog, OkStoresTheOptionAfterTheRecord) {
    const struct {
        std::pair<int, int> stored;
        bool bClick;
        std::string strShown;
        std::pair<int, int> expected;
    } cases[] = {
        {{1, 7}, true, "7", {0, 7}}, // turned off, the number kept
        {{0, 150}, true, "5", {1, 5}},   {{1, 1}, false, "1", {1, 1}},
        {{1, 99}, false, "99", {1, 99}}, {{1, 0}, false, "5", {1, 5}},
        {{1, 100}, false, "5", {1, 5}},
    };
    for (const auto& test : cases) {
        m_library.SetOption(1, test.stored.first, test.stored.second);
        ScriptStep answer = Do([&] {
            EXPECT_EQ(test.strShown, m_dialog.Text(IDC_DETAIL_OPTION_NUMBER));
            if (test.bClick) {
                m_dialog.Click(IDC_DETAIL_OPTION_FLAG);
            }
            for (int nID : {IDC_DETAIL_OPTION_NUMBER, IDC_DETAIL_OPTION_SPIN,
                            IDC_DETAIL_OPTION_LABEL1, IDC_DETAIL_OPTION_LABEL2}) {
                EXPECT_EQ(test.expected.first != 0, m_dialog.IsEnabled(nID));
            }
            PressButton(m_dialog, IDOK);
        });
        EXPECT_EQ(IDOK, RunKeyDialog(m_dialog, 1, {answer}, true));
        EXPECT_EQ(test.expected, m_library.Option(1));
        EXPECT_LT(m_library.LastStore(), m_library.LastStore(LibraryCall::StoreOption))
            << "record first";
    }
}

// Fields that came longer than they may be typed (a drop's comment for a long file name) are kept
// as they came, and typing a hold time looks at that field alone. Not stored, OK tells why and the
// dialog stays with what was typed; OK again stores it, a working folder whose name the code page
// cannot hold by its short path.
TEST_F(DetailDialog, UntouchedLongFieldsAreKeptAndARecordNotStoredIsTold) {
    CScratchFolder work;
    ASSERT_TRUE(work.MakeWideEntry(L"作業\\"));
    const std::wstring strFolder = work.WidePath(L"作業");
    const std::string strTitle(65, 'T');
    const std::string strComment = "Opens " + std::string(60, 'c') + ".txt";
    m_library.Assign(1, strTitle.c_str(), strComment.c_str(), kTarget);
    std::string strMessage;
    std::vector<ScriptStep> steps = {Do([&] {
                                         // Another field's text, too long, is none of the number's
                                         // business.
                                         m_dialog.Type(IDC_DETAIL_PARAMETERS,
                                                       std::string(257, 'p'));
                                         m_dialog.Click(IDC_DETAIL_OPTION_FLAG);
                                         m_dialog.Type(IDC_DETAIL_OPTION_NUMBER, "12");
                                         EXPECT_EQ(std::vector<HWND>{m_dialog.m_hWnd},
                                                   ShownDialogsOfProcess(GetCurrentProcessId()))
                                             << "a message while typing the number";
                                         m_dialog.Type(IDC_DETAIL_PARAMETERS, "-p");
                                         m_dialog.Type(IDC_DETAIL_WORKDIR, strFolder);
                                         m_library.m_bStoresFail = true;
                                         m_dialog.PostMessage(WM_COMMAND, IDOK);
                                     }),
                                     AnswerMessageBox(&strMessage), Do([&] {
                                         EXPECT_EQ("12", m_dialog.Text(IDC_DETAIL_OPTION_NUMBER));
                                         EXPECT_EQ(strComment, m_dialog.Text(IDC_DETAIL_COMMENT));
                                         m_library.m_bStoresFail = false;
                                         PressButton(m_dialog, IDOK);
                                     })};
    EXPECT_EQ(IDOK, RunKeyDialog(m_dialog, 1, steps, true));
    EXPECT_EQ(StoreFailureText(ERROR_SHARING_VIOLATION), strMessage);
    EXPECT_EQ(strTitle, std::string(m_library.Record(1).Title));
    EXPECT_EQ(strComment, std::string(m_library.Record(1).Comment));
    EXPECT_EQ(ShortPath(strFolder), std::string(m_library.Record(1).WorkingFolder));
    EXPECT_EQ(std::make_pair(1, 12), m_library.Option(1));
}

TEST_F(DetailDialog, AKeyWithoutAssignmentEndsItAtOnce) {
    m_dialog.SetKeyNumber(4);
    EXPECT_EQ(IDCANCEL, RunModal(m_dialog, {}));
    EXPECT_EQ(0, m_library.Stores());
}

} // namespace
