// Prints how long the key panel takes to come up and to repaint, as medians of repeated runs:
//   panel_bench [runs]
// 1. From process start to the panel being shown, set against the same for the bare dialog
//    program beside the bench (an empty dialog of the panel's size in a program of the same kind):
//    the two are started alternately, bare first, so that both meet the same machine load, and
//    with them the bare program showing the panel's own template (what Wine costs for the
//    template's controls before the module does anything). Each
//    start waits for the program's visible dialog, closes it with WM_CLOSE and waits for the
//    process to end. The shortcut service runs throughout; when the bench had to start it, the
//    bench stops it again at the end.
// 2. Repaints of the panel in this process with the staged shortcut library and locale library,
//    all six keys assigned (in a key store of the bench's own): the six key faces painted into
//    memory (the faces' own work: the record read, text and icon); the six key buttons redrawn on
//    the screen, as the panel repaints a key; and the whole panel with its 27 controls, where
//    under Wine each window's own painting round trips weigh more than any face, set against the
//    same template repainted with nothing painted by the module (the floor).
#include "../panel/KeyPanelDlg.h"
#include "../base/ZuCom.h"
#include "../suite/VeDerovu/ServiceProtocol.h"
#include "BenchFigures.h"

#include "CHandle.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

CWinApp g_benchApp; // message boxes and the panel's owner chain need the application object

constexpr UINT WM_BENCH_REPAINT = WM_APP + 1;
constexpr DWORD kStartTimeoutMs = 30000;

bool ServiceAnswers() {
    HWND hServer = nullptr;
    return ZuComGetServer(&hServer) && hServer;
}

// The started program's process, empty when it could not be started.
CHandle StartProcess(const std::string& strProgram, const std::string& strArguments,
                     const std::string& strFolder, DWORD* pnProcessId = nullptr) {
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    std::string strCommand = "\"" + strProgram + "\" " + strArguments;
    if (!CreateProcessA(strProgram.c_str(), &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr,
                        strFolder.c_str(), &si, &pi)) {
        return CHandle();
    }
    CHandle thread(pi.hThread);
    if (pnProcessId) {
        *pnProcessId = pi.dwProcessId;
    }
    return CHandle(pi.hProcess);
}

// The shortcut service for the bench's whole run: started when none runs, and then stopped again
// when the bench ends, so that the bench leaves nothing behind (and a pipe reading the bench's
// output sees its end). A service that was already running is left alone.
class CServiceForBench {
public:
    CServiceForBench() = default;
    CServiceForBench(const CServiceForBench&) = delete;
    CServiceForBench& operator=(const CServiceForBench&) = delete;
    ~CServiceForBench() { Stop(); }

