#include "StoreResult.h"

#include "ResourceText.h"
#include "ZuCom.h"
#include "../res/resource.h"

#include "CWinApp.h"

namespace {

CString SystemReason(DWORD dwError) {
    CString strReason;
    LPSTR pszText = nullptr;
    if (dwError != ERROR_SUCCESS &&
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                           FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, dwError, 0, reinterpret_cast<LPSTR>(&pszText), 0, nullptr)) {
        strReason = pszText;
        LocalFree(pszText);
        strReason.Trim();
    }
    return strReason;
}

} // namespace

BOOL CheckStored(int nResult, UINT nMessage) {
    if (nResult) {
        return TRUE;
    }
    CString strReason = SystemReason(GetLastError());
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
