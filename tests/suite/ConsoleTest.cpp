// CvnKeys.exe run as a script runs it, over a private copy of the suite: what each command line
// changes, what it writes and how it ends. What the library does with a change is the library
// tests' part.
#include "../common/Process.h"
#include "../common/ScratchFolder.h"
#include "../common/SuiteLibrary.h"

#include <gtest/gtest.h>

namespace {

class ConsoleTest : public testing::Test {
protected:
    CConsoleRun Run(const std::string& strArguments, const std::string& strInput = "") const {
        return RunConsole(m_suite / "CvnKeys.exe", strArguments, strInput);
    }

    CScratchSuite m_suite{{"CvnKeys.exe", "VeDerovu.dll", "RuRoredo.DLL", "Corvane.ini"}};
    CSuiteLibrary m_lib{m_suite / "VeDerovu.dll"};
};

// 0 done, 1 a wrong command line, 2 a change or reading that failed; what went wrong is said on
// the error output, in the dialogs' own words where a dialog refuses the same.
TEST_F(ConsoleTest, ACommandEndsWithItsExitCodeAndSaysWhatWasWrong) {
    const struct {
        std::string strArguments;
        DWORD nExitCode;
        std::string strSaid; // on the standard output after 0, else on the error output
    } cases[] = {
        {"--help", 0, "CvnKeys assign KEY PATH"},
        {"-h", 0, "Exit code: 0 done, 1"},
        {"/?", 0, "CvnKeys set use NAME"},
        {"", 1, "Type CvnKeys --help"},
        {"remove S1", 1, "remove is not a command of CvnKeys."},
        {"clear", 1, "clear was not given the arguments it takes."},
        {"clear S7", 1, "S7 is not a key of this machine, which has the keys S1 to S6."},
        {"assign S1 C:\\windows --colour red", 1, "--colour is not an option of assign."},
        {"assign S1 C:\\windows --hold", 1, "--hold needs a value."},
        {"assign S1 C:\\windows --hold 0", 1, "from 1 to 99, or off."},
        {"assign S1 C:\\windows --hold 100", 1, "from 1 to 99, or off."},
        {"assign S1 C:\\gone.exe", 2, "The target is not valid."},
        {"assign S1 C:\\windows --folder Q:\\", 2, "cannot be on a removable, network"},
        {"assign S1 C:\\windows --title " + std::string(65, 't'), 2, "at most 64 characters."},
        {"undo", 2, "There is no change to undo."},
        {"import C:\\gone.ini", 2, "C:\\gone.ini could not be read: "},
        {"set use Work", 2, "There is no key set named Work."},
        {"set save a/b", 2, "a/b cannot be the name of a key set"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.strArguments);
        CConsoleRun run = Run(test.strArguments);
        EXPECT_EQ(test.nExitCode, run.nExitCode);
        const std::string& strSaid = test.nExitCode == 0 ? run.strOut : run.strErr;
        EXPECT_NE(std::string::npos, strSaid.find(test.strSaid)) << strSaid;
    }
    EXPECT_FALSE(m_lib.IsAssigned(1));
}

// The record a drop of the path builds (title and comment from the file), then the details given,
// as one change; a key's hold option stays as it was unless --hold is given.
TEST_F(ConsoleTest, AssignGivesTheRecordOfADropAndTheDetailsGiven) {
    ASSERT_EQ(1, m_lib.pfnSetKeyOption(2, 1, 7));
    ASSERT_EQ(0u, Run("assign s3 C:\\windows\\notepad.exe").nExitCode);
    KeyAssignment record = m_lib.Read(3);
    EXPECT_STREQ("notepad", record.Title);
    EXPECT_STREQ("Starts notepad.exe", record.Comment);
    EXPECT_STREQ("C:\\windows\\notepad.exe", record.Target);
    EXPECT_EQ(std::make_pair(1, 7), m_lib.Option(2));

    ASSERT_EQ(0u, Run("assign 3 C:\\windows\\ --title \"My title\" --comment Mine --folder C:\\ "
                      "--params \"-a \\\"b c\\\"\" --hold off")
                      .nExitCode);
    record = m_lib.Read(3);
    EXPECT_STREQ("My title", record.Title);
    EXPECT_STREQ("Mine", record.Comment);
    EXPECT_STREQ("C:\\windows\\", record.Target);
    EXPECT_STREQ("C:\\", record.WorkingFolder);
    EXPECT_STREQ("-a \"b c\"", record.Parameters);
    EXPECT_EQ(std::make_pair(0, 7), m_lib.Option(2));
    ASSERT_EQ(0u, Run("assign S3 C:\\ --hold 1").nExitCode);
    EXPECT_EQ(std::make_pair(1, 1), m_lib.Option(2));
    ASSERT_EQ(0u, Run("undo").nExitCode);
    EXPECT_STREQ("My title", m_lib.Read(3).Title);
    EXPECT_EQ(std::make_pair(0, 7), m_lib.Option(2));
    ASSERT_EQ(0u, Run("assign S3 C:\\ --hold 99").nExitCode);
    EXPECT_EQ(std::make_pair(1, 99), m_lib.Option(2));
}

TEST_F(ConsoleTest, ListShowsTheMachinesKeysWithTheirHealth) {
    ASSERT_TRUE(WriteFileText(m_suite / "Corvane.ini", "[Suite]\r\nKeyCount=3\r\n"));
    KeyAssignment record;
    record.Title = "Line\r\nbreak";
    record.Target = "C:\\windows\\gone.exe";
    record.WorkingFolder = "C:\\";
    ASSERT_EQ(1, m_lib.Store(1, record));
    record.Title = "Q \"quoted\"";
    record.Target = "C:\\windows\\notepad.exe";
    ASSERT_EQ(1, m_lib.Store(2, record));
    ASSERT_EQ(1, m_lib.pfnSetKeyOption(1, 1, 12));

    CConsoleRun run = Run("list --json");
    EXPECT_EQ(0u, run.nExitCode);
    EXPECT_EQ("{\r\n  \"keys\": [\r\n"
              "    {\"key\": \"S1\", \"assigned\": true, \"title\": \"Line\\u000d\\u000abreak\", "
              "\"comment\": \"\", \"target\": \"C:\\\\windows\\\\gone.exe\", \"workingFolder\": "
              "\"C:\\\\\", \"parameters\": \"\", \"hold\": false, \"holdTenths\": 5, \"health\": "
              "\"target-missing\"},\r\n"
              "    {\"key\": \"S2\", \"assigned\": true, \"title\": \"Q \\\"quoted\\\"\", "
              "\"comment\": \"\", \"target\": \"C:\\\\windows\\\\notepad.exe\", \"workingFolder\": "
              "\"C:\\\\\", \"parameters\": \"\", \"hold\": true, \"holdTenths\": 12, \"health\": "
              "\"ok\"},\r\n"
              "    {\"key\": \"S3\", \"assigned\": false, \"title\": \"\", \"comment\": \"\", "
              "\"target\": \"\", \"workingFolder\": \"\", \"parameters\": \"\", \"hold\": false, "
              "\"holdTenths\": 5, \"health\": null}\r\n  ]\r\n}\r\n",
              run.strOut);
    run = Run("list");
    EXPECT_EQ("Key  Health   Hold     Title         Comment  Target                  "
              "Working folder  Parameters\r\n"
              "S1   missing  off      Line  break            C:\\windows\\gone.exe     C:\\\r\n"
              "S2   ok       12/10 s  Q \"quoted\"             C:\\windows\\notepad.exe  C:\\\r\n"
              "S3   -        -        not assigned\r\n",
              run.strOut);
}

// In a Japanese session the program speaks Japanese in the console's code page, and lines its
// table up by the columns the characters take on a console: two for a Japanese one.
TEST_F(ConsoleTest, InAJapaneseSessionHelpAndTheListAreJapanese) {
    if (!InJapaneseSession()) {
        GTEST_SKIP() << "runs in the Japanese session (suite_library_test_ja)";
    }
    ASSERT_TRUE(WriteFileText(m_suite / "Corvane.ini", "[Suite]\r\nKeyCount=2\r\n"));
    KeyAssignment record;
    record.Title = InCodePage("メモ帳", CP_ACP).c_str();
    record.Target = "C:\\windows\\notepad.exe";
    ASSERT_EQ(1, m_lib.Store(1, record));
    EXPECT_NE(std::string::npos,
              Run("--help").strOut.find(InCodePage("KEY (S1 から S6) に対象 PATH を", GetOEMCP())));
    EXPECT_EQ(InCodePage("キー  状態  長押し  タイトル    コメント  対象                    "
                         "作業フォルダー  パラメーター\r\n"
                         "S1    正常  オフ    メモ帳                C:\\windows\\notepad.exe\r\n"
                         "S2    -     -       未割り当て\r\n",
                         GetOEMCP()),
              Run("list").strOut);
}

// The export file goes to a file or the standard output and comes back from either; key sets
// are named from the console.
TEST_F(ConsoleTest, KeysGoOutAndComeBackThroughFilesAndPipes) {
    CScratchFolder files;
    KeyAssignment record;
    record.Title = "Saved";
    record.Target = "C:\\windows\\notepad.exe";
    ASSERT_EQ(1, m_lib.Store(1, record));
    const std::string strExported = m_lib.Exported();
    ASSERT_EQ(0u, Run("export \"" + files / "keys.ini\"").nExitCode);
    EXPECT_EQ(strExported, ReadFileText(files / "keys.ini"));
    EXPECT_EQ(strExported, Run("export -").strOut);

    ASSERT_EQ(0u, Run("clear S1").nExitCode);
    ASSERT_EQ(0u, Run("import -", strExported).nExitCode);
    EXPECT_STREQ("Saved", m_lib.Read(1).Title);
    ASSERT_EQ(0u, Run("reset").nExitCode);
    ASSERT_EQ(0u, Run("import \"" + files / "keys.ini\"").nExitCode);
    EXPECT_STREQ("Saved", m_lib.Read(1).Title);
    CConsoleRun run =
        Run("import -", strExported.substr(0, strExported.find("[Key2]")) + "Oops\r\n");
    EXPECT_EQ(2u, run.nExitCode);
    EXPECT_NE(std::string::npos, run.strErr.find("-, line 23, is not right. Nothing was imported."))
        << run.strErr;

    ASSERT_EQ(0u, Run("set save Work").nExitCode);
    ASSERT_EQ(0u, Run("clear S1").nExitCode);
    EXPECT_EQ("  Work\r\n", Run("set list").strOut);
    ASSERT_EQ(0u, Run("set use work").nExitCode);
    EXPECT_EQ("* Work\r\n", Run("set list").strOut);
    ASSERT_EQ(0u, Run("set delete Work").nExitCode);
    EXPECT_EQ("No key sets are saved.\r\n", Run("set list").strOut);
}

} // namespace
