#include "ShownDialogs.h"

namespace {

bool IsShownDialog(HWND hWnd) {
    char szClass[16] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    return lstrcmpA(szClass, "#32770") == 0 && IsWindowVisible(hWnd);
}

BOOL CALLBACK CollectShownDialog(HWND hWnd, LPARAM lParam) {
    if (IsShownDialog(hWnd)) {
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> ShownDialogsOfThread(DWORD nThreadId) {
    std::vector<HWND> dialogs;
    EnumThreadWindows(nThreadId, CollectShownDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

std::vector<HWND> ShownDialogsOfProcess(DWORD nProcessId) {
    std::vector<HWND> all;
    EnumWindows(CollectShownDialog, reinterpret_cast<LPARAM>(&all));
    std::vector<HWND> dialogs;
    for (HWND hWnd : all) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hWnd, &nOwner);
        if (nOwner == nProcessId) {
            dialogs.push_back(hWnd);
        }
    }
    return dialogs;
}

HWND FindShownDialog(HWND hOwner, HWND hExcept) {
    for (HWND hDialog : ShownDialogsOfThread()) {
        if (hDialog != hExcept && GetWindow(hDialog, GW_OWNER) == hOwner) {
            return hDialog;
        }
    }
    return nullptr;
}

std::string WindowText(HWND hWnd) {
    char szText[1024] = {};
    GetWindowTextA(hWnd, szText, sizeof(szText));
    return szText;
}

std::string StaticTexts(HWND hDialog) {
    std::string strTexts;
    for (HWND hChild = GetWindow(hDialog, GW_CHILD); hChild;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        char szClass[16] = {};
        GetClassNameA(hChild, szClass, sizeof(szClass));
        std::string strText = WindowText(hChild);
        if (lstrcmpiA(szClass, "Static") == 0 && !strText.empty()) {
            strTexts += (strTexts.empty() ? "" : "\n") + strText;
        }
    }
    return strTexts;
}

ShownMessageBox ReadMessageBox(HWND hBox) {
    return {hBox, WindowText(hBox), StaticTexts(hBox)};
}

void PressButton(HWND hDialog, int nButton) {
    PostMessageA(GetDlgItem(hDialog, nButton), BM_CLICK, 0, 0);
}
