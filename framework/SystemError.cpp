#include "SystemError.h"

CString SystemErrorText(DWORD dwError) {
    char szText[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, dwError, 0,
                   szText, sizeof szText, nullptr);
    CString strText(szText);
    strText.TrimRight();
    if (strText.IsEmpty()) {
        strText.Format("error %lu", dwError);
    }
    return strText;
}
