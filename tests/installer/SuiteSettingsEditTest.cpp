// The administrator's key count and defaults written into Corvane.ini: what the suite then reads
// from the file, and what of the file stays as it was.
#include "../../suite/CvnSetup/SuiteSettingsEdit.h"
#include "../../suite/VeDerovu/SuiteSettingsText.h"

#include <gtest/gtest.h>

TEST(SuiteSettingsEdit, SetsWhatWasAskedAndKeepsTheRest) {
    CKeyTable defaults;
    defaults[0].m_record.Title = " 100% mine";
    defaults[0].m_record.Target = "C:\\windows";
    defaults[0].m_bOption = 1;
    defaults[0].m_nOptionNumber = 3;
    const std::string strShipped = "; the suite's settings\r\n[Suite]\r\nKeyCount=6\r\n\r\n"
                                   "[DefaultKey1]\r\nTitle=Notepad\r\n; about key 2\r\n"
                                   "[DefaultKey2]\r\nTitle=Regedit\r\n[Other]\r\nName=kept\r\n";
    const struct {
        const char* pszCase;
        std::string strText;
        int nKeyCount;
        bool bDefaults;
        const char* pszTitle1; // key 1's default title afterwards
        bool bKey2;            // whether key 2 still has a default
        const char* pszKept;   // a line that must stay
    } cases[] = {
        {"both", strShipped, 2, true, " 100% mine", false, "[Other]\r\nName=kept\r\n"},
        {"count only", strShipped, 1, false, "Notepad", true, "; about key 2\r\n"},
        {"no count line", "[Suite]\r\nOther=1\r\n", 4, false, "", false, "Other=1\r\n"},
        {"no suite section, LF only", "; mine\n[DefaultKey1]\nTitle=A\n", 3, false, "A", false,
         "; mine\r\n"},
        {"written by hand",
         "[ suite ]\r\n keycount = 5 \r\n[defaultkey1]\r\nTitle=Old\r\n"
         "[DEFAULTKEY1]\r\nTitle=Older\r\n",
         4, true, " 100% mine", false, "[ suite ]\r\n"},
        {"empty file", "", 2, true, " 100% mine", false, ""},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.pszCase);
        std::string strEdited =
            EditSuiteSettings(test.strText, test.nKeyCount, test.bDefaults ? &defaults : nullptr);
        CIniText ini;
        EXPECT_TRUE(ini.Parse(strEdited)) << strEdited;
        EXPECT_EQ(KeyCountIn(ini), test.nKeyCount);
        const CKeyTable keys = DefaultKeysIn(ini);
        EXPECT_EQ(std::string(keys[0].m_record.Title), test.pszTitle1);
        EXPECT_EQ(keys[0].m_bOption, test.bDefaults ? 1 : 0);
        EXPECT_EQ(keys[0].m_nOptionNumber, test.bDefaults ? 3 : DEFAULT_OPTION_NUMBER);
        EXPECT_EQ(HasAssignment(keys[1].m_record), test.bKey2);
        EXPECT_NE(strEdited.find(test.pszKept), std::string::npos) << strEdited;
    }
}

TEST(SuiteSettingsEdit, KeyCountIsOneToSixOrNone) {
    const std::pair<std::wstring, int> cases[] = {{L"", 0},   {L"1", 1},   {L"6", 6}, {L"0", -1},
                                                  {L"7", -1}, {L"16", -1}, {L"x", -1}};
    for (const auto& [strValue, nCount] : cases) {
        EXPECT_EQ(nCount, AskedKeyCount(strValue)) << std::string(strValue.begin(), strValue.end());
    }
}
