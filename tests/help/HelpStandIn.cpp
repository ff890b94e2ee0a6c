// A stand-in for the system's HTML Help control: appends what reaches its HtmlHelpA (export 14)
// to the file named by VV_HELP_LOG, as "call <owner's caption or ->|<file>|<command>|<topic or 0>",
// and each load as "attach <its file name>". With VV_HELP_FAIL set it refuses to load.
#include <windows.h>

#include <fstream>
#include <string>

namespace {

std::string Variable(const char* pszName) {
    char szValue[MAX_PATH] = {};
    return GetEnvironmentVariableA(pszName, szValue, MAX_PATH) < MAX_PATH ? szValue : "";
}

void Log(const std::string& strLine) {
    std::ofstream(Variable("VV_HELP_LOG"), std::ios::app | std::ios::binary) << strLine << '\n';
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD nReason, LPVOID) {
    if (nReason == DLL_PROCESS_ATTACH) {
        char szPath[MAX_PATH] = {};
        GetModuleFileNameA(hInstance, szPath, MAX_PATH);
        std::string strPath(szPath);
        Log("attach " + strPath.substr(strPath.find_last_of('\\') + 1));
        return Variable("VV_HELP_FAIL").empty();
    }
    return TRUE;
}

extern "C" HWND WINAPI StandInHtmlHelp(HWND hOwner, LPCSTR pszFile, UINT nCommand,
                                       DWORD_PTR dwData) {
    char szOwner[256] = "-";
    if (hOwner) {
        GetWindowTextA(hOwner, szOwner, sizeof(szOwner));
    }
    std::string strTopic = dwData ? reinterpret_cast<LPCSTR>(dwData) : "0";
    Log(std::string("call ") + szOwner + "|" + (pszFile ? pszFile : "") + "|" +
        std::to_string(nCommand) + "|" + strTopic);
    return nullptr;
}
