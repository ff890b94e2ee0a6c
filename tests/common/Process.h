// Processes for tests: the staged suite beside the test folder, programs started and waited for,
// this test program run again for cases that end their process, and waiting for a condition.
#pragma once

#include "CHandle.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

// How long a test waits for anything that should happen at once.
constexpr DWORD kDeadlineMs = 30000;

// Polls a condition until it holds or the time is up; this thread's windows keep answering
// messages meanwhile (other processes may be sending to them).
bool WaitFor(const std::function<bool()>& condition, DWORD nTimeoutMs = kDeadlineMs);

std::string ThisProgramPath();
// The folder of this program, without a trailing backslash.
std::string ThisProgramFolder();
// The full path of a file of the suite as the build stages it (..\stage beside the test folder).
std::string StagedPath(const std::string& strName);
// UTF-8 text (as the tests' literals are) in a code page of this session, as a program writes it.
std::string InCodePage(const std::string& strUtf8, UINT nCodePage);
// Whether this test program runs in a Japanese session (the _ja runs of the tests).
bool InJapaneseSession();
// The value of an environment variable; empty when it is not set.
std::string EnvironmentValue(const char* pszName);

class CChildProcess {
public:
    // Starts strProgram with the command-line tail strArguments, in strFolder (empty: this
    // program's current folder). A start that fails fails the test. The child, and whatever it
    // starts, ends with this program however that ends (by a watchdog, say): left running, it
    // would hold the test run open through the output it inherited.
    explicit CChildProcess(const std::string& strProgram, const std::string& strArguments = "",
                           const std::string& strFolder = "");
    // Ends the process if it still runs.
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    bool Started() const { return m_process.IsValid(); }
    DWORD Id() const { return m_nId; }
    bool HasEnded() const;
    void Terminate(UINT nExitCode) const { TerminateProcess(m_process, nExitCode); }
    // The exit code, or STILL_ACTIVE when it did not end in time.
    DWORD WaitForExit(DWORD nTimeoutMs = kDeadlineMs) const;

private:
    CHandle m_process;
    DWORD m_nId = 0;
};

// What a console program wrote, and how it ended (STILL_ACTIVE: it did not end in time).
struct CConsoleRun {
    DWORD nExitCode;
    std::string strOut;
    std::string strErr;
};
// Runs a console program to its end, strInput as its standard input and its outputs caught.
CConsoleRun RunConsole(const std::string& strProgram, const std::string& strArguments,
                       const std::string& strInput = "");

// Runs this test program again with only the tests that match the filter (disabled ones
// included) and with extra environment variables (this program's own are restored afterwards);
// its exit code, or -1 when it could not be started or did not end in time.
int RunThisProgram(const std::string& strFilter,
                   const std::vector<std::pair<std::string, std::string>>& environment = {});
