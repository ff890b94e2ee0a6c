// Shows a dialog of the locale library on the screen so that it can be photographed:
//   locale_preview panel KEYS READY DONE   key panel laid out for KEYS keys
//   locale_preview clear READY DONE        clear confirmation for key S3
// Once the dialog is painted it writes its screen rectangle "x y width height" to READY, then
// keeps it up until the file DONE exists (at most a minute). The key buttons get a plain stand-in
// face, the look of a key without assignment, since the real face is painted by the module.
#include "LocaleLibrary.h"
#include "resource.h"
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HMODULE g_hLibrary = nullptr;

const char* PreviewLegend(int key) {
    static const char* const legends[] = {"Mail",         "Web browser",  "Calculator",
                                          "Music player", "My documents", "Network"};
    return legends[key - 1];
}

void DrawStandInFace(const DRAWITEMSTRUCT& item) {
    const double scale = ScreenScale();
    RECT face = item.rcItem;
    HBRUSH fill = CreateSolidBrush(RGB(247, 247, 255));
    HGDIOBJ oldBrush = SelectObject(item.hDC, fill);
    RoundRect(item.hDC, face.left, face.top, face.right, face.bottom, 6, 6);
    SelectObject(item.hDC, oldBrush);
    DeleteObject(fill);
    LOGFONTA font = {};
    font.lfHeight = static_cast<LONG>(13 * scale);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    strcpy(font.lfFaceName, "MS UI Gothic");
    HFONT hFont = CreateFontIndirectA(&font);
    HGDIOBJ oldFont = SelectObject(item.hDC, hFont);
    SetBkMode(item.hDC, TRANSPARENT);
    RECT text = {0, face.top + 16 + static_cast<LONG>(13 * scale), face.right - 10, face.bottom};
    std::string unassigned = LoadResourceString(g_hLibrary, IDS_KEY_UNASSIGNED);
    DrawTextA(item.hDC, unassigned.c_str(), -1, &text, DT_END_ELLIPSIS | DT_CENTER);
    SelectObject(item.hDC, oldFont);
    DeleteObject(hFont);
}

INT_PTR CALLBACK PreviewProc(HWND, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        DrawStandInFace(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return message == WM_INITDIALOG;
}

bool FileExists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

} // namespace

int main(int argc, char** argv) {
    const bool panel = argc == 5 && strcmp(argv[1], "panel") == 0;
    const bool clear = argc == 4 && strcmp(argv[1], "clear") == 0;
    if (!panel && !clear) {
        fprintf(stderr, "usage: %s panel KEYS READY DONE | clear READY DONE\n", argv[0]);
        return 2;
    }
    const char* ready = argv[argc - 2];
    const char* done = argv[argc - 1];
    g_hLibrary = LoadLocaleLibrary();
    if (!g_hLibrary) {
        fprintf(stderr, "RuRoredo.DLL not found\n");
        return 1;
    }
    HWND dialog = CreateDialogParamA(
        g_hLibrary, MAKEINTRESOURCEA(panel ? IDD_KEYPANEL : IDD_KEYICON), nullptr, PreviewProc, 0);
    if (!dialog) {
        fprintf(stderr, "dialog not created: %lu\n", GetLastError());
        return 1;
    }
    if (panel) {
        int keys = atoi(argv[2]);
        ArrangeKeyPanel(dialog, g_hLibrary, keys < 1 || keys > 6 ? 6 : keys, PreviewLegend);
    } else {
        SendDlgItemMessageA(
            dialog, IDC_KEYICON_PICTURE, STM_SETICON,
            reinterpret_cast<WPARAM>(LoadIconA(g_hLibrary, MAKEINTRESOURCEA(IDI_KEY_BASE + 3))), 0);
        SendDlgItemMessageA(dialog, IDC_KEYICON_WARNING, STM_SETICON,
                            reinterpret_cast<WPARAM>(LoadIconA(nullptr, IDI_WARNING)), 0);
        SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDCANCEL)),
                     TRUE);
    }
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RECT rect;
    GetWindowRect(dialog, &rect);
    if (FILE* out = fopen(ready, "w")) {
        fprintf(out, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top);
        fclose(out);
    }
    const DWORD deadline = GetTickCount() + 60000;
    while (!FileExists(done) && static_cast<LONG>(deadline - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageA(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
        }
    }
    DestroyWindow(dialog);
    return 0;
}
