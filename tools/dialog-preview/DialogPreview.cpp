// Shows one dialog template of the locale resource library so that it can be looked at and
// photographed without driving the program to it:
//   dialog_preview PATH\RuRoredo.DLL TEMPLATE
// Icon controls that the module fills get the key icon of S3 (the warning control its system
// icon). The dialog stays up until it is closed.
#include "resource.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

HMODULE g_hLibrary = nullptr;

BOOL CALLBACK FillIcon(HWND hControl, LPARAM) {
    if ((GetWindowLongA(hControl, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        HICON hIcon = GetDlgCtrlID(hControl) == IDC_KEYICON_WARNING
                          ? LoadIconA(nullptr, IDI_WARNING)
                          : LoadIconA(g_hLibrary, MAKEINTRESOURCEA(IDI_KEY_BASE + 3));
        SendMessageA(hControl, STM_SETICON, reinterpret_cast<WPARAM>(hIcon), 0);
    }
    return TRUE;
}

INT_PTR CALLBACK PreviewProc(HWND hDialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        EnumChildWindows(hDialog, FillIcon, 0);
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(hDialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s PATH\\RuRoredo.DLL TEMPLATE\n", argv[0]);
        return 2;
    }
    g_hLibrary = LoadLibraryA(argv[1]);
    if (!g_hLibrary) {
        std::fprintf(stderr, "%s cannot be loaded\n", argv[1]);
        return 1;
    }
    INT_PTR nResult =
        DialogBoxParamA(g_hLibrary, MAKEINTRESOURCEA(std::atoi(argv[2])), nullptr, PreviewProc, 0);
    if (nResult == -1) {
        std::fprintf(stderr, "dialog %s not created: %lu\n", argv[2], GetLastError());
        return 1;
    }
    return 0;
}
