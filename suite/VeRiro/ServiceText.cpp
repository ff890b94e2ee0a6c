#include "ServiceText.h"

#include <windows.h>

std::string ServiceText(unsigned nId, std::initializer_list<std::string> values) {
    char szFormat[512];
    int nLength = LoadStringA(GetModuleHandleA(nullptr), nId, szFormat, sizeof szFormat);
    std::string strText;
    const std::string* pValue = values.begin();
    for (int i = 0; i < nLength; ++i) {
        if (szFormat[i] == '%' && szFormat[i + 1] == 's') {
            if (pValue != values.end()) {
                strText += *pValue++;
            }
            ++i;
        } else {
            strText += szFormat[i];
        }
    }
    return strText;
}
