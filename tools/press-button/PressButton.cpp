// Presses a button of a shown window, as a click would, without waiting for what it starts:
//   press_button.exe "Window title" CONTROL_ID
// Exit code 0 when the window and its button were found, 1 otherwise.
#include <windows.h>

#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        return 1;
    }
    HWND hWindow = FindWindowA(nullptr, argv[1]);
    HWND hButton = hWindow ? GetDlgItem(hWindow, atoi(argv[2])) : nullptr;
    return hButton && PostMessageA(hButton, BM_CLICK, 0, 0) ? 0 : 1;
}
