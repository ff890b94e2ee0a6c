#include "ServiceText.h"

#include "../../framework/AfxResource.h"
#include "../../framework/CString.h"

std::string ServiceText(unsigned nId, const std::string& strFirst, const std::string& strSecond) {
    CString strText;
    AfxFormatString2(strText, nId, strFirst.c_str(), strSecond.c_str());
    return static_cast<LPCSTR>(strText);
}
