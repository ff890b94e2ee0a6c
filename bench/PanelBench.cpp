// Prints how long the key panel takes to come up and to repaint, as medians of repeated runs:
//   panel_bench [runs]
// 1. From process start to the panel being shown: the staged VuViravuz.exe is started, the bench
//    waits for its visible panel window, closes it with WM_CLOSE and waits for the process to end.
//    The shortcut service runs throughout (the bench starts it first when it does not run yet).
// 2. One full repaint of the panel with its six keys, in this process, with the staged shortcut
//    library and locale library: RedrawWindow of the panel with its children, updated at once.
#include "../panel/KeyPanelDlg.h"
#include "../base/ZuCom.h"

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

void Report(const char* pszWhat, std::vector<double> samples) {
    if (samples.empty()) {
        std::printf("%s: no figures\n", pszWhat);
        return;
    }
    std::sort(samples.begin(), samples.end());
    size_t n = samples.size();
    double dMedian = n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
    std::printf("%s: median %.2f ms over %zu runs (min %.2f, max %.2f)\n", pszWhat, dMedian, n,
                samples.front(), samples.back());
}

// The folder the suite is staged in, beside the bench's own folder.
std::string StageFolder() {
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strPath = szPath;
    return strPath.substr(0, strPath.rfind('\\') + 1) + "..\\stage\\";
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

bool EnsureService(const std::string& strStage) {
    if (ServiceAnswers()) {
        return true;
    }
    PROCESS_INFORMATION pi = {};
    if (!StartProcess(strStage + "VeRiro.exe", strStage, pi)) {
        return false;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (DWORD nStart = GetTickCount(); GetTickCount() - nStart < kStartTimeoutMs; Sleep(1)) {
        if (ServiceAnswers()) {
            return true;
        }
    }
    return false;
}

struct WindowSearch {
    DWORD nProcessId;
    HWND hFound;
};

// The shown key panel of a process: a visible top-level window holding key S1's button (a message
// box of the process does not count).
HWND ShownPanelOf(DWORD nProcessId) {
    WindowSearch search = {nProcessId, nullptr};
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
            DWORD nOwner = 0;
            GetWindowThreadProcessId(hWnd, &nOwner);
            if (nOwner == pSearch->nProcessId && IsWindowVisible(hWnd) &&
                GetDlgItem(hWnd, IDC_KEY_BUTTON_FIRST)) {
                pSearch->hFound = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

// One start of the program: milliseconds until its panel is shown, or a negative number.
double TimeOneStart(const std::string& strStage) {
    PROCESS_INFORMATION pi = {};
    LARGE_INTEGER start = Now();
    if (!StartProcess(strStage + "VuViravuz.exe", strStage, pi)) {
        return -1;
    }
    double dShown = -1;
    for (DWORD nStart = GetTickCount(); GetTickCount() - nStart < kStartTimeoutMs; Sleep(1)) {
        if (HWND hPanel = ShownPanelOf(pi.dwProcessId)) {
            dShown = Milliseconds(start, Now());
            PostMessageA(hPanel, WM_CLOSE, 0, 0);
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_OBJECT_0) {
            break; // ended without a panel
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
    const std::string strStage = StageFolder();
    SetDllDirectoryA(strStage.c_str());
    HINSTANCE hLocale = LoadLibraryA((strStage + "RuRoredo.DLL").c_str());
    if (!hLocale || !ZuComLoadLibrary()) {
        std::fprintf(stderr, "The staged suite is missing in %s\n", strStage.c_str());
        return 1;
    }
    AfxSetResourceHandle(hLocale);
    if (!EnsureService(strStage)) {
        std::fprintf(stderr, "The shortcut service does not answer\n");
        return 1;
    }

    TimeOneStart(strStage); // the first start also loads what later starts find cached
    std::vector<double> starts;
    for (int nRun = 0; nRun < nRuns; ++nRun) {
        double dShown = TimeOneStart(strStage);
        if (dShown >= 0) {
            starts.push_back(dShown);
        }
    }
    Report("process start to panel shown (service running)", starts);

    ZuComInitSKeyData(0);
    CBenchPanel panel(nRuns * 10);
    g_benchApp.m_pMainWnd = &panel;
    panel.DoModal();
    g_benchApp.m_pMainWnd = nullptr;
    Report("one full panel repaint (six keys, staged library)", panel.m_repaints);
    return starts.size() == static_cast<size_t>(nRuns) && !panel.m_repaints.empty() ? 0 : 1;
}
