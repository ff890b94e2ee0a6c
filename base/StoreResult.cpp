#include "StoreResult.h"

#include "ResourceText.h"
#include "ZuCom.h"
#include "../res/resource.h"

#include "CWinApp.h"
#include "SystemError.h"

BOOL CheckStored(int nResult, UINT nMessage) {
    if (nResult) {
        return TRUE;
    }
    // A library that fails without a reason gets no made-up one.
    DWORD dwError = GetLastError();
    CString strReason = dwError != ERROR_SUCCESS ? SystemErrorText(dwError) : CString();
    AfxMessageBox(FormatResourceText(nMessage, {strReason}), MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

void ReportSetAsideStore() {
    char szAside[MAX_PATH] = {};
    if (ZuComTakeStoreNotice(szAside)) {
        AfxMessageBox(FormatResourceText(IDS_STORE_SET_ASIDE, {szAside}),
                      MB_OK | MB_ICONINFORMATION);
    }
}
