// The screen's scale against 96 dots per inch; lengths given at 96 dpi are multiplied by it and
// truncated toward zero.
#pragma once

double ScreenScale();
