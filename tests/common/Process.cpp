#include "Process.h"

#include <gtest/gtest.h>

namespace {

// Every child of this program, in one job that ends them all when its last handle closes, which
// the system does when this program ends.
HANDLE ChildrenJob() {
    static const CHandle s_job = [] {
        CHandle job(CreateJobObjectA(nullptr, nullptr));
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        return job;
    }();
    return s_job;
}

} // namespace

bool WaitFor(const std::function<bool()>& condition, DWORD nTimeoutMs) {
    const DWORD nStart = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - nStart > nTimeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
        }
    }
    return true;
}

std::string ThisProgramPath() {
    char szPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    return szPath;
}

std::string ThisProgramFolder() {
    std::string strProgram = ThisProgramPath();
    return strProgram.substr(0, strProgram.rfind('\\'));
}

std::string StagedPath(const std::string& strName) {
    std::string strRelative = ThisProgramFolder() + "\\..\\stage\\" + strName;
    char szFull[MAX_PATH] = {};
    DWORD nLength = GetFullPathNameA(strRelative.c_str(), MAX_PATH, szFull, nullptr);
    return nLength > 0 && nLength < MAX_PATH ? szFull : strRelative;
}

std::string EnvironmentValue(const char* pszName) {
    char szValue[MAX_PATH] = {};
    DWORD nLength = GetEnvironmentVariableA(pszName, szValue, MAX_PATH);
    return nLength < MAX_PATH ? szValue : "";
}

CChildProcess::CChildProcess(const std::string& strProgram, const std::string& strArguments,
                             const std::string& strFolder) {
    std::string strCommand =
        "\"" + strProgram + "\"" + (strArguments.empty() ? "" : " ") + strArguments;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(strProgram.c_str(), &strCommand[0], nullptr, nullptr, FALSE, 0, nullptr,
                        strFolder.empty() ? nullptr : strFolder.c_str(), &si, &pi)) {
        ADD_FAILURE() << "cannot start " << strProgram << ", error " << GetLastError();
        return;
    }
    CHandle thread(pi.hThread);
    m_process.Attach(pi.hProcess);
    m_nId = pi.dwProcessId;
    AssignProcessToJobObject(ChildrenJob(), m_process);
}

CChildProcess::~CChildProcess() {
    if (!Started()) {
        return;
    }
    if (!HasEnded()) {
        TerminateProcess(m_process, 99);
        WaitForSingleObject(m_process, kDeadlineMs);
    }
}

bool CChildProcess::HasEnded() const {
    return !Started() || WaitForSingleObject(m_process, 0) == WAIT_OBJECT_0;
}

DWORD CChildProcess::WaitForExit(DWORD nTimeoutMs) const {
    DWORD nCode = STILL_ACTIVE;
    if (Started()) {
        WaitForSingleObject(m_process, nTimeoutMs);
        GetExitCodeProcess(m_process, &nCode);
    }
    return nCode;
}

int RunThisProgram(const std::string& strFilter,
                   const std::vector<std::pair<std::string, std::string>>& environment) {
    std::vector<std::pair<std::string, std::string>> previous;
    for (const auto& [strName, strValue] : environment) {
        previous.emplace_back(strName, EnvironmentValue(strName.c_str()));
        SetEnvironmentVariableA(strName.c_str(), strValue.c_str());
    }
    DWORD nCode = STILL_ACTIVE;
    {
        CChildProcess child(ThisProgramPath(),
                            "--gtest_also_run_disabled_tests --gtest_filter=" + strFilter);
        nCode = child.Started() ? child.WaitForExit(4 * kDeadlineMs) : STILL_ACTIVE;
    }
    for (const auto& [strName, strValue] : previous) {
        SetEnvironmentVariableA(strName.c_str(), strValue.empty() ? nullptr : strValue.c_str());
    }
    return nCode == STILL_ACTIVE ? -1 : static_cast<int>(nCode);
}
