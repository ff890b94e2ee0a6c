#include "ShortcutService.h"

#include "ServiceText.h"
#include "TargetLaunch.h"
#include "TrayMenu.h"

#include "../VeDerovu/KeyState.h"
#include "../VeDerovu/ServiceProtocol.h"
#include "../VeDerovu/VeDerovu.h"

#include "CHandle.h"
#include "SystemError.h"

#include <windowsx.h>

#include <memory>

namespace {

// Posted by the folder watch and by launch threads; private to the service's window, as is the
// tray icon's WM_TRAY_ICON after them.
constexpr UINT WM_STORE_FOLDER_CHANGED = WM_APP + 0x110;
constexpr UINT WM_PROGRAM_FOLDER_CHANGED = WM_APP + 0x111;
constexpr UINT WM_LAUNCH_FAILED = WM_APP + 0x112;

// Timers 1 to 6 follow a held key. A file is looked at once it has been quiet this long, so that
// an editor still writing it is not taken for a damaged store.
constexpr UINT_PTR TIMER_STORE = 100;
constexpr UINT_PTR TIMER_SETTINGS = 101;
constexpr UINT SETTLE_MS = 200;
constexpr UINT HOLD_CHECK_MS = 30;

LONG StoreGeneration() {
    volatile LONG* pGeneration = SharedStoreGeneration();
    return pGeneration ? *pGeneration : 0;
}

std::string FolderOf(const char* pszPath) {
    std::string strPath = pszPath;
    size_t nSlash = strPath.find_last_of('\\');
    return nSlash == std::string::npos ? std::string() : strPath.substr(0, nSlash);
}

// Read at each new press, so that a key does what the panel shows at that moment.
std::optional<CHoldOption> ReadHoldOption(int nKey) {
    int bOn = 0;
    int nTenths = 0;
    if (!ZuComGetKeyOption(nKey - 1, &bOn, &nTenths)) {
        return std::nullopt;
    }
    // A number edited by hand out of range holds as long as the detail dialog shows it: 0 would
    // launch at once, a negative one never.
    return CHoldOption{bOn != 0, IsOptionNumber(nTenths) ? nTenths : DEFAULT_OPTION_NUMBER};
}

std::string TargetName(const KeyAssignment& record) {
    if (!record.Title.IsEmpty()) {
        return static_cast<LPCSTR>(record.Title);
    }
    int nSlash = record.Target.ReverseFind('\\');
    return static_cast<LPCSTR>(record.Target.Mid(nSlash + 1));
}

} // namespace

bool CShortcutService::Create(HINSTANCE hInstance) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = CVN_SERVICE_CLASS;
    if (!RegisterClassExA(&wc)) {
        return false;
    }
    // A top-level window rather than a message-only one: FindWindowA does not see those.
    if (!CreateWindowExA(WS_EX_TOOLWINDOW, CVN_SERVICE_CLASS, "", WS_POPUP, 0, 0, 0, 0, nullptr,
                         nullptr, hInstance, this)) {
        return false;
    }
    StartServing(hInstance);
    return true;
}

void CShortcutService::StartServing(HINSTANCE hInstance) {
    m_uTaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    auto hIcon = static_cast<HICON>(LoadImageA(hInstance, MAKEINTRESOURCEA(IDI_SERVICE), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    m_tray.Show(m_hWnd, hIcon, ServiceText(IDS_SERVICE_TIP));

    // The store's folder is made here if need be, so that it can be watched before the first
    // change creates the store.
    char szProgram[MAX_PATH];
    if (ZuComGetPath(ZUCOM_PATH_KEY_STORE, m_szStore)) {
        std::string strFolder = FolderOf(m_szStore);
        CreateDirectoryA(strFolder.c_str(), nullptr);
        m_storeState = CFileState(m_szStore);
        m_nStoreGeneration = StoreGeneration();
        m_watch.Add(strFolder, WM_STORE_FOLDER_CHANGED);
    }
    if (ZuComGetPath(ZUCOM_PATH_PROGRAM_FOLDER, szProgram)) {
        m_watch.Add(szProgram, WM_PROGRAM_FOLDER_CHANGED);
    }
    m_watch.Start(m_hWnd);
    // The keys are read once the watch runs, so that no change of them can slip in between.
    ApplyKeyBindings();
}

LRESULT CALLBACK CShortcutService::WindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto* pService = reinterpret_cast<CShortcutService*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (uMsg == WM_NCCREATE) {
        pService = static_cast<CShortcutService*>(
            reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        pService->m_hWnd = hWnd;
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pService));
    } else if (uMsg == WM_NCDESTROY && pService) {
        SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        pService->m_hWnd = nullptr;
        return DefWindowProcA(hWnd, uMsg, wParam, lParam);
    }
    return pService ? pService->OnMessage(uMsg, wParam, lParam)
                    : DefWindowProcA(hWnd, uMsg, wParam, lParam);
}

