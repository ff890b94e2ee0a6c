// Contact with the shortcut service process through its hidden window.
#include "ServiceClient.h"
#include "ServiceProtocol.h"
#include "VeDerovu.h"

namespace {

// A hung service must not hang the key panel with it.
constexpr UINT SERVICE_TIMEOUT_MS = 2000;

bool AskService(UINT uMsg, WPARAM wParam, DWORD_PTR& dwAnswer) {
    HWND hService = FindWindowA(CVN_SERVICE_CLASS, nullptr);
    return hService && SendMessageTimeoutA(hService, uMsg, wParam, 0, SMTO_ABORTIFHUNG,
                                           SERVICE_TIMEOUT_MS, &dwAnswer);
}

} // namespace

bool FindService(HWND* phWnd) {
    if (!phWnd) {
        return false;
    }
    *phWnd = FindWindowA(CVN_SERVICE_CLASS, nullptr);
    return *phWnd != nullptr;
}

bool SetServiceClient(HWND hWnd) {
    DWORD_PTR dwAnswer = 0;
    return AskService(WM_SERVICE_SET_CLIENT, reinterpret_cast<WPARAM>(hWnd), dwAnswer) &&
           dwAnswer != 0;
}

bool GetServiceClient(HWND* phWnd) {
    if (!phWnd) {
        return false;
    }
    DWORD_PTR dwAnswer = 0;
    *phWnd =
        AskService(WM_SERVICE_GET_CLIENT, 0, dwAnswer) ? reinterpret_cast<HWND>(dwAnswer) : nullptr;
    return *phWnd != nullptr;
}

void NotifyKeyDataChanged() {
    HWND hClient = nullptr;
    DWORD nProcessId = 0;
    if (GetServiceClient(&hClient) && GetWindowThreadProcessId(hClient, &nProcessId) &&
        nProcessId != GetCurrentProcessId()) {
        PostMessageA(hClient, WM_PANEL_REFRESH, 0, 0);
    }
}
