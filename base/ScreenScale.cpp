#include "ScreenScale.h"

#include <windows.h>

double ScreenScale() {
    // The screen's resolution is fixed for the life of a process, and every key button and the
    // panel ask for it while the panel opens; each look at the screen's device context costs
    // round trips to the window system.
    static const double s_dScale = [] {
        HDC hdc = GetDC(nullptr);
        double dScale = GetDeviceCaps(hdc, LOGPIXELSX) * (1.0 / 96);
        ReleaseDC(nullptr, hdc);
        return dScale;
    }();
    return s_dScale;
}
