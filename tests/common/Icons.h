// Icons for tests: an icon file of one colour, and whether an icon handle still stands for one.
#pragma once

#include <windows.h>

#include <string>

// The bytes of an icon file holding one opaque image of nSide pixels in one colour.
std::string SolidIconFile(COLORREF crColor, int nSide = 32);

// Whether the icon has not been destroyed.
bool IconExists(HICON hIcon);