    bool Ensure(const std::string& strStage) {
        if (ServiceAnswers()) {
            return true;
        }
        m_process = StartProcess(strStage + "VeRiro.exe", "", strStage);
        if (!m_process.IsValid()) {
            return false;
        }
        for (DWORD nStart = GetTickCount(); GetTickCount() - nStart < kStartTimeoutMs; Sleep(1)) {
            if (ServiceAnswers()) {
                return true;
            }
        }
        return false;
    }

private:
    void Stop() {
        if (!m_process.IsValid()) {
            return;
        }
        if (HWND hService = FindWindowA(CVN_SERVICE_CLASS, nullptr)) {
            PostMessageA(hService, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(m_process, kStartTimeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(m_process, 1);
            WaitForSingleObject(m_process, kStartTimeoutMs);
        }
        m_process.Close();
    }

    CHandle m_process;
};

struct WindowSearch {
    DWORD nProcessId;
    int nControlID;
    HWND hFound;
};

// The shown dialog of a process: a visible top-level window holding the given control (so that a
// message box of the process does not count), or any visible one for a control number of 0.
HWND ShownDialogOf(DWORD nProcessId, int nControlID) {
    WindowSearch search = {nProcessId, nControlID, nullptr};
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
            DWORD nOwner = 0;
            GetWindowThreadProcessId(hWnd, &nOwner);
            if (nOwner == pSearch->nProcessId && IsWindowVisible(hWnd) &&
                (!pSearch->nControlID || GetDlgItem(hWnd, pSearch->nControlID))) {
                pSearch->hFound = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

// A program the bench starts, and the control by which its dialog is known once shown.
struct StartedProgram {
    std::string strPath;
    std::string strArguments;
    std::string strFolder; // its working folder
    int nControlID;        // 0: any visible window of the program
};

// One start of a program: milliseconds until its dialog is shown, or a negative number.
double TimeOneStart(const StartedProgram& program) {
    DWORD nProcessId = 0;
    LARGE_INTEGER start = Now();
    CHandle process =
        StartProcess(program.strPath, program.strArguments, program.strFolder, &nProcessId);
    if (!process.IsValid()) {
        return -1;
    }
    double dShown = -1;
    for (DWORD nStart = GetTickCount(); GetTickCount() - nStart < kStartTimeoutMs; Sleep(1)) {
        if (HWND hDialog = ShownDialogOf(nProcessId, program.nControlID)) {
            dShown = Milliseconds(start, Now());
            PostMessageA(hDialog, WM_CLOSE, 0, 0);
            break;
        }
        if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) {
            break; // ended without its dialog
        }
    }
    if (WaitForSingleObject(process, kStartTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process, 1);
        dShown = -1;
    }
    return dShown;
}

// The panel, which times its own repaints once it is shown and then closes.
class CBenchPanel : public CKeyPanelDlg {
public:
    explicit CBenchPanel(int nRuns) : m_nRuns(nRuns) {}
    std::vector<double> m_faces;
    std::vector<double> m_keys;
    std::vector<double> m_repaints;

protected:
    BOOL OnInitDialog() override {
        BOOL bResult = CKeyPanelDlg::OnInitDialog();
        PostMessage(WM_BENCH_REPAINT); // handled once the modal loop has shown the panel
        return bResult;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_BENCH_REPAINT) {
            return CKeyPanelDlg::WindowProc(message, wParam, lParam);
        }
        RECT rcKey;
        ::GetClientRect(m_btnKey[0].m_hWnd, &rcKey);
        HDC hdcScreen = ::GetDC(nullptr);
        HDC hdcMemory = CreateCompatibleDC(hdcScreen);
        HBITMAP hBitmap = CreateCompatibleBitmap(hdcScreen, rcKey.right, rcKey.bottom);
        ::ReleaseDC(nullptr, hdcScreen);
        HGDIOBJ hOldBitmap = SelectObject(hdcMemory, hBitmap);
        for (int nRun = 0; nRun < m_nRuns; ++nRun) {
            m_faces.push_back(Time([&] {
                for (CKeyButton& key : m_btnKey) {
                    key.SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(hdcMemory),
                                    PRF_CLIENT);
                }
            }));
            m_keys.push_back(Time([&] {
                for (CKeyButton& key : m_btnKey) {
                    key.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                }
            }));
            m_repaints.push_back(Time([&] {
                RedrawWindow(nullptr, nullptr,
                             RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            }));
        }
        SelectObject(hdcMemory, hOldBitmap);
        DeleteObject(hBitmap);
        DeleteDC(hdcMemory);
        EndDialog(IDOK);
        return 0;
    }

    template <class Work> static double Time(Work work) {
        LARGE_INTEGER start = Now();
        work();
        return Milliseconds(start, Now());
    }

private:
    int m_nRuns;
};

// The floor for a full repaint: the panel's own template, its rows filled as the panel fills them
// but with a dialog procedure that paints nothing of its own, so that only the system's painting
// of the dialog and its controls is timed.
std::vector<double> TimeTemplateRepaints(int nRuns) {
    HWND hDialog = CreateDialogParamA(
        AfxGetResourceHandle(), MAKEINTRESOURCEA(IDD_KEYPANEL), nullptr,
        [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_DRAWITEM; }, 0);
    std::vector<double> repaints;
    if (!hDialog) {
        return repaints;
    }
    for (int nKey = 1; nKey <= MAX_KEYS; ++nKey) {
        HWND hLegend = GetDlgItem(hDialog, IDC_KEY_LEGEND_FIRST + nKey - 1);
        SetWindowTextA(hLegend, ("S" + std::to_string(nKey)).c_str());
        ShowWindow(hLegend, SW_SHOW);
        HICON hIcon = LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_KEY_BASE + nKey));
        SendDlgItemMessageA(hDialog, IDC_KEY_ICON_FIRST + nKey - 1, STM_SETICON,
                            reinterpret_cast<WPARAM>(hIcon), 0);
    }
    ShowWindow(hDialog, SW_SHOW);
    UpdateWindow(hDialog);
    for (int nRun = 0; nRun < nRuns; ++nRun) {
        LARGE_INTEGER start = Now();
        RedrawWindow(hDialog, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        repaints.push_back(Milliseconds(start, Now()));
    }
    DestroyWindow(hDialog);
    return repaints;
}

// Points this process's key store at a folder of the bench's own (in the Wine prefix's temporary
// folder) and gives every key a target whose icon the shell knows.
void AssignEveryKey() {
    char szFolder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, szFolder);
    lstrcatA(szFolder, "vvbench");
    CreateDirectoryA(szFolder, nullptr);
    SetEnvironmentVariableA("APPDATA", szFolder);
    const char* const targets[] = {
        "C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe",      "C:\\", "C:\\windows",
        "C:\\windows\\win.ini",     "C:\\windows\\system32\\cmd.exe"};
    for (int nKey = 1; nKey <= MAX_KEYS; ++nKey) {
        KeyAssignment record;
        record.Title.Format("Key %d", nKey);
        record.Comment = "Assigned for the bench";
        record.Target = targets[nKey - 1];
        ZuComSetAppDataOfHarlEvent(&record, nKey + ZUCOM_EVENT_BASE);
    }
}

} // namespace