LRESULT CShortcutService::OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_SERVICE_SET_CLIENT:
        return OnSetClient(reinterpret_cast<HWND>(wParam));
    case WM_SERVICE_GET_CLIENT:
        return OnGetClient();
    case WM_HOTKEY:
        OnHotKey(static_cast<int>(wParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_STORE_FOLDER_CHANGED:
        SetTimer(m_hWnd, TIMER_STORE, SETTLE_MS, nullptr);
        return 0;
    case WM_PROGRAM_FOLDER_CHANGED:
        SetTimer(m_hWnd, TIMER_SETTINGS, SETTLE_MS, nullptr);
        return 0;
    case WM_TRAY_ICON:
        if (LOWORD(lParam) == WM_CONTEXTMENU) {
            ShowTrayMenu(POINT{GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam)});
        }
        return 0;
    case WM_LAUNCH_FAILED: {
        std::unique_ptr<CLaunchNotice> pNotice(reinterpret_cast<CLaunchNotice*>(lParam));
        m_tray.Notify(pNotice->strTitle, pNotice->strText);
        return 0;
    }
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        if (uMsg == m_uTaskbarCreated && m_uTaskbarCreated != 0) {
            m_tray.Add();
        }
        return DefWindowProcA(m_hWnd, uMsg, wParam, lParam);
    }
}

LRESULT CShortcutService::OnSetClient(HWND hWndClient) {
    if (!IsWindow(hWndClient)) {
        return FALSE;
    }
    m_hWndClient = hWndClient;
    return TRUE;
}

LRESULT CShortcutService::OnGetClient() {
    // A key panel that has closed leaves its handle behind; it must not be handed out.
    if (m_hWndClient && !IsWindow(m_hWndClient)) {
        m_hWndClient = nullptr;
    }
    return reinterpret_cast<LRESULT>(m_hWndClient);
}

// The machine's keys get their combinations; what cannot be had is told once, in one notice, and
// the other keys work all the same. Nothing is done while the bindings stay as they were.
void CShortcutService::ApplyKeyBindings() {
    int nKeyCount = SERVICE_KEY_COUNT;
    char szKeySettings[MAX_PATH];
    ZuComGetSKeyNum(&nKeyCount);
    CKeyBindings bindings = ZuComGetPath(ZUCOM_PATH_KEY_SETTINGS, szKeySettings)
                                ? ReadKeyBindings(szKeySettings, nKeyCount)
                                : CKeyBindings();
    if (bindings == m_bindings) {
        return;
    }
    m_bindings = bindings;
    std::string strProblems;
    for (int i = 0; i < SERVICE_KEY_COUNT; ++i) {
        UnregisterHotKey(m_hWnd, i + 1);
        const CKeyBinding& binding = bindings.keys[i];
        UINT nProblem = 0;
        if (binding.strText.empty()) {
            continue;
        }
        if (!binding.bValid) {
            nProblem = IDS_HOTKEY_INVALID;
        } else if (!RegisterHotKey(m_hWnd, i + 1, binding.hotKey.fsModifiers | MOD_NOREPEAT,
                                   binding.hotKey.vk)) {
            nProblem = IDS_HOTKEY_TAKEN;
        }
        if (nProblem) {
            strProblems += ServiceText(nProblem, binding.strLegend, binding.strText) + "\n";
        }
    }
    if (!strProblems.empty()) {
        m_tray.Notify(ServiceText(IDS_HOTKEYS_FAILED), strProblems + ServiceText(IDS_HOTKEYS_HINT));
    }
}

void CShortcutService::OnHotKey(int nKey) {
    if (nKey < 1 || nKey > SERVICE_KEY_COUNT) {
        return;
    }
    KeyPressStep step =
        m_presses[nKey - 1].OnHotKey(GetTickCount64(), [nKey] { return ReadHoldOption(nKey); });
    if (step == KeyPressStep::Ignored) {
        return;
    }
    if (step == KeyPressStep::Launch) {
        Launch(nKey);
    }
    // The keys' state is looked at while the key is down: the system never tells of letting go.
    SetTimer(m_hWnd, static_cast<UINT_PTR>(nKey), HOLD_CHECK_MS, nullptr);
}

void CShortcutService::OnTimer(UINT_PTR nId) {
    if (nId == TIMER_STORE || nId == TIMER_SETTINGS) {
        KillTimer(m_hWnd, nId);
        if (nId == TIMER_STORE) {
            CheckStore();
        } else {
            ApplyKeyBindings();
        }
        return;
    }
    if (nId < 1 || nId > SERVICE_KEY_COUNT) {
        return;
    }
    int nKey = static_cast<int>(nId);
    KeyPressStep step = m_presses[nKey - 1].OnLook(GetTickCount64(),
                                                   IsHotKeyHeld(m_bindings.keys[nKey - 1].hotKey));
    if (step == KeyPressStep::LetGo) {
        KillTimer(m_hWnd, nId);
    } else if (step == KeyPressStep::Launch) {
        Launch(nKey);
    }
}

