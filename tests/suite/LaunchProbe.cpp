// A target for the service to start: it appends one line to the file named by VV_PROBE_LOG, with
// the folder it was started in, its command-line tail and the time its process was created (in
// 100-ns units), as "folder|arguments|time".
#include "CHandle.h"

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR pszArguments, int) {
    char szLog[MAX_PATH];
    char szFolder[MAX_PATH];
    FILETIME created;
    FILETIME unused;
    if (!GetEnvironmentVariableA("VV_PROBE_LOG", szLog, MAX_PATH) ||
        !GetCurrentDirectoryA(MAX_PATH, szFolder) ||
        !GetProcessTimes(GetCurrentProcess(), &created, &unused, &unused, &unused)) {
        return 1;
    }
    ULONGLONG nCreated =
        (static_cast<ULONGLONG>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
    std::string strLine =
        std::string(szFolder) + "|" + pszArguments + "|" + std::to_string(nCreated) + "\r\n";
    // Appends are whole lines even when several probes write at once.
    CHandle log(CreateFileA(szLog, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD dwWritten = 0;
    bool bWritten =
        log.IsValid() &&
        WriteFile(log, strLine.data(), static_cast<DWORD>(strLine.size()), &dwWritten, nullptr);
    return bWritten ? 0 : 1;
}
