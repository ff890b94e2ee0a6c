// The framework tests' dialog (FrameworkTest.rc), created modeless and shown so that a test drives
// it by messages from outside, and the message boxes it shows, read and answered.
#pragma once

#include "FrameworkTestRes.h"
#include "afxwin.h"

#include "../common/ModalScript.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <utility>
#include <vector>

using Strings = std::vector<std::string>;

// The second tree: handles its own selection changes, never refusing one.
class CTestTree : public CTreeCtrl {
public:
    Strings* m_pLog = nullptr;
    int m_nSubclassed = 0;

protected:
    void PreSubclassWindow() override { ++m_nSubclassed; }
    afx_msg void OnSelChanging(NMHDR*, LRESULT* pResult) {
        m_pLog->push_back("own changing");
        *pResult = FALSE;
    }
    DECLARE_MESSAGE_MAP()
};

// Exchanges a number within [m_nMin, m_nMax], a name of at most ten characters and the second
// tree; logs what reaches its map, refuses selection changes while m_bRefuse is set and ignores
// the name's changes while it fills its controls.
class CTestDialog : public CDialog {
public:
    CTestDialog() : CDialog(IDD_FRAMEWORK_TEST) {}
    ~CTestDialog() override;

    // Registers the common controls first, as the entry point does, and becomes the application's
    // main window, which message boxes take as their owner.
    BOOL Create();
    HWND Item(int nID) const { return ::GetDlgItem(m_hWnd, nID); }

    Strings m_log;
    BOOL m_bRefuse = FALSE;
    BOOL m_bFilling = FALSE;
    int m_nNumber = 5;
    int m_nMin = INT_MIN;
    int m_nMax = INT_MAX;
    CString m_strName;
    CTestTree m_tree;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnSelChanging(UINT nID, NMHDR*, LRESULT* pResult) {
        m_log.push_back("host changing " + std::to_string(nID));
        *pResult = m_bRefuse;
    }
    afx_msg void OnSelChanged(NMHDR*, LRESULT*) { m_log.push_back("host changed"); }
    afx_msg void OnNameUpdate() { LogUnlessFilling("update"); }
    afx_msg void OnNameChange() { LogUnlessFilling("change"); }
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo) {
        m_log.push_back("help info " + std::to_string(pHelpInfo->iCtrlId));
        return TRUE;
    }
    afx_msg void OnHelp() { m_log.push_back("help"); }
    void LogUnlessFilling(const char* pszEntry) {
        if (!m_bFilling) {
            m_log.push_back(pszEntry);
        }
    }
    DECLARE_MESSAGE_MAP()
};

// Every test on the dialog: created and shown for it.
class DialogTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_dialog.Create()); }
    CTestDialog m_dialog;
};

// Types into an edit one character at a time, as a user would.
void TypeKeys(HWND hEdit, const std::string& strKeys);
// An edit's selection as "start-end".
std::string Selection(HWND hEdit);

// Type and help id of each message box the application has shown.
using Boxes = std::vector<std::pair<UINT, UINT>>;
Boxes& ShownBoxes();

// While it lives, answers each message box shown on this thread from inside the box's own loop
// (a script step that never finishes) and keeps its message; one not owned by the dialog is
// marked (and answered all the same, so that a test fails instead of hanging).
class CMessageBoxAnswerer {
public:
    CMessageBoxAnswerer();

    Strings m_texts;

private:
    std::string m_strText;
    HWND m_hOwner = nullptr;
    ScriptStep m_answer;
    CModalScript m_script;
};
