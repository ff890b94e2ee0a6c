// The screen's scale against 96 dots per inch; lengths given at 96 dpi are multiplied by it and
// truncated toward zero.
#pragma once

double ScreenScale();

// A length given at 96 dpi at the scale dScale.
inline int ScaledLength(int nPixels, double dScale) {
    return static_cast<int>(nPixels * dScale);
}
