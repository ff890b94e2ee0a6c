#include "SuitePrograms.h"

#include "CHandle.h"

#include <tlhelp32.h>

#include <map>
#include <vector>

namespace {

constexpr DWORD END_WAIT_MS = 5000;

// Whether the process runs a program that lies in the folder itself.
bool RunsFrom(HANDLE hProcess, const std::wstring& strFolder) {
    wchar_t szProgram[MAX_PATH * 2];
    DWORD nSize = ARRAYSIZE(szProgram);
    if (!QueryFullProcessImageNameW(hProcess, 0, szProgram, &nSize) || nSize <= strFolder.size()) {
        return false;
    }
    std::wstring strProgram(szProgram, nSize);
    return CompareStringOrdinal(strProgram.c_str(), static_cast<int>(strFolder.size()),
                                strFolder.c_str(), static_cast<int>(strFolder.size()),
                                TRUE) == CSTR_EQUAL &&
           strProgram.find(L'\\', strFolder.size()) == std::wstring::npos;
}

struct CClosing {
    const std::wstring& strFolder;
    // Every process looked at once, whatever number of windows it has, and whether it is the
    // suite's.
    std::map<DWORD, bool> looked;
    std::vector<CHandle> processes;
};

BOOL CALLBACK CloseIfFromFolder(HWND hWnd, LPARAM lParam) {
    auto& closing = *reinterpret_cast<CClosing*>(lParam);
    DWORD nProcess = 0;
    GetWindowThreadProcessId(hWnd, &nProcess);
    auto [it, bNew] = closing.looked.emplace(nProcess, false);
    if (bNew && nProcess != GetCurrentProcessId()) {
        CHandle process(
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, nProcess));
        if (process.IsValid() && RunsFrom(process, closing.strFolder)) {
            it->second = true;
            closing.processes.push_back(std::move(process));
        }
    }
    // Every top-level window: an open dialog closes first, then the panel behind it.
    if (it->second) {
        PostMessageW(hWnd, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

} // namespace

void CloseProgramsOf(const std::wstring& strFolder, DWORD dwTimeoutMs) {
    CClosing closing{strFolder, {}, {}};
    EnumWindows(CloseIfFromFolder, reinterpret_cast<LPARAM>(&closing));
    ULONGLONG nDeadline = GetTickCount64() + dwTimeoutMs;
    for (const CHandle& process : closing.processes) {
        ULONGLONG nNow = GetTickCount64();
        WaitForSingleObject(process, nNow < nDeadline ? static_cast<DWORD>(nDeadline - nNow) : 0);
    }
}

bool EndProgramsOf(const std::wstring& strFolder) {
    CHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.IsValid()) {
        return false;
    }
    bool bAllEnded = true;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = Process32FirstW(snapshot, &entry); bMore;
         bMore = Process32NextW(snapshot, &entry)) {
        CHandle process(
            OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                        entry.th32ProcessID));
        if (process.IsValid() && entry.th32ProcessID != GetCurrentProcessId() &&
            RunsFrom(process, strFolder)) {
            bAllEnded = TerminateProcess(process, 1) &&
                        WaitForSingleObject(process, END_WAIT_MS) == WAIT_OBJECT_0 && bAllEnded;
        }
    }
    return bAllEnded;
}
