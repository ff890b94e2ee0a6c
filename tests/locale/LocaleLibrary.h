// Helpers of the locale library's tests: the staged library, its strings and its icon images.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

// Loads RuRoredo.DLL from the stage folder beside the test folder, as a real library, not as a
// data file. NULL when it cannot be loaded.
HMODULE LoadLocaleLibrary();

// The text of string resource `id` of `module`; empty when it is missing.
std::string LoadResourceString(HMODULE module, UINT id);

// One image of an icon group resource, as the group directory lists it.
struct IconImage {
    int nSize;              // width and height in pixels (256 for a 0 entry)
    int nBitCount;          // bits per pixel, from the directory
    std::vector<BYTE> bgra; // colour pixels of a 32-bit DIB image, bottom-up; else empty
};

// The images of icon group `id` of `module`, in directory order; empty when there is none.
std::vector<IconImage> IconGroup(HMODULE module, int id);
