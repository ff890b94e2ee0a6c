#include "DialogHarness.h"

BOOL CTestDialog::Create() {
    if (!AfxInitCommonControls()) {
        return FALSE;
    }
    AfxHookWindowCreate(this);
    HWND hWnd = CreateDialogParamA(
        GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIDTemplate), nullptr,
        [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    AfxUnhookWindowCreate();
    return hWnd != nullptr;
}
