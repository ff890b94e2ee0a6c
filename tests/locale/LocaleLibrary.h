// Helpers shared by the locale library's tests and its preview: loading the staged library, and
// laying the key panel template out the way the module does for a machine with fewer keys.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Loads RuRoredo.DLL from the stage folder beside the test folder (..\stage\ relative to the
// executable), as a real library, not as a data file. NULL when it cannot be loaded.
HMODULE LoadLocaleLibrary();

// The text of string resource `id` of `module`; empty when it is missing.
std::string LoadResourceString(HMODULE module, UINT id);

// Screen scale as the module computes it: LOGPIXELSX of the screen divided by 96.
double ScreenScale();

// Rectangle of a child window, or of control `id`, in the client coordinates of `dialog`.
RECT ChildRect(HWND dialog, HWND child);
RECT ChildRect(HWND dialog, int id);

// Does for `keys` keys (1 to 6) what the key panel does when it opens: legends of the keys shown
// with `legend(k)` as text, icons from the library's fallback icons, rows beyond the key count
// hidden, and for 4, 3 or 2 keys the group, the command buttons and the window shortened by the
// panel's fixed pixel table.
void ArrangeKeyPanel(HWND dialog, HMODULE library, int keys, const char* (*legend)(int key));

// One image of an icon group resource, as the group directory lists it.
struct IconImage {
    int nSize;              // width and height in pixels (256 for a 0 entry)
    int nBitCount;          // bits per pixel, from the directory
    std::vector<BYTE> bgra; // colour pixels of a 32-bit DIB image, bottom-up; else empty
};

// The images of icon group `id` of `module`, in directory order; empty when there is none.
std::vector<IconImage> IconGroup(HMODULE module, int id);
