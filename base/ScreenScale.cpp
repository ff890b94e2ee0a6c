#include "ScreenScale.h"

#include <windows.h>

double ScreenScale() {
    HDC hdc = GetDC(nullptr);
    double dScale = GetDeviceCaps(hdc, LOGPIXELSX) * (1.0 / 96);
    ReleaseDC(nullptr, hdc);
    return dScale;
}
