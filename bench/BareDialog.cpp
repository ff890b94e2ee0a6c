// The yardstick for the key panel's start: a program of the same kind as VuViravuz.exe (64-bit,
// the same manifest, so DPI-aware and on common controls 6) that only shows an empty dialog of
// the panel's size and ends when it is closed. panel_bench sets the panel's start against this
// one's, so that what Wine and the machine cost any dialog program is not counted against ours.
//   bare_dialog                      the empty dialog
//   bare_dialog PATH\RuRoredo.DLL    the key panel's own template, with its 27 controls and
//                                    nothing filled in or painted by the module
#include "resource.h"

#include <windows.h>

namespace {

INT_PTR CALLBACK BareDialogProc(HWND hDlg, UINT uMsg, WPARAM wParam, LPARAM) {
    if (uMsg == WM_INITDIALOG || uMsg == WM_DRAWITEM) {
        return TRUE;
    }
    // WM_CLOSE reaches a dialog as IDCANCEL.
    if (uMsg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(hDlg, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR pszCommandLine, int) {
    HINSTANCE hTemplates = *pszCommandLine ? LoadLibraryA(pszCommandLine) : hInstance;
    LPCSTR pszTemplate = *pszCommandLine ? MAKEINTRESOURCEA(IDD_KEYPANEL) : "BARE_DIALOG";
    return hTemplates &&
                   DialogBoxParamA(hTemplates, pszTemplate, nullptr, BareDialogProc, 0) == IDCANCEL
               ? 0
               : 1;
}
