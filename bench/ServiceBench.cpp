// service_bench [presses]: the time from a key press to its target's process being created, through
// the staged shortcut service, beside the floor of the shell starting the same program directly.
// The target is the tests' LaunchProbe.exe, which logs the time its process was created.
#include "BenchFigures.h"

#include "CHandle.h"

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

std::string g_strLog;

ULONGLONG PreciseNow() {
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    return (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

size_t LoggedCount() {
    std::ifstream log(g_strLog);
    size_t nLines = 0;
    for (std::string strLine; std::getline(log, strLine);) {
        ++nLines;
    }
    return nLines;
}

// The creation time of the probe that logged line nLine, in 100-ns units; waits up to 10 s.
ULONGLONG WaitForProbe(size_t nLine) {
    for (int i = 0; i < 1000 && LoggedCount() <= nLine; ++i) {
        Sleep(10);
    }
    std::ifstream log(g_strLog);
    std::string strLine;
    for (size_t i = 0; i <= nLine && std::getline(log, strLine); ++i) {
    }
    return std::strtoull(strLine.substr(strLine.rfind('|') + 1).c_str(), nullptr, 10);
}

void PressCtrlAlt1() {
    INPUT inputs[6] = {};
    const WORD keys[3] = {VK_CONTROL, VK_MENU, '1'};
    for (int i = 0; i < 3; ++i) {
        inputs[i].type = inputs[5 - i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = inputs[5 - i].ki.wVk = keys[i];
        inputs[5 - i].ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(6, inputs, sizeof(INPUT));
}

} // namespace

int main(int argc, char** argv) {
    int nPresses = argc > 1 ? std::atoi(argv[1]) : 20;
    std::string strBench = BenchFolder();
    std::string strProbe = strBench + "..\\tests\\LaunchProbe.exe";
    std::string strData = strBench + "servicebench";
    g_strLog = strData + "\\probe.log";
    CreateDirectoryA(strData.c_str(), nullptr);
    CreateDirectoryA((strData + "\\Corvane").c_str(), nullptr);
    DeleteFileA(g_strLog.c_str());
    SetEnvironmentVariableA("APPDATA", strData.c_str());
    SetEnvironmentVariableA("VV_PROBE_LOG", g_strLog.c_str());
    std::ofstream(strData + "\\Corvane\\KeyStore.ini", std::ios::binary)
        << "[KeyStore]\r\nFormat=Corvane key store\r\nVersion=1\r\n[Key1]\r\nTitle=Probe\r\n"
        << "Target=" << strProbe << "\r\n";

    // A service of the bench's own, which reads this key store.
    if (HWND hRunning = FindWindowA("CvnShortcutService", nullptr)) {
        PostMessageA(hRunning, WM_CLOSE, 0, 0);
        Sleep(500);
    }
    std::string strService = strBench + "..\\stage\\VeRiro.exe";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(strService.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi)) {
        std::printf("cannot start %s\n", strService.c_str());
        return 1;
    }
    CHandle process(pi.hProcess);
    CHandle thread(pi.hThread);
    WaitForInputIdle(process, 5000);
    Sleep(500); // the service takes its keys after its window is up

    std::vector<double> viaService;
    std::vector<double> direct;
    size_t nLine = 0;
    for (int i = 0; i < nPresses; ++i) {
        ULONGLONG nPressed = PreciseNow();
        PressCtrlAlt1();
        viaService.push_back((WaitForProbe(nLine++) - nPressed) / 1e4);
        Sleep(100); // the service sees the key let go

        SHELLEXECUTEINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
        info.lpFile = strProbe.c_str();
        info.nShow = SW_SHOWNORMAL;
        ULONGLONG nAsked = PreciseNow();
        ShellExecuteExA(&info);
        direct.push_back((WaitForProbe(nLine++) - nAsked) / 1e4);
    }
    double dService = Report("key press to target created, ms", viaService);
    double dDirect = Report("ShellExecuteEx to target created, ms", direct);
    std::printf("the service's own time: %.1f ms (median over median)\n", dService - dDirect);

    PostMessageA(FindWindowA("CvnShortcutService", nullptr), WM_CLOSE, 0, 0);
    WaitForSingleObject(process, 5000);
    return 0;
}
