#include "Icons.h"

std::string SolidIconFile(COLORREF crColor, int nSide) {
    std::string strBytes;
    auto put = [&](const void* pData, size_t nSize) {
        strBytes.append(static_cast<const char*>(pData), nSize);
    };
    const DWORD dwMask = (nSide + 31) / 32 * 4 * nSide; // rows of whole 32-bit words
    const DWORD dwImage = sizeof(BITMAPINFOHEADER) + nSide * nSide * 4 + dwMask;
    const WORD header[] = {0, 1, 1}; // reserved, type icon, one image
    put(header, sizeof header);
    const BYTE entry[] = {static_cast<BYTE>(nSide), static_cast<BYTE>(nSide), 0, 0};
    put(entry, sizeof entry);
    const WORD planesAndBits[] = {1, 32};
    put(planesAndBits, sizeof planesAndBits);
    const DWORD sizeAndOffset[] = {dwImage, 6 + 16};
    put(sizeAndOffset, sizeof sizeAndOffset);
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = nSide;
    info.biHeight = nSide * 2; // the colour image and its mask
    info.biPlanes = 1;
    info.biBitCount = 32;
    put(&info, sizeof info);
    const BYTE pixel[] = {GetBValue(crColor), GetGValue(crColor), GetRValue(crColor), 255};
    for (int i = 0; i < nSide * nSide; ++i) {
        put(pixel, sizeof pixel);
    }
    strBytes.append(dwMask, '\0'); // all opaque
    return strBytes;
}

bool IconExists(HICON hIcon) {
    ICONINFO info = {};
    if (!GetIconInfo(hIcon, &info)) {
        return false;
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}
