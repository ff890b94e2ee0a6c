#include "ResourceText.h"

#include <cctype>
#include <cstring>

CString FormatText(LPCSTR pszFormat, std::initializer_list<LPCSTR> args) {
    CString strResult;
    const LPCSTR* pNextArg = args.begin();
    const char* p = pszFormat ? pszFormat : "";
    while (*p) {
        if (*p != '%') {
            strResult += *p++;
            continue;
        }
        if (p[1] == '%') {
            strResult += '%';
            p += 2;
            continue;
        }
        // %[-][width][.precision]s
        const char* pSpec = p + 1;
        bool bLeft = *pSpec == '-';
        pSpec += bLeft ? 1 : 0;
        int nWidth = 0;
        while (std::isdigit(static_cast<unsigned char>(*pSpec))) {
            nWidth = nWidth < 1000 ? nWidth * 10 + (*pSpec - '0') : nWidth;
            ++pSpec;
        }
        int nPrecision = -1;
        if (*pSpec == '.') {
            nPrecision = 0;
            while (std::isdigit(static_cast<unsigned char>(*++pSpec))) {
                nPrecision = nPrecision < 100000 ? nPrecision * 10 + (*pSpec - '0') : nPrecision;
            }
        }
        if (*pSpec != 's') {
            strResult += '%'; // not a conversion this text may use: show it as written
            ++p;
            continue;
        }
        CString strArg = (pNextArg != args.end() && *pNextArg) ? *pNextArg : "";
        if (pNextArg != args.end()) {
            ++pNextArg;
        }
        if (nPrecision >= 0 && strArg.GetLength() > nPrecision) {
            strArg = strArg.Left(nPrecision);
        }
        CString strPad;
        for (int n = strArg.GetLength(); n < nWidth; ++n) {
            strPad += ' ';
        }
        strResult += bLeft ? strArg + strPad : strPad + strArg;
        p = pSpec + 1;
    }
    return strResult;
}

CString FormatResourceText(UINT nID, std::initializer_list<LPCSTR> args) {
    CString strFormat;
    strFormat.LoadString(nID);
    return FormatText(strFormat, args);
}
