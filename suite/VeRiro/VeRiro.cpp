// VeRiro.exe, the shortcut service: one per user session, no window to be seen but its icon in the
// notification area, ended by WM_CLOSE to its hidden window. It runs with the rights of the user
// who started it, and so do the targets it starts.
#include "ShortcutService.h"

#include "../VeDerovu/ServiceProtocol.h"

#include "CHandle.h"

namespace {

constexpr int EXIT_ALREADY_RUNNING = 1;
constexpr int EXIT_NO_WINDOW = 2;

int RunMessageLoop() {
    MSG msg;
    BOOL bResult;
    while ((bResult = GetMessageA(&msg, nullptr, 0, 0)) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return bResult == 0 ? static_cast<int>(msg.wParam) : EXIT_NO_WINDOW;
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CHandle mutex(CreateMutexA(nullptr, FALSE, CVN_SERVICE_MUTEX));
    DWORD dwWait = mutex.IsValid() ? WaitForSingleObject(mutex, 0) : WAIT_FAILED;
    if (dwWait != WAIT_OBJECT_0 && dwWait != WAIT_ABANDONED) {
        return EXIT_ALREADY_RUNNING;
    }
    // A key whose target is on an empty drive must not bring up the system's "no disk" box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    int nExitCode = EXIT_NO_WINDOW;
    {
        CShortcutService service;
        if (service.Create(hInstance)) {
            nExitCode = RunMessageLoop();
        }
    }
    ReleaseMutex(mutex);
    return nExitCode;
}