void CShortcutService::Launch(int nKey) {
    KeyAssignment record;
    if (!ZuComGetAppDataOfHarlEvent(&record, ZUCOM_EVENT_BASE + nKey) || record.Target.IsEmpty()) {
        MessageBeep(MB_OK);
        return;
    }
    StartLaunch(m_hWnd, WM_LAUNCH_FAILED,
                CLaunchRequest{m_bindings.keys[nKey - 1].strLegend, TargetName(record),
                               static_cast<LPCSTR>(record.Target),
                               static_cast<LPCSTR>(record.WorkingFolder),
                               static_cast<LPCSTR>(record.Parameters)});
}

// A store changed through the library has been announced by the library already; one changed by
// hand is read through the library (which sets a damaged one aside) and announced here.
void CShortcutService::CheckStore() {
    CFileState state(m_szStore);
    LONG nGeneration = StoreGeneration();
    bool bByHand = state != m_storeState && nGeneration == m_nStoreGeneration;
    if (bByHand) {
        int bFlag = 0;
        int nNumber = 0;
        ZuComGetKeyOption(0, &bFlag, &nNumber);
        if (IsWindow(m_hWndClient)) {
            PostMessageA(m_hWndClient, WM_PANEL_REFRESH, 0, 0);
        }
        state = CFileState(m_szStore);
        nGeneration = StoreGeneration();
    }
    m_storeState = state;
    m_nStoreGeneration = nGeneration;
    ReportSetAsideStore();
}

// Whoever meets a damaged store first tells the user where its copy lies: here, or the key panel.
// A read of this service's own that sets the store aside changes the folder, and so ends up here.
void CShortcutService::ReportSetAsideStore() {
    char szAside[MAX_PATH];
    if (ZuComTakeStoreNotice(szAside)) {
        m_tray.Notify(ServiceText(IDS_STORE_SET_ASIDE_TITLE),
                      ServiceText(IDS_STORE_SET_ASIDE, szAside));
    }
}

void CShortcutService::ShowTrayMenu(POINT point) {
    CString strNames;
    CString strCurrent;
    if (!ZuComListKeySets(&strNames, &strCurrent)) {
        NotifyLastError(IDS_KEY_SETS_UNREAD);
    }
    CKeySetMenu menu(strNames, strCurrent);
    CMenuHolder popup = menu.Create();
    if (!popup) {
        return;
    }
    // As the rules for a tray menu have it: the window comes to the front first, or the menu
    // would stay open when the user clicks elsewhere, and gets a message after it, or the next
    // menu would close at once.
    SetForegroundWindow(m_hWnd);
    UINT nCommand = static_cast<UINT>(TrackPopupMenuEx(
        popup.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, point.x,
        point.y, m_hWnd, nullptr));
    PostMessageA(m_hWnd, WM_NULL, 0, 0);
    if (nCommand == ID_OPEN_KEY_SETTINGS) {
        OpenKeySettings();
    } else if (nCommand != 0) {
        UseKeySet(menu.SetOfCommand(nCommand));
    }
}

// One change like any other: the library keeps it for undo and tells a key panel of it.
void CShortcutService::UseKeySet(const std::string& strName) {
    int nLine = 0;
    if (!ZuComUseKeySet(strName.c_str(), &nLine)) {
        DWORD dwError = GetLastError();
        m_tray.Notify(ServiceText(IDS_KEY_SET_FAILED, strName), KeySetProblem(dwError, nLine));
    }
}

// The key panel keeps to one instance by itself: started again, it brings the open one to the
// front, which this process may let it do while its menu has just been in front.
void CShortcutService::OpenKeySettings() {
    char szFolder[MAX_PATH];
    char szPanel[MAX_PATH];
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    bool bStarted = ZuComGetPath(ZUCOM_PATH_PROGRAM_FOLDER, szFolder) &&
                    lstrcpynA(szPanel, szFolder, MAX_PATH) &&
                    ZuComPathAppend(szPanel, "VuViravuz.exe") &&
                    CreateProcessA(szPanel, nullptr, nullptr, nullptr, FALSE, 0, nullptr, szFolder,
                                   &startup, &process);
    if (!bStarted) {
        NotifyLastError(IDS_PANEL_NOT_STARTED);
        return;
    }
    CHandle thread(process.hThread);
    CHandle panel(process.hProcess);
}

// A balloon titled nTitle with the system's reason for the call that just failed.
void CShortcutService::NotifyLastError(UINT nTitle) {
    DWORD dwError = GetLastError();
    m_tray.Notify(ServiceText(nTitle), static_cast<LPCSTR>(SystemErrorText(dwError)));
}

void CShortcutService::OnDestroy() {
    for (int i = 1; i <= SERVICE_KEY_COUNT; ++i) {
        UnregisterHotKey(m_hWnd, i);
    }
    PostQuitMessage(0);
}
