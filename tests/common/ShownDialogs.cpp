#include "ShownDialogs.h"

#include "../../res/resource.h"

namespace {

constexpr char kDialogClass[] = "#32770";

struct CShownWindows {
    const char* pszClass;
    std::vector<HWND> windows;
};

BOOL CALLBACK CollectShownWindow(HWND hWnd, LPARAM lParam) {
    auto* pShown = reinterpret_cast<CShownWindows*>(lParam);
    char szClass[16] = {};
    GetClassNameA(hWnd, szClass, sizeof(szClass));
    if (lstrcmpA(szClass, pShown->pszClass) == 0 && IsWindowVisible(hWnd)) {
        pShown->windows.push_back(hWnd);
    }
    return TRUE;
}

} // namespace

std::vector<HWND> ShownDialogsOfThread(DWORD nThreadId) {
    CShownWindows shown{kDialogClass, {}};
    EnumThreadWindows(nThreadId, CollectShownWindow, reinterpret_cast<LPARAM>(&shown));
    return shown.windows;
}

std::vector<HWND> ShownDialogsOfProcess(DWORD nProcessId) {
    return ShownWindowsOfProcess(nProcessId, kDialogClass);
}

std::vector<HWND> ShownWindowsOfProcess(DWORD nProcessId, const char* pszClass) {
    CShownWindows shown{pszClass, {}};
    EnumWindows(CollectShownWindow, reinterpret_cast<LPARAM>(&shown));
    std::vector<HWND> windows;
    for (HWND hWnd : shown.windows) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hWnd, &nOwner);
        if (nOwner == nProcessId) {
            windows.push_back(hWnd);
        }
    }
    return windows;
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

HWND WaitForDialogOf(const CChildProcess& program, bool (*accept)(HWND)) {
    HWND hFound = nullptr;
    WaitFor([&] {
        for (HWND hDialog : ShownDialogsOfProcess(program.Id())) {
            if (accept(hDialog)) {
                hFound = hDialog;
            }
        }
        return hFound != nullptr || program.HasEnded();
    });
    return hFound;
}

bool IsPanel(HWND hWnd) {
    return GetDlgItem(hWnd, IDC_KEY_BUTTON_FIRST) != nullptr;
}

HWND WaitForPanel(const CChildProcess& program) {
    return WaitForDialogOf(program, IsPanel);
}

void ClosePanel(HWND hPanel) {
    PostMessageA(hPanel, WM_COMMAND, IDC_PANEL_CLOSE, 0);
}
