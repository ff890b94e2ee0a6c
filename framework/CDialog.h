// CDialog: a modal dialog from a template in the current resource chain, with data exchange.
#pragma once

#include "CWnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Creates the dialog, runs it until EndDialog and returns its result; -1 if it could not
    // be created.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    // Exchanges data with the controls; FALSE when a validation failed.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCmdMsg(UINT nID, UINT nCode, const AFX_MSG& msg, LRESULT& lResult) override;

protected:
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    void RunModalLoop();

    BOOL m_bContinueModal = FALSE;
    INT_PTR m_nModalResult = -1;
};
