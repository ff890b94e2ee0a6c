// Off-screen renderings of owner-painted controls, and reference drawings to compare them with.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct CImage {
    int nWidth = 0;
    int nHeight = 0;
    std::vector<COLORREF> pixels; // row by row from the top

    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * nWidth + x]; }
};

// The client area of a window as it paints itself for WM_PRINTCLIENT, over a background of
// crBackground (which shows wherever the window paints nothing).
CImage PrintClient(HWND hWnd, COLORREF crBackground);

// The fill of a key's face, taken right of its text, where nothing else is drawn.
COLORREF FaceFill(HWND hKey);

// Text as the key face draws it: the face's font at nFontHeight pixels, black, transparent.
struct TextRun {
    std::string strText;
    RECT rc;
    UINT nFormat;
};
CImage DrawFaceText(int nWidth, int nHeight, COLORREF crFill, int nFontHeight,
                    const std::vector<TextRun>& runs);

// Number of pixels inside rc that differ between two images of the same size.
int CountDifferences(const CImage& a, const CImage& b, const RECT& rc);
