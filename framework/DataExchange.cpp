#include "DataExchange.h"

#include "AfxStrings.h"
#include "CWinApp.h"

#include <cerrno>
#include <cstdlib>

namespace {

// Shows prompt nIDPrompt with its %1 and %2 filled in and ends the pass at the control exchanged
// last.
void FailWithPrompt(CDataExchange* pDX, UINT nIDPrompt, LPCSTR psz1 = "", LPCSTR psz2 = "") {
    CString strPrompt;
    AfxFormatString2(strPrompt, nIDPrompt, psz1, psz2);
    AfxMessageBox(strPrompt, MB_ICONEXCLAMATION, nIDPrompt);
    pDX->Fail();
}

CString IntText(int nValue) {
    CString strText;
    strText.Format("%d", nValue);
    return strText;
}

bool ParseInt(CString strText, int& nValue) {
    strText.Trim();
    LPCSTR pszText = strText;
    // strtol alone would also read "", "-" or "+ 5" as a number.
    LPCSTR pszDigits = pszText + (*pszText == '+' || *pszText == '-' ? 1 : 0);
    if (*pszDigits < '0' || *pszDigits > '9') {
        return false;
    }
    errno = 0;
    char* pszEnd = nullptr;
    long nParsed = std::strtol(pszText, &pszEnd, 10); // long is 32 bits on Windows, as int is
    if (errno == ERANGE || *pszEnd != '\0') {
        return false;
    }
    nValue = static_cast<int>(nParsed);
    return true;
}

} // namespace

HWND CDataExchange::PrepareCtrl(int nIDC) {
    m_idLastControl = static_cast<UINT>(nIDC);
    m_bEditLastControl = FALSE;
    return ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
}

HWND CDataExchange::PrepareEditCtrl(int nIDC) {
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail() {
    m_bFailed = TRUE;
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, static_cast<int>(m_idLastControl));
    if (m_bSaveAndValidate && hWndCtrl) {
        ::SetFocus(hWndCtrl);
        if (m_bEditLastControl) {
            ::SendMessageA(hWndCtrl, EM_SETSEL, 0, -1);
        }
    }
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX->m_bFailed) {
        return;
    }
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        ::SetWindowTextA(hWndCtrl, value);
        return;
    }
    pDX->m_pDlgWnd->GetDlgItemText(nIDC, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value) {
    CString strText = IntText(value);
    DDX_Text(pDX, nIDC, strText);
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate) {
        return;
    }
    if (!ParseInt(strText, value)) {
        FailWithPrompt(pDX, AFX_IDP_PARSE_INT);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (!pDX->m_bFailed && !rControl.m_hWnd) {
        rControl.SubclassWindow(pDX->PrepareCtrl(nIDC));
    }
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars) {
    if (pDX->m_bFailed) {
        return;
    }
    if (!pDX->m_bSaveAndValidate) {
        if (pDX->m_bEditLastControl) {
            pDX->m_pDlgWnd->SendDlgItemMessage(static_cast<int>(pDX->m_idLastControl), EM_LIMITTEXT,
                                               static_cast<WPARAM>(nChars));
        }
    } else if (value.GetLength() > nChars) {
        FailWithPrompt(pDX, AFX_IDP_PARSE_STRING_SIZE, IntText(nChars));
    }
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal) {
    // Towards the controls there is no one to tell: a member out of range is shown as it is.
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) {
        return;
    }
    FailWithPrompt(pDX, AFX_IDP_PARSE_INT_RANGE, IntText(minVal), IntText(maxVal));
}
