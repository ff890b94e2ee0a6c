// Prints how long the key panel takes to come up and to repaint, as medians of repeated runs:
//   panel_bench [runs]
// 1. From process start to the panel being shown, set against the same for the bare dialog
//    program beside the bench (an empty dialog of the panel's size in a program of the same kind):
//    the two are started alternately, bare first, so that both meet the same machine load. Each
//    start waits for the program's visible dialog, closes it with WM_CLOSE and waits for the
//    process to end. The shortcut service runs throughout; when the bench had to start it, the
//    bench stops it again at the end.
// 2. One full repaint of the panel with its six keys, in this process, with the staged shortcut
//    library and locale library: RedrawWindow of the panel with its children, updated at once.
#include "../panel/KeyPanelDlg.h"
#include "../base/ZuCom.h"
#include "../suite/VeDerovu/ServiceProtocol.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

CWinApp g_benchApp; // message boxes and the panel's owner chain need the application object

constexpr UINT WM_BENCH_REPAINT = WM_APP + 1;
constexpr DWORD kStartTimeoutMs = 30000;

double Milliseconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    static const double s_dFrequency = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart);
    }();
    return (to.QuadPart - from.QuadPart) * 1000.0 / s_dFrequency;
}

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Median(std::vector<double> samples) {
    if (samples.empty()) {
        return 0;
    }
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

// Prints the median and spread of the samples and returns the median (0 without samples).
double Report(const char* pszWhat, const std::vector<double>& samples) {
    if (samples.empty()) {
        std::printf("%s: no figures\n", pszWhat);
        return 0;
    }
    double dMedian = Median(samples);
    auto [itMin, itMax] = std::minmax_element(samples.begin(), samples.end());
    std::printf("%s: median %.2f ms over %zu runs (min %.2f, max %.2f)\n", pszWhat, dMedian,
                samples.size(), *itMin, *itMax);
    return dMedian;
}

// The bench's own folder, where the bare dialog program lies; the suite is staged beside it.
std::string BenchFolder() {
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strPath = szPath;
    return strPath.substr(0, strPath.rfind('\\') + 1);
}

bool ServiceAnswers() {
    HWND hServer = nullptr;
    return ZuComGetServer(&hServer) && hServer;
}

bool StartProcess(const std::string& strProgram, const std::string& strFolder,
                  PROCESS_INFORMATION& pi) {
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    return CreateProcessA(strProgram.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                          strFolder.c_str(), &si, &pi) != FALSE;
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
        PROCESS_INFORMATION pi = {};
        if (!StartProcess(strStage + "VeRiro.exe", strStage, pi)) {
            return false;
        }
        CloseHandle(pi.hThread);
        m_hProcess = pi.hProcess;
        for (DWORD nStart = GetTickCount(); GetTickCount() - nStart < kStartTimeoutMs; Sleep(1)) {
            if (ServiceAnswers()) {
                return true;
            }
        }
        return false;
    }

private:
    void Stop() {
        if (!m_hProcess) {
            return;
        }
        if (HWND hService = FindWindowA(CVN_SERVICE_CLASS, nullptr)) {
            PostMessageA(hService, WM_CLOSE, 0, 0);
        }
        if (WaitForSingleObject(m_hProcess, kStartTimeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(m_hProcess, 1);
            WaitForSingleObject(m_hProcess, kStartTimeoutMs);
        }
        CloseHandle(m_hProcess);
        m_hProcess = nullptr;
    }

    HANDLE m_hProcess = nullptr;
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
    std::string strFolder; // its working folder
    int nControlID;        // 0: any visible window of the program
};

// One start of a program: milliseconds until its dialog is shown, or a negative number.
double TimeOneStart(const StartedProgram& program) {
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER start = Now();
    if (!StartProcess(program.strPath, program.strFolder, pi)) {
        return -1;
    }
    double dShown = -1;
    for (DWORD nStart = GetTickCount(); GetTickCount() - nStart < kStartTimeoutMs; Sleep(1)) {
        if (HWND hDialog = ShownDialogOf(pi.dwProcessId, program.nControlID)) {
            dShown = Milliseconds(start, Now());
            PostMessageA(hDialog, WM_CLOSE, 0, 0);
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
            break; // ended without its dialog
        }
    }
    if (WaitForSingleObject(pi.hProcess, kStartTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(pi.hProcess, 1);
        dShown = -1;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return dShown;
}

// The panel, which times its own repaints once it is shown and then closes.
class CBenchPanel : public CKeyPanelDlg {
public:
    explicit CBenchPanel(int nRuns) : m_nRuns(nRuns) {}
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
        for (int nRun = 0; nRun < m_nRuns; ++nRun) {
            LARGE_INTEGER start = Now();
            ::RedrawWindow(m_hWnd, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            m_repaints.push_back(Milliseconds(start, Now()));
        }
        EndDialog(IDOK);
        return 0;
    }

private:
    int m_nRuns;
};

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

    // The bare dialog has no controls, and no other window that could be taken for it.
    const StartedProgram bare = {strBench + "bare_dialog.exe", strBench, 0};
    const StartedProgram panel = {strStage + "VuViravuz.exe", strStage, IDC_KEY_BUTTON_FIRST};
    // The first start of each also loads what later starts find cached.
    TimeOneStart(bare);
    TimeOneStart(panel);
    std::vector<double> bareStarts;
    std::vector<double> panelStarts;
    std::vector<double> pairRatios; // each panel start over the bare start just before it
    for (int nRun = 0; nRun < nRuns; ++nRun) {
        double dBareRun = TimeOneStart(bare);
        double dPanelRun = TimeOneStart(panel);
        if (dBareRun > 0) {
            bareStarts.push_back(dBareRun);
        }
        if (dPanelRun > 0) {
            panelStarts.push_back(dPanelRun);
        }
        if (dBareRun > 0 && dPanelRun > 0) {
            pairRatios.push_back(dPanelRun / dBareRun);
        }
    }
    double dBare = Report("bare dialog program: process start to dialog shown", bareStarts);
    double dPanel = Report("process start to panel shown (service running)", panelStarts);
    if (dBare > 0 && dPanel > 0) {
        std::printf("panel start / bare dialog start: %.2f (ratio of the medians; median of the "
                    "%zu pairs' ratios %.2f)\n",
                    dPanel / dBare, pairRatios.size(), Median(pairRatios));
    }

    ZuComInitSKeyData(0);
    CBenchPanel panelInProcess(nRuns * 10);
    g_benchApp.m_pMainWnd = &panelInProcess;
    panelInProcess.DoModal();
    g_benchApp.m_pMainWnd = nullptr;
    Report("one full panel repaint (six keys, staged library)", panelInProcess.m_repaints);
    bool bAllStarted = bareStarts.size() == static_cast<size_t>(nRuns) &&
                       panelStarts.size() == static_cast<size_t>(nRuns);
    return bAllStarted && !panelInProcess.m_repaints.empty() ? 0 : 1;
}