int main(int argc, char** argv) {
    const int nRuns = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::string strBench = BenchFolder();
    const std::string strStage = strBench + "..\\stage\\";
    SetDllDirectoryA(strStage.c_str());
    HINSTANCE hLocale = LoadLibraryA((strStage + "RuRoredo.DLL").c_str());
    if (!hLocale || !ZuComLoadLibrary()) {
        std::fprintf(stderr, "The staged suite is missing in %s\n", strStage.c_str());
        return 1;
    }
    AfxSetResourceHandle(hLocale);
    CServiceForBench service;
    if (!service.Ensure(strStage)) {
        std::fprintf(stderr, "The shortcut service does not answer\n");
        return 1;
    }

    // The bare dialog has no controls, and no other window that could be taken for it; the
    // template's keys tell it from anything else of its process.
    const StartedProgram bare = {strBench + "bare_dialog.exe", "", strBench, 0};
    const StartedProgram floor = {strBench + "bare_dialog.exe", strStage + "RuRoredo.DLL", strBench,
                                  IDC_KEY_BUTTON_FIRST};
    const StartedProgram panel = {strStage + "VuViravuz.exe", "", strStage, IDC_KEY_BUTTON_FIRST};
    // The first start of each also loads what later starts find cached.
    for (const StartedProgram* pProgram : {&bare, &floor, &panel}) {
        TimeOneStart(*pProgram);
    }
    std::vector<double> bareStarts;
    std::vector<double> floorStarts;
    std::vector<double> panelStarts;
    std::vector<double> pairRatios; // each panel start over the bare start just before it
    for (int nRun = 0; nRun < nRuns; ++nRun) {
        double dBareRun = TimeOneStart(bare);
        double dFloorRun = TimeOneStart(floor);
        double dPanelRun = TimeOneStart(panel);
        for (auto [dRun, pStarts] :
             {std::pair(dBareRun, &bareStarts), std::pair(dFloorRun, &floorStarts),
              std::pair(dPanelRun, &panelStarts)}) {
            if (dRun > 0) {
                pStarts->push_back(dRun);
            }
        }
        if (dBareRun > 0 && dPanelRun > 0) {
            pairRatios.push_back(dPanelRun / dBareRun);
        }
    }
    double dBare = Report("bare dialog program: process start to dialog shown", bareStarts);
    double dTemplate = Report(
        "the panel's template in the bare program (27 controls, nothing filled)", floorStarts);
    double dPanel = Report("process start to panel shown (service running)", panelStarts);
    if (dBare > 0 && dPanel > 0) {
        std::printf("panel start / bare dialog start: %.2f (ratio of the medians; median of the "
                    "%zu pairs' ratios %.2f)\n",
                    dPanel / dBare, pairRatios.size(), Median(pairRatios));
        std::printf("panel start / its template's start: %.2f\n", dPanel / dTemplate);
    }

    AssignEveryKey();
    CBenchPanel panelInProcess(nRuns * 10);
    g_benchApp.m_pMainWnd = &panelInProcess;
    panelInProcess.DoModal();
    g_benchApp.m_pMainWnd = nullptr;
    Report("six assigned key faces painted (into memory)", panelInProcess.m_faces);
    Report("six assigned key buttons repainted on the screen", panelInProcess.m_keys);
    double dPanelRepaint =
        Report("one full panel repaint (dialog and its 27 controls)", panelInProcess.m_repaints);
    double dFloor = Report("the same template repainted with nothing painted by the module",
                           TimeTemplateRepaints(nRuns * 10));
    std::printf("what the module adds to a full repaint: %.2f ms\n", dPanelRepaint - dFloor);
    bool bAllStarted = bareStarts.size() == static_cast<size_t>(nRuns) &&
                       panelStarts.size() == static_cast<size_t>(nRuns);
    return bAllStarted && !panelInProcess.m_repaints.empty() ? 0 : 1;
}
