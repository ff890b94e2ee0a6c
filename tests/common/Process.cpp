#include "Process.h"

#include <gtest/gtest.h>

#include <thread>

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

// Wine reports ERROR_INTERNAL_ERROR when the Unix process of a child dies before the child has
// run any code of its own, which happens now and then on a loaded machine; another start is the
// answer, and any other failure is the program's own.
bool StartChild(const std::string& strProgram, std::string strCommand, BOOL bInheritHandles,
                const char* pszFolder, STARTUPINFOA& si, PROCESS_INFORMATION& pi) {
    for (int nTry = 0; nTry < 3; ++nTry) {
        if (CreateProcessA(strProgram.c_str(), &strCommand[0], nullptr, nullptr, bInheritHandles, 0,
                           nullptr, pszFolder, &si, &pi)) {
            AssignProcessToJobObject(ChildrenJob(), pi.hProcess);
            return true;
        }
        if (GetLastError() != ERROR_INTERNAL_ERROR) {
            break;
        }
    }
    ADD_FAILURE() << "cannot start " << strProgram << ", error " << GetLastError();
    return false;
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

std::string InCodePage(const std::string& strUtf8, UINT nCodePage) {
    const int nUtf8 = static_cast<int>(strUtf8.size());
    std::wstring strWide(strUtf8.size(), L'\0');
    strWide.resize(MultiByteToWideChar(CP_UTF8, 0, strUtf8.data(), nUtf8, strWide.data(), nUtf8));
    std::string strText(strWide.size() * 2, '\0');
    strText.resize(WideCharToMultiByte(nCodePage, 0, strWide.data(),
                                       static_cast<int>(strWide.size()), strText.data(),
                                       static_cast<int>(strText.size()), nullptr, nullptr));
    return strText;
}

bool InJapaneseSession() {
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE && GetACP() == 932;
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
    if (!StartChild(strProgram, strCommand, FALSE, strFolder.empty() ? nullptr : strFolder.c_str(),
                    si, pi)) {
        return;
    }
    CHandle thread(pi.hThread);
    m_process.Attach(pi.hProcess);
    m_nId = pi.dwProcessId;
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

namespace {

// Both ends of a pipe; the one the child gets is inherited, the other not.
struct CPipe {
    CHandle read;
    CHandle write;

    explicit CPipe(bool bChildReads) {
        SECURITY_ATTRIBUTES sa = {sizeof sa, nullptr, TRUE};
        HANDLE hRead = nullptr;
        HANDLE hWrite = nullptr;
        CreatePipe(&hRead, &hWrite, &sa, 0);
        read.Attach(hRead);
        write.Attach(hWrite);
        SetHandleInformation(bChildReads ? write : read, HANDLE_FLAG_INHERIT, 0);
    }
};

std::string ReadToEnd(HANDLE hRead) {
    std::string strText;
    char buffer[4096];
    DWORD dwRead = 0;
    while (ReadFile(hRead, buffer, sizeof buffer, &dwRead, nullptr) && dwRead > 0) {
        strText.append(buffer, dwRead);
    }
    return strText;
}

} // namespace

CConsoleRun RunConsole(const std::string& strProgram, const std::string& strArguments,
                       const std::string& strInput) {
    CPipe input(true);
    CPipe output(false);
    CPipe error(false);
    std::string strCommand = "\"" + strProgram + "\" " + strArguments;
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = input.read;
    si.hStdOutput = output.write;
    si.hStdError = error.write;
    PROCESS_INFORMATION pi = {};
    CConsoleRun run{STILL_ACTIVE, "", ""};
    if (!StartChild(strProgram, strCommand, TRUE, nullptr, si, pi)) {
        return run;
    }
    CHandle thread(pi.hThread);
    CHandle process(pi.hProcess);
    // The child's ends are closed here, so that the reads end with the child.
    input.read.Close();
    output.write.Close();
    error.write.Close();
    std::thread errors([&] { run.strErr = ReadToEnd(error.read); });
    DWORD dwWritten = 0;
    WriteFile(input.write, strInput.data(), static_cast<DWORD>(strInput.size()), &dwWritten,
              nullptr);
    input.write.Close();
    run.strOut = ReadToEnd(output.read);
    errors.join();
    WaitForSingleObject(process, kDeadlineMs);
    GetExitCodeProcess(process, &run.nExitCode);
    return run;
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
