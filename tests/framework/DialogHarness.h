// The framework tests' dialog (FrameworkTest.rc), created modeless and shown so that a test drives
// it by messages from outside.
#pragma once

#include "FrameworkTestRes.h"
#include "afxwin.h"

class CTestDialog : public CDialog {
public:
    CTestDialog() : CDialog(IDD_FRAMEWORK_TEST) {}
    ~CTestDialog() override { DestroyWindow(); }

    // Registers the common controls first, as the entry point does.
    BOOL Create();
    HWND Item(int nID) const { return ::GetDlgItem(m_hWnd, nID); }
};
