#include "PanelImage.h"

#include <cstring>

namespace {

// A 32-bit top-down DIB section selected into a memory device context.
class CCanvas {
public:
    CCanvas(int nWidth, int nHeight, COLORREF crFill) : m_nWidth(nWidth), m_nHeight(nHeight) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = nWidth;
        info.bmiHeader.biHeight = -nHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_hdc = CreateCompatibleDC(nullptr);
        m_hBitmap = CreateDIBSection(m_hdc, &info, DIB_RGB_COLORS, &m_pBits, nullptr, 0);
        m_hOld = SelectObject(m_hdc, m_hBitmap);
        RECT rc = {0, 0, nWidth, nHeight};
        HBRUSH hFill = CreateSolidBrush(crFill);
        FillRect(m_hdc, &rc, hFill);
        DeleteObject(hFill);
    }
    ~CCanvas() {
        SelectObject(m_hdc, m_hOld);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hdc);
    }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    HDC Dc() const { return m_hdc; }

    CImage Image() const {
        GdiFlush();
        CImage image;
        image.nWidth = m_nWidth;
        image.nHeight = m_nHeight;
        image.pixels.resize(static_cast<size_t>(m_nWidth) * m_nHeight);
        const auto* pBgra = static_cast<const DWORD*>(m_pBits);
        for (size_t i = 0; m_pBits && i < image.pixels.size(); ++i) {
            DWORD nPixel = pBgra[i];
            image.pixels[i] = RGB((nPixel >> 16) & 0xFF, (nPixel >> 8) & 0xFF, nPixel & 0xFF);
        }
        return image;
    }

private:
    int m_nWidth;
    int m_nHeight;
    HDC m_hdc;
    void* m_pBits = nullptr;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
};

} // namespace

CImage PrintClient(HWND hWnd, COLORREF crBackground) {
    RECT rc = {};
    GetClientRect(hWnd, &rc);
    CCanvas canvas(rc.right, rc.bottom, crBackground);
    SendMessageA(hWnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT);
    return canvas.Image();
}

COLORREF FaceFill(HWND hKey) {
    CImage image = PrintClient(hKey, RGB(255, 0, 255));
    return image.nWidth > 8 ? image.At(image.nWidth - 6, image.nHeight / 2) : CLR_INVALID;
}

CImage DrawFaceText(int nWidth, int nHeight, COLORREF crFill, int nFontHeight,
                    const std::vector<TextRun>& runs) {
    CCanvas canvas(nWidth, nHeight, crFill);
    LOGFONTA lf = {};
    lf.lfHeight = nFontHeight;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = ANTIALIASED_QUALITY;
    std::strcpy(lf.lfFaceName, "MS UI Gothic");
    HFONT hFont = CreateFontIndirectA(&lf);
    HGDIOBJ hOldFont = SelectObject(canvas.Dc(), hFont);
    SetBkMode(canvas.Dc(), TRANSPARENT);
    SetTextColor(canvas.Dc(), RGB(0, 0, 0));
    for (const TextRun& run : runs) {
        RECT rc = run.rc;
        DrawTextA(canvas.Dc(), run.strText.c_str(), -1, &rc, run.nFormat);
    }
    SelectObject(canvas.Dc(), hOldFont);
    DeleteObject(hFont);
    return canvas.Image();
}

int CountDifferences(const CImage& a, const CImage& b, const RECT& rc) {
    int nDifferences = 0;
    for (int y = rc.top; y < rc.bottom; ++y) {
        for (int x = rc.left; x < rc.right; ++x) {
            nDifferences += a.At(x, y) != b.At(x, y);
        }
    }
    return nDifferences;
}
