// How the key panel shrinks for a machine with fewer than six keys, in pixels at 96 dots per
// inch: each missing key takes one 67-pixel row away. The six-key layout is the template's own.
#pragma once

struct KeyCountLayout {
    int nKeys;
    int nRowsHeight;   // control 928, the frame of the key rows
    int nBottomY;      // Close (936) and Help
    int nCommandY[3];  // Settings (908), Detail (909), Clear (910); 0 keeps the template's place
    int nWindowHeight; // the dialog
};

constexpr int KEY_ROW_HEIGHT = 67;

constexpr KeyCountLayout KEY_COUNT_LAYOUTS[] = {
    {5, 424, 447, {0, 0, 0}, 517},       {4, 357, 380, {0, 0, 0}, 450},
    {3, 290, 313, {150, 220, 255}, 383}, {2, 223, 246, {83, 153, 188}, 316},
    {1, 156, 179, {16, 86, 121}, 249},
};
